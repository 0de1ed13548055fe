#pragma once

#include <QPageLayout>
#include <QPageSize>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>
#include <optional>

class QPrinter;

namespace brix {

// The printers the system offers, in its order, and the name of its default one (empty when
// it names none).
struct SystemPrinters {
    QStringList Names;
    QString Default;
};

// Asks the print system (CUPS on Linux) for its printers; tests give a fixed list.
using PrinterLookup = std::function<SystemPrinters()>;
SystemPrinters LookUpSystemPrinters();

// One entry of "Printer:": a system printer by name, or the PDF file (an empty name).
struct PrintOutput {
    QString PrinterName;
    bool IsPdf() const { return PrinterName.isEmpty(); }
    bool operator==(const PrintOutput&) const = default;
};

// The program's printer for the whole run: which output is current, the QPrinter for it, the
// paper and orientation of PDF output and the PDF file last written. Nothing here touches the
// print system until it is first needed, so start-up never waits on it: the printers are looked
// up when the print dialog opens, a QPrinter is made when a job or Page Setup needs one.
class PrinterState {
public:
    explicit PrinterState(PrinterLookup lookup = LookUpSystemPrinters);
    ~PrinterState();
    PrinterState(const PrinterState&) = delete;
    PrinterState& operator=(const PrinterState&) = delete;

    // Asks the system for its printers again (they may come and go during a run) and returns
    // the entries of "Printer:" in order: the printers, then the PDF file.
    QList<PrintOutput> Outputs();

    // The output to preselect: the one chosen last while it is still offered, else the
    // system's default printer, else the PDF file. Uses the list of the last Outputs() (looks
    // the printers up when there was none yet).
    PrintOutput Current();

    // Makes the output current. A printer gets a QPrinter of its own; when that printer cannot
    // be opened, the current output and its printer stay as they were and the result is false.
    bool Select(const PrintOutput& output);

    // The QPrinter of the current printer: the one opened by Select, or opened now when the
    // current output was only preselected. Null for the PDF file and when opening fails.
    QPrinter* CurrentPrinter();

    // Paper and orientation for a PDF file, as Page Setup left them (the paper of the user's
    // measurement system, portrait, until then). No margins: the listing sets its own.
    QPageLayout PdfPageLayout() const;
    void SetPdfPage(const QPageSize& paper, QPageLayout::Orientation orientation);

    // The PDF file of this run: the last one written, else `fallback`.
    QString PdfPath(const QString& fallback) const;
    void SetPdfPath(const QString& path) { pdfPath_ = path; }

    // Set while a print job runs (it pumps events, so a second Print could arrive).
    bool JobRunning = false;

private:
    PrinterLookup lookup_;
    std::optional<SystemPrinters> printers_;
    std::optional<PrintOutput> chosen_;
    std::unique_ptr<QPrinter> printer_;  // the chosen printer's, when it was opened
    QString printerName_;                // whose printer_ is
    std::optional<QPageLayout> pdfLayout_;
    QString pdfPath_;
};

}  // namespace brix
