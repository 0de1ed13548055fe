#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QListWidget>
#include <QMainWindow>
#include <QMenu>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QToolButton>
#include <QtTest>

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "app/Settings.h"
#include "frame/MainToolbar.h"
#include "frame/ToolbarCustomizeDialog.h"
#include "frame/ToolbarLayout.h"

using namespace brix;

namespace {

const QString DefaultList = "40002,0,40003,40012,40011,0,40014,40013,40005,40008,40009,0,57664";

// Stands in for the main frame's actions: one per command, counting its triggers.
struct FrameActions {
    QObject owner;
    std::map<int, QAction*> actions;
    std::map<int, int> triggered;

    FrameActions() {
        for (const ToolbarButton& entry : ToolbarButtonTable) {
            auto* action = new QAction(&owner);
            action->setCheckable(entry.Style == ToolbarButtonStyle::Check);
            QObject::connect(action, &QAction::triggered, &owner,
                             [this, command = entry.Command] { ++triggered[command]; });
            actions[entry.Command] = action;
        }
    }
    MainToolbar::ActionLookup Lookup() {
        return [this](int command) -> QAction* {
            auto it = actions.find(command);
            return it != actions.end() ? it->second : nullptr;
        };
    }
};

QString StoredValue(const Settings& settings, const char* key) {
    return QString::fromStdString(settings.File().Read(Settings::Section, key).value_or("<none>"));
}

// The buttons the toolbar really shows, in its stored form: each widget's command, 0 for a
// separator widget.
QString ShownList(const MainToolbar& toolbar) {
    QStringList shown;
    const QList<QAction*> actions = toolbar.actions();
    for (QAction* action : actions) {
        shown << QString::number(action->isSeparator() ? 0 : action->data().toInt());
    }
    return shown.join(',');
}

QString Text(int command, int field) {
    return QString::fromStdString(CommandStringField(command, field));
}

void SelectByText(QListWidget* list, const QString& text) {
    const QList<QListWidgetItem*> items = list->findItems(text, Qt::MatchExactly);
    QVERIFY2(!items.isEmpty(), qPrintable(text));
    list->setCurrentItem(items.first());
}

}  // namespace

class MainToolbarUiTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<QTemporaryDir> dir_;
    std::unique_ptr<Settings> settings_;

    // A window with the toolbar at its top, as the frame will hold it.
    struct Window {
        QMainWindow window;
        MainToolbar* toolbar;
        Window(const Settings& settings, FrameActions& actions) {
            toolbar = new MainToolbar(settings, actions.Lookup(), &window);
            window.addToolBar(Qt::TopToolBarArea, toolbar);
            window.resize(900, 300);
            window.show();
            QVERIFY(QTest::qWaitForWindowExposed(&window));
        }
    };

