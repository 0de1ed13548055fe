#include "ui/output/PrintController.h"

#include <QApplication>
#include <QDateTime>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QPdfWriter>
#include <QPointer>
#include <QPrinter>
#include <QPrinterInfo>
#include <QSaveFile>
#include <QTimer>

#include "core/base/Messages.h"
#include "core/base/Strings.h"
#include "core/data/Session.h"
#include "ui/dialogs/DialogOwner.h"
#include "ui/output/PrintContentDialog.h"
#include "ui/output/PrintProgressDialog.h"

namespace brix {
namespace {

constexpr int PdfResolution = 600;

// While a job runs the main window takes no input and puts off closing: the job pumps events
// between items, and closing the window would free the catalogue under it. A close request
// that arrives meanwhile (the user's, or a signal's, which comes only once) is noted in
// `closeRequested` for the caller to carry out once the job is over. The lock ends with the
// job, whatever way the job ends.
class MainWindowLock : public QObject {
public:
    MainWindowLock(QWidget* window, bool& closeRequested, std::function<void()> onDeferredClose)
        : window_(window),
          closeRequested_(closeRequested),
          onDeferredClose_(std::move(onDeferredClose)) {
        if (window_ == nullptr) return;
        wasEnabled_ = window_->isEnabled();
        window_->setEnabled(false);
        window_->installEventFilter(this);
    }
    ~MainWindowLock() override {
        if (window_ == nullptr) return;
        window_->removeEventFilter(this);
        window_->setEnabled(wasEnabled_);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched == window_ && event->type() == QEvent::Close) {
            event->ignore();
            // The job may take long, and a second signal would end the program unsaved: the
            // records are saved now, the close follows when the job is over.
            if (!closeRequested_ && onDeferredClose_) onDeferredClose_();
            closeRequested_ = true;
            return true;
        }
        return false;
    }

private:
    QPointer<QWidget> window_;
    bool& closeRequested_;
    std::function<void()> onDeferredClose_;
    bool wasEnabled_ = true;
};

void ShowText(Messages& messages, int id, QWidget* owner, const std::string& argument = {}) {
    messages.Show(FormatText(LoadString(id), {argument}), MessageIcon::None, owner);
}

// The "on ..." line for a printer: Qt does not tell the device a CUPS queue prints on, so the
// printer's location stands in for it, else its description, else its name.
QString PrinterPlace(const QString& name) {
    const QPrinterInfo info = QPrinterInfo::printerInfo(name);
    if (!info.location().isEmpty()) return info.location();
    if (!info.description().isEmpty()) return info.description();
    return name;
}

void ReportOutcome(const PrintOutcome& outcome, Messages& messages, QWidget* mainWindow) {
    switch (outcome.Result) {
        case PrintResult::CouldNotStart:
            ShowText(messages, StringId::CannotStartPrintJob, mainWindow);
            break;
        case PrintResult::PageFailed:
            ShowText(messages, StringId::PrintJobCutShort, mainWindow);
            break;
        case PrintResult::NoBody:
            ShowText(messages, StringId::PrintMarginsTooLarge, mainWindow);
            break;
        case PrintResult::NothingToPrint:
            ShowText(messages, StringId::NothingToPrint, mainWindow);
            break;
        case PrintResult::Printed:
        case PrintResult::Cancelled:
            break;
    }
}

// Runs the listing on `device` under the progress window; `abandon` drops a job that ends early
// while its pages are still open (a printer's), so that nothing half is printed.
PrintOutcome PrintWithProgress(const Session& session, const PrintOptions& options,
                               QPagedPaintDevice& device, const QString& printer,
                               const QString& port, QWidget* mainWindow, bool& closeRequested,
                               std::function<void()> abandon) {
    PrintProgressDialog progress(QString::fromStdString(session.GetPrefs().ProgramTitle), printer,
                                 port, mainWindow);
    const MainWindowLock lock(mainWindow, closeRequested,
                              [&session] { session.Notify(Change::SaveRequested); });
    // The progress window is the main window's own, and disabling the main window disabled
    // it too; a window may be enabled on its own.
    progress.setEnabled(true);
    progress.show();
    progress.raise();
    progress.activateWindow();
    QCoreApplication::processEvents();

    PrintProgress hooks;
    hooks.BeforeItem = [&progress](int pagesStarted) {
        progress.SetPage(pagesStarted);
        QCoreApplication::processEvents();
        return !progress.Cancelled();
    };
    hooks.Abandon = std::move(abandon);
    return PrintListing(session, options, device, session.GetPrefs().Display.Margins,
                        QDateTime::currentDateTime(), hooks);
}

std::optional<PrintOutcome> PrintToPdf(const Session& session, const PrintOptions& options,
                                       Messages& messages, PrinterState& printers,
                                       QWidget* mainWindow, bool& closeRequested,
                                       const PrintSeams& seams) {
    const QString proposed = printers.PdfPath(
        QString::fromStdString(session.GetPrefs().Paths.DocumentFile(DefaultPdfFileName)));
    const std::optional<QString> path =
        seams.AskPdfFile ? seams.AskPdfFile(proposed, DialogOwner(mainWindow)) : std::nullopt;
    if (!path || path->isEmpty()) return std::nullopt;
    printers.SetPdfPath(*path);

    // The pages go to a temporary file beside the target, which takes the target's place only
    // once the listing is complete: a cancelled or failed job leaves an existing file as it was.
    QSaveFile file(*path);
    if (!file.open(QIODevice::WriteOnly)) {
        ShowText(messages, StringId::CannotWritePdf, mainWindow, path->toStdString());
        return PrintOutcome{PrintResult::CouldNotStart, 0};
    }
    PrintOutcome outcome;
    {
        QPdfWriter writer(&file);
        writer.setResolution(PdfResolution);
        writer.setTitle(QString::fromStdString(session.GetPrefs().ProgramTitle));
        writer.setCreator(QString::fromStdString(session.GetPrefs().ProgramTitle));
        const QPageLayout layout = printers.PdfPageLayout();
        writer.setPageSize(layout.pageSize());
        writer.setPageOrientation(layout.orientation());
        outcome = PrintWithProgress(
            session, options, writer, PrintContentDialog::OutputName(PrintOutput{}),
            QDir::toNativeSeparators(*path), mainWindow, closeRequested, nullptr);
    }
    if (outcome.Result != PrintResult::Printed) {
        file.cancelWriting();
        ReportOutcome(outcome, messages, mainWindow);
        return outcome;
    }
    if (!file.commit()) {
        // The pages were made but never reached the file: a failure, not a printed listing.
        ShowText(messages, StringId::CannotWritePdf, mainWindow, path->toStdString());
        outcome.Result = PrintResult::PageFailed;
    }
    return outcome;
}

std::optional<PrintOutcome> PrintToPrinter(const Session& session, const PrintOptions& options,
                                           Messages& messages, PrinterState& printers,
                                           QWidget* mainWindow, bool& closeRequested) {
    QPrinter* printer = printers.CurrentPrinter();
    if (printer == nullptr) {
        ShowText(messages, StringId::CannotOpenPrinter, mainWindow,
                 printers.Current().PrinterName.toStdString());
        return PrintOutcome{PrintResult::CouldNotStart, 0};
    }
    printer->setDocName(QString::fromStdString(session.GetPrefs().ProgramTitle));
    const QString name = printer->printerName();
    const PrintOutcome outcome =
        PrintWithProgress(session, options, *printer, name, PrinterPlace(name), mainWindow,
                          closeRequested, [printer] { printer->abort(); });
    ReportOutcome(outcome, messages, mainWindow);
    return outcome;
}

// The papers a PDF file may have.
QList<QPageSize> PdfPapers() {
    QList<QPageSize> papers;
    for (QPageSize::PageSizeId id :
         {QPageSize::A3, QPageSize::A4, QPageSize::A5, QPageSize::B5, QPageSize::Letter,
          QPageSize::Legal, QPageSize::Executive, QPageSize::Tabloid})
        papers.append(QPageSize(id));
    return papers;
}

}  // namespace

