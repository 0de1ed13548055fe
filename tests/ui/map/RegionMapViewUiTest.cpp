#include <QApplication>
#include <QClipboard>
#include <QMouseEvent>
#include <QScrollBar>
#include <QtTest>

#include <cstdio>
#include <memory>

#include "core/base/Commands.h"
#include "support/RecordingMessages.h"
#include "support/Records.h"
#include "support/RegionFixture.h"
#include "ui/map/RegionMapView.h"

namespace brix {
namespace {

// Canvas points of region 4 (see support/RegionFixture.h), tacks drawn uncorrected:
//   (342, 54) head of treasure 20      (342, 70) head of treasure 21
void SendMouse(QWidget* target, QEvent::Type type, QPoint point,
               Qt::MouseButton button = Qt::LeftButton) {
    const Qt::MouseButtons buttons =
        type == QEvent::MouseButtonPress ? Qt::MouseButtons(button) : Qt::MouseButtons();
    QMouseEvent event(type, QPointF(point), target->mapToGlobal(QPointF(point)),
                      type == QEvent::MouseMove ? Qt::NoButton : button, buttons, Qt::NoModifier);
    QApplication::sendEvent(target, &event);
}

}  // namespace

class RegionMapViewUiTest : public QObject {
    Q_OBJECT

    // The selected treasure, as "I Just Got a Map" hands it to the host; 0 for none.
    int Selected(RegionMapView& view) {
        host_.Calls.clear();
        view.HandleCommand(Command::GotAMap);
        int treasure = -1;
        if (host_.Calls.size() == 1)
            std::sscanf(host_.Calls.front().c_str(), "inventory %d add", &treasure);
        host_.Calls.clear();
        return treasure;
    }

    std::unique_ptr<RegionMapView> Show(QSize size, int region, int treasure) {
        auto view = std::make_unique<RegionMapView>(session_, host_, messages_);
        view->resize(size);
        view->ShowRegion(region, treasure);
        view->show();
        if (!QTest::qWaitForWindowExposed(view.get())) qFatal("view not exposed");
        return view;
    }

private Q_SLOTS:
    void init() {
        test::ResetSession(session_);
        test::FillRegionSession(session_);
        test::LoadRegionPictures(session_);
        host_ = test::RecordingHost();
        messages_ = test::RecordingMessages();
    }

    void clickSelects() {
        struct Row {
            const char* What;
            QPoint Press;  // (-1, -1): no press
            QPoint Release;
            Qt::MouseButton Button;
            int Selected;
        };
        const Row rows[] = {
            {"a click on a tack", {342, 54}, {343, 55}, Qt::LeftButton, 20},
            {"press on one tack, release on another", {342, 54}, {342, 70}, Qt::LeftButton, 0},
            {"the right button", {342, 54}, {342, 54}, Qt::RightButton, 0},
        };
        for (const Row& row : rows) {
            const auto view = Show(QSize(800, 480), 4, 0);
            QWidget* viewport = view->viewport();
            if (row.Press.x() >= 0)
                SendMouse(viewport, QEvent::MouseButtonPress, row.Press, row.Button);
            SendMouse(viewport, QEvent::MouseButtonRelease, row.Release, row.Button);
            QVERIFY2(Selected(*view) == row.Selected, row.What);
            // Once a click is over, a stray release on another tack changes nothing.
            SendMouse(viewport, QEvent::MouseButtonRelease, QPoint(342, 70));
            QVERIFY2(Selected(*view) == row.Selected, row.What);
        }
    }

    void commandsGoToTheHost() {
        struct Row {
            int Region;
            int Request;
            int Command;
            bool Handled;
            const char* Call;  // also what the clipboard holds after Copy
        };
        const Row rows[] = {
            {4, 22, Command::TreasureInformation, true, "info 22"},
            {3, -1, Command::TreasureInformation, true, "info 0"},
            {4, 22, Command::World, false, ""},  // the frame's
            {4, 0, Command::Copy, true, "before"},
            {4, 29, Command::Copy, true, "Cache 29"},
        };
        for (const Row& row : rows) {
            host_.Calls.clear();
            QGuiApplication::clipboard()->setText(QStringLiteral("before"));
            RegionMapView view(session_, host_, messages_);
            view.ShowRegion(row.Region, row.Request);
            QCOMPARE(view.HandleCommand(row.Command), row.Handled);
            if (row.Command == Command::Copy) {
                QCOMPARE(view.IsCommandEnabled(Command::Copy), row.Request != 0);
                QVERIFY(QGuiApplication::clipboard()->text().contains(QString(row.Call)));
                QVERIFY(host_.Calls.empty());
            } else {
                std::vector<std::string> expected;
                if (*row.Call) expected.push_back(row.Call);
                QCOMPARE(host_.Calls, expected);
            }
        }
        QVERIFY(messages_.Shown.empty());
    }

    // The off-screen picture and the direct painting agree on a scrolled view.
    void bothPaintingWaysGiveThePicture() {
        {
            const QPoint scroll(20, 10);
            const auto view = Show(QSize(500, 300), 4, 22);
            view->horizontalScrollBar()->setValue(scroll.x());
            view->verticalScrollBar()->setValue(scroll.y());
            auto grab = [&view] {
                return view->viewport()->grab().toImage().convertToFormat(QImage::Format_RGB32);
            };
            session_.GetPrefs().Display.BeautyOverSpeed = true;
            const QImage beauty = grab();
            session_.GetPrefs().Display.BeautyOverSpeed = false;
            QCOMPARE(beauty.size(), view->viewport()->size());
            QCOMPARE(beauty, grab());
            // The canvas scrolled by the offset: the title box's top-left frame corner is black.
            QCOMPARE(beauty.pixel(QPoint(34, 29) - scroll), qRgb(0, 0, 0));
        }
    }

private:
    Session session_;
    test::RecordingHost host_;
    test::RecordingMessages messages_;
};

}  // namespace brix

QTEST_MAIN(brix::RegionMapViewUiTest)
#include "RegionMapViewUiTest.moc"
