#include <QAction>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QtTest>

#include <string>

#include "core/Startup.h"
#include "core/data/RuneLibraryManager.h"
#include "support/ModalDialogs.h"
#include "support/Records.h"
#include "support/TempSession.h"
#include "support/TestFiles.h"
#include "support/Widgets.h"
#include "ui/dialogs/NumberedListWidget.h"
#include "ui/frame/MainFrame.h"
#include "ui/manage/CharacterDialogs.h"
#include "ui/manage/RecordListBox.h"
#include "ui/manage/RuneLibraryDialogs.h"

namespace brix {
namespace {

using test::Click;
using test::Find;

// The next configuration dialog: `text` typed into `field` (unless null), OK.
void ConfirmNext(const char* field, const QString& text = QString()) {
    test::WhenDialogShown<QDialog>([field, text](QDialog& config) {
        if (!text.isNull()) Find<QLineEdit>(config, field).setText(text);
        Click(config, "Ok");
    });
}

}  // namespace

class ManageDialogsUiTest : public QObject {
    Q_OBJECT

    test::TempSession temp_;
    Session& session_ = temp_.Sess;
    test::RecordingMessages& messages_ = temp_.Messages;

private Q_SLOTS:
    void init() {
        temp_.Reset();
        for (int t = 1; t <= 20; ++t) test::AddTreasures(session_.GetWorld(), {t}, 1);
    }

    // Delete takes the chosen one of two case variants; a double-click modifies the chosen one.
    void charactersDialogWiring() {
        session_.GetUser().Characters = {{"ann", {{4, {1}}}}, {"Ann", {}}, {"Bo", {}}};
        ManageCharactersDialog dialog(session_, messages_);
        RecordListBox* records = dialog.Records();
        dialog.show();
        records->List()->setCurrentRow(1);
        records->DeleteButton()->click();
        QCOMPARE(session_.GetUser().Characters[0].Entries.at(0).Index,
                 4);  // the other one, with its maps

        QString preset;
        test::WhenDialogShown<QDialog>(
            [&](QDialog& config) { preset = Find<QLineEdit>(config, "Name").text(); });
        QListWidgetItem* bo = records->List()->item(1);
        records->List()->setCurrentItem(bo);
        Q_EMIT records->List()->itemDoubleClicked(bo);
        QCOMPARE(preset, QStringLiteral("Bo"));
    }

    void modifyDoesNotCutALongerName() {
        const std::string longName(60, 'x');  // the map inventory takes up to 128
        session_.GetUser().Characters = {{longName, {}}};
        session_.SetCurrentCharacter(&session_.GetUser().Characters[0]);
        ManageCharactersDialog dialog(session_, messages_);
        ConfirmNext("Name");
        dialog.Records()->ModifyButton()->click();
        QCOMPARE(session_.GetUser().Characters[0].Name, longName);
        QCOMPARE(session_.SettingsFile().Character(), longName);
    }

    // Add and Remove follow the highlight, not the current row: a Ctrl+click that takes the
    // highlight away leaves nothing to move, and the button says so. A full book (sixteen)
    // disables Add and takes nothing more from a double-click.
    void runeBookButtonsFollowTheSelection() {
        session_.GetUser().RuneLibraries.push_back({false, "Mine", {{"Some", {3, 4}}}});
        RuneLibraryManager manager(session_, messages_);
        RuneLibraryDraft draft = manager.StartDraft(0);
        RuneBookConfigDialog dialog(session_.GetWorld(), draft, 0);
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        struct Row {
            NumberedListWidget* List;
            QPushButton* Button;
        };
        for (const Row& row : {Row{dialog.Available(), dialog.AddButton()},
                               Row{dialog.InBook(), dialog.RemoveButton()}}) {
            QVERIFY(row.Button->isEnabled());
            QListWidgetItem* current = row.List->currentItem();
            QTest::mouseClick(row.List->viewport(), Qt::LeftButton, Qt::ControlModifier,
                              row.List->visualItemRect(current).center());
            QCOMPARE(row.List->currentItem(), current);
            QVERIFY(!current->isSelected());
            QVERIFY(!row.Button->isEnabled());
            Q_EMIT row.List->itemDoubleClicked(current);  // nothing highlighted, nothing moves
            QCOMPARE(dialog.Available()->count(), 18);
            QCOMPARE(dialog.InBook()->count(), 2);
            QTest::mouseClick(row.List->viewport(), Qt::LeftButton, Qt::NoModifier,
                              row.List->visualItemRect(current).center());
            QVERIFY(row.Button->isEnabled());
        }
        NumberedListWidget* available = dialog.Available();
        for (int added = 0; added < 14; ++added)
            Q_EMIT available->itemDoubleClicked(available->currentItem());
        QCOMPARE(dialog.InBook()->count(), 16);
        QVERIFY(!dialog.AddButton()->isEnabled());
        Q_EMIT available->itemDoubleClicked(available->currentItem());
        QCOMPARE(dialog.InBook()->count(), 16);
    }