PdfFilePrompt DefaultPdfFilePrompt(Messages& messages) {
    return [&messages](const QString& proposed, QWidget* owner) -> std::optional<QString> {
        QString path = proposed;
        for (;;) {
            // The question about an existing file goes through Messages, like every other.
            path = QFileDialog::getSaveFileName(owner, QFileDialog::tr("Print to PDF File"), path,
                                                QFileDialog::tr("PDF file (*.pdf)"), nullptr,
                                                QFileDialog::DontConfirmOverwrite);
            if (path.isEmpty()) return std::nullopt;
            if (QFileInfo(path).suffix().isEmpty()) path += QStringLiteral(".pdf");
            const QFileInfo file(path);
            if (!file.exists() ||
                messages.AskYesNo(FormatText(LoadString(StringId::ReplaceExistingFile),
                                             {file.fileName().toStdString()}),
                                  owner))
                return path;
        }
    };
}

PageSetupPrompt DefaultPageSetupPrompt() {
    return [](PageSetupChoice& choice, QWidget* owner) {
        return PageSetupDialog::Open(choice, owner);
    };
}

PrintSeams DefaultPrintSeams(Messages& messages) {
    return PrintSeams{DefaultPdfFilePrompt(messages), DefaultPageSetupPrompt()};
}

bool RunPageSetup(Session& session, Messages& messages, PrinterState& printers,
                  const PrintOutput& output, QWidget* owner, const PageSetupPrompt& prompt) {
    if (!printers.Select(output)) {
        ShowText(messages, StringId::CannotOpenPrinter, owner, output.PrinterName.toStdString());
        return false;
    }
    QPrinter* printer = nullptr;
    PageSetupChoice choice;
    if (output.IsPdf()) {
        const QPageLayout layout = printers.PdfPageLayout();
        choice.Paper = layout.pageSize();
        choice.Orientation = layout.orientation();
        choice.Papers = PdfPapers();
    } else {
        printer = printers.CurrentPrinter();
        if (printer == nullptr) {
            ShowText(messages, StringId::CannotOpenPrinter, owner,
                     output.PrinterName.toStdString());
            return false;
        }
        choice.Paper = printer->pageLayout().pageSize();
        choice.Orientation = printer->pageLayout().orientation();
        choice.Papers = QPrinterInfo::printerInfo(printer->printerName()).supportedPageSizes();
    }
    choice.Margins = session.GetPrefs().Display.Margins;
    if (!prompt || !prompt(choice, owner)) return false;

    // The output keeps the paper and orientation; the margins are the program's, for every
    // output, and the listing applies them itself.
    if (printer != nullptr) {
        printer->setPageSize(choice.Paper);
        printer->setPageOrientation(choice.Orientation);
    } else {
        printers.SetPdfPage(choice.Paper, choice.Orientation);
    }
    session.GetPrefs().Display.Margins = choice.Margins;
    session.SettingsFile().WriteMargins(choice.Margins);
    return true;
}

