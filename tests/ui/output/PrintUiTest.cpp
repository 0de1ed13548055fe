#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QDoubleSpinBox>
#include <QLabel>
#include <QTimer>
#include <QtTest>

#include <functional>
#include <memory>
#include <optional>

#include "core/base/Commands.h"
#include "support/ModalDialogs.h"
#include "support/TempSession.h"
#include "support/TestFiles.h"
#include "support/Widgets.h"
#include "ui/frame/MainFrame.h"
#include "ui/output/PageSetupDialog.h"
#include "ui/output/PrintContentDialog.h"
#include "ui/output/PrintController.h"
#include "ui/output/PrintProgressDialog.h"
#include "ui/output/PrinterState.h"

namespace brix {
namespace {

using test::Find;

// Answers the content dialog: `choose` sets its controls, then OK is pressed as a user does.
std::shared_ptr<bool> AcceptContent(std::function<void(PrintContentDialog&)> choose = nullptr) {
    return test::WhenDialogShown<PrintContentDialog>([choose](PrintContentDialog& dialog) {
        if (choose) choose(dialog);
        test::Click(dialog, "Ok");
    });
}

// A full listing without pictures: the sixty treasures take several pages.
void FullNoPictures(PrintContentDialog& dialog) {
    Find<QComboBox>(dialog, "MapOption").setCurrentIndex(static_cast<int>(PrintMapOption::NoMap));
    Find<QCheckBox>(dialog, "Terse").setChecked(false);
}

}  // namespace

class PrintUiTest : public QObject {
    Q_OBJECT

    std::unique_ptr<test::TempSession> temp_;  // a new folder for each test
    Session* session_ = nullptr;
    test::RecordingMessages messages_;
    QStringList proposed_;  // what the PDF prompt was offered, in order

    QString Path(const char* name) const { return QString::fromStdString(temp_->Path(name)); }
    QStringList Files() const { return QDir(temp_->Dir.path()).entryList(QDir::Files); }

    // The prompt seam: records the proposal and answers with the file, or cancels.
    PrintSeams Seams(const std::optional<QString>& answer) {
        PrintSeams seams;
        seams.AskPdfFile = [this, answer](const QString& proposed, QWidget*) {
            proposed_ << proposed;
            return answer;
        };
        seams.PageSetup = [](PageSetupChoice&, QWidget*) { return false; };
        return seams;
    }

    static PrinterLookup Printers(const QStringList& names, const QString& defaultName) {
        return [names, defaultName] { return SystemPrinters{names, defaultName}; };
    }

private Q_SLOTS:
    // Sixty treasures and no current character.
    void init() {
        temp_ = std::make_unique<test::TempSession>();
        session_ = &temp_->Sess;
        for (int index = 1; index <= 60; ++index) {
            Treasure treasure;
            treasure.Index = index;
            treasure.Location = {100 + 30 * index, 200 + 20 * index};
            treasure.Name = "Spot " + std::to_string(index);
            session_->GetWorld().StoreTreasure(treasure);
        }
        messages_ = test::RecordingMessages();
        proposed_.clear();
    }

    // Print from the File menu opens the dialog with the defaults, whatever the last opening
    // chose, and with the filter copied from the screen's; the screen's filter never changes.
    void dialogStartsFromTheDefaultsEveryTime() {
        MapFilter screen = session_->Filter();
        screen.OnlyLabelsWithMaps = true;
        session_->SetFilterOptions(screen);
        MainFrame frame(*session_, messages_);
        QVERIFY(frame.Create());
        for (int opening = 0; opening < 2; ++opening) {
            PrintOptions seen;
            auto shown = test::WhenDialogShown<PrintContentDialog>([&](PrintContentDialog& d) {
                seen = d.Options();
                Find<QComboBox>(d, "Content").setCurrentIndex(1);
                Find<QComboBox>(d, "MapOption").setCurrentIndex(4);
                Find<QCheckBox>(d, "Terse").setChecked(false);
                Find<QCheckBox>(d, "OnlyTreasuresWithMaps").setChecked(true);
            });  // and cancelled
            QVERIFY(frame.ExecuteCommand(Command::Print));
            QVERIFY(*shown);
            QVERIFY(seen.Content == PrintContent::Treasures && seen.Terse &&
                    seen.MapOption == PrintMapOption::SmallMono);
            QVERIFY(seen.Filter.OnlyLabelsWithMaps && !seen.Filter.OnlyTreasuresWithMaps);
        }
        QVERIFY(!session_->Filter().OnlyTreasuresWithMaps);
    }

