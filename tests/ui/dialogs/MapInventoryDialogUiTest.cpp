#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPointer>
#include <QtTest>

#include "core/data/MapInventory.h"
#include "support/ModalDialogs.h"
#include "support/Records.h"
#include "support/TempSession.h"
#include "support/Widgets.h"
#include "ui/dialogs/LevelInfoDialog.h"
#include "ui/dialogs/MapInventoryDialog.h"

namespace brix {

using test::Find;

class MapInventoryDialogUiTest : public QObject {
    Q_OBJECT

    test::TempSession temp_;
    Session& session_ = temp_.Sess;
    test::RecordingMessages& messages_ = temp_.Messages;

    static void Type(QDialog& dialog, const QString& text) {
        QLineEdit* edit = Find<QComboBox>(dialog, "CharacterField").lineEdit();
        edit->selectAll();
        QTest::keyClicks(edit, text);
    }
    int CountOf(const char* name, int treasure, int level) {
        const Character* character = session_.GetUser().FindCharacter(name);
        const MapCounts* entry = character ? FindMapCounts(*character, treasure) : nullptr;
        return entry ? entry->Counts[static_cast<std::size_t>(level - 1)] : 0;
    }

private Q_SLOTS:
    void init() {
        temp_.Reset();
        QFile::remove(QString::fromStdString(temp_.Path("brix-tools.ini")));
        test::AddLevels(session_.GetWorld(), {1, 2, 5});
        test::AddTreasures(session_.GetWorld(), {1, 10, 11, 12, 13});
        Character& ann = *session_.GetUser().FindOrAddCharacter("Ann");
        AdjustMapCount(ann, 12, 3, true);
        AdjustMapCount(ann, 12, 5, true);
        session_.GetUser().FindOrAddCharacter("Bob");
    }

    // The counts follow the typed name and the treasure.
    void countsFollowTheFields() {
        MapInventoryDialog dialog(session_, messages_, 12, false);
        const auto& counts = Find<QLabel>(dialog, "CurrentCounts");
        Type(dialog, "Ann");
        QCOMPARE(counts.text(), QString("L3=1, L5=1"));
        Find<QComboBox>(dialog, "TreasureList").setCurrentIndex(4);  // treasure 13
        QCOMPARE(counts.text(), QString("(None)"));
    }

    // Typing a name that starts an existing one must not turn into that name.
    void typedNamesAreTakenAsTyped() {
        MapInventoryDialog dialog(session_, messages_, 12, true);
        dialog.show();
        QVERIFY(QTest::qWaitForWindowActive(&dialog));
        Find<QComboBox>(dialog, "CharacterField").setFocus();
        Type(dialog, "Bo");
        messages_.Answers = {true};
        test::Click(dialog, "Ok");
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QCOMPARE(CountOf("Bo", 12, 1), 1);
        QCOMPARE(CountOf("Bob", 12, 1), 0);
    }

    // Names longer than the typing limit exist (loaded, or made elsewhere); choosing one must not
    // cut it, or OK would offer to create a second character of the cut name.
    void aLongNameIsKeptWhole() {
        const std::string longName(200, 'k');
        session_.SetCurrentCharacter(session_.GetUser().FindOrAddCharacter(longName));
        MapInventoryDialog dialog(session_, messages_, 12, true);
        QCOMPARE(Find<QComboBox>(dialog, "CharacterField").lineEdit()->text().size(), 200);
        dialog.accept();
        QVERIFY(messages_.Shown.empty());
        QCOMPARE(CountOf(longName.c_str(), 12, 1), 1);
    }

    // A refusal on OK keeps the dialog open for the correction, the message over it.
    void refusalKeepsTheDialogOpen() {
        MapInventoryDialog dialog(session_, messages_, 12, true);
        dialog.show();
        test::Click(dialog, "Ok");
        QVERIFY(dialog.isVisible());
        QCOMPARE(messages_.Shown.size(), std::size_t(1));
        QCOMPARE(messages_.Shown[0].Owner, static_cast<QObject*>(&dialog));
    }

    // The dialog sits over the window that is active when it opens, blocks the whole program,
    // and goes away with that window.
    void ownedByTheActiveWindowAndSafeWhenItCloses() {
        QWidget main;
        main.show();
        QPointer<QWidget> other = new QWidget;
        other->show();
        other->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(other));
        bool sawOwner = false, sawModality = false;
        auto seen = test::WhenDialogShown<MapInventoryDialog>([&](MapInventoryDialog& dialog) {
            sawOwner = dialog.parentWidget() == other;
            sawModality = dialog.windowModality() == Qt::ApplicationModal;
            delete other.data();  // takes the open dialog with it
        });
        RunMapInventory(session_, messages_, 12, true, &main);
        QVERIFY(*seen && sawOwner && sawModality);
        QVERIFY(other.isNull());
        QVERIFY(main.findChildren<MapInventoryDialog*>().isEmpty());
        QVERIFY(messages_.Shown.empty());
    }

    // Levels 1, 2 and 5: choosing the third item shows level 5, with the core's line ends turned
    // into the text box's; an empty list leaves the level information empty.
    void levelInfoShowsTheChosenLevel() {
        LevelInfoDialog dialog(session_.GetWorld(), 1);
        auto text = [](QDialog& d) { return Find<QPlainTextEdit>(d, "LevelText").toPlainText(); };
        Find<QComboBox>(dialog, "LevelChooser").setCurrentIndex(2);
        QVERIFY2(text(dialog).startsWith("Level: 5 - Level 5\n"), qPrintable(text(dialog)));

        const GameRecords none;
        LevelInfoDialog empty(none, 1);
        QVERIFY(Find<QComboBox>(empty, "LevelChooser").count() == 0 && text(empty).isEmpty());
    }
};

}  // namespace brix

QTEST_MAIN(brix::MapInventoryDialogUiTest)
#include "MapInventoryDialogUiTest.moc"
