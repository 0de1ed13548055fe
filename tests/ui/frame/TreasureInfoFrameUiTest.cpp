#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPointer>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

#include <memory>
#include <string>

#include "core/base/Commands.h"
#include "core/data/TreasureCatalog.h"
#include "support/RecordingMessages.h"
#include "support/RegionFixture.h"
#include "ui/frame/MainFrame.h"
#include "ui/map/TreasureInfoWindow.h"

namespace brix {

// The Treasure Information window as the main frame opens it, in both forms.
class TreasureInfoFrameUiTest : public QObject {
    Q_OBJECT

    QTemporaryDir dir_;
    TreasureCatalog catalog_;
    test::RecordingMessages messages_;

    std::unique_ptr<MainFrame> Frame(bool independent) {
        catalog_.Display.TreasureInfoInd = independent;
        auto frame = std::make_unique<MainFrame>(catalog_, messages_);
        if (!frame->Create()) qFatal("frame not created");
        frame->show();
        if (!QTest::qWaitForWindowExposed(frame.get())) qFatal("frame not exposed");
        return frame;
    }

    // The open Treasure Information windows, whoever owns them.
    static QList<TreasureInfoWindow*> InfoWindows() {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QList<TreasureInfoWindow*> windows;
        for (QWidget* widget : QApplication::topLevelWidgets())
            if (auto* window = qobject_cast<TreasureInfoWindow*>(widget)) windows << window;
        return windows;
    }

    static QString Text(TreasureInfoWindow& window) {
        return window.findChild<QPlainTextEdit*>("TreasureText")->toPlainText();
    }
    static QImage CloseUp(TreasureInfoWindow& window) {
        return window.findChild<QWidget*>("CloseUp")->grab().toImage();
    }

private Q_SLOTS:
    void init() {
        QVERIFY(dir_.isValid());
        QFile::remove(dir_.filePath("brix-tools.ini"));
        catalog_ = TreasureCatalog();
        catalog_.Paths.SettingsPath = dir_.filePath("brix-tools.ini").toStdString();
        test::FillRegionCatalog(catalog_);
        test::LoadRegionPictures(catalog_);
        for (const char* name : {"Ann", "Bob"}) catalog_.FindOrAddCharacter(name);
        catalog_.SetCurrentCharacter(&catalog_.Characters[0]);
        messages_ = test::RecordingMessages();
    }

    void cleanup() { QVERIFY(InfoWindows().isEmpty()); }

    // Off: a modal dialog owned by the main window, gone once closed.
    void modalOverTheMainWindow() {
        const auto frame = Frame(false);
        QVERIFY(frame->Action(Command::TreasureInformation)->isEnabled());
        frame->ShowRegionView(4, 22);
        int shown = -1;
        QWidget* owner = nullptr;
        QTimer::singleShot(0, frame.get(), [&] {
            auto* window = qobject_cast<TreasureInfoWindow*>(QApplication::activeModalWidget());
            if (window == nullptr) return;
            shown = window->SelectedTreasure();
            owner = window->parentWidget();
            window->reject();
        });
        // The region view's Info. button: its selected treasure.
        QVERIFY(frame->ExecuteCommand(Command::TreasureInformation));
        QCOMPARE(shown, 22);
        QCOMPARE(owner, frame.get());
    }

    // On: one window, reused and brought back from the taskbar for the next treasure.
    void independentWindowIsReused() {
        const auto frame = Frame(true);
        frame->ShowTreasureInfo(22);
        QCOMPARE(InfoWindows().size(), 1);
        TreasureInfoWindow* window = InfoWindows().first();
        QVERIFY(window->isVisible());
        QCOMPARE(window->SelectedTreasure(), 22);
        window->showMinimized();

        // From the world view the command asks for treasure 1.
        frame->ShowWorldView();
        QVERIFY(frame->ExecuteCommand(Command::TreasureInformation));
        QCOMPARE(InfoWindows(), (QList<TreasureInfoWindow*>{window}));
        QCOMPARE(window->SelectedTreasure(), 1);
        QVERIFY(!window->isMinimized());
        QVERIFY(window->isVisible());

        // Closed by the user, it is opened anew next time.
        window->close();
        frame->ShowTreasureInfo(3);
        QCOMPARE(InfoWindows().size(), 1);
        QCOMPARE(InfoWindows().first()->SelectedTreasure(), 3);
        frame->close();
    }

    // Every change notification reaches the window's text and close-up: counts, current
    // character, filter.
    void independentWindowFollowsTheMainWindow() {
        const auto frame = Frame(true);
        frame->ShowTreasureInfo(22);
        QPointer<TreasureInfoWindow> window = InfoWindows().first();
        QVERIFY(Text(*window).contains("\nMaps: (None)\n"));

        test::GiveMap(catalog_, 22);
        QVERIFY(Text(*window).contains("\nMaps: L1=1\n"));

        // Another character chosen from the main window's menu.
        QMenu menu;
        frame->FillCharacterMenu(menu);
        QCOMPARE(menu.actions().at(1)->text(), QStringLiteral("Bob"));
        menu.actions().at(1)->trigger();
        QVERIFY(Text(*window).contains("\nMaps: (None)\n"));

        // The filter's levels decide which maps count: the tack colour follows.
        catalog_.Display.TackWithColor = 0x0000FF00u;
        catalog_.Display.TackWithoutColor = 0x00FF0000u;
        test::GiveMap(catalog_, 22);  // Bob's level-1 map
        const QImage withMap = CloseUp(*window);
        MapFilter options;
        options.LevelFilterOn = true;
        options.ShownLevels.fill(0);
        catalog_.SetFilterOptions(options);
        QVERIFY(CloseUp(*window) != withMap);
        catalog_.SetFilterOptions(MapFilter());
        QCOMPARE(CloseUp(*window), withMap);
        frame->close();
    }

    // Closing the main window takes the independent window with it; the frame's destruction
    // leaves none behind (the user data are written next), even before deferred deletions run.
    void independentWindowDoesNotOutliveTheMainWindow() {
        QPointer<TreasureInfoWindow> window;
        {
            const auto frame = Frame(true);
            frame->ShowTreasureInfo(5);
            window = InfoWindows().value(0);
            QVERIFY(window && window->isVisible());
            frame->close();
            QVERIFY(window.isNull() || !window->isVisible());
        }
        QVERIFY(window.isNull());
    }

    // The program's loop ends when the main window closes, even with the independent window
    // open: otherwise the program would run on with its main window gone.
    void closingTheMainWindowEndsTheProgram() {
        const auto frame = Frame(true);
        frame->ShowTreasureInfo(5);
        QTimer::singleShot(0, frame.get(), [&frame] { frame->close(); });
        // A loop that does not end by itself is ended with another code.
        QTimer watchdog;
        watchdog.setSingleShot(true);
        connect(&watchdog, &QTimer::timeout, [] { QCoreApplication::exit(1); });
        watchdog.start(20000);
        QCOMPARE(QApplication::exec(), 0);
    }

    // The options dialog's refresh: off closes the independent window, on keeps it.
    void refreshFollowsTheOption() {
        const auto frame = Frame(true);
        frame->ShowTreasureInfo(2);
        frame->RefreshTreasureInfo();
        QCOMPARE(InfoWindows().size(), 1);
        catalog_.Display.TreasureInfoInd = false;
        frame->RefreshTreasureInfo();
        QVERIFY(InfoWindows().isEmpty());
    }
};

}  // namespace brix

QTEST_MAIN(brix::TreasureInfoFrameUiTest)
#include "TreasureInfoFrameUiTest.moc"
