#include <QApplication>
#include <QPaintEvent>
#include <QScrollBar>
#include <QSignalSpy>
#include <QWheelEvent>
#include <QtTest>

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "data/TreasureCatalog.h"
#include "map/MapViewHost.h"
#include "map/Pictures.h"
#include "map/WorldCanvas.h"
#include "map/WorldMapView.h"

namespace brix {
namespace {

class RecordingHost : public MapViewHost {
public:
    void SetStatusText(const std::string& text) override { StatusTexts.push_back(text); }
    void ShowRegionView(int region, int treasure) override {
        Opened.emplace_back(region, treasure);
    }
    void ShowTreasureInfo(int) override {}
    void OpenMapInventory(int, bool) override {}

    std::vector<std::string> StatusTexts;
    std::vector<std::pair<int, int>> Opened;
};

// Collects what the paint system asks the view to repaint.
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

// A rectangular region mask at `offset`; columns whose index is listed in `holes` (as a range
// [holeFrom, holeTo)) are outside the region.
Region BlockRegion(int index, const char* name, QRect rect, int holeFrom = 0, int holeTo = 0) {
    Region region;
    region.Index = index;
    region.Name = name;
    region.MaskOffset = {rect.x(), rect.y()};
    region.MaskBytesPerRow = (rect.width() + 15) / 16 * 2;
    region.MaskBits.assign(static_cast<std::size_t>(region.MaskBytesPerRow * rect.height()), 0);
    for (int y = 0; y < rect.height(); ++y) {
        for (int x = 0; x < rect.width(); ++x) {
            if (x >= holeFrom && x < holeTo) continue;
            region.MaskBits[y * region.MaskBytesPerRow + x / 8] |= 0x80 >> (x % 8);
        }
    }
    region.MaskRect = {rect.left(), rect.top(), rect.right() + 1, rect.bottom() + 1};
    return region;
}

// Region 1 and region 2 lie side by side with overlapping rectangles; region 3 lies below
// them; everything else is sea.
void FillCatalog(TreasureCatalog& catalog) {
    QImage world(600, 400, QImage::Format_RGB32);
    for (int y = 0; y < world.height(); ++y) {
        for (int x = 0; x < world.width(); ++x) {
            world.setPixel(x, y, qRgb(x % 256, y % 256, (x + 2 * y) % 256));
        }
    }
    catalog.Drawing.WorldBitmap = world;
    catalog.Drawing.WorldBitmapSize = world.size();
    catalog.StoreRegion(BlockRegion(1, "Kestrel Downs", QRect(0, 0, 200, 150), 180, 200));
    catalog.StoreRegion(BlockRegion(2, "Mistral Fen", QRect(180, 0, 200, 150), 0, 20));
    catalog.StoreRegion(BlockRegion(3, "Ember Reach", QRect(100, 200, 480, 100)));
    catalog.Filter.RegionHasMap = {0, 0, 1, 0};
}

constexpr QPoint InRegion1(100, 50);
constexpr QPoint InRegion2(300, 50);
constexpr QPoint InRegion3(200, 250);
constexpr QPoint AtSea(250, 170);

struct Fixture {
    TreasureCatalog Catalog;
    RecordingHost Host;
    std::unique_ptr<PaintRecordingView> View;

    explicit Fixture(QSize size = QSize(420, 320), QPoint scroll = QPoint(50, 20)) {
        FillCatalog(Catalog);
        View = std::make_unique<PaintRecordingView>(Catalog, Host);
        View->resize(size);
        View->show();
        if (!QTest::qWaitForWindowExposed(View.get())) qFatal("view not exposed");
        View->horizontalScrollBar()->setValue(scroll.x());
        View->verticalScrollBar()->setValue(scroll.y());
        Settle();
    }
    QWidget* Viewport() const { return View->viewport(); }
    QPoint ToViewport(QPoint canvas) const { return canvas - View->ScrollOffset(); }
    void MoveTo(QPoint canvas) { QTest::mouseMove(Viewport(), ToViewport(canvas)); }
    void Settle() {
        QCoreApplication::processEvents();
        QTest::qWait(20);
        QCoreApplication::processEvents();
        View->Painted = QRegion();
    }
    QRect ShownRect(int region) const {
        return MaskQRect(*Catalog.FindRegion(region)).translated(-View->ScrollOffset());
    }
};

}  // namespace

class WorldMapViewUiTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void hoverRepaintsExactlyTheTwoRegions_data();
    void hoverRepaintsExactlyTheTwoRegions();
    void statusTextAndCursorFollowThePointer();
    void leavingAndShowingResetTheHover();
    void clickOpensOnlyTheRegionPressedAndReleased_data();
    void clickOpensOnlyTheRegionPressedAndReleased();
    void scrollStepsAreFractionsOfTheExtent_data();
    void scrollStepsAreFractionsOfTheExtent();
    void bothPaintPathsShowTheCanvas_data();
    void bothPaintPathsShowTheCanvas();
};

