#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QPlainTextEdit>
#include <QPointer>
#include <QTemporaryDir>
#include <QTimer>
#include <QToolBar>
#include <QtTest>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "core/base/Commands.h"
#include "core/data/Session.h"
#include "core/map/CommandIcons.h"
#include "core/output/TreasureInfo.h"
#include "support/RecordingMessages.h"
#include "support/Records.h"
#include "support/RegionFixture.h"
#include "ui/map/TreasureInfoWindow.h"

namespace brix {
namespace {

// Records the map inventory requests and can act in the dialog's place.
class ScriptedHost : public test::RecordingHost {
public:
    std::function<void(int treasure, bool adding)> Inventory;
    void OpenMapInventory(int treasure, bool adding) override {
        RecordingHost::OpenMapInventory(treasure, adding);
        if (Inventory) Inventory(treasure, adding);
    }
};

}  // namespace

class TreasureInfoWindowUiTest : public QObject {
    Q_OBJECT

    QTemporaryDir dir_;
    Session session_;
    ScriptedHost host_;
    test::RecordingMessages messages_;
    std::unique_ptr<CommandIcons> icons_;

    std::unique_ptr<TreasureInfoWindow> Open(
        int treasure, TreasureInfoWindow::Mode mode = TreasureInfoWindow::Mode::Independent) {
        auto window =
            std::make_unique<TreasureInfoWindow>(session_, host_, messages_, *icons_, mode);
        // Deleting on close is the frame's business; here the test owns the window.
        window->setAttribute(Qt::WA_DeleteOnClose, false);
        window->SelectInfoTreasure(treasure);
        return window;
    }

    static QString Text(TreasureInfoWindow& window) {
        return window.findChild<QPlainTextEdit*>("TreasureText")->toPlainText();
    }
    static QImage CloseUp(TreasureInfoWindow& window) {
        return window.findChild<QWidget*>("CloseUp")->grab().toImage();
    }
    static QAction* ToolbarAction(TreasureInfoWindow& window, int command) {
        for (QAction* action : window.findChild<QToolBar*>("TreasureInfoToolbar")->actions())
            if (!action->isSeparator() && action->data().toInt() == command) return action;
        return nullptr;
    }

private Q_SLOTS:
    void initTestCase() {
        QVERIFY(dir_.isValid());
        icons_ = std::make_unique<CommandIcons>();
    }

    // Treasures 1 and 10 to 19 in region 1, spread over a 2000 × 1600 multimap.
    void init() {
        test::ResetSession(session_);
        session_.GetPrefs().Paths.SettingsPath = dir_.filePath("brix-tools.ini").toStdString();
        QFile::remove(dir_.filePath("brix-tools.ini"));
        test::LoadRegionPictures(session_);
        session_.GetPrefs().Display.TackWithColor =
            0x0000FF00u;  // green; colour references are 0x00BBGGRR
        session_.GetPrefs().Display.TackWithoutColor = 0x00FF0000u;  // blue
        Region region;
        region.Index = 1;
        session_.GetWorld().StoreRegion(region);
        test::AddTreasures(session_.GetWorld(), {1, 10, 11, 12, 13, 14, 15, 16, 17, 18, 19}, 1);
        for (Treasure& treasure : session_.GetWorld().Treasures)
            treasure.Location = {180 * treasure.Index, 140 * treasure.Index};
        host_ = ScriptedHost();
        messages_ = test::RecordingMessages();
    }

