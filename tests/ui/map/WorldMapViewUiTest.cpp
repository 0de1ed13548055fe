#include <QApplication>
#include <QPaintEvent>
#include <QScrollBar>
#include <QWheelEvent>
#include <QtTest>

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "core/map/Pictures.h"
#include "core/map/WorldCanvas.h"
#include "support/RegionFixture.h"
#include "support/WorldFixture.h"
#include "ui/map/WorldMapView.h"

namespace brix {
namespace {

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

// A rectangular region whose columns [holeFrom, holeTo) lie outside it.
Region BlockRegion(int index, const char* name, QRect rect, int holeFrom = 0, int holeTo = 0) {
    std::string row(rect.width(), '#');
    row.replace(holeFrom, holeTo - holeFrom, holeTo - holeFrom, '.');
    Region region =
        test::MaskedRegion(index, rect.topLeft(), std::vector<std::string>(rect.height(), row));
    region.Name = name;
    return region;
}

// Region 1 and region 2 lie side by side with overlapping rectangles; region 3 lies below
// them; region 4, whose name is empty, between them; everything else is sea.
void FillCatalog(TreasureCatalog& catalog) {
    QImage world(600, 400, QImage::Format_RGB32);
    for (int y = 0; y < world.height(); ++y)
        for (int x = 0; x < world.width(); ++x)
            world.setPixel(x, y, qRgb(x % 256, y % 256, (x + 2 * y) % 256));
    test::SetWorld(catalog, world);
    catalog.StoreRegion(BlockRegion(1, "Kestrel Downs", QRect(0, 0, 200, 150), 180, 200));
    catalog.StoreRegion(BlockRegion(2, "Mistral Fen", QRect(180, 0, 200, 150), 0, 20));
    catalog.StoreRegion(BlockRegion(3, "Ember Reach", QRect(100, 200, 480, 100)));
    catalog.StoreRegion(BlockRegion(4, "", QRect(400, 155, 100, 40)));
    test::SetHasMap(catalog, 2);
}

constexpr QPoint InRegion1(100, 50);
constexpr QPoint InRegion2(300, 50);
constexpr QPoint InRegion3(200, 250);
constexpr QPoint InRegion4(420, 175);
constexpr QPoint AtSea(250, 170);

// What the status bar shows while the pointer is over a region (0 for the sea).
std::string StatusFor(int region) {
    const char* names[] = {test::RecordingHost::ReadyText, "Kestrel Downs", "Mistral Fen",
                           "Ember Reach", ""};
    return names[region];
}

struct Fixture {
    TreasureCatalog Catalog;
    test::RecordingHost Host;
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
    std::string Status() const { return Host.StatusTexts.empty() ? "" : Host.StatusTexts.back(); }
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
    void hoverRepaintsExactlyTheTwoRegions_data() {
        QTest::addColumn<QPoint>("from");
        QTest::addColumn<int>("fromRegion");
        QTest::addColumn<QPoint>("to");
        QTest::addColumn<int>("toRegion");
        QTest::newRow("region to adjacent region") << InRegion1 << 1 << InRegion2 << 2;
        QTest::newRow("sea to region") << AtSea << 0 << InRegion3 << 3;
        QTest::newRow("region to sea") << InRegion1 << 1 << AtSea << 0;
    }

    void hoverRepaintsExactlyTheTwoRegions() {
        QFETCH(QPoint, from);
        QFETCH(int, fromRegion);
        QFETCH(QPoint, to);
        QFETCH(int, toRegion);
        Fixture f;
        f.MoveTo(from);
        QCOMPARE(f.Status(), StatusFor(fromRegion));
        f.Settle();

        f.MoveTo(to);
        QCOMPARE(f.Status(), StatusFor(toRegion));
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

    // A region names itself in the status bar even when its name is empty; only the sea and
    // leaving the view bring back "Ready".
    void hoverNamesTheRegion() {
        struct Row {
            const char* What;
            QPoint At;  // canvas point; (-1, -1) leaves the view
            int Region;
        };
        const Row rows[] = {
            {"a named region", InRegion1, 1},
            {"a region without a name", InRegion4, 4},
            {"the sea", AtSea, 0},
            {"back to the unnamed region", InRegion4, 4},
            {"out of the view", QPoint(-1, -1), 0},
        };
        Fixture f;
        for (const Row& row : rows) {
            if (row.At.x() < 0) {
                QEvent leave(QEvent::Leave);
                QApplication::sendEvent(f.Viewport(), &leave);
            } else {
                f.MoveTo(row.At);
            }
            QVERIFY2(!f.Host.StatusTexts.empty(), row.What);
            QVERIFY2(f.Status() == StatusFor(row.Region), row.What);
        }
    }

    void clickOpensOnlyTheRegionPressedAndReleased_data() {
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
        QTest::newRow("pressed at sea") << true << AtSea << InRegion2 << false << 0;
        QTest::newRow("release without a press here") << false << AtSea << InRegion1 << false << 0;
        // The canvas beyond the viewport's right edge still belongs to region 3 there.
        QTest::newRow("released beyond the viewport")
            << true << InRegion3 << InRegion3 << true << 0;
    }

    void clickOpensOnlyTheRegionPressedAndReleased() {
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
            QTest::mouseMove(f.Viewport(), release);
        }
        QTest::mouseRelease(f.Viewport(), Qt::LeftButton, {}, release);
        std::vector<std::string> expected;
        if (opened != 0) expected.push_back("region " + std::to_string(opened) + " -1");
        QCOMPARE(f.Host.Calls, expected);

        // A second release without a new press opens nothing more.
        QTest::mouseRelease(f.Viewport(), Qt::LeftButton, {}, f.ToViewport(InRegion1));
        QCOMPARE(f.Host.Calls, expected);
    }

    void bothPaintPathsShowTheCanvas_data() {
        QTest::addColumn<QSize>("view");
        QTest::addColumn<QPoint>("scroll");
        QTest::newRow("scrolled") << QSize(420, 320) << QPoint(50, 20);
        QTest::newRow("view larger than the world") << QSize(700, 480) << QPoint(0, 0);
    }

    void bothPaintPathsShowTheCanvas() {
        QFETCH(QSize, view);
        QFETCH(QPoint, scroll);
        for (const bool beauty : {true, false}) {  // off-screen picture, straight to the view
            Fixture f(view, scroll);
            f.Catalog.Display.BeautyOverSpeed = beauty;
            f.MoveTo(InRegion2);
            QCOMPARE(f.Status(), StatusFor(2));
            f.View->RefreshCanvas();
            f.Settle();
            const QImage shown =
                f.Viewport()->grab().toImage().convertToFormat(QImage::Format_RGB32);
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
    }
};

}  // namespace brix

QTEST_MAIN(brix::WorldMapViewUiTest)
#include "WorldMapViewUiTest.moc"
