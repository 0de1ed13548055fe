#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QDoubleSpinBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

#include <functional>
#include <memory>
#include <optional>

#include "core/base/Commands.h"
#include "core/data/TreasureCatalog.h"
#include "support/ModalDialogs.h"
#include "support/RecordingMessages.h"
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

// Pages of a PDF as its page objects count them.
int PdfPages(const std::string& bytes) {
    static const QRegularExpression page(QStringLiteral("/Type\\s*/Page(?!s)"));
    return static_cast<int>(QString::fromLatin1(bytes).count(page));
}

// Calls `act` on every pass of the event loop while this object lives: the content dialog's
// loop and the events a running job pumps between items.
class EveryPass {
public:
    explicit EveryPass(std::function<void()> act) {
        QObject::connect(&timer_, &QTimer::timeout, std::move(act));
        timer_.start(0);
    }

private:
    QTimer timer_;
};

// Answers the content dialog: `choose` sets its controls, then OK is pressed as a user does.
std::shared_ptr<bool> AcceptContent(std::function<void(PrintContentDialog&)> choose = nullptr) {
    return test::WhenDialogShown<PrintContentDialog>([choose](PrintContentDialog& dialog) {
        if (choose) choose(dialog);
        QTest::keyClick(&Find<QComboBox>(dialog, "Content"), Qt::Key_Return);
    });
}

void NoPictures(PrintContentDialog& dialog) {
    Find<QComboBox>(dialog, "MapOption").setCurrentIndex(static_cast<int>(PrintMapOption::NoMap));
}

}  // namespace

class PrintUiTest : public QObject {
    Q_OBJECT

    QTemporaryDir dir_;
    std::unique_ptr<TreasureCatalog> catalog_;
    test::RecordingMessages messages_;
    QStringList proposed_;  // what the PDF prompt was offered, in order

    QString Path(const char* name) const { return dir_.filePath(QLatin1String(name)); }

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
    // Sixty treasures, so that a full listing without pictures takes several pages, and one
    // character holding no maps.
    void init() {
        for (const QString& file : QDir(dir_.path()).entryList(QDir::Files))
            QFile::remove(dir_.filePath(file));
        catalog_ = std::make_unique<TreasureCatalog>();
        catalog_->Paths.DataDirectory = dir_.path().toStdString() + "/";
        catalog_->Paths.SettingsPath = Path("brix-tools.ini").toStdString();
        for (int index = 1; index <= 60; ++index) {
            Treasure treasure;
            treasure.Index = index;
            treasure.Location = {100 + 30 * index, 200 + 20 * index};
            treasure.Name = "Spot " + std::to_string(index);
            catalog_->StoreTreasure(treasure);
        }
        messages_ = test::RecordingMessages();
        proposed_.clear();
    }

    // Print from the File menu opens the dialog with the defaults, whatever the last opening
    // chose, and with the filter copied from the screen's; the screen's filter never changes.
    void dialogStartsFromTheDefaultsEveryTime() {
        MapFilter screen = catalog_->Filter();
        screen.OnlyLabelsWithMaps = true;
        catalog_->SetFilterOptions(screen);
        MainFrame frame(*catalog_, messages_);
        QVERIFY(frame.Create());
        QVERIFY(frame.Action(Command::Print)->isEnabled());
        QVERIFY(frame.Action(Command::PageSetup)->isEnabled());

        for (int opening = 0; opening < 2; ++opening) {
            QStringList seen;
            auto shown = test::WhenDialogShown<PrintContentDialog>([&](PrintContentDialog& d) {
                auto& content = Find<QComboBox>(d, "Content");
                auto& map = Find<QComboBox>(d, "MapOption");
                auto& terse = Find<QCheckBox>(d, "Terse");
                seen << content.currentText() << map.currentText()
                     << (terse.isChecked() ? "terse" : "full")
                     << (Find<QCheckBox>(d, "OnlyLabelsWithMaps").isChecked() ? "labels" : "-")
                     << (Find<QCheckBox>(d, "OnlyTreasuresWithMaps").isChecked() ? "maps" : "-");
                content.setCurrentIndex(1);
                map.setCurrentIndex(4);
                terse.setChecked(false);
                Find<QCheckBox>(d, "OnlyTreasuresWithMaps").setChecked(true);
                QTest::keyClick(&d, Qt::Key_Escape);
            });
            QVERIFY(frame.ExecuteCommand(Command::Print));
            QVERIFY(*shown);
            QCOMPARE(seen, (QStringList{"Treasures", "Print a small black and white map", "terse",
                                        "labels", "-"}));
        }
        QVERIFY(!catalog_->Filter().OnlyTreasuresWithMaps);
        QVERIFY(messages_.Shown.empty());
    }

