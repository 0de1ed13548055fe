#include <QAction>
#include <QMenu>
#include <QTemporaryDir>
#include <QtTest>

#include "core/base/Commands.h"
#include "core/data/TreasureCatalog.h"
#include "support/RecordingMessages.h"
#include "ui/frame/MainFrame.h"
#include "ui/map/RegionMapView.h"

namespace brix {

class MainFrameUiTest : public QObject {
    Q_OBJECT

    QTemporaryDir dir_;

    void Prepare(TreasureCatalog& catalog) {
        catalog.SettingsPath = dir_.filePath("brix-tools.ini").toStdString();
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
        catalog.CurrentCharacter = 1;  // "bo"
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
        QVERIFY(!frame.StayOnTop());
        frame.ExecuteCommand(Command::StayOnTop);
        QVERIFY(frame.StayOnTop());
        QVERIFY(catalog.SettingsFile().StayOnTop());
        QVERIFY(frame.Action(Command::StayOnTop)->isChecked());
        frame.ExecuteCommand(Command::StayOnTop);
        QVERIFY(!catalog.SettingsFile().StayOnTop());
    }
};

}  // namespace brix

QTEST_MAIN(brix::MainFrameUiTest)
#include "MainFrameUiTest.moc"
