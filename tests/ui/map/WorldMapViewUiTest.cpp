#include <QApplication>
#include <QPaintEvent>
#include <QScrollBar>
#include <QWheelEvent>
#include <QtTest>

#include <memory>
#include <string>
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
void FillSession(Session& session) {
    QImage world(600, 400, QImage::Format_RGB32);
    for (int y = 0; y < world.height(); ++y)
        for (int x = 0; x < world.width(); ++x)
            world.setPixel(x, y, qRgb(x % 256, y % 256, (x + 2 * y) % 256));
    test::SetWorld(session, world);
    session.GetWorld().StoreRegion(
        BlockRegion(1, "Kestrel Downs", QRect(0, 0, 200, 150), 180, 200));
    session.GetWorld().StoreRegion(BlockRegion(2, "Mistral Fen", QRect(180, 0, 200, 150), 0, 20));
    session.GetWorld().StoreRegion(BlockRegion(3, "Ember Reach", QRect(100, 200, 480, 100)));
    session.GetWorld().StoreRegion(BlockRegion(4, "", QRect(400, 155, 100, 40)));
    test::SetHasMap(session, 2);
}

constexpr QPoint InRegion1(100, 50);
constexpr QPoint InRegion2(300, 50);
constexpr QPoint InRegion3(200, 250);  // region 3 reaches beyond the viewport's right edge
constexpr QPoint InRegion4(420, 175);
constexpr QPoint AtSea(250, 170);

// What the status bar shows while the pointer is over a region (0 for the sea).
std::string StatusFor(int region) {
    const char* names[] = {test::RecordingHost::ReadyText, "Kestrel Downs", "Mistral Fen",
                           "Ember Reach", ""};
    return names[region];
}

struct Fixture {
    Session TheSession;
    test::RecordingHost Host;
    std::unique_ptr<PaintRecordingView> View;

    Fixture() {
        FillSession(TheSession);
        View = std::make_unique<PaintRecordingView>(TheSession, Host);
        View->resize(420, 320);
        View->show();
        if (!QTest::qWaitForWindowExposed(View.get())) qFatal("view not exposed");
        View->horizontalScrollBar()->setValue(50);
        View->verticalScrollBar()->setValue(20);
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
        return MaskQRect(*TheSession.GetWorld().FindRegion(region))
            .translated(-View->ScrollOffset());
    }
};

}  // namespace

class WorldMapViewUiTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    // Moving between regions repaints exactly the two regions' rectangles; a region names
    // itself in the status bar even when its name is empty, and only the sea and leaving the
    // view bring back "Ready".
    void hoverRepaintsAndNamesTheRegion() {
        struct Row {
            const char* What;
            QPoint At;  // canvas point; (-1, -1) leaves the view
            int Region;
        };
        const Row rows[] = {
            {"a named region", InRegion1, 1},          {"the adjacent region", InRegion2, 2},
            {"a region without a name", InRegion4, 4}, {"the sea", AtSea, 0},
            {"out of the view", QPoint(-1, -1), 0},
        };
        Fixture f;
        int last = -1;
        for (const Row& row : rows) {
            f.Settle();
            if (row.At.x() < 0) {
                QEvent leave(QEvent::Leave);
                QApplication::sendEvent(f.Viewport(), &leave);
            } else {
                f.MoveTo(row.At);
            }
            QVERIFY2(!f.Host.StatusTexts.empty(), row.What);
            QVERIFY2(f.Status() == StatusFor(row.Region), row.What);
            if (row.At.x() < 0 || last < 0) {  // the first move only sets the start
                last = row.Region;
                continue;
            }
            QRegion expected;
            if (last != 0) expected += f.ShownRect(last);
            if (row.Region != 0) expected += f.ShownRect(row.Region);
            expected &= f.Viewport()->rect();
            QTRY_VERIFY2(!f.View->Painted.isEmpty(), row.What);
            QVERIFY2(f.View->Painted == expected, row.What);
            last = row.Region;
        }
    }

    void clickOpensOnlyTheRegionPressedAndReleased() {
        struct Row {
            const char* What;
            bool Press;
            QPoint PressAt, ReleaseAt;
            bool ReleaseBeyondViewport;
            int Opened;
        };
        const Row rows[] = {
            {"press and release on one region", true, InRegion1, InRegion1, false, 1},
            {"released on another region", true, InRegion1, InRegion2, false, 0},
            {"released beyond the viewport", true, InRegion3, InRegion3, true, 0},
        };
        for (const Row& row : rows) {
            Fixture f;
            QPoint release = f.ToViewport(row.ReleaseAt);
            if (row.ReleaseBeyondViewport) {
                release.setX(f.Viewport()->width() + 5);
                QCOMPARE(HitTestRegion(f.TheSession.GetWorld(), release + f.View->ScrollOffset()),
                         3);
            }
            if (row.Press) {
                QTest::mousePress(f.Viewport(), Qt::LeftButton, {}, f.ToViewport(row.PressAt));
                QTest::mouseMove(f.Viewport(), release);
            }
            QTest::mouseRelease(f.Viewport(), Qt::LeftButton, {}, release);
            std::vector<std::string> expected;
            if (row.Opened != 0) expected.push_back("region " + std::to_string(row.Opened) + " -1");
            QVERIFY2(f.Host.Calls == expected, row.What);
            // A second release without a new press opens nothing more.
            QTest::mouseRelease(f.Viewport(), Qt::LeftButton, {}, f.ToViewport(InRegion1));
            QVERIFY2(f.Host.Calls == expected, row.What);
        }
    }

    // Off-screen picture or straight to the view, scrolled: the viewport shows the canvas.
    void bothPaintPathsShowTheCanvas() {
        for (const bool beauty : {true, false}) {
            Fixture f;
            f.TheSession.GetPrefs().Display.BeautyOverSpeed = beauty;
            f.MoveTo(InRegion2);
            f.View->RefreshCanvas();
            f.Settle();
            const QImage shown =
                f.Viewport()->grab().toImage().convertToFormat(QImage::Format_RGB32);
            const QRect box(f.View->ScrollOffset(), f.Viewport()->size());
            QImage expected(box.size(), QImage::Format_RGB32);
            DrawWorldCanvas(expected, box, f.TheSession, 2);
            QCOMPARE(shown, expected);
        }
    }
};

}  // namespace brix

QTEST_MAIN(brix::WorldMapViewUiTest)
#include "WorldMapViewUiTest.moc"