    // Tab walks the lists, the check box, the panel, then OK; Enter is OK and Escape Cancel
    // from anywhere in the dialog.
    void keyboard() {
        const QList<PrintOutput> outputs{PrintOutput{}};
        PrintContentDialog dialog(*catalog_, catalog_->Filter(), outputs, PrintOutput{}, nullptr);
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        QCOMPARE(QApplication::focusWidget(), &Find<QComboBox>(dialog, "Content"));
        QCOMPARE(test::TabWalk(7),
                 (QList<QWidget*>{
                     &Find<QComboBox>(dialog, "MapOption"), &Find<QComboBox>(dialog, "Printer"),
                     &Find<QCheckBox>(dialog, "Terse"),
                     &Find<QCheckBox>(dialog, "OnlyTreasuresWithMaps"),
                     &Find<QCheckBox>(dialog, "OnlyLabelsWithMaps"),
                     &Find<QCheckBox>(dialog, "LevelFilterOn"), &Find<QPushButton>(dialog, "Ok")}));
        QTest::keyClick(&Find<QCheckBox>(dialog, "LevelFilterOn"), Qt::Key_Return);
        QCOMPARE(dialog.result(), int(QDialog::Accepted));

        PrintContentDialog again(*catalog_, catalog_->Filter(), outputs, PrintOutput{}, nullptr);
        again.show();
        QVERIFY(QTest::qWaitForWindowExposed(&again));
        QTest::keyClick(&Find<QComboBox>(again, "MapOption"), Qt::Key_Escape);
        QVERIFY(!again.isVisible());
        QCOMPARE(again.result(), int(QDialog::Rejected));
    }

    // "Printer:" lists the system's printers, then "PDF file", preselecting the default
    // printer, else the PDF file. A printer that cannot be opened is reported and the output
    // chosen before stays current.
    void printerChoice() {
        struct Row {
            QStringList Names;
            QString Default;
            QStringList Items;
            QString Preselected;
        };
        const Row rows[] = {
            {{}, {}, {"PDF file"}, "PDF file"},
            {{"Laser", "Ink"}, "Ink", {"Laser", "Ink", "PDF file"}, "Ink"},
            {{"Laser"}, {}, {"Laser", "PDF file"}, "PDF file"},
            {{"Laser"}, "Gone", {"Laser", "PDF file"}, "PDF file"},
        };
        QWidget mainWindow;
        for (const Row& row : rows) {
            PrinterState printers(Printers(row.Names, row.Default));
            QStringList items;
            QString preselected;
            auto shown = test::WhenDialogShown<PrintContentDialog>([&](PrintContentDialog& d) {
                auto& list = Find<QComboBox>(d, "Printer");
                for (int i = 0; i < list.count(); ++i) items << list.itemText(i);
                preselected = list.currentText();
                QTest::keyClick(&d, Qt::Key_Escape);
            });
            QVERIFY(!RunPrint(*catalog_, messages_, printers, &mainWindow, Seams(std::nullopt)));
            QVERIFY(*shown);
            QCOMPARE(items, row.Items);
            QCOMPARE(preselected, row.Preselected);
        }

        // "Laser" is only a name here: no such printer exists to be opened.
        PrinterState printers(Printers({"Laser"}, "Laser"));
        auto toPdf = AcceptContent([](PrintContentDialog& d) {
            Find<QComboBox>(d, "Printer").setCurrentText(QStringLiteral("PDF file"));
        });
        QVERIFY(!RunPrint(*catalog_, messages_, printers, &mainWindow, Seams(std::nullopt)));
        QVERIFY(*toPdf);
        auto toLaser = AcceptContent([](PrintContentDialog& d) {
            Find<QComboBox>(d, "Printer").setCurrentText(QStringLiteral("Laser"));
        });
        const auto failed =
            RunPrint(*catalog_, messages_, printers, &mainWindow, Seams(Path("never.pdf")));
        QVERIFY(*toLaser);
        QVERIFY(failed && failed->Result == PrintResult::CouldNotStart);
        QCOMPARE(messages_.Shown.size(), std::size_t{1});
        QCOMPARE(messages_.Shown[0].Text, std::string("Unable to open the printer \"Laser\"."));
        QCOMPARE(messages_.Shown[0].Owner, static_cast<QObject*>(&mainWindow));
        QVERIFY(printers.Current().IsPdf());
        QCOMPARE(proposed_.size(), 1);  // only the first job asked for a file
    }