std::optional<PrintOutcome> RunPrint(Session& session, Messages& messages, PrinterState& printers,
                                     QWidget* mainWindow, const PrintSeams& seams) {
    // One job at a time: a second Print arriving while the first pumps events is ignored.
    if (printers.JobRunning) return std::nullopt;
    printers.JobRunning = true;
    // A close request put off by the job is carried out once the job and its reports are over,
    // through the window's own close, so that the program saves as at every exit.
    struct Running {
        PrinterState& State;
        QPointer<QWidget> Window;
        bool CloseRequested = false;
        ~Running() {
            State.JobRunning = false;
            if (CloseRequested && Window) QTimer::singleShot(0, Window.data(), &QWidget::close);
        }
    } running{printers, mainWindow};

    const QList<PrintOutput> outputs = printers.Outputs();
    PrintContentDialog dialog(
        session.GetWorld(), session.Filter(), outputs, printers.Current(),
        [&](const PrintOutput& output, QWidget* owner) {
            RunPageSetup(session, messages, printers, output, owner, seams.PageSetup);
        },
        DialogOwner(mainWindow));
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    const PrintOptions options = dialog.Options();
    const PrintOutput output = dialog.Output();
    if (!printers.Select(output)) {
        ShowText(messages, StringId::CannotOpenPrinter, mainWindow,
                 output.PrinterName.toStdString());
        return PrintOutcome{PrintResult::CouldNotStart, 0};
    }
    if (output.IsPdf())
        return PrintToPdf(session, options, messages, printers, mainWindow, running.CloseRequested,
                          seams);
    return PrintToPrinter(session, options, messages, printers, mainWindow, running.CloseRequested);
}

}  // namespace brix
