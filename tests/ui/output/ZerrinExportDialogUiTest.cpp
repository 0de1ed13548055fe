#include <QComboBox>
#include <QLineEdit>
#include <QtTest>

#include <string>

#include "core/data/MapInventory.h"
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
                               DefaultZerrinExportPrompt(messages_),
                               ZerrinCategories({{"Smiths", true}, {"Mines", false}}));
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

    // "Filter ..." changes what this export writes, never the screen's filter; the next export
    // starts from this one's file and type.
    void exportsThroughTheDialog() {
        const MapFilter before = session_.Filter();
        bool filterSeen = false;
        auto first = test::WhenDialogShown<ZerrinExportDialog>([&](ZerrinExportDialog& dialog) {
            auto filter = test::WhenDialogShown<FilterDialog>([](FilterDialog& filterDialog) {
                test::Click(filterDialog, "OnlyTreasuresWithMaps");
                test::Click(filterDialog, "Ok");
            });
            test::Click(dialog, "FilterButton");
            filterSeen = *filter;
            Find<QComboBox>(dialog, "PlaceTypes").setCurrentText(QStringLiteral("Smiths"));
            SaveAs(dialog, QStringLiteral("hunt"));  // the suffix is added
        });
        QVERIFY(Export());
        QVERIFY(*first && filterSeen);
        QCOMPARE(test::ReadFileBytes(Path("hunt.map")),
                 std::string("3\r\n-Smiths: 30 40 0 2 - Well\r\n"));
        QVERIFY(session_.Filter() == before);

        QString proposed, type;
        auto second = test::WhenDialogShown<ZerrinExportDialog>([&](ZerrinExportDialog& dialog) {
            proposed = dialog.selectedFiles().value(0);
            type = QString::fromStdString(dialog.PlaceType());
        });
        QVERIFY(!Export());
        QVERIFY(*second);
        QCOMPARE(proposed, QString::fromStdString(Path("hunt.map")));
        QCOMPARE(type, QStringLiteral("Smiths"));  // not the first type, Mines
        QVERIFY(messages_.Shown.empty());
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
};

}  // namespace brix

QTEST_MAIN(brix::ZerrinExportDialogUiTest)
#include "ZerrinExportDialogUiTest.moc"
