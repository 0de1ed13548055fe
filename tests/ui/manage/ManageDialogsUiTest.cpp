#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

#include <functional>
#include <string>
#include <vector>

#include "core/Startup.h"
#include "core/base/Commands.h"
#include "core/base/Strings.h"
#include "core/data/RuneLibraryManager.h"
#include "core/data/TreasureCatalog.h"
#include "core/data/UserDataWriter.h"
#include "support/RecordingMessages.h"
#include "support/TestFiles.h"
#include "ui/dialogs/NumberedListWidget.h"
#include "ui/frame/MainFrame.h"
#include "ui/manage/CharacterDialogs.h"
#include "ui/manage/RecordListBox.h"
#include "ui/manage/RuneLibraryDialogs.h"

namespace brix {
namespace {

// Runs `act` on the next modal dialog that opens above `below` (the dialog under test runs
// its nested dialogs with exec()). `act` must close the dialog it is given.
void WhenDialogOpens(QWidget* below, std::function<void(QDialog*)> act) {
    auto* timer = new QTimer;
    timer->setInterval(0);
    QObject::connect(timer, &QTimer::timeout, [timer, below, act] {
        auto* top = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        if (top == nullptr || top == below) return;
        timer->stop();
        timer->deleteLater();
        act(top);
    });
    timer->start();
}

QStringList Texts(const QListWidget& list) {
    QStringList texts;
    for (int row = 0; row < list.count(); ++row) texts << list.item(row)->text();
    return texts;
}

template <typename Widget>
Widget* Child(QWidget* parent, const char* name) {
    auto* child = parent->findChild<Widget*>(QString::fromLatin1(name));
    if (child == nullptr) qFatal("no child %s", name);
    return child;
}

// The object names of the controls Tab visits, starting at `first`, until it comes back.
QStringList TabOrder(QWidget* first) {
    QStringList names;
    QWidget* widget = first;
    do {
        if (widget->isEnabled() && widget->isVisible() && (widget->focusPolicy() & Qt::TabFocus))
            names << widget->objectName();
        widget = widget->nextInFocusChain();
    } while (widget != first && names.size() < 50);
    return names;
}

void Click(QWidget* parent, const char* button) {
    Child<QPushButton>(parent, button)->click();
}

const char* const SystemData =
    "<?xml version=\"1.0\"?>\n<brix-data>\n"
    "<Level Index=\"1\"><Name>One</Name></Level>\n"
    "<Region Index=\"1\"><Name>Fen</Name></Region>\n"
    "<Treasure Index=\"1\"><Name>Well</Name><Region>1</Region><Location>10,10</Location>"
    "</Treasure>\n"
    "<Treasure Index=\"2\"><Name>Oak</Name><Region>1</Region><Location>20,10</Location>"
    "</Treasure>\n"
    "<RuneLibrary><Name>Atlas</Name><RuneBook><Name>A</Name><Treasures>1</Treasures></RuneBook>"
    "</RuneLibrary>\n</brix-data>\n";

std::string BmpBytes(const QImage& image) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "BMP");
    return bytes.toStdString();
}

std::string MonoBmp(int width, int height) {
    QImage image(width, height, QImage::Format_Mono);
    image.setColorTable({qRgb(0, 0, 0), qRgb(255, 255, 255)});
    image.fill(1);
    return BmpBytes(image);
}

std::string WorldBmp() {
    QImage image(64, 48, QImage::Format_RGB888);
    image.fill(qRgb(20, 90, 160));
    return BmpBytes(image);
}

}  // namespace

class ManageDialogsUiTest : public QObject {
    Q_OBJECT

    QTemporaryDir dir_;

