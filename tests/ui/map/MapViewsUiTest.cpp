#include <QtTest>
#include <QtWidgets>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "core/map/WorldCanvas.h"
#include "support/RecordingMessages.h"
#include "support/Records.h"
#include "support/RegionFixture.h"
#include "support/WorldFixture.h"
#include "ui/map/RegionMapView.h"
#include "ui/map/WorldMapView.h"

namespace brix {
namespace {

// Canvas points of region 4 (see support/RegionFixture.h), tacks drawn uncorrected.
constexpr QPoint Tack20(342, 54);
constexpr QPoint Tack21(342, 70);

// Collects what the paint system asks the world view to repaint.
class PaintRecordingView : public WorldMapView {
public:
    using WorldMapView::WorldMapView;
    QRegion Painted;

protected:
    void paintEvent(QPaintEvent* event) override {
        Painted += event->region();
        WorldMapView::paintEvent(event);
    }
};

// A rectangular region whose columns [holeFrom, holeTo) lie outside it.
Region BlockRegion(int index, const char* name, QRect rect, int holeFrom = 0, int holeTo = 0) {
    std::string row(rect.width(), '#');
    row.replace(holeFrom, holeTo - holeFrom, holeTo - holeFrom, '.');
    Region region =
        test::MaskedRegion(index, rect.topLeft(), std::vector<std::string>(rect.height(), row));
    region.Name = name;
    return region;
}

constexpr QPoint InRegion1(100, 50);
constexpr QPoint InRegion2(300, 50);
constexpr QPoint InRegion3(200, 250);  // region 3 reaches beyond the viewport's right edge
constexpr QPoint InRegion4(420, 175);
constexpr QPoint AtSea(250, 170);

// A 600 × 400 world view, 420 × 320 and scrolled by (50, 20). Regions 1 and 2 lie side by side
// with overlapping rectangles; region 3 lies below them; region 4, whose name is empty, between
// them; everything else is sea.
struct WorldFixture {
    Session TheSession;
    test::RecordingHost Host;
    std::unique_ptr<PaintRecordingView> View;

    WorldFixture() {
        QImage world(600, 400, QImage::Format_RGB32);
        world.fill(Qt::darkGreen);
        test::SetWorld(TheSession, world);
        TheSession.GetWorld().StoreRegion(
            BlockRegion(1, "Kestrel Downs", QRect(0, 0, 200, 150), 180, 200));
        TheSession.GetWorld().StoreRegion(
            BlockRegion(2, "Mistral Fen", QRect(180, 0, 200, 150), 0, 20));
        TheSession.GetWorld().StoreRegion(BlockRegion(3, "Ember Reach", QRect(100, 200, 480, 100)));
        TheSession.GetWorld().StoreRegion(BlockRegion(4, "", QRect(400, 155, 100, 40)));
        View = std::make_unique<PaintRecordingView>(TheSession, Host);
        View->resize(420, 320);
        View->show();
        if (!QTest::qWaitForWindowExposed(View.get())) qFatal("view not exposed");
        View->horizontalScrollBar()->setValue(50);
        View->verticalScrollBar()->setValue(20);
        Settle();
    }
    QWidget* Viewport() const { return View->viewport(); }
    QPoint ToViewport(QPoint canvas) const { return canvas - View->ScrollOffset(); }
    void Settle() {
        QCoreApplication::processEvents();
        QTest::qWait(20);
        QCoreApplication::processEvents();
        View->Painted = QRegion();
    }
    QRect ShownRect(int region) const {
        return MaskQRect(*TheSession.GetWorld().FindRegion(region))
            .translated(-View->ScrollOffset());
    }
};

}  // namespace

class MapViewsUiTest : public QObject {
    Q_OBJECT

    Session session_;
    test::RecordingHost host_;
    test::RecordingMessages messages_;

