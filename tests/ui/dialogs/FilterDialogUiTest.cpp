#include <QApplication>
#include <QCheckBox>
#include <QDialogButtonBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QVBoxLayout>
#include <QtTest>

#include <algorithm>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "core/base/Commands.h"
#include "core/data/TreasureCatalog.h"
#include "support/RecordingMessages.h"
#include "ui/dialogs/FilterDialog.h"
#include "ui/dialogs/FilterPanel.h"
#include "ui/dialogs/NumberedListWidget.h"
#include "ui/frame/MainFrame.h"

namespace brix {
namespace {

using V = std::vector<int>;

// A filter with the level switch on, counting only the listed levels.
MapFilter Showing(const V& levels) {
    MapFilter filter;
    filter.ShownLevels.fill(0);
    for (int level : levels) filter.ShownLevels[static_cast<std::size_t>(level - 1)] = 1;
    filter.LevelFilterOn = true;
    return filter;
}

NumberedListWidget& List(QWidget& root, const char* name) {
    auto* list = root.findChild<NumberedListWidget*>(QString::fromLatin1(name));
    if (list == nullptr) qFatal("no list %s", name);
    return *list;
}
NumberedListWidget& Shown(QWidget& root) {
    return List(root, "ShownLevels");
}
NumberedListWidget& Hidden(QWidget& root) {
    return List(root, "HiddenLevels");
}
QPushButton& Button(QWidget& root, const char* name) {
    auto* button = root.findChild<QPushButton*>(QString::fromLatin1(name));
    if (button == nullptr) qFatal("no button %s", name);
    return *button;
}
QCheckBox& Box(QWidget& root, const char* name) {
    auto* box = root.findChild<QCheckBox*>(QString::fromLatin1(name));
    if (box == nullptr) qFatal("no check box %s", name);
    return *box;
}

void Click(QWidget& widget) {
    QTest::mouseClick(&widget, Qt::LeftButton, Qt::NoModifier, widget.rect().center());
}

// On its box: a check box stretched across the dialog takes clicks on its box and text only.
void Click(QCheckBox& box) {
    QTest::mouseClick(&box, Qt::LeftButton, Qt::NoModifier,
                      QPoint(box.height() / 2, box.height() / 2));
}

// Clicks the level's item, as a user picks it.
void Pick(NumberedListWidget& list, int level) {
    for (int row = 0; row < list.count(); ++row) {
        if (list.item(row)->data(Qt::UserRole).toInt() != level) continue;
        const QRect where = list.visualItemRect(list.item(row));
        QTest::mouseClick(list.viewport(), Qt::LeftButton, Qt::NoModifier, where.center());
        return;
    }
    qFatal("level %d is not in the list", level);
}

void DoubleClick(NumberedListWidget& list, int level) {
    Pick(list, level);
    const QRect where = list.visualItemRect(list.item(list.currentRow()));
    QTest::mouseDClick(list.viewport(), Qt::LeftButton, Qt::NoModifier, where.center());
}

bool SameFilter(const MapFilter& a, const MapFilter& b) {
    return a.ShownLevels == b.ShownLevels && a.LevelFilterOn == b.LevelFilterOn &&
           a.OnlyTreasuresWithMaps == b.OnlyTreasuresWithMaps &&
           a.OnlyLabelsWithMaps == b.OnlyLabelsWithMaps && a.TreasureHasMap == b.TreasureHasMap &&
           a.RegionHasMap == b.RegionHasMap;
}

// Runs `act` on the filter dialog as soon as the event loop of its exec() turns; `act` must
// close it. `closed` tells whether it did. A dialog left open, or another modal widget, is
// rejected, so a wrong turn fails the test instead of hanging it.
void WhenDialogOpens(const std::function<void(FilterDialog&)>& act, bool& closed) {
    closed = false;
    QTimer::singleShot(0, [act, &closed] {
        QWidget* modal = QApplication::activeModalWidget();
        if (auto* dialog = qobject_cast<FilterDialog*>(modal)) {
            act(*dialog);
            closed = !dialog->isVisible();
            if (!closed) dialog->reject();
        } else if (auto* other = qobject_cast<QDialog*>(modal)) {
            other->reject();
        }
    });
}

}  // namespace

class FilterDialogUiTest : public QObject {
    Q_OBJECT

    QTemporaryDir dir_;
    GameRecords records_;