    void Prepare(TreasureCatalog& catalog) {
        catalog.Paths.SettingsPath = dir_.filePath("brix-tools.ini").toStdString();
        for (int t = 1; t <= 20; ++t) {
            Treasure treasure;
            treasure.Index = t;
            treasure.Region = 1;
            treasure.Name = "Spot " + std::to_string(t);
            catalog.StoreTreasure(treasure);
        }
    }

private Q_SLOTS:
    void deleteRemovesTheChosenOfTwoNamesDifferingInCase() {
        TreasureCatalog catalog;
        Prepare(catalog);
        // As loaded from a hand-edited file: two names that differ only in case.
        catalog.Characters = {{"Cy", {}}, {"ann", {{4, {1}}}}, {"Ann", {{9, {0, 3}}}}, {"Bo", {}}};
        catalog.SetCurrentCharacter(&catalog.Characters[2]);
        test::RecordingMessages messages;
        ManageCharactersDialog dialog(catalog, messages);
        RecordListBox* records = dialog.Records();
        QCOMPARE(Texts(*records->List()), (QStringList{"ann", "Ann", "Bo", "Cy"}));
        QCOMPARE(records->SelectedRow(), 0);
        QVERIFY(records->ModifyButton()->isEnabled());
        dialog.show();
        QCOMPARE(TabOrder(records->List()),
                 (QStringList{"Characters", "New", "Modify", "Delete", "Close"}));

        records->List()->setCurrentRow(1);
        records->DeleteButton()->click();
        QCOMPARE(Texts(*records->List()), (QStringList{"ann", "Bo", "Cy"}));
        QCOMPARE(catalog.Characters.size(), std::size_t(3));
        QCOMPARE(catalog.Characters[1].Name, std::string("ann"));
        QCOMPARE(catalog.Characters[1].Entries.at(0).Index, 4);
        QVERIFY(catalog.GetCurrentCharacter() == nullptr);
        QCOMPARE(catalog.SettingsFile().Character(), std::string());
        // Nothing is selected after a deletion.
        QCOMPARE(records->SelectedRow(), -1);
        QVERIFY(!records->ModifyButton()->isEnabled());
        QVERIFY(!records->DeleteButton()->isEnabled());
        QVERIFY(messages.Shown.empty());
    }

    void configurationValidatesAndKeepsTheKeyboardRules() {
        TreasureCatalog catalog;
        Prepare(catalog);
        catalog.Characters = {{"Bo", {}}, {"Cy", {}}};
        test::RecordingMessages messages;
        ManageCharactersDialog dialog(catalog, messages);
        RecordListBox* records = dialog.Records();

        // New: the default text, typed over, Enter confirms.
        bool opened = false;
        WhenDialogOpens(&dialog, [&](QDialog* config) {
            opened = true;
            auto* name = Child<QLineEdit>(config, "Name");
            QCOMPARE(name->text(), QStringLiteral("New Character Name"));
            QCOMPARE(name->maxLength(), 32);
            name->setText(QStringLiteral("  Abe "));
            QTest::keyClick(name, Qt::Key_Return);
            if (config->isVisible()) config->reject();
        });
        records->NewButton()->click();
        QVERIFY(opened);
        QCOMPARE(Texts(*records->List()), (QStringList{"Abe", "Bo", "Cy"}));
        QCOMPARE(records->SelectedRow(), 0);
        QCOMPARE(catalog.Characters.back().Name, std::string("Abe"));
        QVERIFY(catalog.GetCurrentCharacter() == nullptr);

        // Double-click = Modify; a duplicate in other case is refused and the dialog stays open
        // until Escape.
        bool stayedOpen = false;
        WhenDialogOpens(&dialog, [&](QDialog* config) {
            auto* name = Child<QLineEdit>(config, "Name");
            QCOMPARE(name->text(), QStringLiteral("Bo"));
            name->setText(QStringLiteral("cY"));
            Click(config, "Ok");
            stayedOpen = config->isVisible();
            QTest::keyClick(config, Qt::Key_Escape);
            if (config->isVisible()) config->reject();
        });
        QListWidgetItem* bo = records->List()->item(1);
        records->List()->setCurrentItem(bo);
        Q_EMIT records->List()->itemDoubleClicked(bo);
        QVERIFY(stayedOpen);
        QCOMPARE(messages.Shown.size(), std::size_t(1));
        QCOMPARE(messages.Shown[0].Text, LoadString(StringId::DuplicateCharacterName));
        QVERIFY(messages.Shown[0].Owner != &dialog && messages.Shown[0].Owner != nullptr);
        QCOMPARE(catalog.Characters[0].Name, std::string("Bo"));
        QCOMPARE(records->SelectedRow(), 1);
    }

