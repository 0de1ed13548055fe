#include <QtTest>
#include <QtWidgets>

#include <map>
#include <memory>

#include "core/base/Settings.h"
#include "core/base/ToolbarLayout.h"
#include "ui/frame/MainToolbar.h"
#include "ui/frame/ToolbarCustomizeDialog.h"

using namespace brix;

namespace {

const QString DefaultList = "40002,0,40003,40012,40011,0,40014,40013,40005,40008,40009,0,57664";

// The toolbar at the top of a shown window, with one stand-in frame action per command.
struct Window {
    QObject owner;
    std::map<int, QAction*> actions;
    std::map<int, int> triggered;
    QMainWindow window;
    MainToolbar* toolbar;
    explicit Window(const Settings& settings, int width = 900) {
        for (const ToolbarButton& entry : ToolbarButtonTable) {
            QAction* action = actions[entry.Command] = new QAction(&owner);
            action->setCheckable(entry.Style == ToolbarButtonStyle::Check);
            QObject::connect(action, &QAction::triggered, &owner,
                             [this, command = entry.Command] { ++triggered[command]; });
        }
        toolbar = new MainToolbar(settings, Lookup(), &window);
        window.addToolBar(Qt::TopToolBarArea, toolbar);
        window.resize(width, 300);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
    }
    MainToolbar::ActionLookup Lookup() {
        return [this](int command) { return actions.count(command) ? actions[command] : nullptr; };
    }
};

QString StoredValue(const Settings& settings, const char* key) {
    return QString::fromStdString(settings.File().Read(Settings::Section, key).value_or("<none>"));
}

// The buttons the toolbar really shows, in stored form (0 for a separator widget).
QString ShownList(const MainToolbar& toolbar) {
    QStringList shown;
    for (QAction* action : toolbar.actions())
        shown << QString::number(action->isSeparator() ? 0 : action->data().toInt());
    return shown.join(',');
}

}  // namespace

class MainToolbarUiTest : public QObject {
    Q_OBJECT
    std::unique_ptr<QTemporaryDir> dir_;
    std::unique_ptr<Settings> settings_;

private Q_SLOTS:
    void init() {
        dir_ = std::make_unique<QTemporaryDir>();
        settings_ = std::make_unique<Settings>(dir_->filePath("brix.ini").toStdString());
    }

    void textAndIconStyles() {
        struct Row {
            int Text, Icon;  // as stored; -1 for no setting
            Qt::ToolButtonStyle Style;
            int Size;
        };
        const Qt::ToolButtonStyle none = Qt::ToolButtonIconOnly,
                                  under = Qt::ToolButtonTextUnderIcon;
        for (const Row& row : {Row{-1, -1, under, 24}, Row{0, 0, none, 16}, Row{1, 0, under, 16},
                               Row{2, 1, Qt::ToolButtonTextBesideIcon, 24}, Row{0, 3, none, 24}}) {
            if (row.Text >= 0) settings_->WriteTBTextStyle(row.Text);
            if (row.Icon >= 0) settings_->WriteTBIconStyle(row.Icon);
            Window w(*settings_);
            MainToolbar& toolbar = *w.toolbar;
            QCOMPARE(ShownList(toolbar), DefaultList);
            const int full = row.Size + 7;
            for (int i = 0; i < static_cast<int>(toolbar.Buttons().size()); ++i) {
                QToolButton* button = toolbar.ButtonAt(i);
                if (button == nullptr) {
                    QCOMPARE(toolbar.WidgetAt(i)->width(), 8);  // a separator
                    continue;
                }
                QVERIFY(button->toolButtonStyle() == row.Style && button->isVisible());
                QCOMPARE(button->iconSize(), QSize(row.Size, row.Size));
                QVERIFY(button->height() >= full);
                if (row.Style != none)  // never squeezed below the room its label needs
                    QVERIFY(button->width() >= std::max(full, button->sizeHint().width()));
                else if (i == 2)  // the Region button is wider by its drop-down arrow
                    QVERIFY(button->width() > full && button->height() == full);
                else
                    QCOMPARE(button->size(), QSize(full, full));
                if (row.Style == under)  // all as wide as the widest
                    QCOMPARE(button->width(), toolbar.ButtonAt(0)->width());
            }
            if (row.Style == Qt::ToolButtonTextBesideIcon)  // "Info." narrower than "Previous"
                QVERIFY(toolbar.ButtonForCommand(40005)->width() <
                        toolbar.ButtonForCommand(40012)->width());
        }
    }