    // Region 1 holds treasures 1 (a level-3 map) and 2 (a level-12 map); region 2 holds
    // treasure 3 (no maps).
    void Prepare(TreasureCatalog& catalog) {
        catalog.Paths.SettingsPath = dir_.filePath("brix-tools.ini").toStdString();
        catalog.Levels = records_.Levels;
        for (int r = 1; r <= 2; ++r) {
            Region region;
            region.Index = r;
            region.Name = "Region " + std::to_string(r);
            catalog.StoreRegion(region);
        }
        for (int t = 1; t <= 3; ++t) {
            Treasure treasure;
            treasure.Index = t;
            treasure.Region = t < 3 ? 1 : 2;
            treasure.Name = "Spot " + std::to_string(t);
            catalog.StoreTreasure(treasure);
        }
        Character& hunter = *catalog.FindOrAddCharacter("Hunter");
        for (auto [treasure, level] : {std::pair{1, 3}, {2, 12}}) {
            MapCounts entry;
            entry.Index = treasure;
            entry.Counts[static_cast<std::size_t>(level - 1)] = 1;
            hunter.Entries.push_back(entry);
        }
        catalog.SetCurrentCharacter(&hunter);
    }

private Q_SLOTS:
    void initTestCase() {
        for (int n = 1; n <= MaxLevels; ++n) {
            Level level;
            level.Index = n;
            level.Name = n == 16 ? "Grand Cartographer's Illuminated Masterwork"
                                 : "Level " + std::to_string(n);
            records_.StoreLevel(level);
        }
    }

    void movesKeepBothListsAscending() {
        FilterDialog dialog(records_, Showing({3, 12}));
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        NumberedListWidget& shown = Shown(dialog);
        NumberedListWidget& hidden = Hidden(dialog);
        QPushButton& add = Button(dialog, "AddLevel");
        QCOMPARE(shown.item(1)->text(), QStringLiteral("12 - Level 12"));
        QCOMPARE(shown.currentRow(), 0);
        QCOMPARE(hidden.currentRow(), 0);

        // Level 7 lands between 3 and 12 and is selected there; its follower takes its place.
        Pick(hidden, 7);
        Click(add);
        QCOMPARE(shown.Numbers(), (V{3, 7, 12}));
        QCOMPARE(shown.CurrentNumber(), 7);
        QCOMPARE(hidden.CurrentNumber(), 8);
        QCOMPARE(dialog.Filter().ShownLevels, Showing({3, 7, 12}).ShownLevels);

        // Moving the last item selects the one before it.
        Pick(hidden, 16);
        Click(add);
        QCOMPARE(hidden.CurrentNumber(), 15);
        QCOMPARE(shown.Numbers(), (V{3, 7, 12, 16}));

        // A double click moves too, either way.
        DoubleClick(shown, 7);
        QCOMPARE(shown.Numbers(), (V{3, 12, 16}));
        QCOMPARE(hidden.CurrentNumber(), 7);
        QCOMPARE(shown.CurrentNumber(), 12);
        DoubleClick(hidden, 1);
        QCOMPARE(shown.Numbers(), (V{1, 3, 12, 16}));
        QCOMPARE(dialog.Filter().ShownLevels, Showing({1, 3, 12, 16}).ShownLevels);

        // Moving the only item empties the list and disables the button that moved it.
        FilterDialog single(records_, Showing({5}));
        QVERIFY(Button(single, "RemoveLevel").isEnabled());
        Click(Button(single, "RemoveLevel"));
        QCOMPARE(Shown(single).count(), 0);
        QVERIFY(!Button(single, "RemoveLevel").isEnabled());
        QVERIFY(Button(single, "AddLevel").isEnabled());
        QCOMPARE(Hidden(single).CurrentNumber(), 5);
        Click(Button(single, "RemoveLevel"));  // nothing to move: nothing happens
        QCOMPARE(Hidden(single).count(), MaxLevels);

        // Ctrl+click takes the selection away: nothing is left to add until an item is picked.
        NumberedListWidget& rest = Hidden(single);
        const QPoint five = rest.visualItemRect(rest.currentItem()).center();
        QTest::mouseClick(rest.viewport(), Qt::LeftButton, Qt::ControlModifier, five);
        QVERIFY(!Button(single, "AddLevel").isEnabled());
        Pick(rest, 5);
        QVERIFY(Button(single, "AddLevel").isEnabled());
    }

    void shrunkenDialogKeepsLevelNamesWhole() {
        // The longest name starts in one list and can be moved into the other.
        for (const MapFilter& target : {Showing({1, 16}), Showing({1})}) {
            FilterDialog dialog(records_, target);
            dialog.show();
            QVERIFY(QTest::qWaitForWindowExposed(&dialog));
            dialog.resize(dialog.minimumSizeHint());
            QCoreApplication::processEvents();
            const int longest = dialog.fontMetrics().horizontalAdvance(
                QStringLiteral("16 - Grand Cartographer's Illuminated Masterwork"));
            // The viewport leaves out the scroll bar wherever one is shown.
            for (NumberedListWidget* list : {&Shown(dialog), &Hidden(dialog)})
                QVERIFY2(list->viewport()->width() >= longest, qPrintable(list->objectName()));
        }
    }