    // A PDF job writes the whole listing to the chosen file at 600 dpi, replacing what was
    // there; the next job proposes the same file again.
    void pdfJobWritesTheListing() {
        test::WriteFileBytes(Path("listing.pdf").toStdString(), "old");
        PrinterState printers(Printers({}, {}));
        QWidget mainWindow;
        auto shown = AcceptContent([](PrintContentDialog& d) {
            NoPictures(d);
            Find<QCheckBox>(d, "Terse").setChecked(false);
        });
        const auto outcome =
            RunPrint(*catalog_, messages_, printers, &mainWindow, Seams(Path("listing.pdf")));
        QVERIFY(*shown);
        QVERIFY(outcome && outcome->Result == PrintResult::Printed);
        const std::string pdf = test::ReadFileBytes(Path("listing.pdf").toStdString());
        QVERIFY(pdf.rfind("%PDF", 0) == 0);
        QVERIFY(outcome->Pages >= 2);
        QCOMPARE(PdfPages(pdf), outcome->Pages);
        QCOMPARE(QDir(dir_.path()).entryList(QDir::Files), QStringList{"listing.pdf"});
        QVERIFY(messages_.Shown.empty());

        auto again = test::WhenDialogShown<PrintContentDialog>(
            [](PrintContentDialog& d) { QTest::keyClick(&d, Qt::Key_Return); });
        RunPrint(*catalog_, messages_, printers, &mainWindow, Seams(std::nullopt));
        QVERIFY(*again);
        QCOMPARE(proposed_, (QStringList{Path("brix-print.pdf"), Path("listing.pdf")}));
    }

    // While the job runs the main window is disabled and refuses to close, and the progress
    // window names the file; Cancel there ends the job at once, the file that was there stays
    // as it was, and no temporary file is left behind.
    void cancelLeavesTheOldFile() {
        test::WriteFileBytes(Path("listing.pdf").toStdString(), "old");
        PrinterState printers(Printers({}, {}));
        MainFrame frame(*catalog_, messages_);
        QVERIFY(frame.Create());
        frame.show();
        QVERIFY(QTest::qWaitForWindowExposed(&frame));

        bool cancelled = false, frameEnabled = true, frameClosed = true;
        QStringList lines;
        const EveryPass cancelOnPageTwo([&] {
            for (QWidget* window : QApplication::topLevelWidgets()) {
                auto* progress = qobject_cast<PrintProgressDialog*>(window);
                if (cancelled || progress == nullptr || !progress->isVisible() ||
                    Find<QLabel>(*progress, "PageLine").text() != QStringLiteral("Page 2"))
                    continue;
                cancelled = true;
                frameEnabled = frame.isEnabled();
                frameClosed = frame.close();
                for (QLabel* label : progress->findChildren<QLabel*>()) lines << label->text();
                QTest::mouseClick(&Find<QPushButton>(*progress, "Cancel"), Qt::LeftButton);
            }
        });
        auto shown = AcceptContent([](PrintContentDialog& d) {
            NoPictures(d);
            Find<QCheckBox>(d, "Terse").setChecked(false);
        });
        const auto outcome =
            RunPrint(*catalog_, messages_, printers, &frame, Seams(Path("listing.pdf")));
        QVERIFY(*shown && cancelled);
        QVERIFY(outcome && outcome->Result == PrintResult::Cancelled);
        QVERIFY(!frameEnabled);
        QVERIFY(!frameClosed);
        QVERIFY(frame.isVisible() && frame.isEnabled());
        QCOMPARE(lines,
                 (QStringList{"Printing", "Brix Tools", "on the", "PDF file",
                              "on " + QDir::toNativeSeparators(Path("listing.pdf")), "Page 2"}));
        QCOMPARE(test::ReadFileBytes(Path("listing.pdf").toStdString()), std::string("old"));
        QCOMPARE(QDir(dir_.path()).entryList(QDir::Files), QStringList{"listing.pdf"});
        QVERIFY(messages_.Shown.empty());
    }

