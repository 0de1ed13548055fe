#include <QAction>
#include <QApplication>
#include <QContextMenuEvent>
#include <QMenu>
#include <QMenuBar>
#include <QScreen>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QtTest>

#include <functional>

#include "core/base/Commands.h"
#include "core/data/TreasureCatalog.h"
#include "support/RecordingMessages.h"
#include "ui/frame/MainFrame.h"
#include "ui/frame/MainToolbar.h"

namespace brix {

class MainFrameUiTest : public QObject {
    Q_OBJECT

    QTemporaryDir dir_;

    void Prepare(TreasureCatalog& catalog) {
        catalog.Paths.SettingsPath = dir_.filePath("brix-tools.ini").toStdString();
        for (int r = 1; r <= 3; ++r) {
            Region region;
            region.Index = r;
            region.Name = "Region " + std::to_string(r);
            catalog.StoreRegion(region);
        }
        for (int t = 1; t <= 6; ++t) {
            Treasure treasure;
            treasure.Index = t;
            treasure.Region = (t + 1) / 2;
            treasure.Location = {400 + 40 * t, 400 + 30 * t};
            treasure.Name = "Spot " + std::to_string(t);
            catalog.StoreTreasure(treasure);
        }
    }

    static QStringList Texts(QMenu& menu) {
        QStringList texts;
        for (QAction* action : menu.actions())
            texts << (action->isSeparator() ? QStringLiteral("-") : action->text());
        return texts;
    }

private Q_SLOTS:
    void characterMenuSortsByLettersAlone() {
        TreasureCatalog catalog;
        Prepare(catalog);
        for (const char* name : {"Cy", "bo", "Ann", "Bob"}) catalog.FindOrAddCharacter(name);
        catalog.SetCurrentCharacter(&catalog.Characters[1]);  // "bo"
        test::RecordingMessages messages;
        MainFrame frame(catalog, messages);
        QVERIFY(frame.Create());

        QMenu menu;
        frame.FillCharacterMenu(menu);
        QCOMPARE(Texts(menu), (QStringList{"Ann", "bo", "Bob", "Cy", "-", "Manage..."}));
        QVERIFY(menu.actions().at(1)->isChecked());
        QVERIFY(!menu.actions().at(0)->isChecked());

        // Choosing an item makes that character current and writes the key.
        menu.actions().at(3)->trigger();
        QCOMPARE(catalog.GetCurrentCharacter()->Name, std::string("Cy"));
        QCOMPARE(catalog.SettingsFile().Character(), std::string("Cy"));

        // A new character shows up in sorted place at the next opening.
        catalog.FindOrAddCharacter("Abe");
        frame.FillCharacterMenu(menu);
        QCOMPARE(Texts(menu).first(), QStringLiteral("Abe"));
    }

    void windowPlacementRoundTrips() {
        const QRect normal(60, 70, 700, 500);
        {
            TreasureCatalog catalog;
            Prepare(catalog);
            test::RecordingMessages messages;
            MainFrame frame(catalog, messages);
            QVERIFY(frame.Create());
            frame.setGeometry(normal);
            frame.show();
            QVERIFY(QTest::qWaitForWindowExposed(&frame));
            frame.showMaximized();
            QCoreApplication::processEvents();
            frame.close();
            const auto stored = catalog.SettingsFile().WindowPlacement();
            QVERIFY(stored.has_value());
            QCOMPARE(QRect(QPoint(stored->Left, stored->Top),
                           QPoint(stored->Right - 1, stored->Bottom - 1)),
                     normal);
        }
        TreasureCatalog catalog;
        Prepare(catalog);
        test::RecordingMessages messages;
        MainFrame frame(catalog, messages);
        QVERIFY(frame.Create());
        QCOMPARE(frame.geometry(), normal);
        QVERIFY(!frame.isMaximized());
    }

    // A placement saved on a larger screen or at a smaller scale factor opens the window whole
    // on the screen it lands on.
    void windowPlacementFitsTheScreen() {
        const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
        struct Row {
            const char* What;
            QRect Saved;
            QRect Expected;
        };
        const Row rows[] = {
            {"inside", QRect(area.left() + 10, area.top() + 20, 300, 200),
             QRect(area.left() + 10, area.top() + 20, 300, 200)},
            {"larger than the screen",
             QRect(area.left() + 50, area.top() + 50, area.width() * 2, area.height() * 2), area},
            {"across the right and bottom edges",
             QRect(area.right() - 99, area.bottom() - 49, 300, 200),
             QRect(area.right() - 299, area.bottom() - 199, 300, 200)},
        };
        for (const Row& row : rows) {
            TreasureCatalog catalog;
            Prepare(catalog);
            catalog.SettingsFile().WriteWindowPlacement({row.Saved.left(), row.Saved.top(),
                                                         row.Saved.left() + row.Saved.width(),
                                                         row.Saved.top() + row.Saved.height()});
            test::RecordingMessages messages;
            MainFrame frame(catalog, messages);
            QVERIFY2(frame.Create(), row.What);
            QVERIFY2(frame.geometry() == row.Expected, row.What);
        }
    }