void WorldMapViewUiTest::hoverRepaintsExactlyTheTwoRegions_data() {
    QTest::addColumn<QPoint>("from");
    QTest::addColumn<int>("fromRegion");
    QTest::addColumn<QPoint>("to");
    QTest::addColumn<int>("toRegion");
    QTest::newRow("region to adjacent region") << InRegion1 << 1 << InRegion2 << 2;
    QTest::newRow("region to region below") << InRegion2 << 2 << InRegion3 << 3;
    QTest::newRow("sea to region") << AtSea << 0 << InRegion3 << 3;
    QTest::newRow("region to sea") << InRegion1 << 1 << AtSea << 0;
    QTest::newRow("within one region") << InRegion3 << 3 << InRegion3 + QPoint(40, 10) << 3;
}

void WorldMapViewUiTest::hoverRepaintsExactlyTheTwoRegions() {
    QFETCH(QPoint, from);
    QFETCH(int, fromRegion);
    QFETCH(QPoint, to);
    QFETCH(int, toRegion);
    Fixture f;
    QCOMPARE(f.View->ScrollOffset(), QPoint(50, 20));
    f.MoveTo(from);
    QCOMPARE(f.View->HoverRegion(), fromRegion);
    f.Settle();

    f.MoveTo(to);
    QCOMPARE(f.View->HoverRegion(), toRegion);
    QRegion expected;
    if (fromRegion != toRegion) {
        if (fromRegion != 0) expected += f.ShownRect(fromRegion);
        if (toRegion != 0) expected += f.ShownRect(toRegion);
    }
    expected &= f.Viewport()->rect();
    if (expected.isEmpty()) {
        f.Settle();
        QVERIFY(f.View->Painted.isEmpty());
    } else {
        QTRY_VERIFY(!f.View->Painted.isEmpty());
        QCOMPARE(f.View->Painted, expected);
    }
}

void WorldMapViewUiTest::statusTextAndCursorFollowThePointer() {
    Fixture f;
    const QPoint hotSpot = SelectCursorHotSpot();
    struct Step {
        QPoint Canvas;
        const char* Status;
        bool SelectCursor;
    };
    const Step steps[] = {
        {InRegion1, "Kestrel Downs", true}, {InRegion1 + QPoint(1, 1), "Kestrel Downs", true},
        {QPoint(190, 40), "", false},  // region 1's rectangle and region 2's, both masks clear
        {InRegion2, "Mistral Fen", true},   {AtSea, "", false},
        {InRegion3, "Ember Reach", true},
    };
    for (const Step& step : steps) {
        f.Host.StatusTexts.clear();
        f.MoveTo(step.Canvas);
        QVERIFY2(!f.Host.StatusTexts.empty(), step.Status);
        QCOMPARE(f.Host.StatusTexts.back(), std::string(step.Status));
        const QCursor cursor = f.Viewport()->cursor();
        if (step.SelectCursor) {
            QCOMPARE(cursor.shape(), Qt::BitmapCursor);
            QCOMPARE(cursor.hotSpot(), hotSpot);
        } else {
            QCOMPARE(cursor.shape(), Qt::ArrowCursor);
        }
    }
}

