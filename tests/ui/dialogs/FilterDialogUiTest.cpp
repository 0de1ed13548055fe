#include <QtTest>

#include <vector>

#include "core/base/Commands.h"
#include "core/data/MapInventory.h"
#include "support/ModalDialogs.h"
#include "support/Records.h"
#include "support/TempSession.h"
#include "support/Widgets.h"
#include "ui/dialogs/FilterDialog.h"
#include "ui/dialogs/NumberedListWidget.h"
#include "ui/frame/MainFrame.h"

namespace brix {
namespace {

using test::Click;
using test::Find;
constexpr const char* LongestItem = "16 - Grand Cartographer's Illuminated Masterwork";

// A filter with the level switch on, counting only the listed levels.
MapFilter Showing(const std::vector<int>& levels) {
    MapFilter filter;
    filter.ShownLevels.fill(0);
    for (int level : levels) filter.ShownLevels[static_cast<std::size_t>(level - 1)] = 1;
    filter.LevelFilterOn = true;
    return filter;
}

void Pick(NumberedListWidget& list, int level) {
    for (int row = 0; row < list.count(); ++row) {
        if (list.item(row)->data(Qt::UserRole).toInt() != level) continue;
        const QPoint where = list.visualItemRect(list.item(row)).center();
        QTest::mouseClick(list.viewport(), Qt::LeftButton, Qt::NoModifier, where);
        return;
    }
    qFatal("level %d is not in the list", level);
}

}  // namespace

class FilterDialogUiTest : public QObject {
    Q_OBJECT

    GameRecords records_;

private Q_SLOTS:
    void initTestCase() {
        for (int n = 1; n <= MaxLevels; ++n) {
            Level level;
            level.Index = n;
            level.Name = n == 16 ? std::string(LongestItem + 5) : "Level " + std::to_string(n);
            records_.StoreLevel(level);
        }
    }

    // Region 1 holds treasures 1 (a level-3 map) and 2 (a level-12 map); region 2 holds
    // treasure 3 (no maps). OK applies the filter and the map flags at once: hiding level 3
    // takes treasure 1's flag, region 1 keeps it.
    void okAppliesTheFilterAndTheMapFlags() {
        test::TempSession temp;
        Session& session = temp.Sess;
        session.GetWorld().Levels = records_.Levels;
        Region region;
        for (region.Index = 1; region.Index <= 2; ++region.Index)
            session.GetWorld().StoreRegion(region);
        test::AddTreasures(session.GetWorld(), {1, 2}, 1);
        test::AddTreasures(session.GetWorld(), {3}, 2);
        Character& hunter = *session.GetUser().FindOrAddCharacter("Hunter");
        AdjustMapCount(hunter, 1, 3, true);
        AdjustMapCount(hunter, 2, 12, true);
        session.SetCurrentCharacter(&hunter);
        MainFrame frame(session, temp.Messages);
        QVERIFY(frame.Create());
        int updates = 0;
        const SessionSubscription counter(session, [&](unsigned) { ++updates; });

        auto seen = test::WhenDialogShown<FilterDialog>([](FilterDialog& dialog) {
            Click(dialog, "LevelFilterOn");
            Click(dialog, "OnlyTreasuresWithMaps");
            Pick(Find<NumberedListWidget>(dialog, "ShownLevels"), 3);
            Click(dialog, "RemoveLevel");
            Click(dialog, "Ok");
        });
        QVERIFY(frame.ExecuteCommand(Command::Filter));
        QVERIFY(*seen);
        QCOMPARE(updates, 1);
        MapFilter expected = Showing({1, 2, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16});
        expected.OnlyTreasuresWithMaps = true;
        expected.TreasureHasMap = {0, 0, 1, 0};
        expected.RegionHasMap = {0, 1, 0};
        QVERIFY(session.Filter() == expected);

        // Cancel changes nothing, whatever was changed in the dialog.
        seen = test::WhenDialogShown<FilterDialog>([](FilterDialog& dialog) {
            Click(dialog, "LevelFilterOn");
            Click(dialog, "OnlyLabelsWithMaps");
            Click(dialog, "Cancel");
        });
        QVERIFY(frame.ExecuteCommand(Command::Filter));
        QVERIFY(*seen);
        QCOMPARE(updates, 1);
        QVERIFY(session.Filter() == expected);
    }

    // At its smallest the dialog still shows the longest level name whole, in either list.
    void shrunkenDialogKeepsLevelNamesWhole() {
        for (const MapFilter& target : {Showing({1, 16}), Showing({1})}) {
            FilterDialog dialog(records_, target);
            dialog.show();
            QVERIFY(QTest::qWaitForWindowExposed(&dialog));
            dialog.resize(dialog.minimumSizeHint());
            QCoreApplication::processEvents();
            const int longest = dialog.fontMetrics().horizontalAdvance(LongestItem);
            for (const char* name : {"ShownLevels", "HiddenLevels"})
                QVERIFY2(Find<NumberedListWidget>(dialog, name).viewport()->width() >= longest,
                         name);
        }
    }
};

}  // namespace brix

QTEST_MAIN(brix::FilterDialogUiTest)
#include "FilterDialogUiTest.moc"
