#include <QAction>
#include <QApplication>
#include <QContextMenuEvent>
#include <QMenu>
#include <QMenuBar>
#include <QScreen>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QWindow>
#include <QtTest>

#include <functional>
#include <memory>

#include "core/base/Commands.h"
#include "core/data/Session.h"
#include "support/RecordingMessages.h"
#include "ui/frame/MainFrame.h"
#include "ui/frame/MainToolbar.h"

namespace brix {

class MainFrameUiTest : public QObject {
    Q_OBJECT

    QTemporaryDir dir_;
    std::unique_ptr<Session> session_;
    test::RecordingMessages messages_;

    // A fresh catalogue (three regions of two treasures) and a created frame over it.
    std::unique_ptr<MainFrame> Frame(std::function<void(Session&)> prepare = nullptr) {
        session_ = std::make_unique<Session>();
        session_->GetPrefs().Paths.SettingsPath = dir_.filePath("brix-tools.ini").toStdString();
        for (int r = 1; r <= 3; ++r) {
            Region region;
            region.Index = r;
            session_->GetWorld().StoreRegion(region);
        }
        for (int t = 1; t <= 6; ++t) {
            Treasure treasure;
            treasure.Index = t;
            treasure.Region = (t + 1) / 2;
            treasure.Location = {400 + 40 * t, 400 + 30 * t};
            session_->GetWorld().StoreTreasure(treasure);
        }
        if (prepare) prepare(*session_);
        auto frame = std::make_unique<MainFrame>(*session_, messages_);
        if (!frame->Create()) qFatal("frame not created");
        return frame;
    }

private Q_SLOTS:
    void windowPlacementRoundTrips() {
        const QRect normal(60, 70, 700, 500);
        {
            const auto frame = Frame();
            frame->setGeometry(normal);
            frame->show();
            QVERIFY(QTest::qWaitForWindowExposed(frame.get()));
            frame->showMaximized();
            QCoreApplication::processEvents();
            frame->close();
        }
        const auto stored = session_->SettingsFile().WindowPlacement();
        QVERIFY(stored.has_value());
        QCOMPARE(
            QRect(QPoint(stored->Left, stored->Top), QPoint(stored->Right - 1, stored->Bottom - 1)),
            normal);
        const auto frame = Frame();  // reads the file the first one wrote
        QCOMPARE(frame->geometry(), normal);
        QVERIFY(!frame->isMaximized());
    }

    // A placement saved on a larger screen or at a smaller scale factor opens the window whole
    // on the screen it lands on.
    void windowPlacementFitsTheScreen() {
        const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
        const QRect inside(area.left() + 10, area.top() + 20, 300, 200);
        const QRect rows[][2] = {
            {inside, inside},
            {QRect(area.left() + 50, area.top() + 50, area.width() * 2, area.height() * 2), area},
            {QRect(area.right() - 99, area.bottom() - 49, 300, 200),
             QRect(area.right() - 299, area.bottom() - 199, 300, 200)},
        };
        for (const auto& [saved, expected] : rows) {
            const auto frame = Frame([saved = saved](Session& session) {
                session.SettingsFile().WriteWindowPlacement({saved.left(), saved.top(),
                                                             saved.left() + saved.width(),
                                                             saved.top() + saved.height()});
            });
            QCOMPARE(frame->geometry(), expected);
        }
    }

