#include "ui/output/PrinterState.h"

#include <QLocale>
#include <QPageSize>
#include <QPrinter>
#include <QPrinterInfo>

namespace brix {

SystemPrinters LookUpSystemPrinters() {
    return SystemPrinters{QPrinterInfo::availablePrinterNames(),
                          QPrinterInfo::defaultPrinterName()};
}

PrinterState::PrinterState(PrinterLookup lookup) : lookup_(std::move(lookup)) {}

PrinterState::~PrinterState() = default;

QList<PrintOutput> PrinterState::Outputs() {
    printers_ = lookup_ ? lookup_() : SystemPrinters{};
    QList<PrintOutput> outputs;
    for (const QString& name : printers_->Names)
        if (!name.isEmpty()) outputs.append(PrintOutput{name});
    outputs.append(PrintOutput{});
    return outputs;
}

PrintOutput PrinterState::Current() {
    if (!printers_) Outputs();
    auto offered = [this](const PrintOutput& output) {
        return output.IsPdf() || printers_->Names.contains(output.PrinterName);
    };
    if (chosen_ && offered(*chosen_)) return *chosen_;
    // With printers but none marked as the default, nothing is sent to a printer the user did
    // not pick: the PDF file is preselected.
    const PrintOutput fallback{printers_->Default};
    return offered(fallback) ? fallback : PrintOutput{};
}

bool PrinterState::Select(const PrintOutput& output) {
    if (output.IsPdf() || (printer_ && printerName_ == output.PrinterName)) {
        chosen_ = output;
        return true;
    }
    // The new printer is opened before the old one is let go: should it fail, the program
    // keeps printing where it printed before.
    const QPrinterInfo info = QPrinterInfo::printerInfo(output.PrinterName);
    if (info.isNull()) return false;
    auto printer = std::make_unique<QPrinter>(info, QPrinter::HighResolution);
    if (!printer->isValid() || printer->outputFormat() != QPrinter::NativeFormat) return false;
    printer_ = std::move(printer);
    printerName_ = output.PrinterName;
    chosen_ = output;
    return true;
}

QPrinter* PrinterState::CurrentPrinter() {
    const PrintOutput current = Current();
    if (current.IsPdf()) return nullptr;
    if (!printer_ || printerName_ != current.PrinterName) {
        if (!Select(current)) return nullptr;
    }
    return printer_.get();
}

QPageLayout PrinterState::PdfPageLayout() const {
    if (pdfLayout_) return *pdfLayout_;
    const bool letter = QLocale::system().measurementSystem() != QLocale::MetricSystem;
    return QPageLayout(QPageSize(letter ? QPageSize::Letter : QPageSize::A4), QPageLayout::Portrait,
                       QMarginsF());
}

void PrinterState::SetPdfPage(const QPageSize& paper, QPageLayout::Orientation orientation) {
    pdfLayout_ = QPageLayout(paper, orientation, QMarginsF());
}

QString PrinterState::PdfPath(const QString& fallback) const {
    return pdfPath_.isEmpty() ? fallback : pdfPath_;
}

}  // namespace brix