    void stylesApplyAndSaveWhenTheDialogCloses() {
        settings_->WriteTBTextStyle(0);
        Window w(*settings_);
        MainToolbar& toolbar = *w.toolbar;
        QContextMenuEvent event(QContextMenuEvent::Mouse, QPoint(5, 5),
                                toolbar.mapToGlobal(QPoint(5, 5)));
        QApplication::sendEvent(&toolbar, &event);
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        QVERIFY(menu != nullptr && menu->actions().size() == 1);
        QCOMPARE(menu->actions().first()->text(), QString("Customize..."));
        menu->actions().first()->trigger();
        menu->close();
        QPointer<ToolbarCustomizeDialog> dialog = toolbar.OpenCustomizeDialog();
        QVERIFY(dialog != nullptr && dialog->isVisible());
        QCOMPARE(toolbar.Customize(), dialog.data());  // brought forward, not opened twice
        ToolbarOptionsPanel& options = dialog->Options();
        QCOMPARE(options.TextList()->currentText() + "/" + options.IconList()->currentText(),
                 QString("No text labels/Large icons"));
        options.IconList()->setCurrentIndex(0);
        QCOMPARE(toolbar.iconSize(), QSize(24, 24));  // nothing applied or written yet
        QCOMPARE(StoredValue(*settings_, "TBIconStyle"), QString("<none>"));
        dialog->CloseButton()->click();
        QTRY_COMPARE(toolbar.ButtonForCommand(40002)->size(), QSize(23, 23));
        QCOMPARE(StoredValue(*settings_, "TBIconStyle"), QString("0"));
        QCOMPARE(StoredValue(*settings_, "TBButtons"), DefaultList);  // written though unchanged
        QTRY_VERIFY(dialog.isNull());
        // Escape or the close box counts as closing too.
        toolbar.Customize()->Options().TextList()->setCurrentIndex(2);
        toolbar.OpenCustomizeDialog()->reject();
        QCOMPARE(StoredValue(*settings_, "TBTextStyle"), QString("2"));
        QVERIFY(toolbar.ButtonForCommand(40002)->toolButtonStyle() == Qt::ToolButtonTextBesideIcon);
        // A value out of the lists' range shows, and holds, the first item.
        ToolbarOptionsPanel panel;
        panel.SetTextStyle(3);
        panel.SetIconStyle(-1);
        QVERIFY(panel.TextStyle() == 0 && panel.TextList()->currentText() == "No text labels");
        QVERIFY(panel.IconStyle() == 0 && panel.IconList()->currentText() == "Small icons");
    }

    void customisedButtonsComeBackAtTheNextStart_data() {
        // "current N" selects row N of the current buttons (-1 for none), "add NAME" adds NAME
        // from the available buttons, and "remove", "up", "down", "reset" press those buttons.
        QTest::addColumn<QString>("steps");
        QTest::addColumn<QString>("expected");
        QTest::newRow("add after the selection")
            << "current 0|add Print|add Copy"
            << "40002,57607,57634,0,40003,40012,40011,0,40014,40013,40005,40008,40009,0,57664";
        QTest::newRow("add at the end")
            << "current -1|add Stay on Top|current -1|add Separator" << DefaultList + ",40007,0";
        QTest::newRow("move up and down")
            << "current 2|up|up|current 11|down"
            << "40003,40002,0,40012,40011,0,40014,40013,40005,40008,40009,57664,0";
        QTest::newRow("reset after changes")
            << "current 0|remove|add Print|reset|current 12|remove"
            << "40002,0,40003,40012,40011,0,40014,40013,40005,40008,40009,0";
        QTest::newRow("a removed command is offered again")
            << "current 0|remove|current -1|add View World"
            << "0,40003,40012,40011,0,40014,40013,40005,40008,40009,0,57664,40002";
    }

    void customisedButtonsComeBackAtTheNextStart() {
        QFETCH(QString, steps);
        QFETCH(QString, expected);
        Window w(*settings_);
        ToolbarCustomizeDialog* dialog = w.toolbar->Customize();
        QListWidget* available = dialog->AvailableList();
        const std::map<QString, QPushButton*> buttons = {{"add", dialog->AddButton()},
                                                         {"remove", dialog->RemoveButton()},
                                                         {"up", dialog->MoveUpButton()},
                                                         {"down", dialog->MoveDownButton()},
                                                         {"reset", dialog->ResetButton()}};
        for (const QString& step : steps.split('|')) {
            const QString what = step.section(' ', 0, 0), arg = step.section(' ', 1);
            if (what == "current") {
                dialog->CurrentList()->setCurrentRow(arg.toInt());
                continue;
            }
            if (what == "add") {
                const auto items = available->findItems(arg, Qt::MatchExactly);
                QVERIFY2(!items.isEmpty(), qPrintable(arg));
                available->setCurrentItem(items.first());
            }
            QVERIFY2(buttons.at(what)->isEnabled(), qPrintable(step));
            buttons.at(what)->click();
            // The toolbar follows every step while the dialog is open.
            QCOMPARE(ShownList(*w.toolbar),
                     QString::fromStdString(FormatToolbarButtons(dialog->Buttons())));
        }
        QCOMPARE(dialog->CurrentList()->count(), int(dialog->Buttons().size()));
        dialog->CloseButton()->click();
        QCOMPARE(StoredValue(*settings_, "TBButtons"), expected);
        QCOMPARE(ShownList(MainToolbar(*settings_, w.Lookup())), expected);
    }
};

QTEST_MAIN(MainToolbarUiTest)
#include "MainToolbarUiTest.moc"