void WorldMapViewUiTest::leavingAndShowingResetTheHover() {
    Fixture f;
    f.MoveTo(InRegion2);
    QCOMPARE(f.View->HoverRegion(), 2);
    f.Settle();

    f.Host.StatusTexts.clear();
    QEvent leave(QEvent::Leave);
    QCoreApplication::sendEvent(f.Viewport(), &leave);
    QCOMPARE(f.View->HoverRegion(), 0);
    QCOMPARE(f.Host.StatusTexts, std::vector<std::string>{""});
    QTRY_COMPARE(f.View->Painted, QRegion(f.ShownRect(2)) & f.Viewport()->rect());

    // Shown again with the pointer resting on region 1: the hover starts afresh there.
    f.View->hide();
    f.Host.StatusTexts.clear();
    QCursor::setPos(f.Viewport()->mapToGlobal(f.ToViewport(InRegion1)));
    f.View->show();
    QVERIFY(QTest::qWaitForWindowExposed(f.View.get()));
    QCOMPARE(f.View->HoverRegion(), 1);
    QCOMPARE(f.Host.StatusTexts.front(), std::string());
    QCOMPARE(f.Host.StatusTexts.back(), std::string("Kestrel Downs"));

    // A pointer outside the view names nothing, whatever canvas point lies beyond the edge.
    f.View->hide();
    QCursor::setPos(f.Viewport()->mapToGlobal(QPoint(-30, f.ToViewport(InRegion1).y())));
    f.View->show();
    QVERIFY(QTest::qWaitForWindowExposed(f.View.get()));
    QCOMPARE(f.View->HoverRegion(), 0);
}

void WorldMapViewUiTest::clickOpensOnlyTheRegionPressedAndReleased_data() {
    QTest::addColumn<bool>("press");
    QTest::addColumn<QPoint>("pressAt");
    QTest::addColumn<QPoint>("releaseAt");
    QTest::addColumn<bool>("releaseBeyondViewport");
    QTest::addColumn<int>("opened");
    QTest::newRow("press and release on one region")
        << true << InRegion1 << InRegion1 << false << 1;
    QTest::newRow("moved within the region")
        << true << InRegion3 << InRegion3 + QPoint(60, 20) << false << 3;
    QTest::newRow("released on another region") << true << InRegion1 << InRegion2 << false << 0;
    QTest::newRow("released at sea") << true << InRegion2 << AtSea << false << 0;
    QTest::newRow("pressed at sea") << true << AtSea << InRegion2 << false << 0;
    QTest::newRow("sea to sea") << true << AtSea << AtSea << false << 0;
    QTest::newRow("release without a press here") << false << AtSea << InRegion1 << false << 0;
    // The canvas beyond the viewport's right edge still belongs to region 3 there.
    QTest::newRow("released beyond the viewport") << true << InRegion3 << InRegion3 << true << 0;
}

void WorldMapViewUiTest::clickOpensOnlyTheRegionPressedAndReleased() {
    QFETCH(bool, press);
    QFETCH(QPoint, pressAt);
    QFETCH(QPoint, releaseAt);
    QFETCH(bool, releaseBeyondViewport);
    QFETCH(int, opened);
    Fixture f;
    QPoint release = f.ToViewport(releaseAt);
    if (releaseBeyondViewport) {
        release.setX(f.Viewport()->width() + 5);
        QCOMPARE(HitTestRegion(f.Catalog, release + f.View->ScrollOffset()), 3);
    }
    if (press) {
        QTest::mousePress(f.Viewport(), Qt::LeftButton, {}, f.ToViewport(pressAt));
        QCOMPARE(f.View->PressedRegion(), HitTestRegion(f.Catalog, pressAt));
        QTest::mouseMove(f.Viewport(), release);
    }
    QTest::mouseRelease(f.Viewport(), Qt::LeftButton, {}, release);
    std::vector<std::pair<int, int>> expected;
    if (opened != 0) expected.emplace_back(opened, -1);
    QCOMPARE(f.Host.Opened, expected);

    // A second release without a new press opens nothing more.
    QTest::mouseRelease(f.Viewport(), Qt::LeftButton, {}, f.ToViewport(InRegion1));
    QCOMPARE(f.Host.Opened, expected);
}

void WorldMapViewUiTest::scrollStepsAreFractionsOfTheExtent_data() {
    QTest::addColumn<QSize>("world");
    QTest::addColumn<QSize>("view");
    QTest::addColumn<int>("horizontalLine");
    QTest::addColumn<int>("horizontalPage");
    QTest::addColumn<int>("verticalLine");
    QTest::addColumn<int>("verticalPage");
    QTest::newRow("large world") << QSize(1280, 1024) << QSize(420, 320) << 12 << 128 << 10 << 102;
    QTest::newRow("small world: at least a pixel")
        << QSize(150, 90) << QSize(100, 60) << 1 << 15 << 1 << 9;
}

