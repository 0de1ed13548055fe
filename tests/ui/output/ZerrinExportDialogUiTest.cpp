#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

#include <optional>
#include <string>

#include "core/data/MapInventory.h"
#include "core/data/Session.h"
#include "core/output/ZerrinExport.h"
#include "support/ModalDialogs.h"
#include "support/TempSession.h"
#include "support/TestFiles.h"
#include "support/Widgets.h"
#include "ui/dialogs/FilterDialog.h"
#include "ui/output/ZerrinExportDialog.h"

namespace brix {
namespace {

using test::Find;

ZerrinCategories Zerrin() {
    return ZerrinCategories({{"Smiths", true}, {"Mines", false}});
}

// Types the file name and presses Enter, as a user does.
void SaveAs(ZerrinExportDialog& dialog, const QString& name) {
    auto& edit = Find<QLineEdit>(dialog, "fileNameEdit");
    edit.setFocus();
    edit.setText(name);
    QTest::keyClick(&edit, Qt::Key_Return);
}

}  // namespace

class ZerrinExportDialogUiTest : public QObject {
    Q_OBJECT

    test::TempSession temp_;
    Session& session_ = temp_.Sess;
    test::RecordingMessages& messages_ = temp_.Messages;
    QWidget mainWindow_;

    std::string Path(const char* name) const { return temp_.Path(name); }
    bool Export() {
        return RunZerrinExport(session_, messages_, &mainWindow_,
                               DefaultZerrinExportPrompt(messages_), Zerrin());
    }

private Q_SLOTS:
    // Treasures 1 and 2; the hunter holds a level-1 map of treasure 2.
    void init() {
        QFile::remove(QString::fromStdString(Path("brix-tools.ini")));
        temp_.Reset();
        for (int index : {1, 2}) {
            Treasure treasure;
            treasure.Index = index;
            treasure.Location = {index * 20 - 10, index * 20};
            treasure.Name = index == 1 ? "Old Oak" : "Well";
            session_.GetWorld().StoreTreasure(treasure);
        }
        Character& hunter = *session_.GetUser().FindOrAddCharacter("Hunter");
        AdjustMapCount(hunter, 2, 1, true);
        session_.SetCurrentCharacter(&hunter);
    }

    // Two exports through the dialog: the second starts from the first's file and type, and
    // Escape then writes nothing.
    void exportsThroughTheDialog() {
        auto first = test::WhenDialogShown<ZerrinExportDialog>([](ZerrinExportDialog& dialog) {
            Find<QComboBox>(dialog, "PlaceTypes").setCurrentText(QStringLiteral("Smiths"));
            SaveAs(dialog, QStringLiteral("hunt"));  // the suffix is added
        });
        QVERIFY(Export());
        QVERIFY(*first);
        QCOMPARE(test::ReadFileBytes(Path("hunt.map")),
                 std::string("3\r\n-Smiths: 10 20 0 1 - Old Oak\r\n-Smiths: 30 40 0 2 - Well\r\n"));

        QString proposed, type;
        auto second = test::WhenDialogShown<ZerrinExportDialog>([&](ZerrinExportDialog& dialog) {
            proposed = dialog.selectedFiles().value(0);
            type = QString::fromStdString(dialog.PlaceType());
            QTest::keyClick(&dialog, Qt::Key_Escape);
        });
        test::WriteFileBytes(Path("hunt.map"), "kept");
        QVERIFY(!Export());
        QVERIFY(*second);
        QCOMPARE(proposed, QString::fromStdString(Path("hunt.map")));
        QCOMPARE(type, QStringLiteral("Smiths"));  // not the first type, Mines
        QCOMPARE(test::ReadFileBytes(Path("hunt.map")), std::string("kept"));
        QVERIFY(messages_.Shown.empty());
    }

    // "Filter ..." changes what this export writes, never the screen's filter.
    void filterChangesOnlyThisExport() {
        const MapFilter before = session_.Filter();
        bool filterSeen = false;
        auto shown = test::WhenDialogShown<ZerrinExportDialog>([&](ZerrinExportDialog& dialog) {
            auto filter = test::WhenDialogShown<FilterDialog>([](FilterDialog& filterDialog) {
                Find<QCheckBox>(filterDialog, "OnlyTreasuresWithMaps").setChecked(true);
                QTest::mouseClick(&Find<QPushButton>(filterDialog, "Ok"), Qt::LeftButton);
            });
            QTest::mouseClick(&Find<QPushButton>(dialog, "FilterButton"), Qt::LeftButton);
            filterSeen = *filter;
            Find<QComboBox>(dialog, "PlaceTypes").setCurrentText(QStringLiteral("Smiths"));
            SaveAs(dialog, QStringLiteral("mine.map"));
        });
        QVERIFY(Export());
        QVERIFY(*shown && filterSeen);
        QCOMPARE(test::ReadFileBytes(Path("mine.map")),
                 std::string("3\r\n-Smiths: 30 40 0 2 - Well\r\n"));
        QVERIFY(!session_.Filter().OnlyTreasuresWithMaps);
        QVERIFY(session_.Filter().TreasureHasMap == before.TreasureHasMap);
    }

    // Replacing a file is asked through Messages; No keeps the dialog open and the file.
    void asksBeforeReplacing() {
        test::WriteFileBytes(Path("old.map"), "old");
        messages_.Answers = {false, true};
        bool stayedOpen = false;
        auto shown = test::WhenDialogShown<ZerrinExportDialog>([&](ZerrinExportDialog& dialog) {
            Find<QComboBox>(dialog, "PlaceTypes").setCurrentText(QStringLiteral("Mines"));
            SaveAs(dialog, QStringLiteral("old.map"));
            stayedOpen = dialog.isVisible();
            QCOMPARE(test::ReadFileBytes(Path("old.map")), std::string("old"));
            SaveAs(dialog, QStringLiteral("old.map"));
        });
        QVERIFY(Export());
        QVERIFY(*shown && stayedOpen);
        QCOMPARE(messages_.Shown.size(), std::size_t{2});
        QCOMPARE(test::ReadFileBytes(Path("old.map")),
                 std::string("3\r\n+Mines: 10 20 0 1 - Old Oak\r\n+Mines: 30 40 0 2 - Well\r\n"));
    }

    // An unwritable file (a fixed answer from the prompt) is reported over the main window, and
    // nothing is remembered.
    void reportsAnUnwritableFile() {
        const ZerrinExportPrompt fixed = [this](ZerrinExport&, QWidget*) {
            return std::optional<ZerrinExportChoice>({Path("missing/x.map"), "Mines"});
        };
        QVERIFY(!RunZerrinExport(session_, messages_, &mainWindow_, fixed, Zerrin()));
        QCOMPARE(messages_.Shown.size(), std::size_t{1});
        QCOMPARE(messages_.Shown[0].Owner, static_cast<QObject*>(&mainWindow_));
        QCOMPARE(session_.SettingsFile().ZerrinExportFile(), std::string());
    }
};

}  // namespace brix

QTEST_MAIN(brix::ZerrinExportDialogUiTest)
#include "ZerrinExportDialogUiTest.moc"