    // The menus take the chosen one of two case variants.
    void frameMenusTakeTheChosenCaseVariant() {
        session_.GetUser().Characters = {{"ann", {}}, {"Ann", {}}};
        session_.GetUser().RuneLibraries = {{false, "Mine", {}}, {false, "MINE", {}}};
        MainFrame frame(session_, messages_);
        QVERIFY(frame.Create());
        QMenu characters;
        frame.FillCharacterMenu(characters);
        characters.actions().at(1)->trigger();
        QCOMPARE(session_.CurrentCharacterPosition(), 1);
        QMenu libraries;
        frame.FillRuneLibraryMenu(libraries);
        libraries.actions().at(1)->trigger();
        QCOMPARE(session_.CurrentRuneLibraryPosition(), 1);
    }

    // Create, rename and delete through the dialogs; the file written at shutdown holds
    // exactly the result.
    void endToEndUserDataFile() {
        session_.GetUser().Characters = {{"Ann", {{1, {0, 2}}}}, {"Bo", {}}};
        session_.GetUser().RuneLibraries = {{true, "Atlas", {{"A", {1}}}},
                                            {false, "Mine", {{"Old", {2, 77}}}}};
        session_.SetCurrentCharacter(&session_.GetUser().Characters[0]);
        {
            ManageCharactersDialog characters(session_, messages_);
            RecordListBox* records = characters.Records();
            ConfirmNext("Name", QStringLiteral("Eve"));
            records->NewButton()->click();
            records->List()->setCurrentRow(0);  // Ann
            ConfirmNext("Name", QStringLiteral("Anna"));
            records->ModifyButton()->click();
            records->List()->setCurrentRow(1);
            records->DeleteButton()->click();
        }
        {
            ManageRuneLibrariesDialog libraries(session_, messages_);
            RecordListBox* records = libraries.Records();
            records->List()->setCurrentRow(1);  // Mine
            test::WhenDialogShown<QDialog>([](QDialog& library) {
                Find<QLineEdit>(library, "RuneLibraryName").setText(QStringLiteral("Ours"));
                Click(library, "Ok");
            });
            records->ModifyButton()->click();
        }
        QVERIFY(messages_.Shown.empty());
        QCOMPARE(session_.SettingsFile().Character(), std::string("Anna"));

        ShutDown(session_, messages_);
        const std::string expected =
            "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\r\n"
            "<brix-data>\r\r\n"
            "\t<Character>\r\n"
            "\t\t<Name>Anna</Name>\r\n"
            "\t\t<MapCounts Index=\"1\">0,2</MapCounts>\r\n"
            "\t</Character>\r\n"
            "\t<Character>\r\n"
            "\t\t<Name>Eve</Name>\r\n"
            "\t</Character>\r\n"
            "\t<RuneLibrary>\r\n"
            "\t\t<Name>Ours</Name>\r\n"
            "\t\t<RuneBook>\r\n"
            "\t\t\t<Name>Old</Name>\r\n"
            "\t\t\t<Treasures>2,77</Treasures>\r\n"
            "\t\t</RuneBook>\r\n"
            "\t</RuneLibrary>\r\n"
            "</brix-data>\r\r\n";
        QCOMPARE(test::ReadFileBytes(temp_.Path("user.xml")), expected);
    }
};

}  // namespace brix

QTEST_MAIN(brix::ManageDialogsUiTest)
#include "ManageDialogsUiTest.moc"
