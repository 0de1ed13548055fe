#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>

#include <optional>
#include <string>

#include "core/base/Commands.h"
#include "core/data/TreasureCatalog.h"
#include "core/output/ZerrinExport.h"
#include "support/ModalDialogs.h"
#include "support/RecordingMessages.h"
#include "support/TestFiles.h"
#include "support/Widgets.h"
#include "ui/dialogs/FilterDialog.h"
#include "ui/frame/MainFrame.h"
#include "ui/output/ZerrinExportDialog.h"

namespace brix {
namespace {

using test::Find;

const std::string BothLines = "3\r\n+Mines: 10 20 0 1 - Old Oak\r\n+Mines: 30 40 0 2 - Well\r\n";

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

    QTemporaryDir dir_;
    TreasureCatalog catalog_;
    QWidget mainWindow_;

    std::string Path(const char* name) const { return dir_.filePath(name).toStdString(); }

private Q_SLOTS:
    void init() {
        QVERIFY(QFile::remove(dir_.filePath("brix-tools.ini")) ||
                !QFileInfo::exists(dir_.filePath("brix-tools.ini")));
        catalog_.Paths.DataDirectory = dir_.path().toStdString() + "/";
        catalog_.Paths.SettingsPath = dir_.filePath("brix-tools.ini").toStdString();
        catalog_.Treasures.clear();
        for (int index : {1, 2}) {
            Treasure treasure;
            treasure.Index = index;
            treasure.Location = {index * 20 - 10, index * 20};
            treasure.Name = index == 1 ? "Old Oak" : "Well";
            catalog_.StoreTreasure(treasure);
        }
        catalog_.Characters.clear();
        Character hunter;
        hunter.Name = "Hunter";
        MapCounts counts;
        counts.Index = 2;
        counts.Counts[0] = 1;
        hunter.Entries.push_back(counts);
        catalog_.Characters.push_back(hunter);
        catalog_.SetCurrentCharacter(&catalog_.Characters[0]);
    }

    // The extension sits in the dialog's own grid below the file type row, its label names the
    // list, and Tab walks file type, place type, "Filter ...".
    void extensionJoinsTheDialog() {
        catalog_.SettingsFile().WriteZerrinExportPlaceType("smiths");
        ZerrinExport exporter(catalog_, Zerrin());
        test::RecordingMessages messages;
        ZerrinExportDialog dialog(exporter, messages);
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));

        auto& types = Find<QComboBox>(dialog, "PlaceTypes");
        auto& label = Find<QLabel>(dialog, "PlaceTypeLabel");
        auto& filter = Find<QPushButton>(dialog, "FilterButton");
        auto& fileTypes = Find<QComboBox>(dialog, "fileTypeCombo");
        QCOMPARE(label.text(), QStringLiteral("Zerrin Type:"));
        QCOMPARE(label.buddy(), &types);
        QCOMPARE(filter.text(), QStringLiteral("Filter ..."));
        QCOMPARE(types.count(), 2);
        QCOMPARE(types.itemText(0), QStringLiteral("Mines"));
        QCOMPARE(types.currentText(), QStringLiteral("Smiths"));
        QCOMPARE(fileTypes.currentText(), QStringLiteral("Zerrin Map File (*.map)"));
        QCOMPARE(Find<QLineEdit>(dialog, "fileNameEdit").text(), QStringLiteral("brix.map"));
        QCOMPARE(QFileInfo(dialog.directory().absolutePath()), QFileInfo(dir_.path()));

        // Lined up with the file type row: same left edges, below it.
        QCOMPARE(types.mapTo(&dialog, QPoint()).x(), fileTypes.mapTo(&dialog, QPoint()).x());
        QVERIFY(types.mapTo(&dialog, QPoint()).y() > fileTypes.mapTo(&dialog, QPoint()).y());
        QVERIFY(filter.width() >= filter.sizeHint().width());
        QVERIFY(label.width() >= label.sizeHint().width());

