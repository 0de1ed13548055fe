#include <QApplication>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>

#include <string>

#include "core/Startup.h"
#include "core/base/Commands.h"
#include "core/data/Session.h"
#include "support/ModalDialogs.h"
#include "support/RecordingMessages.h"
#include "support/TestFiles.h"
#include "support/Widgets.h"
#include "ui/dialogs/MapInventoryDialog.h"
#include "ui/frame/MainFrame.h"

namespace brix {
namespace {

// Levels 1, 2 and 5; region 1 holds treasures 1 and 3, region 2 treasure 2.
const char* const SystemData =
    "<?xml version=\"1.0\"?>\n<brix-data>\n"
    "<Level Index=\"1\"><Name>One</Name></Level>\n"
    "<Level Index=\"2\"><Name>Two</Name></Level>\n"
    "<Level Index=\"5\"><Name>Five</Name><WhatSpawns>Liches</WhatSpawns></Level>\n"
    "<Region Index=\"1\"><Name>Fen</Name></Region>\n"
    "<Region Index=\"2\"><Name>Moor</Name></Region>\n"
    "<Treasure Index=\"1\"><Name>Well</Name><Region>1</Region><Location>40,40</Location>"
    "</Treasure>\n"
    "<Treasure Index=\"2\"><Name>Mill</Name><Region>2</Region><Location>120,60</Location>"
    "</Treasure>\n"
    "<Treasure Index=\"3\"><Name>Oak</Name><Region>1</Region><Location>60,50</Location>"
    "</Treasure>\n"
    "</brix-data>\n";

const char* const UserXml =
    "<?xml version=\"1.0\"?>\n<brix-data>\n"
    "<Character><Name>Ann</Name><MapCounts Index=\"2\">0,1</MapCounts></Character>\n"
    "</brix-data>\n";

using test::Find;

// What the user saw in the dialog before pressing OK.
struct Seen {
    QString Treasure;
    QString Character;
    QString Level;
    bool Owned = false;
};

// Fills in the map inventory dialog as a user would and presses OK.
std::shared_ptr<bool> AnswerInventory(Seen& seen, QWidget* owner, const QString& name,
                                      int levelRow) {
    return test::WhenDialogShown<MapInventoryDialog>(
        [&seen, owner, name, levelRow](MapInventoryDialog& dialog) {
            seen.Owned = dialog.parentWidget() == owner;
            seen.Treasure = Find<QComboBox>(dialog, "TreasureList").currentText();
            seen.Character = Find<QComboBox>(dialog, "CharacterField").currentText();
            seen.Level = Find<QComboBox>(dialog, "LevelList").currentText();
            if (!name.isNull()) {
                QLineEdit* edit = Find<QComboBox>(dialog, "CharacterField").lineEdit();
                edit->selectAll();
                QTest::keyClicks(edit, name);
            }
            if (levelRow >= 0) Find<QComboBox>(dialog, "LevelList").setCurrentIndex(levelRow);
            Find<QDialogButtonBox>(dialog, "Buttons").button(QDialogButtonBox::Ok)->click();
            if (dialog.isVisible()) dialog.reject();  // refused: end the test's loop all the same
        });
}

}  // namespace

class MapInventoryFlowUiTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    // From the region view's selected treasure through the dialog to the bytes of user.xml.
    void recordedMapsReachTheUserDataFile() {
        QTemporaryDir dir;
        const std::string work = dir.path().toStdString() + "/";
        QVERIFY(test::WriteWorldArchive(work + "kestrel.zip", SystemData, 256, 192, 2));
        QVERIFY(test::WriteFileBytes(work + "user.xml", UserXml));
        QVERIFY(test::WriteFileBytes(work + "brix-tools.ini", "[Settings]\nLastLevel=2\n"));

        Session session;
        test::RecordingMessages messages;
        QVERIFY(StartUp(session, messages, {dir.path().toStdString(), work + "brix-tools"}));
        {
            MainFrame frame(session, messages);
            QVERIFY(frame.Create());
            frame.show();
            QVERIFY(QTest::qWaitForWindowExposed(&frame));
            // Region 2 opens on treasure 2; Next Treasure selects treasure 3 (in region 1). A new
            // character typed with blanks is created on Yes; the level comes from "LastLevel".
            frame.ShowRegionView(2, -1);
            QVERIFY(frame.ExecuteCommand(Command::NextTreasure));
            Seen first;
            messages.Answers = {true};
            auto shown = AnswerInventory(first, &frame, "  Cy ", -1);
            QVERIFY(frame.ExecuteCommand(Command::GotAMap));
            QVERIFY(*shown && first.Owned);
            QCOMPARE(first.Treasure, QString("3 - Oak"));
            QCOMPARE(first.Character, QString("Ann"));  // the first character was made current
            QCOMPARE(first.Level, QString("2 - Two"));

            // From the world view the first treasure is preset; Cy is now current. Level 5 is
            // the third item.
            QVERIFY(frame.ExecuteCommand(Command::World));
            Seen second;
            shown = AnswerInventory(second, &frame, QString(), 2);
            QVERIFY(frame.ExecuteCommand(Command::GotAMap));
            QVERIFY(*shown);
            QCOMPARE(second.Character, QString("Cy"));

            // Completing Ann's map of treasure 2: the count drops to 0 and the entry is left
            // out of the file. The level list now opens on level 5.
            Seen third;
            frame.ShowRegionView(2, -1);
            shown = AnswerInventory(third, &frame, "ann", 1);
            QVERIFY(frame.ExecuteCommand(Command::CompletedAMap));
            QVERIFY(*shown);
            QCOMPARE(third.Treasure, QString("2 - Mill"));
            QCOMPARE(third.Level, QString("5 - Five"));

            frame.close();
        }
        ShutDown(session, messages);
        QCOMPARE(messages.Shown.size(), std::size_t(1));  // only the question for Cy

        const std::string expected =
            "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\r\n"
            "<brix-data>\r\r\n"
            "\t<Character>\r\n"
            "\t\t<Name>Ann</Name>\r\n"
            "\t</Character>\r\n"
            "\t<Character>\r\n"
            "\t\t<Name>Cy</Name>\r\n"
            "\t\t<MapCounts Index=\"3\">0,1</MapCounts>\r\n"
            "\t\t<MapCounts Index=\"1\">0,0,0,0,1</MapCounts>\r\n"
            "\t</Character>\r\n"
            "</brix-data>\r\r\n";
        QCOMPARE(test::ReadFileBytes(work + "user.xml"), expected);
        const std::string settings = test::ReadFileBytes(work + "brix-tools.ini");
        QVERIFY2(settings.find("Character=Ann") != std::string::npos, settings.c_str());
        QVERIFY2(settings.find("LastLevel=2") != std::string::npos, settings.c_str());
    }
};

}  // namespace brix

QTEST_MAIN(brix::MapInventoryFlowUiTest)
#include "MapInventoryFlowUiTest.moc"