    void modifyDoesNotCutALongerName() {
        TreasureCatalog catalog;
        Prepare(catalog);
        // The map inventory takes names of up to 128 characters.
        const std::string longName(60, 'x');
        catalog.Characters = {{longName, {}}};
        catalog.SetCurrentCharacter(&catalog.Characters[0]);
        test::RecordingMessages messages;
        ManageCharactersDialog dialog(catalog, messages);
        WhenDialogOpens(&dialog, [&](QDialog* config) {
            QCOMPARE(Child<QLineEdit>(config, "Name")->text().size(), qsizetype(60));
            Click(config, "Ok");
            if (config->isVisible()) config->reject();
        });
        dialog.Records()->ModifyButton()->click();
        QCOMPARE(catalog.Characters[0].Name, longName);
        QCOMPARE(catalog.SettingsFile().Character(), longName);
    }

    void runeBookAddStopsAtSixteen() {
        TreasureCatalog catalog;
        Prepare(catalog);
        RuneBook book{"Full", {}};
        for (int t = 15; t >= 1; --t) book.Treasures.push_back(t);
        book.Treasures.push_back(40);  // names no treasure of this world
        catalog.RuneLibraries.push_back({false, "Mine", {book}});
        test::RecordingMessages messages;
        RuneLibraryManager manager(catalog, messages);
        RuneLibraryDraft draft = manager.StartDraft(0);
        RuneBookConfigDialog dialog(catalog, draft, 0);
        dialog.show();
        NumberedListWidget* available = dialog.Available();
        NumberedListWidget* inBook = dialog.InBook();
        QCOMPARE(inBook->count(), 16);
        QCOMPARE(inBook->item(0)->text(), QStringLiteral("1 - Spot 1"));
        QCOMPARE(inBook->item(15)->text(), QStringLiteral("40 - (unknown treasure)"));
        QCOMPARE(available->Numbers(), (std::vector<int>{16, 17, 18, 19, 20}));
        QCOMPARE(available->currentRow(), 0);
        QVERIFY(!dialog.AddButton()->isEnabled());
        QCOMPARE(TabOrder(dialog.NameEdit()), (QStringList{"Name", "AvailableTreasures", "Remove",
                                                           "TreasuresInRuneBook", "Ok", "Cancel"}));
        Q_EMIT available->itemDoubleClicked(available->item(0));
        QCOMPARE(inBook->count(), 16);

        // Removing one enables Add again; the removed treasure lands in its ascending place.
        inBook->setCurrentRow(2);
        dialog.RemoveButton()->click();
        QCOMPARE(available->Numbers(), (std::vector<int>{3, 16, 17, 18, 19, 20}));
        QCOMPARE(available->currentRow(), 0);
        QCOMPARE(inBook->currentRow(), 2);
        QVERIFY(dialog.AddButton()->isEnabled());
        available->setCurrentRow(2);
        Q_EMIT available->itemDoubleClicked(available->item(2));
        QCOMPARE(inBook->count(), 16);
        QVERIFY(!dialog.AddButton()->isEnabled());

        QTest::keyClick(dialog.NameEdit(), Qt::Key_Return);
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        const std::vector<int> expected = {1, 2, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 17, 40};
        QCOMPARE(draft.BookAt(0)->Treasures, expected);
        // Only the copy changed.
        QCOMPARE(catalog.RuneLibraries[0].RuneBooks[0].Treasures, book.Treasures);
    }

