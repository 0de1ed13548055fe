#include <QImage>
#include <QScrollBar>
#include <QtTest>

#include <algorithm>
#include <memory>

#include "core/data/Session.h"
#include "support/RecordingMessages.h"
#include "support/RegionFixture.h"
#include "support/WorldFixture.h"
#include "ui/map/RegionMapView.h"
#include "ui/map/WorldMapView.h"

namespace brix {

// Both map views scroll alike: the thumb shows the visible share of the canvas, an arrow
// moves a hundredth of the canvas and a page click a tenth.
class MapScrollAreaUiTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void scrollBarsShowTheVisibleShare() {
        struct Row {
            const char* What;
            bool Region;  // else the world view, on a 600 × 400 world
            QSize Size;
        };
        const Row rows[] = {
            {"world, taller than the canvas", false, QSize(350, 700)},
            {"region, scrolled both ways", true, QSize(500, 300)},
        };
        for (const Row& row : rows) {
            Session session;
            test::RecordingHost host;
            test::RecordingMessages messages;
            std::unique_ptr<MapScrollArea> view;
            QSize canvas;
            if (row.Region) {
                test::FillRegionSession(session);
                test::LoadRegionPictures(session);
                auto region = std::make_unique<RegionMapView>(session, host, messages);
                region->ShowRegion(4, 0);
                view = std::move(region);
                canvas = QSize(760, 440);
            } else {
                QImage world(600, 400, QImage::Format_RGB32);
                world.fill(Qt::darkGreen);
                test::SetWorld(session, world);
                view = std::make_unique<WorldMapView>(session, host);
                canvas = world.size();
            }
            view->resize(row.Size);
            view->show();
            QVERIFY(QTest::qWaitForWindowExposed(view.get()));

            const QSize visible = view->viewport()->size();
            struct Bar {
                QScrollBar* Bar;
                int Extent;
                int Visible;
            };
            for (const Bar& bar :
                 {Bar{view->horizontalScrollBar(), canvas.width(), visible.width()},
                  Bar{view->verticalScrollBar(), canvas.height(), visible.height()}}) {
                const int last = std::max(0, bar.Extent - bar.Visible);
                QVERIFY2(bar.Bar->maximum() == last, row.What);
                QVERIFY2(bar.Bar->pageStep() == bar.Visible, row.What);
                QVERIFY2(bar.Bar->singleStep() == bar.Extent / 100, row.What);

                bar.Bar->setValue(0);
                bar.Bar->triggerAction(QAbstractSlider::SliderPageStepAdd);
                QVERIFY2(bar.Bar->value() == std::min(last, bar.Extent / 10), row.What);
                bar.Bar->setValue(last);
                bar.Bar->triggerAction(QAbstractSlider::SliderPageStepSub);
                QVERIFY2(bar.Bar->value() == std::max(0, last - bar.Extent / 10), row.What);
                bar.Bar->triggerAction(QAbstractSlider::SliderSingleStepSub);
                QVERIFY2(bar.Bar->value() == std::max(0, last - bar.Extent / 10 - bar.Extent / 100),
                         row.What);
            }
        }
    }
};

}  // namespace brix

QTEST_MAIN(brix::MapScrollAreaUiTest)
#include "MapScrollAreaUiTest.moc"
