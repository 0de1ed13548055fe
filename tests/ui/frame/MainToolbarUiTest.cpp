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
    QMainWindow window;
    MainToolbar* toolbar;
    Window(const Settings& settings, const CommandIcons& icons) {
        for (const ToolbarButton& entry : ToolbarButtonTable) {
            actions[entry.Command] = new QAction(&owner);
        }
        toolbar = new MainToolbar(settings, Lookup(), icons, &window);
        window.addToolBar(Qt::TopToolBarArea, toolbar);
        window.resize(900, 300);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
    }
    MainToolbar::ActionLookup Lookup() {
        return [this](int command) { return actions.count(command) ? actions[command] : nullptr; };
    }
    ToolbarCustomizeDialog* Dialog() const {
        return window.findChild<ToolbarCustomizeDialog*>("ToolbarCustomizeDialog");
    }
};

template <typename Widget>
Widget* Find(const QWidget* parent, const char* name) {
    auto* widget = parent->findChild<Widget*>(QString::fromLatin1(name));
    if (widget == nullptr) qFatal("no widget named %s", name);
    return widget;
}

// The tool button of a command, or nullptr.
QToolButton* ButtonOf(const MainToolbar& toolbar, int command) {
    for (QAction* action : toolbar.actions())
        if (!action->isSeparator() && action->data().toInt() == command)
            return qobject_cast<QToolButton*>(toolbar.widgetForAction(action));
    return nullptr;
}

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
    std::unique_ptr<CommandIcons> icons_;

private Q_SLOTS:
    void initTestCase() { icons_ = std::make_unique<CommandIcons>(); }
    void cleanupTestCase() { icons_.reset(); }

    void init() {
        dir_ = std::make_unique<QTemporaryDir>();
        settings_ = std::make_unique<Settings>(dir_->filePath("brix.ini").toStdString());
    }

    void stylesApplyAndSaveWhenTheDialogCloses() {
        settings_->WriteTBTextStyle(0);
        Window w(*settings_, *icons_);
        MainToolbar& toolbar = *w.toolbar;
        QContextMenuEvent event(QContextMenuEvent::Mouse, QPoint(5, 5),
                                toolbar.mapToGlobal(QPoint(5, 5)));
        QApplication::sendEvent(&toolbar, &event);
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        QVERIFY(menu != nullptr);
        menu->actions().first()->trigger();
        menu->close();
        QPointer<ToolbarCustomizeDialog> dialog = w.Dialog();
        QVERIFY(dialog != nullptr && dialog->isVisible());
        toolbar.Customize();  // brought forward, not opened twice
        QCOMPARE(w.window.findChildren<ToolbarCustomizeDialog*>().size(), 1);
        Find<QComboBox>(dialog, "IconOptions")->setCurrentIndex(0);
        QCOMPARE(toolbar.iconSize(), QSize(24, 24));  // nothing applied or written yet
        QCOMPARE(StoredValue(*settings_, "TBIconStyle"), QString("<none>"));
        Find<QPushButton>(dialog, "Close")->click();
        QTRY_COMPARE(ButtonOf(toolbar, 40002)->size(), QSize(23, 23));
        QCOMPARE(StoredValue(*settings_, "TBIconStyle"), QString("0"));
        QCOMPARE(StoredValue(*settings_, "TBButtons"), DefaultList);  // written though unchanged
        QTRY_VERIFY(dialog.isNull());
        // Escape or the close box counts as closing too.
        toolbar.Customize();
        Find<QComboBox>(w.Dialog(), "TextOptions")->setCurrentIndex(2);
        w.Dialog()->reject();
        QCOMPARE(StoredValue(*settings_, "TBTextStyle"), QString("2"));
        QToolButton* button = ButtonOf(toolbar, 40002);
        QVERIFY(button->toolButtonStyle() == Qt::ToolButtonTextBesideIcon);
        QVERIFY(button->width() >= button->sizeHint().width());  // the label is never squeezed
    }

    void customisedButtonsComeBackAtTheNextStart_data() {
        // "current N" selects row N of the current buttons (-1 for none), "add NAME" adds NAME
        // from the available buttons, and "remove" presses Remove.
        QTest::addColumn<QString>("steps");
        QTest::addColumn<QString>("expected");
        QTest::newRow("add after the selection")
            << "current 0|add Print|add Copy"
            << "40002,57607,57634,0,40003,40012,40011,0,40014,40013,40005,40008,40009,0,57664";
        QTest::newRow("a removed command is offered again")
            << "current 0|remove|current -1|add View World"
            << "0,40003,40012,40011,0,40014,40013,40005,40008,40009,0,57664,40002";
    }

    void customisedButtonsComeBackAtTheNextStart() {
        QFETCH(QString, steps);
        QFETCH(QString, expected);
        Window w(*settings_, *icons_);
        w.toolbar->Customize();
        ToolbarCustomizeDialog* dialog = w.Dialog();
        auto* available = Find<QListWidget>(dialog, "AvailableButtons");
        auto* current = Find<QListWidget>(dialog, "CurrentButtons");
        const std::map<QString, QPushButton*> buttons = {
            {"add", Find<QPushButton>(dialog, "Add")},
            {"remove", Find<QPushButton>(dialog, "Remove")}};
        for (const QString& step : steps.split('|')) {
            const QString what = step.section(' ', 0, 0), arg = step.section(' ', 1);
            if (what == "current") {
                current->setCurrentRow(arg.toInt());
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
        QCOMPARE(current->count(), int(dialog->Buttons().size()));
        Find<QPushButton>(dialog, "Close")->click();
        QCOMPARE(StoredValue(*settings_, "TBButtons"), expected);
        QCOMPARE(ShownList(MainToolbar(*settings_, w.Lookup(), *icons_)), expected);
    }
};

QTEST_MAIN(MainToolbarUiTest)
#include "MainToolbarUiTest.moc"