    void permanentAndCancelledLibrariesStayAsTheyWere() {
        TreasureCatalog catalog;
        Prepare(catalog);
        catalog.RuneLibraries = {{true, "Atlas (Perm)", {{"A", {1}}}},
                                 {false, "Mine", {{"North", {7, 3}}, {"South", {2}}}}};
        test::RecordingMessages messages;
        ManageRuneLibrariesDialog dialog(catalog, messages);
        RecordListBox* records = dialog.Records();
        QCOMPARE(Texts(*records->List()), (QStringList{"Atlas (Perm)", "Mine"}));

        // The permanent library: refused, no configuration opens.
        records->List()->setCurrentRow(0);
        records->ModifyButton()->click();
        records->DeleteButton()->click();
        QCOMPARE(messages.Shown.size(), std::size_t(2));
        QCOMPARE(messages.Shown[1].Text, LoadString(StringId::PermanentLibrary));
        QCOMPARE(messages.Shown[1].Owner, &dialog);
        QCOMPARE(catalog.RuneLibraries.size(), std::size_t(2));

        // The file written at exit, before and after the cancelled changes.
        const std::string folder = dir_.path().toStdString() + "/";
        auto written = [&] {
            if (!SaveUserData(catalog, folder, "user.xml", messages)) return std::string();
            return test::ReadFileBytes(folder + "user.xml");
        };
        const std::string before = written();
        QVERIFY(before.find("North") != std::string::npos);
        WhenDialogOpens(&dialog, [&](QDialog* library) {
            auto* books = Child<QListWidget>(library, "RuneBooks");
            QCOMPARE(Texts(*books), (QStringList{"North", "South"}));
            Child<QLineEdit>(library, "RuneLibraryName")->setText(QStringLiteral("Changed"));
            books->setCurrentRow(1);
            Click(library, "Delete");
            QCOMPARE(Texts(*books), (QStringList{"North"}));
            WhenDialogOpens(library, [](QDialog* book) {
                Child<QLineEdit>(book, "Name")->setText(QStringLiteral("East"));
                Click(book, "Add");
                Click(book, "Ok");
                if (book->isVisible()) book->reject();
            });
            Click(library, "New");
            QCOMPARE(Texts(*books), (QStringList{"East", "North"}));
            QTest::keyClick(library, Qt::Key_Escape);
            if (library->isVisible()) library->reject();
        });
        records->List()->setCurrentRow(1);
        records->ModifyButton()->click();
        QCOMPARE(written(), before);
        QCOMPARE(records->SelectedRow(), 1);
    }

    void menuChoosesTheItemOfTwoNamesDifferingInCase() {
        TreasureCatalog catalog;
        Prepare(catalog);
        catalog.Characters = {{"ann", {}}, {"Ann", {}}};
        catalog.RuneLibraries = {{false, "Mine", {}}, {false, "MINE", {}}};
        test::RecordingMessages messages;
        MainFrame frame(catalog, messages);
        QVERIFY(frame.Create());
        QMenu characters;
        frame.FillCharacterMenu(characters);
        QCOMPARE(characters.actions().at(1)->text(), QStringLiteral("Ann"));
        characters.actions().at(1)->trigger();
        QCOMPARE(catalog.CurrentCharacterPosition(), 1);
        QMenu libraries;
        frame.FillRuneLibraryMenu(libraries);
        libraries.actions().at(1)->trigger();
        QCOMPARE(catalog.CurrentRuneLibraryPosition(), 1);
        libraries.actions().at(0)->trigger();
        QCOMPARE(catalog.CurrentRuneLibraryPosition(), 0);
    }

    void commandsOpenTheDialogs() {
        TreasureCatalog catalog;
        Prepare(catalog);
        test::RecordingMessages messages;
        MainFrame frame(catalog, messages);
        QVERIFY(frame.Create());
        frame.UpdateCommandStates();
        for (int command : {Command::ManageCharacters, Command::ManageRuneLibraries}) {
            QVERIFY(frame.Action(command)->isEnabled());
            QString opened;
            WhenDialogOpens(nullptr, [&](QDialog* dialog) {
                opened = dialog->objectName();
                dialog->reject();
            });
            QVERIFY(frame.ExecuteCommand(command));
            QCOMPARE(opened, command == Command::ManageCharacters
                                 ? QStringLiteral("ManageCharactersDialog")
                                 : QStringLiteral("ManageRuneLibrariesDialog"));
        }
    }

