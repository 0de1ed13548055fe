#include <QApplication>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QFile>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>
#include <QPushButton>
#include <QToolButton>
#include <QtTest>

#include "core/base/ToolbarLayout.h"
#include "support/UiFrame.h"
#include "support/Widgets.h"
#include "ui/frame/MainToolbar.h"
#include "ui/frame/ToolbarCustomizeDialog.h"

namespace brix {
namespace {

using test::Find;

// The tool button of a command, or nullptr.
QToolButton* ButtonOf(const MainToolbar& toolbar, int command) {
    for (QAction* action : toolbar.actions())
        if (!action->isSeparator() && action->data().toInt() == command)
            return qobject_cast<QToolButton*>(toolbar.widgetForAction(action));
    return nullptr;
}

// The buttons the toolbar really shows, in stored form (0 for a separator widget).
QString ShownList(const MainToolbar& toolbar) {
    QStringList shown;
    for (QAction* action : toolbar.actions())
        shown << QString::number(action->isSeparator() ? 0 : action->data().toInt());
    return shown.join(',');
}

// The texts a right click near the widget's right end offers, none without a menu; every
// offer is then taken.
QStringList RightClick(QWidget& target) {
    const QPoint at(target.width() - 3, target.height() / 2);
    QContextMenuEvent event(QContextMenuEvent::Mouse, at, target.mapToGlobal(at));
    QApplication::sendEvent(&target, &event);
    QStringList offered;
    if (auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget())) {
        for (QAction* action : menu->actions())
            if (action->isVisible()) offered << action->text();
        for (QAction* action : menu->actions()) action->trigger();
        menu->close();
    }
    return offered;
}

}  // namespace

// The main window's toolbar and its customisation dialog.
class MainToolbarUiTest : public QObject {
    Q_OBJECT

    test::UiFrame ui_;

    MainToolbar& Toolbar() { return Find<MainToolbar>(*ui_.Frame, "MainToolbar"); }
    ToolbarCustomizeDialog* Dialog() { return ui_.Frame->findChild<ToolbarCustomizeDialog*>(); }

private Q_SLOTS:
    void init() {
        ui_.Reset();
        QFile::remove(QString::fromStdString(ui_.Path("brix-tools.ini")));
    }

    // No right click offers to hide the toolbar: nothing would bring it back. Its own offer,
    // Customize, opens one dialog whose styles apply and are written when it closes.
    void stylesApplyAndSaveWhenTheDialogCloses() {
        ui_.Sess.SettingsFile().WriteTBTextStyle(0);
        ui_.Open();
        MainToolbar& toolbar = Toolbar();
        QCOMPARE(RightClick(*ui_.Frame->menuBar()), QStringList());
        QCOMPARE(RightClick(toolbar), QStringList{"Customize..."});
        QVERIFY(toolbar.isVisible());
        QPointer<ToolbarCustomizeDialog> dialog = Dialog();
        QVERIFY(dialog != nullptr && dialog->isVisible());
        toolbar.Customize();  // brought forward, not opened twice
        QCOMPARE(ui_.Frame->findChildren<ToolbarCustomizeDialog*>().size(), 1);
        Find<QComboBox>(*dialog, "IconOptions").setCurrentIndex(0);
        QCOMPARE(toolbar.iconSize(), QSize(24, 24));  // nothing applied or written yet
        QCOMPARE(ui_.Setting("TBIconStyle"), std::string("(no key)"));
        Find<QPushButton>(*dialog, "Close").click();
        QTRY_COMPARE(ButtonOf(toolbar, 40002)->size(), QSize(23, 23));
        QCOMPARE(ui_.Setting("TBIconStyle"), std::string("0"));
        QCOMPARE(ui_.Setting("TBButtons"),  // written though unchanged
                 std::string("40002,0,40003,40012,40011,0,40014,40013,40005,40008,40009,0,57664"));
        QTRY_VERIFY(dialog.isNull());
        // Escape or the close box counts as closing too.
        toolbar.Customize();
        Find<QComboBox>(*Dialog(), "TextOptions").setCurrentIndex(2);
        Dialog()->reject();
        QCOMPARE(ui_.Setting("TBTextStyle"), std::string("2"));
        QToolButton* button = ButtonOf(toolbar, 40002);
        QVERIFY(button->toolButtonStyle() == Qt::ToolButtonTextBesideIcon);
        QVERIFY(button->width() >= button->sizeHint().width());  // the label is never squeezed
    }

    // Buttons are added after the selected one, or at the end with none selected; a removed
    // command is offered again. The toolbar follows every step, and the next start shows the
    // buttons as the dialog left them.
    void customisedButtonsComeBackAtTheNextStart() {
        ui_.Open();
        Toolbar().Customize();
        ToolbarCustomizeDialog& dialog = *Dialog();
        auto& available = Find<QListWidget>(dialog, "AvailableButtons");
        auto& current = Find<QListWidget>(dialog, "CurrentButtons");
        const auto press = [&](const char* name) {
            auto& button = Find<QPushButton>(dialog, name);
            QVERIFY2(button.isEnabled(), name);
            button.click();
            QCOMPARE(ShownList(Toolbar()),
                     QString::fromStdString(FormatToolbarButtons(dialog.Buttons())));
        };
        const auto add = [&](const QString& text) {
            const auto items = available.findItems(text, Qt::MatchExactly);
            QVERIFY2(!items.isEmpty(), qPrintable(text));
            available.setCurrentItem(items.first());
            press("Add");
        };
        current.setCurrentRow(0);
        add("Print");
        add("Copy");
        current.setCurrentRow(0);
        press("Remove");
        current.setCurrentRow(-1);
        add("View World");
        QCOMPARE(current.count(), int(dialog.Buttons().size()));
        Find<QPushButton>(dialog, "Close").click();
        const std::string expected =
            "57607,57634,0,40003,40012,40011,0,40014,40013,40005,40008,40009,0,57664,40002";
        QCOMPARE(ui_.Setting("TBButtons"), expected);
        ui_.Open();  // the next start
        QCOMPARE(ShownList(Toolbar()), QString::fromStdString(expected));
    }
};

}  // namespace brix

QTEST_MAIN(brix::MainToolbarUiTest)
#include "MainToolbarUiTest.moc"