    void navigationFollowsTheShownView() {
        TreasureCatalog catalog;
        Prepare(catalog);
        test::RecordingMessages messages;
        MainFrame frame(catalog, messages);
        QVERIFY(frame.Create());

        // The world view leaves Copy and navigation disabled.
        frame.UpdateCommandStates();
        for (int command : {Command::Copy, Command::NextRegion, Command::PreviousTreasure})
            QVERIFY(!frame.Action(command)->isEnabled());
        QVERIFY(!frame.ExecuteCommand(Command::Copy));

        frame.ShowRegionView(3, -1);
        frame.UpdateCommandStates();
        QVERIFY(frame.IsRegionViewActive());
        QVERIFY(!frame.Action(Command::NextRegion)->isEnabled());
        QVERIFY(frame.Action(Command::PreviousRegion)->isEnabled());
        QVERIFY(frame.Action(Command::Copy)->isEnabled());

        // Region commands from the menu show that region.
        QVERIFY(frame.ExecuteCommand(Command::FirstRegion));  // region 1
        frame.UpdateCommandStates();
        QVERIFY(!frame.Action(Command::PreviousRegion)->isEnabled());
        QVERIFY(!frame.Action(Command::PreviousTreasure)->isEnabled());
        QVERIFY(frame.Action(Command::NextTreasure)->isEnabled());

        QVERIFY(frame.ExecuteCommand(Command::World));
        QVERIFY(!frame.IsRegionViewActive());
    }

    void stayOnTopIsWrittenAtEachToggle() {
        TreasureCatalog catalog;
        Prepare(catalog);
        test::RecordingMessages messages;
        MainFrame frame(catalog, messages);
        QVERIFY(frame.Create());
        QVERIFY(!frame.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
        frame.ExecuteCommand(Command::StayOnTop);
        QVERIFY(frame.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
        QVERIFY(catalog.SettingsFile().StayOnTop());
        QVERIFY(frame.Action(Command::StayOnTop)->isChecked());
        frame.ExecuteCommand(Command::StayOnTop);
        QVERIFY(!catalog.SettingsFile().StayOnTop());
    }

    // A right click anywhere on the menu bar or the toolbar never offers to hide the toolbar:
    // nothing would bring it back.
    void noContextMenuHidesTheToolbar() {
        TreasureCatalog catalog;
        Prepare(catalog);
        test::RecordingMessages messages;
        MainFrame frame(catalog, messages);
        QVERIFY(frame.Create());
        frame.show();
        QVERIFY(QTest::qWaitForWindowExposed(&frame));
        auto* toolbar = frame.findChild<MainToolbar*>("MainToolbar");
        QVERIFY(toolbar != nullptr && toolbar->isVisible());
        struct Row {
            const char* What;
            std::function<QWidget*()> Target;  // asked anew: customising rebuilds the buttons
            QStringList Offered;               // the texts of the menu that opens; empty for none
        };
        const Row rows[] = {
            {"the menu bar", [&] { return frame.menuBar(); }, {}},
            {"the toolbar", [&] { return toolbar; }, {"Customize..."}},
            {"a toolbar button",
             [&] { return toolbar->widgetForAction(toolbar->actions().first()); },
             {"Customize..."}},
            {"the status bar", [&] { return frame.statusBar(); }, {}},
        };
        for (const Row& row : rows) {
            QWidget* target = row.Target();
            QVERIFY2(target != nullptr, row.What);
            const QPoint at(target->width() - 3, target->height() / 2);
            QContextMenuEvent event(QContextMenuEvent::Mouse, at, target->mapToGlobal(at));
            QApplication::sendEvent(target, &event);
            auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
            QStringList offered;
            if (menu != nullptr) {
                for (QAction* action : menu->actions())
                    if (action->isVisible()) offered << action->text();
                for (QAction* action : menu->actions()) action->trigger();
                menu->close();
            }
            QCOMPARE(offered, row.Offered);
            QVERIFY2(toolbar->isVisible(), row.What);
            // Customize opened its dialog; it has nothing to do with this.
            if (auto* dialog = frame.findChild<QDialog*>()) dialog->reject();
            QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        }
    }

    // The map views tell a text to show, even an empty one, from the idle "Ready".
    void statusTextEmptyIsNotReady() {
        TreasureCatalog catalog;
        Prepare(catalog);
        test::RecordingMessages messages;
        MainFrame frame(catalog, messages);
        QVERIFY(frame.Create());
        QStatusBar* bar = frame.statusBar();
        QCOMPARE(bar->currentMessage(), QString("Ready"));
        frame.ShowStatusText("Region 2");
        QCOMPARE(bar->currentMessage(), QString("Region 2"));
        frame.ShowStatusText("");
        QCOMPARE(bar->currentMessage(), QString(""));
        frame.ShowReadyText();
        QCOMPARE(bar->currentMessage(), QString("Ready"));
        frame.ShowStatusText("");
        // A message cleared by anyone else still brings back "Ready".
        bar->showMessage("tip");
        bar->clearMessage();
        QCOMPARE(bar->currentMessage(), QString("Ready"));
    }
};

}  // namespace brix

QTEST_MAIN(brix::MainFrameUiTest)
#include "MainFrameUiTest.moc"
