#pragma once

#include <QString>

#include <functional>
#include <optional>

#include "core/output/PrintListing.h"
#include "ui/output/PageSetupDialog.h"
#include "ui/output/PrinterState.h"

class QWidget;

namespace brix {

class Messages;
class Session;

// Asks where the PDF file goes, starting from `proposed`; nothing when the user cancels. The
// default runs a Save As dialog over `owner` and asks through Messages before an existing file
// is replaced; tests give a fixed answer.
using PdfFilePrompt =
    std::function<std::optional<QString>(const QString& proposed, QWidget* owner)>;
PdfFilePrompt DefaultPdfFilePrompt(Messages& messages);

// Lets the user edit paper, orientation and margins; true on OK, with `choice` changed. The
// default runs PageSetupDialog over `owner`; tests answer directly.
using PageSetupPrompt = std::function<bool(PageSetupChoice& choice, QWidget* owner)>;
PageSetupPrompt DefaultPageSetupPrompt();

// The dialogs a print job opens besides its own.
struct PrintSeams {
    PdfFilePrompt AskPdfFile;
    PageSetupPrompt PageSetup;
};
PrintSeams DefaultPrintSeams(Messages& messages);

// The name of the PDF file proposed until the user picks another, in the data folder.
inline constexpr const char* DefaultPdfFileName = "brix-print.pdf";

// The Print command: the content dialog over the active window, then the job on the output it
// names with a progress window owned by `mainWindow`, which stays disabled while the job runs;
// a request to close it meanwhile is kept and carried out (by QWidget::close) once RunPrint
// has returned. A PDF file is written through a temporary file in its folder that
// replaces the target only when the listing was printed whole. Failures are reported through
// `messages`, owned by the main window. Nothing when the dialog, the file prompt or an earlier
// job still running ended the command before a job began; otherwise the job's outcome.
std::optional<PrintOutcome> RunPrint(Session& session, Messages& messages, PrinterState& printers,
                                     QWidget* mainWindow, const PrintSeams& seams);

// Page Setup on `output` (made the current output first; an output that cannot be opened is
// reported and the old one kept): paper and orientation stay with that output, the margins
// are shown from and, on OK, stored at once in the catalogue's display settings and the
// settings file ("PrintMargins"). Cancel changes nothing. True on OK.
bool RunPageSetup(Session& session, Messages& messages, PrinterState& printers,
                  const PrintOutput& output, QWidget* owner, const PageSetupPrompt& prompt);

}  // namespace brix
