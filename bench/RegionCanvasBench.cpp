// The whole region canvas (map scroll with 30 tacks and labels, title, close-up, coordinates)
// against the cheapest thing a repaint can do: copying a finished 760 × 440 picture.

#include <benchmark/benchmark.h>

#include <QImage>
#include <QPainter>

#include <cstdlib>
#include <string>

#include "BenchSupport.h"
#include "core/data/Session.h"
#include "core/map/MapGeometry.h"
#include "core/map/MapImages.h"
#include "core/map/Pictures.h"
#include "core/map/RegionCanvas.h"
#include "support/GuiApp.h"
#include "support/RegionFixture.h"

namespace brix {
namespace {

constexpr int TackCount = 30;

struct Scene {
    Session TheSession;
    RegionCanvas Canvas{TheSession};

    Scene() {
        test::EnsureGuiApp();
        DrawingResources& d = TheSession.GetWorld().Drawing;
        PrepareProgramPictures(d, LoadProgramPictures());
        d.MultimapBitmap = bench::SyntheticMultimap(300);
        d.MultimapSize = d.MultimapBitmap.size();
        TheSession.GetPrefs().Display.TackWithColor = 0x0000FF00u;
        TheSession.GetPrefs().Display.TackWithoutColor = 0x000000FFu;

        Region region;
        region.Index = 1;
        region.Name = "Kestrel Downs";
        TheSession.GetWorld().StoreRegion(region);
        // Thirty treasures over an area a little larger than the map window, so that some
        // tacks and labels spill over the edges as they do in real regions.
        for (int i = 1; i <= TackCount; ++i) {
            Treasure t;
            t.Index = i;
            t.Region = 1;
            t.Location = {2000 + (i * 173) % 900, 1700 + (i * 97) % 780};
            t.LabelOffset = {(i % 2 == 0 ? 40 : -40) + i % 5, (i % 3 - 1) * 30};
            t.Name = "Treasure under the old oak " + std::to_string(i);
            TheSession.GetWorld().StoreTreasure(t);
        }
        ComputeAllLabelGeometry(TheSession.GetWorld());
        for (int i = 1; i <= TackCount; i += 3) brix::test::GiveMap(TheSession, i);
        Canvas.ShowRegion(1, 17);
    }
};

Scene& TheScene() {
    static Scene scene;
    return scene;
}

void BM_CopyCanvasPicture(benchmark::State& state) {
    QImage source(RegionLayout::CanvasWidth, RegionLayout::CanvasHeight, QImage::Format_RGB32);
    source.fill(qRgb(232, 204, 148));
    QImage target(source.size(), QImage::Format_RGB32);
    for (auto _ : state) {
        QPainter painter(&target);
        painter.setCompositionMode(QPainter::CompositionMode_Source);
        painter.drawImage(0, 0, source);
        painter.end();
        benchmark::DoNotOptimize(target.constBits());
    }
}
BENCHMARK(BM_CopyCanvasPicture)->Unit(benchmark::kMicrosecond);

void BM_DrawRegionCanvas(benchmark::State& state) {
    Scene& scene = TheScene();
    const QRect client(0, 0, RegionLayout::CanvasWidth, RegionLayout::CanvasHeight);
    QImage target(client.size(), QImage::Format_RGB32);
    for (auto _ : state) {
        QPainter painter(&target);
        DrawRegionCanvas(painter, scene.Canvas, client);
        painter.end();
        benchmark::DoNotOptimize(target.constBits());
    }
}
BENCHMARK(BM_DrawRegionCanvas)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace brix