    // A PDF job replaces the chosen file with the listing (the default printer is preselected
    // ahead of "PDF file"), and the next job proposes the same file again. A job with nothing to
    // print ("Only show treasures for which I have maps" with no current character) says so over
    // the main window and leaves the chosen file alone. A printer that cannot be opened ("Laser"
    // is only a name here) is reported there too, and the PDF output stays current.
    void pdfJobsAndFailures() {
        test::WriteFileBytes(Path("listing.pdf").toStdString(), "old");
        test::WriteFileBytes(Path("empty.pdf").toStdString(), "mine");
        PrinterState printers(Printers({"Laser"}, "Laser"));
        QWidget mainWindow;
        QString preselected;
        auto shown = AcceptContent([&](PrintContentDialog& d) {
            preselected = Find<QComboBox>(d, "Printer").currentText();
            Find<QComboBox>(d, "Printer").setCurrentText(QStringLiteral("PDF file"));
            FullNoPictures(d);
        });
        const auto outcome =
            RunPrint(*session_, messages_, printers, &mainWindow, Seams(Path("listing.pdf")));
        QVERIFY(*shown);
        QCOMPARE(preselected, QStringLiteral("Laser"));
        QVERIFY(outcome && outcome->Result == PrintResult::Printed && outcome->Pages >= 2);
        QVERIFY(test::ReadFileBytes(Path("listing.pdf").toStdString()).rfind("%PDF", 0) == 0);

        auto nothing = AcceptContent([](PrintContentDialog& d) {
            Find<QCheckBox>(d, "OnlyTreasuresWithMaps").setChecked(true);
        });
        const auto empty =
            RunPrint(*session_, messages_, printers, &mainWindow, Seams(Path("empty.pdf")));
        QVERIFY(*nothing);
        QVERIFY(empty && empty->Result == PrintResult::NothingToPrint);
        QCOMPARE(test::ReadFileBytes(Path("empty.pdf").toStdString()), std::string("mine"));
        QCOMPARE(messages_.Shown.size(), std::size_t{1});
        QCOMPARE(messages_.Shown[0].Text,
                 std::string("There is nothing to print: no treasure passes the filter."));

        auto toLaser = AcceptContent([](PrintContentDialog& d) {
            Find<QComboBox>(d, "Printer").setCurrentText(QStringLiteral("Laser"));
        });
        const auto failed =
            RunPrint(*session_, messages_, printers, &mainWindow, Seams(Path("never.pdf")));
        QVERIFY(*toLaser);
        QVERIFY(failed && failed->Result == PrintResult::CouldNotStart);
        QVERIFY(printers.Current().IsPdf());
        QCOMPARE(proposed_, (QStringList{Path("brix-print.pdf"), Path("listing.pdf")}));
        QCOMPARE(Files(), (QStringList{"empty.pdf", "listing.pdf"}));
        QCOMPARE(messages_.Shown.size(), std::size_t{2});
        for (const auto& message : messages_.Shown)
            QCOMPARE(message.Owner, static_cast<QObject*>(&mainWindow));
    }

    // While the job runs the main window is disabled and puts off a close request (a signal's
    // comes only once); Cancel in the progress window ends the job at once, the file that was
    // there stays as it was, no temporary file is left behind, and the window then closes the
    // way it always does, saving its placement.
    void cancelLeavesTheOldFile() {
        test::WriteFileBytes(Path("listing.pdf").toStdString(), "old");
        PrinterState printers(Printers({}, {}));
        MainFrame frame(*session_, messages_);
        QVERIFY(frame.Create());
        frame.show();
        QVERIFY(QTest::qWaitForWindowExposed(&frame));

        // The deferred close asks for the records to be saved at once, once.
        int saveRequests = 0;
        const SessionSubscription saves(*session_, [&](unsigned reasons) {
            if (reasons & Change::SaveRequested) ++saveRequests;
        });
        // Runs on every pass of the event loop the job pumps between items.
        bool cancelled = false, frameEnabled = true, frameClosed = true;
        QTimer everyPass;
        connect(&everyPass, &QTimer::timeout, [&] {
            for (QWidget* window : QApplication::topLevelWidgets()) {
                auto* progress = qobject_cast<PrintProgressDialog*>(window);
                if (cancelled || progress == nullptr || !progress->isVisible() ||
                    Find<QLabel>(*progress, "PageLine").text() != QStringLiteral("Page 2"))
                    continue;
                cancelled = true;
                frameEnabled = frame.isEnabled();
                frameClosed = frame.close();
                test::Click(*progress, "Cancel");
            }
        });
        everyPass.start(0);
        auto shown = AcceptContent(FullNoPictures);
        const auto outcome =
            RunPrint(*session_, messages_, printers, &frame, Seams(Path("listing.pdf")));
        QVERIFY(*shown && cancelled);
        QVERIFY(outcome && outcome->Result == PrintResult::Cancelled);
        QVERIFY(!frameEnabled && !frameClosed);
        QCOMPARE(saveRequests, 1);
        QVERIFY(frame.isVisible() && frame.isEnabled());
        QCOMPARE(test::ReadFileBytes(Path("listing.pdf").toStdString()), std::string("old"));
        QCOMPARE(Files(), QStringList{"listing.pdf"});
        QVERIFY(messages_.Shown.empty());
        QTRY_VERIFY(!frame.isVisible());
        QVERIFY(session_->SettingsFile().WindowPlacement());
    }

    // Half an inch on every side confirmed with OK is stored at once as "500 500 500 500", and
    // the PDF file's pages get the orientation chosen.
    void pageSetupStoresMargins() {
        PrinterState printers(Printers({}, {}));
        QWidget owner;
        auto seen = test::WhenDialogShown<PageSetupDialog>([](PageSetupDialog& d) {
            auto& units = Find<QComboBox>(d, "Units");
            units.setCurrentIndex(units.findText(QStringLiteral("Inches (in)")));
            for (const char* name : {"LeftMargin", "TopMargin", "RightMargin", "BottomMargin"})
                Find<QDoubleSpinBox>(d, name).setValue(0.5);
            test::Click(d, "Landscape");
            test::Click(d, "Ok");
        });
        QVERIFY(RunPageSetup(*session_, messages_, printers, PrintOutput{}, &owner,
                             DefaultPageSetupPrompt()));
        QVERIFY(*seen);
        QCOMPARE(session_->SettingsFile().File().ReadString("Settings", "PrintMargins", "", 255),
                 std::string("500 500 500 500"));
        QCOMPARE(session_->GetPrefs().Display.Margins, (PrintMargins{500, 500, 500, 500}));
        QCOMPARE(printers.PdfPageLayout().orientation(), QPageLayout::Landscape);
        QVERIFY(messages_.Shown.empty());
    }
};

}  // namespace brix

QTEST_MAIN(brix::PrintUiTest)
#include "PrintUiTest.moc"
