#include <QAction>
#include <QDialog>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>

#include <functional>
#include <string>
#include <vector>

#include "core/Startup.h"
#include "core/data/RuneLibraryManager.h"
#include "core/data/Session.h"
#include "core/data/UserDataWriter.h"
#include "support/ModalDialogs.h"
#include "support/RecordingMessages.h"
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

using test::Find;

void Click(QWidget& parent, const char* button) {
    Find<QPushButton>(parent, button).click();
}

// The next configuration dialog: `text` typed into `field` (unless null), OK.
void ConfirmNext(const char* field, const QString& text = QString()) {
    test::WhenDialogShown<QDialog>([field, text](QDialog& config) {
        if (!text.isNull()) Find<QLineEdit>(config, field).setText(text);
        Click(config, "Ok");
    });
}

QStringList Texts(const QListWidget& list) {
    QStringList texts;
    for (int row = 0; row < list.count(); ++row) texts << list.item(row)->text();
    return texts;
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

    // The list deletes the chosen one of two case variants; a new name is taken trimmed, and a
    // double-click modifies the chosen one.
    void charactersDialogWiring() {
        session_.GetUser().Characters = {{"ann", {{4, {1}}}}, {"Ann", {}}, {"Bo", {}}, {"Cy", {}}};
        ManageCharactersDialog dialog(session_, messages_);
        RecordListBox* records = dialog.Records();
        dialog.show();
        records->List()->setCurrentRow(1);
        records->DeleteButton()->click();
        QCOMPARE(session_.GetUser().Characters[0].Entries.at(0).Index,
                 4);  // the other one, with its maps
        QVERIFY(!records->ModifyButton()->isEnabled() && !records->DeleteButton()->isEnabled());

        test::WhenDialogShown<QDialog>([&](QDialog& config) {
            auto& name = Find<QLineEdit>(config, "Name");
            name.setText(QStringLiteral("  Abe "));
            QTest::keyClick(&name, Qt::Key_Return);
        });
        records->NewButton()->click();
        QCOMPARE(Texts(*records->List()), (QStringList{"Abe", "ann", "Bo", "Cy"}));

        QString preset;
        test::WhenDialogShown<QDialog>(
            [&](QDialog& config) { preset = Find<QLineEdit>(config, "Name").text(); });
        QListWidgetItem* bo = records->List()->item(2);
        records->List()->setCurrentItem(bo);
        Q_EMIT records->List()->itemDoubleClicked(bo);
        QCOMPARE(preset, QStringLiteral("Bo"));
        QVERIFY(messages_.Shown.empty());
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

    void runeBookAddStopsAtSixteen() {
        RuneBook book{"Full", {}};
        for (int t = 15; t >= 1; --t) book.Treasures.push_back(t);
        book.Treasures.push_back(40);  // names no treasure of this world
        session_.GetUser().RuneLibraries.push_back({false, "Mine", {book}});
        RuneLibraryManager manager(session_, messages_);
        RuneLibraryDraft draft = manager.StartDraft(0);
        RuneBookConfigDialog dialog(session_.GetWorld(), draft, 0);
        dialog.show();
        NumberedListWidget* available = dialog.Available();
        NumberedListWidget* inBook = dialog.InBook();
        QVERIFY(!dialog.AddButton()->isEnabled());
        Q_EMIT available->itemDoubleClicked(available->item(0));
        QCOMPARE(inBook->count(), 16);

        inBook->setCurrentRow(2);
        dialog.RemoveButton()->click();
        QVERIFY(dialog.AddButton()->isEnabled());

        QTest::keyClick(dialog.NameEdit(), Qt::Key_Return);
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        const std::vector<int> expected = {1, 2, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 40};
        QCOMPARE(draft.BookAt(0)->Treasures, expected);
        QCOMPARE(session_.GetUser().RuneLibraries[0].RuneBooks[0].Treasures, book.Treasures);
    }

    // Add and Remove follow the highlight, not the current row: a Ctrl+click that takes the
    // highlight away leaves nothing to move, and the button says so.
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
    }

    // Changes cancelled with Escape leave the file written at exit byte for byte.
    void cancelledLibraryStaysAsItWas() {
        session_.GetUser().RuneLibraries = {{false, "Mine", {{"North", {7, 3}}, {"South", {2}}}}};
        ManageRuneLibrariesDialog dialog(session_, messages_);
        RecordListBox* records = dialog.Records();
        const std::string folder = temp_.Path("");
        auto written = [&] {
            if (!SaveUserData(session_.GetUser(), folder, "user.xml", messages_))
                return std::string();
            return test::ReadFileBytes(folder + "user.xml");
        };
        const std::string before = written();
        test::WhenDialogShown<QDialog>([&](QDialog& library) {
            auto& books = Find<QListWidget>(library, "RuneBooks");
            Find<QLineEdit>(library, "RuneLibraryName").setText(QStringLiteral("Changed"));
            books.setCurrentRow(1);
            Click(library, "Delete");
            test::WhenDialogShown<QDialog>([](QDialog& book) {
                Find<QLineEdit>(book, "Name").setText(QStringLiteral("East"));
                Click(book, "Add");
                Click(book, "Ok");
            });
            Click(library, "New");
            QCOMPARE(Texts(books), (QStringList{"East", "North"}));
            QTest::keyClick(&library, Qt::Key_Escape);
        });
        records->List()->setCurrentRow(0);
        records->ModifyButton()->click();
        QCOMPARE(written(), before);
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
        QTemporaryDir root;
        const std::string work = root.path().toStdString() + "/";
        QVERIFY(test::WriteWorldArchive(
            work + "kestrel.zip",
            "<?xml version=\"1.0\"?>\n<brix-data>\n"
            "<Level Index=\"1\"><Name>One</Name></Level>\n"
            "<Region Index=\"1\"><Name>Fen</Name></Region>\n"
            "<Treasure Index=\"1\"><Name>Well</Name><Region>1</Region><Location>10,10</Location>"
            "</Treasure>\n"
            "<Treasure Index=\"2\"><Name>Oak</Name><Region>1</Region><Location>20,10</Location>"
            "</Treasure>\n"
            "<RuneLibrary><Name>Atlas</Name><RuneBook><Name>A</Name><Treasures>1</Treasures>"
            "</RuneBook></RuneLibrary>\n</brix-data>\n",
            128, 96, 1));
        QVERIFY(test::WriteFileBytes(
            work + "user.xml",
            "<brix-data><Character><Name>Ann</Name><MapCounts Index=\"1\">0,2</MapCounts>"
            "</Character><Character><Name>Bo</Name></Character>"
            "<RuneLibrary><Name>Mine</Name><RuneBook><Name>Old</Name><Treasures>2,77</Treasures>"
            "</RuneBook></RuneLibrary></brix-data>"));
        QVERIFY(test::WriteFileBytes(work + "brix-tools.ini",
                                     "[Settings]\nCharacter=Ann\nRuneLibrary=Mine\n"));
        Session session;
        test::RecordingMessages messages;
        QVERIFY(StartUp(session, messages, {root.path().toStdString(), work + "brix-tools"}));

        {
            ManageCharactersDialog characters(session, messages);
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
            ManageRuneLibrariesDialog libraries(session, messages);
            RecordListBox* records = libraries.Records();
            // Confirm the old library's book untouched: the entry of another world stays.
            records->List()->setCurrentRow(1);  // Mine
            test::WhenDialogShown<QDialog>([](QDialog& library) {
                ConfirmNext("Name");
                Click(library, "Modify");
                Find<QLineEdit>(library, "RuneLibraryName").setText(QStringLiteral("Ours"));
                Click(library, "Ok");
            });
            records->ModifyButton()->click();
        }
        QVERIFY(messages.Shown.empty());
        QCOMPARE(session.SettingsFile().Character(), std::string("Anna"));

        ShutDown(session, messages);
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
        QCOMPARE(test::ReadFileBytes(work + "user.xml"), expected);
    }
};

}  // namespace brix

QTEST_MAIN(brix::ManageDialogsUiTest)
#include "ManageDialogsUiTest.moc"