        fileTypes.setFocus();
        const QList<QWidget*> walk = test::TabWalk(3);
        QCOMPARE(walk[0], &types);
        QCOMPARE(walk[1], &filter);
        QCOMPARE(walk[2],
                 Find<QDialogButtonBox>(dialog, "buttonBox").button(QDialogButtonBox::Save));
        QCOMPARE(dialog.PlaceType(), std::string("Smiths"));
    }

    // Two exports through the dialog: the second starts from the first's file and type, and
    // Escape then writes nothing.
    void exportsThroughTheDialog() {
        test::RecordingMessages messages;
        auto first = test::WhenDialogShown<ZerrinExportDialog>([](ZerrinExportDialog& dialog) {
            Find<QComboBox>(dialog, "PlaceTypes").setCurrentIndex(0);
            SaveAs(dialog, QStringLiteral("hunt"));  // the suffix is added
        });
        QVERIFY(RunZerrinExport(catalog_, messages, &mainWindow_,
                                DefaultZerrinExportPrompt(messages), Zerrin()));
        QVERIFY(*first);
        QCOMPARE(test::ReadFileBytes(Path("hunt.map")), BothLines);
        QCOMPARE(catalog_.SettingsFile().ZerrinExportFile(), Path("hunt.map"));
        QCOMPARE(catalog_.SettingsFile().ZerrinExportPlaceType(), std::string("Mines"));

        QString proposed, type;
        auto second = test::WhenDialogShown<ZerrinExportDialog>([&](ZerrinExportDialog& dialog) {
            proposed = dialog.selectedFiles().value(0);
            type = Find<QComboBox>(dialog, "PlaceTypes").currentText();
            QTest::keyClick(&dialog, Qt::Key_Escape);
        });
        test::WriteFileBytes(Path("hunt.map"), "kept");
        QVERIFY(!RunZerrinExport(catalog_, messages, &mainWindow_,
                                 DefaultZerrinExportPrompt(messages), Zerrin()));
        QVERIFY(*second);
        QCOMPARE(proposed, QString::fromStdString(Path("hunt.map")));
        QCOMPARE(type, QStringLiteral("Mines"));
        QCOMPARE(test::ReadFileBytes(Path("hunt.map")), std::string("kept"));
        QVERIFY(messages.Shown.empty());
    }

    // "Filter ..." changes what this export writes, never the screen's filter.
    void filterChangesOnlyThisExport() {
        const MapFilter before = catalog_.Filter();
        test::RecordingMessages messages;
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
        QVERIFY(RunZerrinExport(catalog_, messages, &mainWindow_,
                                DefaultZerrinExportPrompt(messages), Zerrin()));
        QVERIFY(*shown && filterSeen);
        QCOMPARE(test::ReadFileBytes(Path("mine.map")),
                 std::string("3\r\n-Smiths: 30 40 0 2 - Well\r\n"));
        const MapFilter& after = catalog_.Filter();
        QVERIFY(!after.OnlyTreasuresWithMaps && !after.LevelFilterOn && !after.OnlyLabelsWithMaps);
        QVERIFY(after.ShownLevels == before.ShownLevels);
        QVERIFY(after.TreasureHasMap == before.TreasureHasMap);
        QVERIFY(after.RegionHasMap == before.RegionHasMap);
    }

    // Replacing a file is asked through Messages; No keeps the dialog open and the file.
    void asksBeforeReplacing() {
        test::WriteFileBytes(Path("old.map"), "old");
        test::RecordingMessages messages;
        messages.Answers = {false, true};
        bool stayedOpen = false;
        auto shown = test::WhenDialogShown<ZerrinExportDialog>([&](ZerrinExportDialog& dialog) {
            Find<QComboBox>(dialog, "PlaceTypes").setCurrentText(QStringLiteral("Mines"));
            SaveAs(dialog, QStringLiteral("old.map"));
            stayedOpen = dialog.isVisible();
            QCOMPARE(test::ReadFileBytes(Path("old.map")), std::string("old"));
            SaveAs(dialog, QStringLiteral("old.map"));
        });
        QVERIFY(RunZerrinExport(catalog_, messages, &mainWindow_,
                                DefaultZerrinExportPrompt(messages), Zerrin()));
        QVERIFY(*shown && stayedOpen);
        QCOMPARE(messages.Shown.size(), std::size_t{2});
        QCOMPARE(messages.Shown[0].Text,
                 std::string("old.map already exists.\r\nDo you want to replace it?"));
        QCOMPARE(messages.Shown[0].Icon, MessageIcon::Question);
        QCOMPARE(test::ReadFileBytes(Path("old.map")), BothLines);
    }

    // With a fixed answer from the prompt: an unwritable file is reported over the main window,
    // and nothing is remembered.
    void reportsAnUnwritableFile() {
        test::RecordingMessages messages;
        const ZerrinExportPrompt fixed = [this](ZerrinExport&, QWidget*) {
            return std::optional<ZerrinExportChoice>({Path("missing/x.map"), "Mines"});
        };
        QVERIFY(!RunZerrinExport(catalog_, messages, &mainWindow_, fixed, Zerrin()));
        QCOMPARE(messages.Shown.size(), std::size_t{1});
        QCOMPARE(messages.Shown[0].Text,
                 std::string("Unable to open the Zerrin map file \"x.map\"."));
        QCOMPARE(messages.Shown[0].Owner, static_cast<QObject*>(&mainWindow_));
        QVERIFY(!QFileInfo::exists(dir_.filePath("missing")));
        QCOMPARE(catalog_.SettingsFile().ZerrinExportFile(), std::string());
        QCOMPARE(catalog_.SettingsFile().ZerrinExportPlaceType(), std::string("treasure"));
    }

    // The File menu's command opens the dialog over this machine's categories: with no Zerrin
    // (an empty Wine prefix) only "treasure" is offered.
    void theMenuCommandOpensTheDialog() {
        const QByteArray savedPrefix = qgetenv("WINEPREFIX");
        qputenv("WINEPREFIX", dir_.path().toUtf8());
        test::RecordingMessages messages;
        MainFrame frame(catalog_, messages);
        QVERIFY(frame.Create());
        QVERIFY(frame.Action(Command::ExportToZerrin)->isEnabled());
        QStringList types;
        auto shown = test::WhenDialogShown<ZerrinExportDialog>([&](ZerrinExportDialog& dialog) {
            auto& list = Find<QComboBox>(dialog, "PlaceTypes");
            for (int i = 0; i < list.count(); ++i) types << list.itemText(i);
            QTest::keyClick(&dialog, Qt::Key_Escape);
        });
        QVERIFY(frame.ExecuteCommand(Command::ExportToZerrin));
        if (savedPrefix.isNull())
            qunsetenv("WINEPREFIX");
        else
            qputenv("WINEPREFIX", savedPrefix);
        QVERIFY(*shown);
        QCOMPARE(types, QStringList{QStringLiteral("treasure")});
        QVERIFY(!QFileInfo::exists(dir_.filePath("brix.map")));
    }
};

}  // namespace brix

QTEST_MAIN(brix::ZerrinExportDialogUiTest)
#include "ZerrinExportDialogUiTest.moc"
