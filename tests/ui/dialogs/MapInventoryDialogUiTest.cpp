#include <QComboBox>
#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QtTest>

#include "core/data/MapInventory.h"
#include "core/data/Session.h"
#include "support/ModalDialogs.h"
#include "support/Records.h"
#include "support/TempSession.h"
#include "support/Widgets.h"
#include "ui/dialogs/MapInventoryDialog.h"

namespace brix {

using test::Find;

class MapInventoryDialogUiTest : public QObject {
    Q_OBJECT

    test::TempSession temp_;
    Session& session_ = temp_.Sess;
    test::RecordingMessages& messages_ = temp_.Messages;

    static QString Counts(QDialog& dialog) { return Find<QLabel>(dialog, "CurrentCounts").text(); }
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

    // The counts follow a typed name, a chosen one and the treasure.
    void countsFollowTheFields() {
        MapInventoryDialog dialog(session_, messages_, 12, false);
        Type(dialog, "Ann");
        QCOMPARE(Counts(dialog), QString("L3=1, L5=1"));
        Find<QComboBox>(dialog, "CharacterField").setCurrentIndex(1);  // "Bob" from the list
        QCOMPARE(Counts(dialog), QString("(None)"));
        Find<QComboBox>(dialog, "CharacterField").setCurrentIndex(0);  // "Ann"
        Find<QComboBox>(dialog, "TreasureList").setCurrentIndex(4);    // treasure 13
        QCOMPARE(Counts(dialog), QString("(None)"));
    }

    // Typing a name that starts an existing one must not turn into that name.
    void typedNamesAreTakenAsTyped() {
        MapInventoryDialog dialog(session_, messages_, 12, true);
        dialog.show();
        QVERIFY(QTest::qWaitForWindowActive(&dialog));
        Find<QComboBox>(dialog, "CharacterField").setFocus();
        Type(dialog, "Bo");
        messages_.Answers = {true};
        QTest::keyClick(Find<QComboBox>(dialog, "CharacterField").lineEdit(), Qt::Key_Return);
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

        // Without such a name, typing stops at 128 characters.
        session_.DeleteCharacter(session_.GetUser().FindCharacter(longName));
        MapInventoryDialog limited(session_, messages_, 12, true);
        QCOMPARE(Find<QComboBox>(limited, "CharacterField").lineEdit()->maxLength(),
                 MaxTypedCharacterName);
    }

    // A refusal on OK keeps the dialog open for the correction; Escape in the character field
    // then cancels and records nothing.
    void refusalThenEscape() {
        MapInventoryDialog dialog(session_, messages_, 12, true);
        dialog.show();
        QVERIFY(QTest::qWaitForWindowActive(&dialog));
        auto& box = Find<QDialogButtonBox>(dialog, "Buttons");
        box.button(QDialogButtonBox::Ok)->click();
        QVERIFY(dialog.isVisible());
        QCOMPARE(messages_.Shown.size(), std::size_t(1));
        QCOMPARE(messages_.Shown[0].Owner, static_cast<QObject*>(&dialog));

        Type(dialog, "Cy");
        QTest::keyClick(Find<QComboBox>(dialog, "CharacterField").lineEdit(), Qt::Key_Escape);
        QCOMPARE(dialog.result(), int(QDialog::Rejected));
        QVERIFY(session_.GetUser().FindCharacter("Cy") == nullptr);
        QCOMPARE(session_.SettingsFile().LastLevel(), 0);
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
        bool sawOwner = false;
        bool sawModality = false;
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
};

}  // namespace brix

QTEST_MAIN(brix::MapInventoryDialogUiTest)
#include "MapInventoryDialogUiTest.moc"