    void levelSwitchDisablesButKeepsTheLists() {
        MapFilter target = Showing({2, 9});
        target.LevelFilterOn = false;
        FilterDialog dialog(records_, target);
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        QCheckBox& levels = Box(dialog, "LevelFilterOn");
        QVERIFY(!levels.isChecked());
        const std::vector<QWidget*> lists{&Shown(dialog), &Hidden(dialog),
                                          &Button(dialog, "AddLevel"),
                                          &Button(dialog, "RemoveLevel")};
        for (QWidget* widget : lists) QVERIFY(!widget->isEnabled());
        QCOMPARE(Shown(dialog).Numbers(), (V{2, 9}));

        Click(levels);
        for (QWidget* widget : lists) QVERIFY(widget->isEnabled());
        Pick(Shown(dialog), 9);
        Click(Button(dialog, "RemoveLevel"));
        QVERIFY(dialog.Filter().LevelFilterOn);

        // Unchecked again: the lists stay as they are, disabled, and come back when checked.
        Click(levels);
        for (QWidget* widget : lists) QVERIFY(!widget->isEnabled());
        QCOMPARE(Shown(dialog).Numbers(), V{2});
        QVERIFY(!dialog.Filter().LevelFilterOn);
        QCOMPARE(dialog.Filter().ShownLevels, Showing({2}).ShownLevels);
        Click(levels);
        QCOMPARE(Shown(dialog).Numbers(), V{2});
        QVERIFY(Shown(dialog).isEnabled());

        // The other two switches land in their own fields.
        Click(Box(dialog, "OnlyTreasuresWithMaps"));
        QVERIFY(dialog.Filter().OnlyTreasuresWithMaps);
        QVERIFY(!dialog.Filter().OnlyLabelsWithMaps);
        Click(Box(dialog, "OnlyLabelsWithMaps"));
        QVERIFY(dialog.Filter().OnlyLabelsWithMaps);
    }

    void keyboardFollowsTheLayout() {
        FilterDialog dialog(records_, Showing({4}));
        dialog.show();
        QVERIFY(QTest::qWaitForWindowActive(&dialog));
        QCOMPARE(QApplication::focusWidget(), &Box(dialog, "OnlyTreasuresWithMaps"));
        QList<QPushButton*> okCancel{&Button(dialog, "Ok"), &Button(dialog, "Cancel")};
        // Whichever order the platform puts OK and Cancel in, Tab goes left to right.
        std::sort(okCancel.begin(), okCancel.end(),
                  [](QWidget* a, QWidget* b) { return a->x() < b->x(); });
        const QList<QWidget*> expected{&Box(dialog, "OnlyLabelsWithMaps"),
                                       &Box(dialog, "LevelFilterOn"),
                                       &Shown(dialog),
                                       &Button(dialog, "AddLevel"),
                                       &Button(dialog, "RemoveLevel"),
                                       &Hidden(dialog),
                                       okCancel[0],
                                       okCancel[1],
                                       &Box(dialog, "OnlyTreasuresWithMaps")};
        for (QWidget* next : expected) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            QCOMPARE(QApplication::focusWidget(), next);
        }

        // Enter is OK even on "<< Add": it moves nothing and closes the dialog.
        Button(dialog, "AddLevel").setFocus();
        QTest::keyClick(&Button(dialog, "AddLevel"), Qt::Key_Return);
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QVERIFY(!dialog.isVisible());
        QCOMPARE(Shown(dialog).Numbers(), V{4});
    }

