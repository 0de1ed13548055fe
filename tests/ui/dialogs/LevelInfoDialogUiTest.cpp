#include <QComboBox>
#include <QPlainTextEdit>
#include <QtTest>

#include "core/data/GameRecords.h"
#include "support/ModalDialogs.h"
#include "support/Widgets.h"
#include "ui/dialogs/LevelInfoDialog.h"

namespace brix {

class LevelInfoDialogUiTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    // Levels 1, 2 and 5: the third item is level 5, and that is the text shown for it.
    void showsTheChosenLevelWhole() {
        GameRecords records;
        for (int index : {1, 2, 5}) {
            Level level;
            level.Index = index;
            level.Name = "L" + std::to_string(index);
            level.WhatDrops = "Dropper " + std::to_string(index);
            records.StoreLevel(level);
        }
        LevelInfoDialog dialog(records, 1);
        auto text = [](QDialog& d) {
            return test::Find<QPlainTextEdit>(d, "LevelText").toPlainText();
        };
        QVERIFY2(text(dialog).startsWith("Level: 1 - L1\nCartography: 0\n"),
                 qPrintable(text(dialog)));
        QVERIFY(!text(dialog).contains('\r'));
        test::Find<QComboBox>(dialog, "LevelChooser").setCurrentIndex(2);
        QVERIFY(text(dialog).startsWith("Level: 5 - L5\n") && text(dialog).contains("Dropper 5"));

        const GameRecords none;  // an empty list must not break the dialog
        LevelInfoDialog empty(none, 1);
        QVERIFY(test::Find<QComboBox>(empty, "LevelChooser").count() == 0 && text(empty).isEmpty());

        // Run over the active window, it belongs to it and is gone once closed.
        QWidget main;
        main.show();
        QVERIFY(QTest::qWaitForWindowActive(&main));
        bool owned = false;
        auto seen = test::WhenDialogShown<LevelInfoDialog>(
            [&](LevelInfoDialog& d) { owned = d.parentWidget() == &main; });
        RunLevelInformation(records, 1, &main);
        QVERIFY(*seen && owned);
        QVERIFY(main.findChildren<LevelInfoDialog*>().isEmpty());
    }
};

}  // namespace brix

QTEST_MAIN(brix::LevelInfoDialogUiTest)
#include "LevelInfoDialogUiTest.moc"
