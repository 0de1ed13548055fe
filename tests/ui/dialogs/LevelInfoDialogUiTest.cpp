#include <QApplication>
#include <QComboBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QtTest>

#include "core/data/GameRecords.h"
#include "support/ModalDialogs.h"
#include "support/Widgets.h"
#include "ui/dialogs/LevelInfoDialog.h"

namespace brix {

class LevelInfoDialogUiTest : public QObject {
    Q_OBJECT

    static GameRecords Levels(std::initializer_list<int> indexes) {
        GameRecords records;
        for (int index : indexes) {
            Level level;
            level.Index = index;
            level.Name = "L" + std::to_string(index);
            level.WhatDrops = "Dropper " + std::to_string(index);
            records.StoreLevel(level);
        }
        return records;
    }
    static QComboBox& Chooser(QDialog& dialog) {
        return *dialog.findChild<QComboBox*>("LevelChooser");
    }
    static QString Text(QDialog& dialog) {
        return dialog.findChild<QPlainTextEdit*>("LevelText")->toPlainText();
    }

private Q_SLOTS:
    // Levels 1, 2 and 5: the third item is level 5, and that is the text shown for it.
    void showsTheChosenLevelWhole() {
        const GameRecords records = Levels({1, 2, 5});
        LevelInfoDialog dialog(records, 1);
        QVERIFY2(Text(dialog).startsWith("Level: 1 - L1\nCartography: 0\n"),
                 qPrintable(Text(dialog)));
        QVERIFY(!Text(dialog).contains('\r'));
        Chooser(dialog).setCurrentIndex(2);
        QVERIFY(Text(dialog).startsWith("Level: 5 - L5\n") && Text(dialog).contains("Dropper 5"));

        const GameRecords none;  // an empty list must not break the dialog
        LevelInfoDialog empty(none, 1);
        QVERIFY(Chooser(empty).count() == 0 && Text(empty).isEmpty());
    }

    void tabWalksTheControls() {
        const GameRecords records = Levels({1, 2});
        LevelInfoDialog dialog(records, 1);
        dialog.show();
        QVERIFY(QTest::qWaitForWindowActive(&dialog));
        QCOMPARE(QApplication::focusWidget(), &Chooser(dialog));
        auto* text = dialog.findChild<QPlainTextEdit*>("LevelText");
        QCOMPARE(test::TabWalk(2),
                 (QList<QWidget*>{text, dialog.findChild<QPushButton*>("CloseButton")}));
        // Enter from inside the text is Close too.
        QTest::keyClick(text, Qt::Key_Return);
        QVERIFY(!dialog.isVisible());
    }

    void enterAndEscapeClose() {
        const GameRecords records = Levels({1, 2});
        for (Qt::Key key : {Qt::Key_Return, Qt::Key_Escape}) {
            QWidget main;
            main.show();
            QVERIFY(QTest::qWaitForWindowActive(&main));
            bool owned = false;
            bool closed = false;
            auto seen = test::WhenDialogShown<LevelInfoDialog>([&](LevelInfoDialog& dialog) {
                owned = dialog.parentWidget() == &main;
                QTest::keyClick(&Chooser(dialog), key);
                closed = !dialog.isVisible();
                if (!closed) dialog.reject();
            });
            RunLevelInformation(records, 1, &main);
            QVERIFY(*seen && owned && closed);
            QVERIFY(main.findChildren<LevelInfoDialog*>().isEmpty());
        }
    }
};

}  // namespace brix

QTEST_MAIN(brix::LevelInfoDialogUiTest)
#include "LevelInfoDialogUiTest.moc"