    void okAndCancelThroughTheFilterCommand() {
        TreasureCatalog catalog;
        Prepare(catalog);
        test::RecordingMessages messages;
        MainFrame frame(catalog, messages);
        QVERIFY(frame.Create());
        int updates = 0;
        const std::function<void()> repaint = catalog.OnUpdate;
        catalog.OnUpdate = [&] {
            ++updates;
            repaint();
        };
        frame.UpdateCommandStates();
        QVERIFY(frame.Action(Command::Filter)->isEnabled());
        const MapFilter before = catalog.Filter();
        QCOMPARE(before.TreasureHasMap, (std::vector<std::uint8_t>{0, 1, 1, 0}));

        // Escape after changes: the filter and the maps stay as they were.
        bool closed = false;
        WhenDialogOpens(
            [](FilterDialog& dialog) {
                Click(Box(dialog, "LevelFilterOn"));
                Click(Box(dialog, "OnlyLabelsWithMaps"));
                Pick(Shown(dialog), 3);
                Click(Button(dialog, "RemoveLevel"));
                QTest::keyClick(&Shown(dialog), Qt::Key_Escape);
            },
            closed);
        QVERIFY(frame.ExecuteCommand(Command::Filter));
        QVERIFY(closed);
        QVERIFY(SameFilter(catalog.Filter(), before));
        QCOMPARE(updates, 0);

        // Enter after hiding level 3: treasure 1 loses its flag at once, region 1 keeps it.
        WhenDialogOpens(
            [](FilterDialog& dialog) {
                Click(Box(dialog, "LevelFilterOn"));
                Click(Box(dialog, "OnlyTreasuresWithMaps"));
                DoubleClick(Shown(dialog), 3);
                QTest::keyClick(&Hidden(dialog), Qt::Key_Return);
            },
            closed);
        QVERIFY(frame.ExecuteCommand(Command::Filter));
        QVERIFY(closed);
        QCOMPARE(updates, 1);
        QVERIFY(catalog.Filter().LevelFilterOn);
        QVERIFY(catalog.Filter().OnlyTreasuresWithMaps);
        QVERIFY(!catalog.Filter().OnlyLabelsWithMaps);
        QCOMPARE(catalog.Filter().ShownLevels[2], std::uint8_t{0});
        QCOMPARE(catalog.Filter().ShownLevels[11], std::uint8_t{1});
        QCOMPARE(catalog.Filter().TreasureHasMap, (std::vector<std::uint8_t>{0, 0, 1, 0}));
        QCOMPARE(catalog.Filter().RegionHasMap, (std::vector<std::uint8_t>{0, 1, 0}));

        // The dialog opens on the filter as it now is; hiding every level clears every flag.
        WhenDialogOpens(
            [](FilterDialog& dialog) {
                QCOMPARE(Hidden(dialog).Numbers(), V{3});
                QVERIFY(Box(dialog, "LevelFilterOn").isChecked());
                while (Shown(dialog).count() > 0) Click(Button(dialog, "RemoveLevel"));
                Click(Button(dialog, "Ok"));
            },
            closed);
        QVERIFY(frame.ExecuteCommand(Command::Filter));
        QVERIFY(closed);
        QCOMPARE(catalog.Filter().TreasureHasMap, (std::vector<std::uint8_t>{0, 0, 0, 0}));
        QCOMPARE(catalog.Filter().RegionHasMap, (std::vector<std::uint8_t>{0, 0, 0}));
    }

    void embeddedPanelGivesTheSameFilter() {
        // As printing and export hold it: a private copy with flags of its own.
        MapFilter original = Showing({1, 2, 3, 10});
        original.OnlyLabelsWithMaps = true;
        original.TreasureHasMap = {0, 1, 1};
        original.RegionHasMap = {0, 1};
        const auto script = [](QWidget& root) {
            Click(Box(root, "OnlyTreasuresWithMaps"));
            Click(Box(root, "OnlyLabelsWithMaps"));
            Pick(Hidden(root), 7);
            Click(Button(root, "AddLevel"));
            DoubleClick(Shown(root), 2);
            Pick(Shown(root), 10);
            Click(Button(root, "RemoveLevel"));
        };

        MapFilter target = original;
        bool closed = false;
        WhenDialogOpens(
            [&script](FilterDialog& dialog) {
                script(dialog);
                Click(Button(dialog, "Ok"));
            },
            closed);
        QVERIFY(FilterDialog::Open(records_, target, nullptr));
        QVERIFY(closed);
        QCOMPARE(target.ShownLevels, Showing({1, 3, 7}).ShownLevels);
        QVERIFY(target.OnlyTreasuresWithMaps && !target.OnlyLabelsWithMaps);
        QVERIFY(target.TreasureHasMap.empty() && target.RegionHasMap.empty());

        // The panel inside a host window: no buttons of its own, the same result.
        QDialog host;
        auto* panel = new FilterPanel(records_, original, &host);
        auto* layout = new QVBoxLayout(&host);
        layout->addWidget(panel);
        host.show();
        QVERIFY(QTest::qWaitForWindowExposed(&host));
        QVERIFY(panel->findChild<QDialogButtonBox*>() == nullptr);
        QVERIFY(panel->findChild<QPushButton*>(QStringLiteral("Ok")) == nullptr);
        int changes = 0;
        connect(panel, &FilterPanel::Changed, this, [&changes] { ++changes; });
        script(host);
        QVERIFY(changes >= 5);
        QVERIFY(SameFilter(panel->Filter(), target));

        // Cancel leaves the private copy untouched, flags included.
        MapFilter kept = original;
        WhenDialogOpens(
            [&script](FilterDialog& dialog) {
                script(dialog);
                Click(Button(dialog, "Cancel"));
            },
            closed);
        QVERIFY(!FilterDialog::Open(records_, kept, nullptr));
        QVERIFY(closed);
        QVERIFY(SameFilter(kept, original));
    }
};

}  // namespace brix

QTEST_MAIN(brix::FilterDialogUiTest)
#include "FilterDialogUiTest.moc"