    // The command states follow the shown view; Stay on Top is written at each toggle.
    void commandsFollowTheShownView() {
        const auto frame = Frame();
        frame->UpdateCommandStates();
        QVERIFY(!frame->Action(Command::Copy)->isEnabled());
        QVERIFY(!frame->ExecuteCommand(Command::Copy));
        frame->ShowRegionView(3, -1);
        frame->UpdateCommandStates();
        QVERIFY(!frame->Action(Command::NextRegion)->isEnabled());
        QVERIFY(frame->Action(Command::Copy)->isEnabled());
        QVERIFY(frame->ExecuteCommand(Command::World));
        QVERIFY(!frame->IsRegionViewActive());

        frame->ExecuteCommand(Command::StayOnTop);
        QVERIFY(frame->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
        QVERIFY(session_->SettingsFile().StayOnTop());
        frame->ExecuteCommand(Command::StayOnTop);
        QVERIFY(!session_->SettingsFile().StayOnTop());
    }

    // Stay on Top changes the shown window in place: it is never hidden (no flicker), keeps its
    // window and stays maximised, so the placement saved at exit is not the maximised one.
    void stayOnTopKeepsTheWindowInPlace() {
        const auto frame = Frame();
        frame->showMaximized();
        QVERIFY(QTest::qWaitForWindowExposed(frame.get()));
        const QWindow* handle = frame->windowHandle();
        struct HideCounter : QObject {
            int Hides = 0;
            bool eventFilter(QObject*, QEvent* event) override {
                Hides += event->type() == QEvent::Hide;
                return false;
            }
        } counter;
        frame->installEventFilter(&counter);
        for (const bool on : {true, false}) {
            frame->ExecuteCommand(Command::StayOnTop);
            QCoreApplication::processEvents();
            QCOMPARE(frame->windowHandle()->flags().testFlag(Qt::WindowStaysOnTopHint), on);
            QCOMPARE(frame->windowFlags().testFlag(Qt::WindowStaysOnTopHint), on);
        }
        QCOMPARE(counter.Hides, 0);
        QCOMPARE(frame->windowHandle(), handle);
        QVERIFY(frame->isVisible() && frame->isMaximized());
    }

    // A right click anywhere on the menu bar or the toolbar never offers to hide the toolbar:
    // nothing would bring it back.
    void noContextMenuHidesTheToolbar() {
        const auto frame = Frame();
        frame->show();
        QVERIFY(QTest::qWaitForWindowExposed(frame.get()));
        auto* toolbar = frame->findChild<MainToolbar*>("MainToolbar");
        QVERIFY(toolbar != nullptr && toolbar->isVisible());
        struct Row {
            const char* What;
            std::function<QWidget*()> Target;  // asked anew: customising rebuilds the buttons
            QStringList Offered;               // the texts of the menu that opens; empty for none
        };
        const Row rows[] = {
            {"the menu bar", [&] { return frame->menuBar(); }, {}},
            {"the toolbar", [&] { return toolbar; }, {"Customize..."}},
        };
        for (const Row& row : rows) {
            QWidget* target = row.Target();
            QVERIFY2(target != nullptr, row.What);
            const QPoint at(target->width() - 3, target->height() / 2);
            QContextMenuEvent event(QContextMenuEvent::Mouse, at, target->mapToGlobal(at));
            QApplication::sendEvent(target, &event);
            auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
            QStringList offered;
            if (menu != nullptr) {
                for (QAction* action : menu->actions())
                    if (action->isVisible()) offered << action->text();
                for (QAction* action : menu->actions()) action->trigger();
                menu->close();
            }
            QCOMPARE(offered, row.Offered);
            QVERIFY2(toolbar->isVisible(), row.What);
            // Customize opened its dialog; it has nothing to do with this.
            if (auto* dialog = frame->findChild<QDialog*>()) dialog->reject();
            QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        }
    }

    // The map views tell a text to show, even an empty one, from the idle "Ready".
    void statusTextEmptyIsNotReady() {
        const auto frame = Frame();
        QStatusBar* bar = frame->statusBar();
        frame->ShowStatusText("");
        QCOMPARE(bar->currentMessage(), QString(""));
        frame->ShowReadyText();
        QCOMPARE(bar->currentMessage(), QString("Ready"));
        frame->ShowStatusText("");
        // A message cleared by anyone else still brings back "Ready".
        bar->showMessage("tip");
        bar->clearMessage();
        QCOMPARE(bar->currentMessage(), QString("Ready"));
    }
};

}  // namespace brix

QTEST_MAIN(brix::MainFrameUiTest)
#include "MainFrameUiTest.moc"