    // The list takes the user's pick (the number rule is the model's); the map buttons ask the
    // host for the map inventory of the treasure shown, and what that changed shows at once,
    // even where nobody forwards the catalogue's notification.
    void toolbarCommands() {
        const auto window = Open(15);
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
        window->findChild<QComboBox*>("TreasureList")->setCurrentIndex(2);
        ToolbarAction(*window, Command::NextTreasure)->trigger();
        QCOMPARE(window->SelectedTreasure(), 12);
        QVERIFY(Text(*window).contains(QStringLiteral("\nMaps: (None)\n")));
        const QImage withoutMap = CloseUp(*window);
        host_.Inventory = [this](int treasure, bool) { test::GiveMap(session_, treasure); };
        ToolbarAction(*window, Command::GotAMap)->trigger();
        QVERIFY(Text(*window).contains(QStringLiteral("\nMaps: L1=1\n")));
        QVERIFY(CloseUp(*window) != withoutMap);  // the tack takes the "with maps" colour
        host_.Inventory = nullptr;
        ToolbarAction(*window, Command::CompletedAMap)->trigger();
        QCOMPARE(host_.Calls,
                 (std::vector<std::string>{"inventory 12 add", "inventory 12 remove"}));

        ToolbarAction(*window, Command::Copy)->trigger();
        QCOMPARE(QGuiApplication::clipboard()->text(),
                 QString(Text(*window)).replace("\n", "\r\n"));
        QVERIFY(messages_.Shown.empty());
    }

    // The map inventory runs its own loop; if the window is destroyed meanwhile (its main
    // window closed, or the option switched off), returning to it must touch nothing.
    void windowGoneWhileTheMapDialogRuns() {
        auto* window = new TreasureInfoWindow(session_, host_, messages_, *icons_,
                                              TreasureInfoWindow::Mode::Independent);
        QPointer<TreasureInfoWindow> guard(window);
        window->SelectInfoTreasure(13);
        host_.Inventory = [&guard](int, bool) { delete guard.data(); };
        QVERIFY(window->ExecuteCommand(Command::GotAMap));
        QVERIFY(guard.isNull());
        QCOMPARE(host_.Calls, (std::vector<std::string>{"inventory 13 add"}));
    }

    // Without any treasure the buttons do nothing.
    void emptyCatalogue() {
        session_.GetWorld().Treasures.clear();
        const auto window = Open(1);
        QGuiApplication::clipboard()->setText(QStringLiteral("before"));
        for (int command : {Command::Copy, Command::NextTreasure, Command::PreviousTreasure})
            ToolbarAction(*window, command)->trigger();
        QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("before"));
        QCOMPARE(window->SelectedTreasure(), 0);
    }

    // Stay on Top keeps a modal window where it is and open, and the next window starts in
    // the same state.
    void stayOnTopIsRemembered() {
        auto* window = new TreasureInfoWindow(session_, host_, messages_, *icons_,
                                              TreasureInfoWindow::Mode::Modal);
        QPointer<TreasureInfoWindow> guard(window);
        bool checked = false;
        QTimer::singleShot(0, window, [&] {
            const QRect before = window->geometry();
            ToolbarAction(*window, Command::StayOnTop)->trigger();
            QCoreApplication::processEvents();
            checked = window->isVisible() && window->geometry() == before &&
                      window->windowFlags().testFlag(Qt::WindowStaysOnTopHint);
            window->reject();
        });
        QCOMPARE(window->exec(), int(QDialog::Rejected));
        QVERIFY(checked);
        delete guard.data();
        const auto next = Open(1);
        QVERIFY(next->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
        ToolbarAction(*next, Command::StayOnTop)->trigger();
        QVERIFY(!session_.SettingsFile().TreasureStayOnTop());
    }

    // The independent window closes with Escape and is then deleted.
    void escapeClosesAndDeletesTheIndependentWindow() {
        auto* window = new TreasureInfoWindow(session_, host_, messages_, *icons_,
                                              TreasureInfoWindow::Mode::Independent);
        QPointer<TreasureInfoWindow> guard(window);
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window));
        QTest::keyClick(window, Qt::Key_Escape);
        QVERIFY(!window->isVisible());
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(guard.isNull());
    }
};

}  // namespace brix

QTEST_MAIN(brix::TreasureInfoWindowUiTest)
#include "TreasureInfoWindowUiTest.moc"
