#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPointer>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

#include <memory>

#include "core/base/Commands.h"
#include "core/data/Session.h"
#include "support/RecordingMessages.h"
#include "support/Records.h"
#include "support/RegionFixture.h"
#include "ui/frame/MainFrame.h"
#include "ui/map/TreasureInfoWindow.h"

namespace brix {

// The Treasure Information window as the main frame opens it, in both forms.
class TreasureInfoFrameUiTest : public QObject {
    Q_OBJECT

    QTemporaryDir dir_;
    Session session_;
    test::RecordingMessages messages_;

    std::unique_ptr<MainFrame> Frame(bool independent) {
        session_.GetPrefs().Display.TreasureInfoInd = independent;
        auto frame = std::make_unique<MainFrame>(session_, messages_);
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

private Q_SLOTS:
    void init() {
        QVERIFY(dir_.isValid());
        QFile::remove(dir_.filePath("brix-tools.ini"));
        test::ResetSession(session_);
        session_.GetPrefs().Paths.SettingsPath = dir_.filePath("brix-tools.ini").toStdString();
        test::FillRegionSession(session_);
        test::LoadRegionPictures(session_);
        for (const char* name : {"Ann", "Bob"}) session_.GetUser().FindOrAddCharacter(name);
        session_.SetCurrentCharacter(&session_.GetUser().Characters[0]);
        messages_ = test::RecordingMessages();
    }

    void cleanup() { QVERIFY(InfoWindows().isEmpty()); }

    // Off: a modal dialog owned by the main window on the region view's treasure.
    void modalOverTheMainWindow() {
        const auto frame = Frame(false);
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
        QVERIFY(frame->ExecuteCommand(Command::TreasureInformation));
        QCOMPARE(shown, 22);
        QCOMPARE(owner, frame.get());
    }

    // On: one window, reused and brought back from the taskbar, opened anew once closed.
    void independentWindowIsReused() {
        const auto frame = Frame(true);
        frame->ShowTreasureInfo(22);
        TreasureInfoWindow* window = InfoWindows().value(0);
        QVERIFY(window != nullptr);
        window->showMinimized();
        frame->ShowWorldView();
        QVERIFY(frame->ExecuteCommand(Command::TreasureInformation));  // treasure 1
        QCOMPARE(InfoWindows(), (QList<TreasureInfoWindow*>{window}));
        QCOMPARE(window->SelectedTreasure(), 1);
        QVERIFY(!window->isMinimized() && window->isVisible());
        window->close();  // deleted: the next one is opened anew
        frame->ShowTreasureInfo(3);
        QCOMPARE(InfoWindows().value(0)->SelectedTreasure(), 3);
        frame->RefreshTreasureInfo();  // the options dialog's refresh makes no second window
        QCOMPARE(InfoWindows().size(), 1);
    }

    // The catalogue's change notifications reach the window: counts, current character.
    void independentWindowFollowsTheMainWindow() {
        const auto frame = Frame(true);
        frame->ShowTreasureInfo(22);
        QPointer<TreasureInfoWindow> window = InfoWindows().first();
        QVERIFY(Text(*window).contains("\nMaps: (None)\n"));

        test::GiveMap(session_, 22);
        QVERIFY(Text(*window).contains("\nMaps: L1=1\n"));

        // Another character chosen from the main window's menu.
        QMenu menu;
        frame->FillCharacterMenu(menu);
        menu.actions().at(1)->trigger();
        QVERIFY(Text(*window).contains("\nMaps: (None)\n"));
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
};

}  // namespace brix

QTEST_MAIN(brix::TreasureInfoFrameUiTest)
#include "TreasureInfoFrameUiTest.moc"
