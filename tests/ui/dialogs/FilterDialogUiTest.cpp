#include <QCheckBox>
#include <QtTest>

#include <vector>

#include "core/base/Commands.h"
#include "core/data/MapInventory.h"
#include "core/data/Session.h"
#include "support/ModalDialogs.h"
#include "support/Records.h"
#include "support/TempSession.h"
#include "support/Widgets.h"
#include "ui/dialogs/FilterDialog.h"
#include "ui/dialogs/NumberedListWidget.h"
#include "ui/frame/MainFrame.h"

namespace brix {
namespace {

using test::Find;
using V = std::vector<int>;
constexpr const char* LongestItem = "16 - Grand Cartographer's Illuminated Masterwork";

// A filter with the level switch on, counting only the listed levels.
MapFilter Showing(const V& levels) {
    MapFilter filter;
    filter.ShownLevels.fill(0);
    for (int level : levels) filter.ShownLevels[static_cast<std::size_t>(level - 1)] = 1;
    filter.LevelFilterOn = true;
    return filter;
}

NumberedListWidget& Shown(QWidget& root) {
    return Find<NumberedListWidget>(root, "ShownLevels");
}
NumberedListWidget& Hidden(QWidget& root) {
    return Find<NumberedListWidget>(root, "HiddenLevels");
}

// Clicks the named button or check box as a user does; a check box stretched across the dialog
// takes clicks on its box and text only.
void Click(QWidget& root, const char* name) {
    auto& widget = Find<QWidget>(root, name);
    const int middle = widget.height() / 2;
    const QPoint at =
        qobject_cast<QCheckBox*>(&widget) ? QPoint(middle, middle) : widget.rect().center();
    QTest::mouseClick(&widget, Qt::LeftButton, Qt::NoModifier, at);
}

// Clicks the level's item (a double click when asked), as a user does.
void Pick(NumberedListWidget& list, int level, bool twice = false) {
    for (int row = 0; row < list.count(); ++row) {
        if (list.item(row)->data(Qt::UserRole).toInt() != level) continue;
        const QPoint where = list.visualItemRect(list.item(row)).center();
        QTest::mouseClick(list.viewport(), Qt::LeftButton, Qt::NoModifier, where);
        if (twice) QTest::mouseDClick(list.viewport(), Qt::LeftButton, Qt::NoModifier, where);
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

    // "<< Add" moves the selected level into place; moving the only item leaves an empty list
    // whose button is disabled.
    void buttonsMoveTheSelectedLevel() {
        FilterDialog dialog(records_, Showing({3, 12}));
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        Pick(Hidden(dialog), 7);
        Click(dialog, "AddLevel");
        QCOMPARE(dialog.Filter().ShownLevels, Showing({3, 7, 12}).ShownLevels);

        FilterDialog single(records_, Showing({5}));
        Click(single, "RemoveLevel");
        QCOMPARE(Shown(single).count(), 0);
        QVERIFY(!Find<QWidget>(single, "RemoveLevel").isEnabled());
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
            for (NumberedListWidget* list : {&Shown(dialog), &Hidden(dialog)})
                QVERIFY2(list->viewport()->width() >= longest, qPrintable(list->objectName()));
        }
    }

    // Region 1 holds treasures 1 (a level-3 map) and 2 (a level-12 map); region 2 holds
    // treasure 3 (no maps). Escape keeps the filter; Enter applies it and the map flags at once;
    // the lists follow the level switch.
    void okAndCancelThroughTheFilterCommand() {
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
        const MapFilter before = session.Filter();

        auto seen = test::WhenDialogShown<FilterDialog>([](FilterDialog& dialog) {
            QVERIFY(!Shown(dialog).isEnabled());
            Click(dialog, "LevelFilterOn");
            Pick(Shown(dialog), 3, true);
            QTest::keyClick(&Shown(dialog), Qt::Key_Escape);
            QVERIFY(!dialog.isVisible());
        });
        QVERIFY(frame.ExecuteCommand(Command::Filter));
        QVERIFY(*seen);
        QVERIFY(session.Filter() == before);
        QCOMPARE(updates, 0);

        // Hiding level 3: treasure 1 loses its flag, region 1 keeps it.
        seen = test::WhenDialogShown<FilterDialog>([](FilterDialog& dialog) {
            Click(dialog, "LevelFilterOn");
            Click(dialog, "OnlyTreasuresWithMaps");
            Pick(Shown(dialog), 3, true);
            QTest::keyClick(&Hidden(dialog), Qt::Key_Return);
            QVERIFY(!dialog.isVisible());
        });
        QVERIFY(frame.ExecuteCommand(Command::Filter));
        QVERIFY(*seen);
        QCOMPARE(updates, 1);
        MapFilter expected = Showing({1, 2, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16});
        expected.OnlyTreasuresWithMaps = true;
        expected.TreasureHasMap = {0, 0, 1, 0};
        expected.RegionHasMap = {0, 1, 0};
        QVERIFY(session.Filter() == expected);
    }
};

}  // namespace brix

QTEST_MAIN(brix::FilterDialogUiTest)
#include "FilterDialogUiTest.moc"