    std::unique_ptr<RegionMapView> ShowRegion(QSize size, int region, int treasure) {
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

    // Both views scroll alike: the thumb shows the visible share of the canvas, an arrow moves a
    // hundredth of the canvas and a page click a tenth; the region view paints both ways.
    void scrollBarsShowTheVisibleShare() {
        WorldFixture world;
        const auto region = ShowRegion(QSize(500, 300), 4, 0);  // scrolled both ways
        world.View->resize(350, 700);                           // taller than the canvas
        QVERIFY(QTest::qWaitForWindowExposed(world.View.get()));
        const std::pair<MapScrollArea*, QSize> rows[] = {{world.View.get(), QSize(600, 400)},
                                                         {region.get(), QSize(760, 440)}};
        for (const auto& [view, canvas] : rows) {
            const QSize visible = view->viewport()->size();
            for (const auto& [bar, extent, shown] :
                 {std::tuple{view->horizontalScrollBar(), canvas.width(), visible.width()},
                  std::tuple{view->verticalScrollBar(), canvas.height(), visible.height()}}) {
                const int last = std::max(0, extent - shown);
                QCOMPARE(bar->maximum(), last);
                QCOMPARE(bar->pageStep(), shown);
                QCOMPARE(bar->singleStep(), extent / 100);
                bar->setValue(0);
                bar->triggerAction(QAbstractSlider::SliderPageStepAdd);
                QCOMPARE(bar->value(), std::min(last, extent / 10));
            }
        }
        // Scrolled, the off-screen picture and the direct painting agree: the title box's
        // top-left frame corner, at (34, 29) on the canvas, is black.
        region->ShowRegion(4, 22);
        region->horizontalScrollBar()->setValue(20);
        region->verticalScrollBar()->setValue(10);
        const auto grab = [&region] {
            return region->viewport()->grab().toImage().convertToFormat(QImage::Format_RGB32);
        };
        session_.GetPrefs().Display.BeautyOverSpeed = true;
        const QImage beauty = grab();
        session_.GetPrefs().Display.BeautyOverSpeed = false;
        QCOMPARE(beauty.size(), region->viewport()->size());
        QCOMPARE(beauty, grab());
        QCOMPARE(beauty.pixel(QPoint(34, 29) - QPoint(20, 10)), qRgb(0, 0, 0));
    }

    // A treasure is selected by pressing and releasing the left button on its tack; once a
    // click is over, a stray release on another tack changes nothing.
    void regionClickSelects() {
        const std::tuple<const char*, QPoint, Qt::MouseButton, int> rows[] = {
            {"a click on a tack", Tack20 + QPoint(1, 1), Qt::LeftButton, 20},
            {"released on another tack", Tack21, Qt::LeftButton, 0},
            {"the right button", Tack20, Qt::RightButton, 0},
        };
        for (const auto& [what, release, button, selected] : rows) {
            const auto view = ShowRegion(QSize(800, 480), 4, 0);
            QTest::mousePress(view->viewport(), button, {}, Tack20);
            QTest::mouseRelease(view->viewport(), button, {}, release);
            QVERIFY2(view->SelectedTreasure() == selected, what);
            QTest::mouseRelease(view->viewport(), Qt::LeftButton, {}, Tack21);
            QVERIFY2(view->SelectedTreasure() == selected, what);
        }
    }

    // Moving between regions repaints exactly the two regions' rectangles; a region names
    // itself in the status bar, even with an empty name; the sea and leaving bring "Ready".
    void worldHoverRepaintsAndNamesTheRegion() {
        const std::tuple<QPoint, int, std::string> rows[] = {
            // canvas point, (-1, -1) leaving the view; the region there; the status text
            {InRegion1, 1, "Kestrel Downs"},
            {InRegion2, 2, "Mistral Fen"},
            {InRegion4, 4, ""},
            {AtSea, 0, test::RecordingHost::ReadyText},
            {QPoint(-1, -1), 0, test::RecordingHost::ReadyText},
        };
        WorldFixture f;
        int last = -1;
        for (const auto& [at, region, status] : rows) {
            f.Settle();
            if (at.x() < 0) {
                QEvent leave(QEvent::Leave);
                QApplication::sendEvent(f.Viewport(), &leave);
            } else {
                QTest::mouseMove(f.Viewport(), f.ToViewport(at));
            }
            QVERIFY(!f.Host.StatusTexts.empty());
            QCOMPARE(f.Host.StatusTexts.back(), status);
            if (at.x() < 0 || last < 0) {  // the first move only sets the start
                last = region;
                continue;
            }
            QRegion expected;
            if (last != 0) expected += f.ShownRect(last);
            if (region != 0) expected += f.ShownRect(region);
            expected &= f.Viewport()->rect();
            QTRY_VERIFY(!f.View->Painted.isEmpty());
            QCOMPARE(f.View->Painted, expected);
            last = region;
        }
    }

    // A region opens only when the left button is pressed and released on it, inside the view.
    void worldClickOpensOnlyTheRegionPressedAndReleased() {
        const std::tuple<const char*, QPoint, QPoint, bool, int> rows[] = {
            {"press and release on one region", InRegion1, InRegion1, false, 1},
            {"released on another region", InRegion1, InRegion2, false, 0},
            {"released beyond the viewport", InRegion3, InRegion3, true, 0},
        };
        for (const auto& [what, pressAt, releaseAt, beyondViewport, opened] : rows) {
            WorldFixture f;
            QPoint release = f.ToViewport(releaseAt);
            if (beyondViewport) {
                release.setX(f.Viewport()->width() + 5);
                QCOMPARE(HitTestRegion(f.TheSession.GetWorld(), release + f.View->ScrollOffset()),
                         3);
            }
            QTest::mousePress(f.Viewport(), Qt::LeftButton, {}, f.ToViewport(pressAt));
            QTest::mouseMove(f.Viewport(), release);
            QTest::mouseRelease(f.Viewport(), Qt::LeftButton, {}, release);
            std::vector<std::string> expected;
            if (opened != 0) expected.push_back("region " + std::to_string(opened) + " -1");
            QVERIFY2(f.Host.Calls == expected, what);
            // A second release without a new press opens nothing more.
            QTest::mouseRelease(f.Viewport(), Qt::LeftButton, {}, f.ToViewport(InRegion1));
            QVERIFY2(f.Host.Calls == expected, what);
        }
    }
};

}  // namespace brix

QTEST_MAIN(brix::MapViewsUiTest)
#include "MapViewsUiTest.moc"
