#pragma once
#include <QDateTime>
#include <QSize>
#include <functional>
#include <string>
#include "core/base/Settings.h"  // PrintMargins
#include "core/data/MapFilter.h"
class QPagedPaintDevice;
namespace brix {
class Session;

enum class PrintContent { Treasures = 0, Regions = 1 };
// The "Map Options" items in their order (strings 11001..11005).
enum class PrintMapOption {
    NoMap = 0,
    SmallMono = 1,
    LargeMono = 2,
    SmallColour = 3,
    LargeColour = 4
};

// One run's choices; never remembered between runs (the defaults are the dialog's defaults).
struct PrintOptions {
    PrintContent Content = PrintContent::Treasures;
    PrintMapOption MapOption = PrintMapOption::SmallMono;
    bool Terse = true;
    MapFilter Filter;  // the job's private filter (the global one is never changed)
};

// Picture size in picture pixels (174 x 180, 408 x 358, 246 x 262, 480 x 440), empty for NoMap.
QSize PrintPictureSize(PrintContent content, PrintMapOption option);
// On paper, in device pixels: picture size x device dpi / (200 small | 100 large), multiplied
// first.
QSize PrintPictureOnPaper(PrintContent content, PrintMapOption option, int dpiX, int dpiY);

// What the caller learns before each item and may answer with "stop".
struct PrintProgress {
    // Called before each item is placed with the number of pages started so far (at least 1
    // once the first page is about to start). Return false to cancel: the loop ends at once.
    std::function<bool(int pagesStarted)> BeforeItem;
    // Called when a started job ends early (Cancelled, PageFailed), while the painter is still
    // active and before it is ended, so that a printer can drop the job (QPrinter::abort) instead
    // of printing the pages so far. May be empty.
    std::function<void()> Abandon;
};

enum class PrintResult {
    Printed,         // at least one page, document ended normally
    NothingToPrint,  // no item passed the filter: no page was started, the device was never begun
    Cancelled,       // BeforeItem returned false; pages already painted are abandoned
    CouldNotStart,   // QPainter::begin on the device failed ("Could not start print job.")
    PageFailed,      // QPagedPaintDevice::newPage failed mid-job
    NoBody,          // the margins leave less than one item line of body: nothing was started
};
struct PrintOutcome {
    PrintResult Result = PrintResult::NothingToPrint;
    int Pages = 0;
};

// Lays out and paints one listing onto `device` (a QPrinter, a QPdfWriter, ...): recomputes
// the options' private filter for the current character first, takes `jobTime` for every
// header, computes the printable rectangle from `margins` (thousandths of an inch) clamped to
// the device's printable area, places items in slot order (the whole algorithm: text + picture
// right-aligned, item height = max(text, picture + one line), page turns, header, footer
// "Page %d"), and begins the painter on the device only when the first item is placed, so that
// NothingToPrint / NoBody leave the device untouched (a PDF writer then writes no file content;
// the caller discards it).
PrintOutcome PrintListing(const Session& session, PrintOptions options, QPagedPaintDevice& device,
                          const PrintMargins& margins, const QDateTime& jobTime,
                          const PrintProgress& progress);
}  // namespace brix