    // Create, rename and delete through the dialogs; the file written at shutdown holds
    // exactly the result.
    void endToEndUserDataFile() {
        QTemporaryDir root;
        const std::string work = root.path().toStdString() + "/";
        QVERIFY(test::WriteZip(work + "kestrel.zip", {{"data.xml", SystemData},
                                                      {"multimap.bmp", MonoBmp(128, 96)},
                                                      {"world_overlay_1.bmp", MonoBmp(8, 8)},
                                                      {"world.bmp", WorldBmp()}}));
        QVERIFY(test::WriteFileBytes(
            work + "user.xml",
            "<brix-data><Character><Name>Ann</Name><MapCounts Index=\"1\">0,2</MapCounts>"
            "</Character><Character><Name>Bo</Name></Character>"
            "<RuneLibrary><Name>Mine</Name><RuneBook><Name>Old</Name><Treasures>2,77</Treasures>"
            "</RuneBook></RuneLibrary></brix-data>"));
        QVERIFY(test::WriteFileBytes(work + "brix-tools.ini",
                                     "[Settings]\nCharacter=Ann\nRuneLibrary=Mine\n"));
        TreasureCatalog catalog;
        test::RecordingMessages messages;
        QVERIFY(StartUp(catalog, messages, {root.path().toStdString(), work + "brix-tools"}));

        {
            ManageCharactersDialog characters(catalog, messages);
            RecordListBox* records = characters.Records();
            WhenDialogOpens(&characters, [](QDialog* config) {
                Child<QLineEdit>(config, "Name")->setText(QStringLiteral("Eve"));
                Click(config, "Ok");
                if (config->isVisible()) config->reject();
            });
            records->NewButton()->click();
            records->List()->setCurrentRow(0);  // Ann
            WhenDialogOpens(&characters, [](QDialog* config) {
                Child<QLineEdit>(config, "Name")->setText(QStringLiteral("Anna"));
                Click(config, "Ok");
                if (config->isVisible()) config->reject();
            });
            records->ModifyButton()->click();
            QCOMPARE(Texts(*records->List()), (QStringList{"Anna", "Bo", "Eve"}));
            records->List()->setCurrentRow(1);
            records->DeleteButton()->click();
        }
        {
            ManageRuneLibrariesDialog libraries(catalog, messages);
            RecordListBox* records = libraries.Records();
            // Confirm the old library's book untouched: the entry of another world stays.
            records->List()->setCurrentRow(1);  // Mine
            WhenDialogOpens(&libraries, [](QDialog* library) {
                WhenDialogOpens(library, [](QDialog* book) {
                    Click(book, "Ok");
                    if (book->isVisible()) book->reject();
                });
                Click(library, "Modify");
                Child<QLineEdit>(library, "RuneLibraryName")->setText(QStringLiteral("Ours"));
                Click(library, "Ok");
                if (library->isVisible()) library->reject();
            });
            records->ModifyButton()->click();
            WhenDialogOpens(&libraries, [](QDialog* library) {
                Child<QLineEdit>(library, "RuneLibraryName")->setText(QStringLiteral("Trips"));
                WhenDialogOpens(library, [](QDialog* book) {
                    Child<QLineEdit>(book, "Name")->setText(QStringLiteral("East"));
                    auto* available = Child<NumberedListWidget>(book, "AvailableTreasures");
                    available->setCurrentRow(1);  // 2 - Oak
                    Click(book, "Add");
                    Click(book, "Ok");
                    if (book->isVisible()) book->reject();
                });
                Click(library, "New");
                Click(library, "Ok");
                if (library->isVisible()) library->reject();
            });
            records->NewButton()->click();
            QCOMPARE(Texts(*records->List()), (QStringList{"Atlas (Perm)", "Ours", "Trips"}));
        }
        QVERIFY2(messages.Shown.empty(),
                 messages.Shown.empty() ? "" : messages.Shown.front().Text.c_str());
        QCOMPARE(catalog.SettingsFile().Character(), std::string("Anna"));
        QCOMPARE(catalog.SettingsFile().RuneLibrary(), std::string("Ours"));

        ShutDown(catalog, messages);
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
            "\t<RuneLibrary>\r\n"
            "\t\t<Name>Trips</Name>\r\n"
            "\t\t<RuneBook>\r\n"
            "\t\t\t<Name>East</Name>\r\n"
            "\t\t\t<Treasures>2</Treasures>\r\n"
            "\t\t</RuneBook>\r\n"
            "\t</RuneLibrary>\r\n"
            "</brix-data>\r\r\n";
        QCOMPARE(test::ReadFileBytes(work + "user.xml"), expected);
    }
};

}  // namespace brix

QTEST_MAIN(brix::ManageDialogsUiTest)
#include "ManageDialogsUiTest.moc"