void WorldMapViewUiTest::scrollStepsAreFractionsOfTheExtent() {
    QFETCH(QSize, world);
    QFETCH(QSize, view);
    QFETCH(int, horizontalLine);
    QFETCH(int, horizontalPage);
    QFETCH(int, verticalLine);
    QFETCH(int, verticalPage);
    Fixture f(view, QPoint(0, 0));
    QImage bitmap(world, QImage::Format_RGB32);
    bitmap.fill(qRgb(20, 60, 120));
    f.Catalog.Drawing.WorldBitmap = bitmap;
    f.Catalog.Drawing.WorldBitmapSize = world;
    f.View->RefreshCanvas();
    QCOMPARE(f.View->horizontalScrollBar()->maximum(), world.width() - f.Viewport()->width());
    QCOMPARE(f.View->verticalScrollBar()->maximum(), world.height() - f.Viewport()->height());

    struct Case {
        QScrollBar* Bar;
        QAbstractSlider::SliderAction Action;
        int Delta;
    };
    QScrollBar* horizontal = f.View->horizontalScrollBar();
    QScrollBar* vertical = f.View->verticalScrollBar();
    const Case cases[] = {
        {horizontal, QAbstractSlider::SliderSingleStepAdd, horizontalLine},
        {horizontal, QAbstractSlider::SliderSingleStepSub, -horizontalLine},
        {horizontal, QAbstractSlider::SliderPageStepAdd, horizontalPage},
        {horizontal, QAbstractSlider::SliderPageStepSub, -horizontalPage},
        {vertical, QAbstractSlider::SliderSingleStepAdd, verticalLine},
        {vertical, QAbstractSlider::SliderSingleStepSub, -verticalLine},
        {vertical, QAbstractSlider::SliderPageStepAdd, verticalPage},
        {vertical, QAbstractSlider::SliderPageStepSub, -verticalPage},
    };
    for (const Case& c : cases) {
        c.Bar->setValue(c.Bar->maximum() / 2);
        const int before = c.Bar->value();
        c.Bar->triggerAction(c.Action);
        QCOMPARE(c.Bar->value() - before, c.Delta);
    }
    QCOMPARE(f.View->ScrollOffset(), QPoint(horizontal->value(), vertical->value()));

    // The wheel goes down by the system's number of lines.
    vertical->setValue(0);
    const QPoint at(10, 10);
    QWheelEvent wheel(at, f.Viewport()->mapToGlobal(at), QPoint(), QPoint(0, -120), Qt::NoButton,
                      Qt::NoModifier, Qt::NoScrollPhase, false);
    QCoreApplication::sendEvent(f.Viewport(), &wheel);
    QCOMPARE(vertical->value(),
             std::min(vertical->maximum(), QApplication::wheelScrollLines() * verticalLine));
}

void WorldMapViewUiTest::bothPaintPathsShowTheCanvas_data() {
    QTest::addColumn<bool>("beauty");
    QTest::addColumn<QSize>("view");
    QTest::addColumn<QPoint>("scroll");
    QTest::newRow("off-screen picture, scrolled") << true << QSize(420, 320) << QPoint(50, 20);
    QTest::newRow("straight to the view, scrolled") << false << QSize(420, 320) << QPoint(50, 20);
    QTest::newRow("off-screen picture, view larger than the world")
        << true << QSize(700, 480) << QPoint(0, 0);
    QTest::newRow("straight to the view, view larger than the world")
        << false << QSize(700, 480) << QPoint(0, 0);
}

void WorldMapViewUiTest::bothPaintPathsShowTheCanvas() {
    QFETCH(bool, beauty);
    QFETCH(QSize, view);
    QFETCH(QPoint, scroll);
    Fixture f(view, scroll);
    f.Catalog.Display.BeautyOverSpeed = beauty;
    f.MoveTo(InRegion2);
    QCOMPARE(f.View->HoverRegion(), 2);
    f.View->RefreshCanvas();
    f.Settle();

    const QImage shown = f.Viewport()->grab().toImage().convertToFormat(QImage::Format_RGB32);
    const QRect box(f.View->ScrollOffset(), f.Viewport()->size());
    QImage expected(box.size(), QImage::Format_RGB32);
    DrawWorldCanvas(expected, box, f.Catalog, 2);
    QCOMPARE(shown.size(), expected.size());
    QVERIFY(shown == expected);
    if (view.width() > 600) {
        const QRgb background = f.Catalog.Drawing.WorldBitmap.pixel(0, 0);
        QCOMPARE(shown.pixel(650, 10), background);
        QCOMPARE(shown.pixel(10, 450), background);
    }
}

}  // namespace brix

QTEST_MAIN(brix::WorldMapViewUiTest)
#include "WorldMapViewUiTest.moc"