private Q_SLOTS:
    void init() {
        dir_ = std::make_unique<QTemporaryDir>();
        QVERIFY(dir_->isValid());
        settings_ = std::make_unique<Settings>(dir_->filePath("brix.ini").toStdString());
    }

    void textStyles_data() {
        QTest::addColumn<QString>("textStyle");  // as stored; empty for no setting
        QTest::addColumn<QString>("iconStyle");
        QTest::addColumn<int>("qtStyle");
        QTest::addColumn<int>("iconSize");
        QTest::newRow("first start: labels under large icons")
            << ""
            << "" << int(Qt::ToolButtonTextUnderIcon) << 24;
        QTest::newRow("0: icons only") << "0"
                                       << "1" << int(Qt::ToolButtonIconOnly) << 24;
        QTest::newRow("0: small icons only") << "0"
                                             << "0" << int(Qt::ToolButtonIconOnly) << 16;
        QTest::newRow("1: labels under the icons") << "1"
                                                   << "0" << int(Qt::ToolButtonTextUnderIcon) << 16;
        QTest::newRow("2: labels right of the icons")
            << "2"
            << "1" << int(Qt::ToolButtonTextBesideIcon) << 24;
        QTest::newRow("any other icon style is large")
            << "2"
            << "3" << int(Qt::ToolButtonTextBesideIcon) << 24;
    }

    void textStyles() {
        QFETCH(QString, textStyle);
        QFETCH(QString, iconStyle);
        QFETCH(int, qtStyle);
        QFETCH(int, iconSize);
        if (!textStyle.isEmpty()) settings_->WriteTBTextStyle(textStyle.toInt());
        if (!iconStyle.isEmpty()) settings_->WriteTBIconStyle(iconStyle.toInt());
        FrameActions actions;
        Window w(*settings_, actions);
        MainToolbar& toolbar = *w.toolbar;

        QCOMPARE(ShownList(toolbar), DefaultList);
        QCOMPARE(toolbar.iconSize(), QSize(iconSize, iconSize));
        int firstWidth = -1;
        for (int i = 0; i < static_cast<int>(toolbar.Buttons().size()); ++i) {
            if (toolbar.Buttons()[static_cast<std::size_t>(i)].IsSeparator()) {
                QCOMPARE(toolbar.WidgetAt(i)->width(), 8);
                continue;
            }
            QToolButton* button = toolbar.ButtonAt(i);
            QVERIFY(button != nullptr);
            QCOMPARE(int(button->toolButtonStyle()), qtStyle);
            QCOMPARE(button->iconSize(), QSize(iconSize, iconSize));
            QVERIFY(button->isVisible());
            QVERIFY(button->width() >= iconSize + 7);
            QVERIFY(button->height() >= iconSize + 7);
            if (qtStyle == Qt::ToolButtonIconOnly) {
                // The Region button is wider by its drop-down arrow.
                if (button->popupMode() == QToolButton::InstantPopup) {
                    QVERIFY(button->width() > iconSize + 7);
                    QCOMPARE(button->height(), iconSize + 7);
                } else {
                    QCOMPARE(button->size(), QSize(iconSize + 7, iconSize + 7));
                }
            } else {
                // Never squeezed below the room its label needs.
                QVERIFY(button->width() >= button->sizeHint().width());
            }
            if (qtStyle == Qt::ToolButtonTextUnderIcon) {
                // Every button as wide as the widest, whatever its label.
                if (firstWidth < 0) firstWidth = button->width();
                QCOMPARE(button->width(), firstWidth);
            }
        }
        if (qtStyle == Qt::ToolButtonTextBesideIcon) {
            // Labels on the right: widths follow the labels ("Info." is narrower than "Previous").
            QVERIFY(toolbar.ButtonForCommand(40005)->width() <
                    toolbar.ButtonForCommand(40012)->width());
        }
    }

    void buttonsThatDoNotFitGoBehindTheExtensionButton_data() {
        QTest::addColumn<int>("textStyle");
        QTest::newRow("icons only") << 0;
        QTest::newRow("labels under") << 1;
        QTest::newRow("labels right") << 2;
    }

    void buttonsThatDoNotFitGoBehindTheExtensionButton() {
        QFETCH(int, textStyle);
        settings_->WriteTBTextStyle(textStyle);
        FrameActions actions;
        Window w(*settings_, actions);
        w.window.resize(220, 300);
        MainToolbar& toolbar = *w.toolbar;
        QTRY_VERIFY(!toolbar.ButtonForCommand(57664)->isVisible());
        QVERIFY(toolbar.ButtonForCommand(40002)->isVisible());
        for (int i = 0; i < static_cast<int>(toolbar.Buttons().size()); ++i) {
            QToolButton* button = toolbar.ButtonAt(i);
            if (button != nullptr && button->isVisible()) {
                const int needed = textStyle == 0 ? 24 + 7 : button->sizeHint().width();
                QVERIFY2(button->width() >= needed, qPrintable(button->text()));
            }
        }
        auto* extension = toolbar.findChild<QToolButton*>("qt_toolbar_ext_button");
        QVERIFY(extension != nullptr);
        QVERIFY(extension->isVisible());
    }

    void labelsAndTooltipsComeFromTheCommandStrings() {
        settings_->WriteTBButtons(
            "57607,57634,40008,40009,40002,40003,57664,40011,40012,40013,40014,40005,40007");
        FrameActions actions;
        MainToolbar toolbar(*settings_, actions.Lookup());
        QCOMPARE(int(toolbar.Buttons().size()), 13);
        for (int i = 0; i < 13; ++i) {
            QToolButton* button = toolbar.ButtonAt(i);
            QVERIFY(button != nullptr);
            const int command = ToolbarButtonTable[static_cast<std::size_t>(i)].Command;
            QCOMPARE(button->text(), Text(command, 2));
            QCOMPARE(button->toolTip(), Text(command, 1));
            QVERIFY2(!button->icon().isNull(), qPrintable(Text(command, 1)));
        }
        QCOMPARE(toolbar.ButtonForCommand(40005)->text(), QString("Info."));
        QCOMPARE(toolbar.ButtonForCommand(40003)->toolTip(), QString("Select Region"));
    }

    void buttonsFollowTheFrameActions() {
        settings_->WriteTBButtons("40002,40007,57634");
        FrameActions actions;
        Window w(*settings_, actions);
        MainToolbar& toolbar = *w.toolbar;

        actions.actions[57634]->setEnabled(false);
        QVERIFY(!toolbar.ButtonForCommand(57634)->isEnabled());
        actions.actions[57634]->setEnabled(true);
        QVERIFY(toolbar.ButtonForCommand(57634)->isEnabled());

        QToolButton* top = toolbar.ButtonForCommand(40007);
        QVERIFY(top->isCheckable());
        actions.actions[40007]->setChecked(true);
        QVERIFY(top->isChecked());
        QTest::mouseClick(top, Qt::LeftButton);
        QCOMPARE(actions.triggered[40007], 1);
        QVERIFY(!actions.actions[40007]->isChecked());
        QVERIFY(!top->isChecked());

        QTest::mouseClick(toolbar.ButtonForCommand(40002), Qt::LeftButton);
        QCOMPARE(actions.triggered[40002], 1);
        actions.actions[40002]->setEnabled(false);
        QTest::mouseClick(toolbar.ButtonForCommand(40002), Qt::LeftButton);
        QCOMPARE(actions.triggered[40002], 1);
    }

    void hoverShowsTheStatusText() {
        settings_->WriteTBButtons("40002,0,57634");
        FrameActions actions;
        actions.actions[57634]->setEnabled(false);
        Window w(*settings_, actions);
        MainToolbar& toolbar = *w.toolbar;
        std::vector<std::string> texts;
        toolbar.SetStatusTextHandler([&](const std::string& text) { texts.push_back(text); });

        QWidget* world = toolbar.ButtonForCommand(40002);
        QTest::mouseMove(world, world->rect().center());
        QTRY_VERIFY(!texts.empty());
        QCOMPARE(texts.back(), CommandStringField(40002, 0));

        // A disabled button shows the idle text.
        texts.clear();
        QWidget* copy = toolbar.ButtonForCommand(57634);
        QTest::mouseMove(copy, copy->rect().center());
        QTRY_VERIFY(!texts.empty());
        QCOMPARE(texts.back(), std::string());

        // Back on an enabled button, then off the toolbar.
        QTest::mouseMove(world, world->rect().center());
        QTRY_COMPARE(texts.back(), CommandStringField(40002, 0));
        texts.clear();
        QTest::mouseMove(w.window.centralWidget() ? w.window.centralWidget() : &w.window,
                         QPoint(450, 250));
        QTRY_VERIFY(!texts.empty());
        QCOMPARE(texts.back(), std::string());
    }

    void regionButtonDropsTheFramesMenu() {
        FrameActions actions;
        Window w(*settings_, actions);
        MainToolbar& toolbar = *w.toolbar;
        int fills = 0;
        toolbar.SetRegionMenuFiller([&](QMenu& menu) {
            ++fills;
            menu.addAction("Aldor");
            menu.addAction("Brennmark");
        });
        QToolButton* region = toolbar.ButtonForCommand(40003);
        QCOMPARE(region->popupMode(), QToolButton::InstantPopup);

        QStringList shown;
        QPoint menuAt;
        auto look = [&] {
            if (auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget())) {
                for (QAction* action : menu->actions()) shown << action->text();
                menuAt = menu->pos();
                menu->close();
            }
        };
        QTimer::singleShot(100, look);
        QTest::mouseClick(region, Qt::LeftButton);
        QTRY_COMPARE(shown, QStringList({"Aldor", "Brennmark"}));
        QCOMPARE(actions.triggered[40003], 0);
        QCOMPARE(menuAt, region->mapToGlobal(region->rect().bottomLeft()) + QPoint(0, 1));

        // Filled afresh at every opening, never twice over.
        shown.clear();
        QTimer::singleShot(100, look);
        toolbar.ShowRegionMenu();
        QTRY_COMPARE(shown, QStringList({"Aldor", "Brennmark"}));
        QCOMPARE(fills, 2);
    }

    void contextMenuOpensTheCustomisationDialog() {
        FrameActions actions;
        Window w(*settings_, actions);
        MainToolbar& toolbar = *w.toolbar;
        QContextMenuEvent event(QContextMenuEvent::Mouse, QPoint(5, 5),
                                toolbar.mapToGlobal(QPoint(5, 5)));
        QApplication::sendEvent(&toolbar, &event);
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        QVERIFY(menu != nullptr);
        QCOMPARE(menu->actions().size(), 1);
        QCOMPARE(menu->actions().first()->text(), QString("Customize..."));
        menu->actions().first()->trigger();
        menu->close();
        QPointer<ToolbarCustomizeDialog> dialog = toolbar.OpenCustomizeDialog();
        QVERIFY(dialog != nullptr);
        QVERIFY(dialog->isVisible());
        // A second request brings the same dialog forward.
        QCOMPARE(toolbar.Customize(), dialog.data());
        dialog->CloseButton()->click();
        QTRY_VERIFY(dialog.isNull());
    }

    void optionsPanelShowsAndTakesValues_data() {
        QTest::addColumn<int>("textStyle");
        QTest::addColumn<int>("iconStyle");
        QTest::addColumn<QString>("textShown");
        QTest::addColumn<QString>("iconShown");
        QTest::addColumn<int>("textHeld");
        QTest::addColumn<int>("iconHeld");
        QTest::newRow("0 0") << 0 << 0 << "No text labels"
                             << "Small icons" << 0 << 0;
        QTest::newRow("1 1") << 1 << 1 << "Show text labels"
                             << "Large icons" << 1 << 1;
        QTest::newRow("2 1") << 2 << 1 << "Selective text on right"
                             << "Large icons" << 2 << 1;
        QTest::newRow("out of range above") << 3 << 2 << "No text labels"
                                            << "Small icons" << 0 << 0;
        QTest::newRow("out of range below") << -1 << -1 << "No text labels"
                                            << "Small icons" << 0 << 0;
    }

    void optionsPanelShowsAndTakesValues() {
        QFETCH(int, textStyle);
        QFETCH(int, iconStyle);
        QFETCH(QString, textShown);
        QFETCH(QString, iconShown);
        QFETCH(int, textHeld);
        QFETCH(int, iconHeld);
        ToolbarOptionsPanel panel;
        QCOMPARE(panel.TextList()->count(), 3);
        QCOMPARE(panel.IconList()->count(), 2);
        panel.SetTextStyle(textStyle);
        panel.SetIconStyle(iconStyle);
        QCOMPARE(panel.TextList()->currentText(), textShown);
        QCOMPARE(panel.IconList()->currentText(), iconShown);
        QCOMPARE(panel.TextStyle(), textHeld);
        QCOMPARE(panel.IconStyle(), iconHeld);

        // Choosing an item takes the value that item stands for.
        panel.TextList()->setCurrentIndex(panel.TextList()->findText("Selective text on right"));
        panel.IconList()->setCurrentIndex(panel.IconList()->findText("Large icons"));
        QCOMPARE(panel.TextStyle(), 2);
        QCOMPARE(panel.IconStyle(), 1);
        panel.TextList()->setCurrentIndex(panel.TextList()->findText("No text labels"));
        panel.IconList()->setCurrentIndex(panel.IconList()->findText("Small icons"));
        QCOMPARE(panel.TextStyle(), 0);
        QCOMPARE(panel.IconStyle(), 0);
    }

    void choosingSmallIconsAppliesAndSavesAtClose() {
        settings_->WriteTBTextStyle(0);
        FrameActions actions;
        Window w(*settings_, actions);
        MainToolbar& toolbar = *w.toolbar;
        QCOMPARE(toolbar.iconSize(), QSize(24, 24));

        QPointer<ToolbarCustomizeDialog> dialog = toolbar.Customize();
        QCOMPARE(dialog->Options().TextList()->currentText(), QString("No text labels"));
        QCOMPARE(dialog->Options().IconList()->currentText(), QString("Large icons"));
        QComboBox* icons = dialog->Options().IconList();
        icons->setCurrentIndex(icons->findText("Small icons"));
        // Nothing is applied or written before the dialog closes.
        QCOMPARE(toolbar.iconSize(), QSize(24, 24));
        QCOMPARE(StoredValue(*settings_, "TBIconStyle"), QString("<none>"));

        dialog->CloseButton()->click();
        QCOMPARE(toolbar.iconSize(), QSize(16, 16));
        QToolButton* world = toolbar.ButtonForCommand(40002);
        QCOMPARE(world->iconSize(), QSize(16, 16));
        QTRY_COMPARE(world->size(), QSize(23, 23));
        QCOMPARE(StoredValue(*settings_, "TBIconStyle"), QString("0"));
        QCOMPARE(StoredValue(*settings_, "TBTextStyle"), QString("0"));
        // The buttons are written too, although they did not change.
        QCOMPARE(StoredValue(*settings_, "TBButtons"), DefaultList);
        QTRY_VERIFY(dialog.isNull());

        // Closing with the window's close box or Escape counts as closing too.
        dialog = toolbar.Customize();
        dialog->Options().TextList()->setCurrentIndex(2);
        dialog->reject();
        QCOMPARE(StoredValue(*settings_, "TBTextStyle"), QString("2"));
        QCOMPARE(int(toolbar.ButtonForCommand(40002)->toolButtonStyle()),
                 int(Qt::ToolButtonTextBesideIcon));
    }

    void customisedButtonsComeBackAtTheNextStart_data() {
        // A script of user steps: "current N" selects row N of the current buttons (-1 for
        // none), "add NAME" selects NAME among the available buttons and presses Add, and
        // "remove", "up", "down", "reset" press those buttons.
        QTest::addColumn<QStringList>("steps");
        QTest::addColumn<QString>("expected");
        QTest::newRow("nothing changed") << QStringList{} << DefaultList;
        QTest::newRow("remove the first")
            << QStringList{"current 0", "remove"}
            << "0,40003,40012,40011,0,40014,40013,40005,40008,40009,0,57664";
        QTest::newRow("add after the selection")
            << QStringList{"current 0", "add Print", "add Copy"}
            << "40002,57607,57634,0,40003,40012,40011,0,40014,40013,40005,40008,40009,0,57664";
        QTest::newRow("add a separator at the end")
            << QStringList{"current -1", "add Stay on Top", "current -1", "add Separator"}
            << DefaultList + ",40007,0";
        QTest::newRow("move up and down")
            << QStringList{"current 2", "up", "up", "current 11", "down"}
            << "40003,40002,0,40012,40011,0,40014,40013,40005,40008,40009,57664,0";
        QTest::newRow("remove everything but separators")
            << QStringList{"current 0", "remove",    "current 1", "remove", "remove",
                           "remove",    "current 2", "remove",    "remove", "remove",
                           "remove",    "remove",    "current 3", "remove"}
            << "0,0,0";
        QTest::newRow("reset after changes")
            << QStringList{"current 0", "remove", "add Print", "reset", "current 12", "remove"}
            << "40002,0,40003,40012,40011,0,40014,40013,40005,40008,40009,0";
        QTest::newRow("a removed command is offered again")
            << QStringList{"current 0", "remove", "current -1", "add View World"}
            << "0,40003,40012,40011,0,40014,40013,40005,40008,40009,0,57664,40002";
    }

    void customisedButtonsComeBackAtTheNextStart() {
        QFETCH(QStringList, steps);
        QFETCH(QString, expected);
        FrameActions actions;
        Window w(*settings_, actions);
        MainToolbar& toolbar = *w.toolbar;
        QPointer<ToolbarCustomizeDialog> dialog = toolbar.Customize();
        QVERIFY(dialog != nullptr);

        for (const QString& step : steps) {
            const QString what = step.section(' ', 0, 0);
            const QString arg = step.section(' ', 1);
            if (what == "current") {
                dialog->CurrentList()->setCurrentRow(arg.toInt());
            } else if (what == "add") {
                SelectByText(dialog->AvailableList(), arg);
                QVERIFY2(dialog->AddButton()->isEnabled(), qPrintable(step));
                dialog->AddButton()->click();
            } else {
                QPushButton* button = what == "remove" ? dialog->RemoveButton()
                                      : what == "up"   ? dialog->MoveUpButton()
                                      : what == "down" ? dialog->MoveDownButton()
                                                       : dialog->ResetButton();
                QVERIFY2(button->isEnabled(), qPrintable(step));
                button->click();
            }
            // The toolbar follows every step while the dialog is open.
            QCOMPARE(ShownList(toolbar),
                     QString::fromStdString(FormatToolbarButtons(dialog->Buttons())));
        }
        // A command on the toolbar is not offered twice; a separator always is.
        QVERIFY(!dialog->AvailableList()->findItems("Separator", Qt::MatchExactly).isEmpty());
        for (const ToolbarButton& button : dialog->Buttons()) {
            if (!button.IsSeparator()) {
                QVERIFY(dialog->AvailableList()
                            ->findItems(Text(button.Command, 1), Qt::MatchExactly)
                            .isEmpty());
            }
        }
        QCOMPARE(dialog->CurrentList()->count(), int(dialog->Buttons().size()));
        dialog->CloseButton()->click();

        QCOMPARE(StoredValue(*settings_, "TBButtons"), expected);
        MainToolbar next(*settings_, actions.Lookup());
        QCOMPARE(QString::fromStdString(FormatToolbarButtons(next.Buttons())), expected);
        QCOMPARE(ShownList(next), expected);
    }

    void editingButtonsAreEnabledOnlyWhenTheyCanAct() {
        settings_->WriteTBButtons("40002,0");
        FrameActions actions;
        MainToolbar toolbar(*settings_, actions.Lookup());
        QPointer<ToolbarCustomizeDialog> dialog = toolbar.Customize();
        dialog->CurrentList()->setCurrentRow(-1);
        QVERIFY(!dialog->RemoveButton()->isEnabled());
        QVERIFY(!dialog->MoveUpButton()->isEnabled());
        QVERIFY(!dialog->MoveDownButton()->isEnabled());
        dialog->CurrentList()->setCurrentRow(0);
        QVERIFY(dialog->RemoveButton()->isEnabled());
        QVERIFY(!dialog->MoveUpButton()->isEnabled());
        QVERIFY(dialog->MoveDownButton()->isEnabled());
        dialog->CurrentList()->setCurrentRow(1);
        QVERIFY(dialog->MoveUpButton()->isEnabled());
        QVERIFY(!dialog->MoveDownButton()->isEnabled());
        // The available commands keep the table's order after the separator.
        QStringList offered;
        for (int i = 0; i < dialog->AvailableList()->count(); ++i)
            offered << dialog->AvailableList()->item(i)->text();
        QCOMPARE(offered,
                 QStringList({"Separator", "Print", "Copy", "I Just Got a Map",
                              "I Just Completed a Map", "Select Region", "About", "Next Region",
                              "Previous Region", "Next Treasure", "Previous Treasure",
                              "Treasure Information", "Stay on Top"}));
        dialog->reject();
    }
};

QTEST_MAIN(MainToolbarUiTest)
#include "MainToolbarUiTest.moc"