    // "Only show treasures for which I have maps" with no current character lets nothing
    // through: no file is written and nothing is said.
    void nothingToPrintWritesNoFile() {
        PrinterState printers(Printers({}, {}));
        QWidget mainWindow;
        auto shown = AcceptContent([](PrintContentDialog& d) {
            Find<QCheckBox>(d, "OnlyTreasuresWithMaps").setChecked(true);
        });
        const auto outcome =
            RunPrint(*catalog_, messages_, printers, &mainWindow, Seams(Path("empty.pdf")));
        QVERIFY(*shown);
        QVERIFY(outcome && outcome->Result == PrintResult::NothingToPrint);
        QVERIFY(QDir(dir_.path()).entryList(QDir::Files).isEmpty());
        QVERIFY(messages_.Shown.empty());
    }

    // Page Setup shows the stored margins, and half an inch on every side confirmed with OK is
    // stored at once as "500 500 500 500"; Cancel changes nothing. The paper and orientation
    // chosen for the PDF file are the ones its pages get.
    void pageSetupStoresMargins() {
        PrinterState printers(Printers({}, {}));
        QWidget owner;
        auto setup = [&](const char* unit, double margin, const char* orientation, Qt::Key key) {
            QStringList shown;
            auto seen = test::WhenDialogShown<PageSetupDialog>([&](PageSetupDialog& d) {
                auto& units = Find<QComboBox>(d, "Units");
                units.setCurrentIndex(units.findText(QLatin1String(unit)));
                for (const char* name :
                     {"LeftMargin", "TopMargin", "RightMargin", "BottomMargin"}) {
                    auto& box = Find<QDoubleSpinBox>(d, name);
                    shown << box.text();
                    box.setValue(margin);
                }
                Find<QComboBox>(d, "Paper").setCurrentText(QStringLiteral("A5"));
                Find<QRadioButton>(d, orientation).setChecked(true);
                QTest::keyClick(&Find<QComboBox>(d, "Paper"), key);
            });
            const bool ok = RunPageSetup(*catalog_, messages_, printers, PrintOutput{}, &owner,
                                         DefaultPageSetupPrompt());
            if (!*seen) qFatal("no page setup dialog");
            return std::make_pair(ok, shown);
        };
        const auto half = setup("Inches (in)", 0.5, "Landscape", Qt::Key_Return);
        QVERIFY(half.first);
        QCOMPARE(half.second, QStringList(4, QStringLiteral("0.750 in")));
        QCOMPARE(catalog_->SettingsFile().File().ReadString("Settings", "PrintMargins", "", 255),
                 std::string("500 500 500 500"));
        QCOMPARE(catalog_->Display.Margins, (PrintMargins{500, 500, 500, 500}));
        QCOMPARE(printers.PdfPageLayout().orientation(), QPageLayout::Landscape);
        QCOMPARE(printers.PdfPageLayout().pageSize().id(), QPageSize::A5);

        // Millimetres show the same margins; Escape keeps everything.
        const auto cancelled = setup("Millimetres (mm)", 30.0, "Portrait", Qt::Key_Escape);
        QVERIFY(!cancelled.first);
        QCOMPARE(cancelled.second, QStringList(4, QStringLiteral("12.70 mm")));
        QCOMPARE(catalog_->SettingsFile().Margins(), (PrintMargins{500, 500, 500, 500}));
        QCOMPARE(printers.PdfPageLayout().orientation(), QPageLayout::Landscape);

        // 19.05 mm is 750 thousandths of an inch exactly.
        const auto metric = setup("Millimetres (mm)", 19.05, "Portrait", Qt::Key_Return);
        QVERIFY(metric.first);
        QCOMPARE(catalog_->SettingsFile().Margins(), (PrintMargins{750, 750, 750, 750}));
        QVERIFY(messages_.Shown.empty());
    }
};

}  // namespace brix

QTEST_MAIN(brix::PrintUiTest)
#include "PrintUiTest.moc"
