// The region view's map panel (480 × 440, scroll frame with parchment, 30 tacks with labels)
// against the cheapest thing a repaint can do: copying a finished 480 × 440 picture.

#include <benchmark/benchmark.h>

#include <QImage>
#include <QPainter>

#include <cstdlib>
#include <vector>

#include "BenchSupport.h"
#include "core/data/MapFilter.h"
#include "core/data/Session.h"
#include "core/map/DrawPrimitives.h"
#include "core/map/MapGeometry.h"
#include "core/map/MapImages.h"
#include "core/map/Pictures.h"
#include "support/GuiApp.h"

namespace brix {
namespace {

constexpr int PanelWidth = 480;
constexpr int PanelHeight = 440;
constexpr int TackCount = 30;
constexpr std::uint32_t Parchment = 0x00C0E0F0u;

struct Scene {
    Session TheSession;
    MapFilter Filter;
    std::vector<int> List;
    IntRect Source;

    Scene() {
        test::EnsureGuiApp();
        DrawingResources& d = TheSession.GetWorld().Drawing;
        PrepareProgramPictures(d, LoadProgramPictures());
        d.MultimapBitmap = bench::SyntheticMultimap(200);
        d.MultimapSize = d.MultimapBitmap.size();
        TheSession.GetPrefs().Display.TackWithColor = 0x0000FF00u;
        TheSession.GetPrefs().Display.TackWithoutColor = 0x000000FFu;

        // Thirty treasures spread over the panel's window, around world point (2400, 2000).
        const TextMeasurer measure = FontMeasurer(d.LabelFont);
        for (int i = 1; i <= TackCount; ++i) {
            Treasure t;
            t.Index = i;
            t.Region = 1;
            t.Location = {2400 - 360 + (i * 137) % 720, 2000 - 300 + (i * 89) % 600};
            t.LabelOffset = {(i % 2 == 0 ? 60 : -60), (i % 3 == 0 ? 40 : -40)};
            ComputeLabelGeometry(t, measure);
            TheSession.GetWorld().StoreTreasure(t);
        }
        Filter.TreasureHasMap.assign(TheSession.GetWorld().Treasures.size(), 0);
        for (int i = 1; i <= TackCount; i += 3) Filter.TreasureHasMap[i] = 1;
        const RegionTreasureList region = BuildRegionTreasureList(TheSession.GetWorld(), 1);
        List = region.Treasures;
        Source = CenterSourceRect(PanelStyle::Scroll, region.CentreX, region.CentreY, PanelWidth,
                                  PanelHeight, d.MultimapSize.width(), d.MultimapSize.height());
    }
};

Scene& TheScene() {
    static Scene scene;
    return scene;
}

void BM_DrawMapPanel(benchmark::State& state) {
    Scene& scene = TheScene();
    QImage canvas(PanelWidth, PanelHeight, QImage::Format_RGB32);
    canvas.fill(Qt::white);
    QPainter painter(&canvas);
    painter.setBackground(QColor::fromRgb(RgbFromColourRef(Parchment)));
    for (auto _ : state) {
        DrawMapPanel(painter, scene.TheSession, PanelStyle::Scroll, true, Parchment,
                     IntRect{0, 0, PanelWidth, PanelHeight}, scene.Source, scene.List, true,
                     &scene.Filter, false);
        benchmark::DoNotOptimize(canvas.constBits());
    }
}
BENCHMARK(BM_DrawMapPanel)->Unit(benchmark::kMicrosecond);

void BM_CopyPanelImage(benchmark::State& state) {
    TheScene();
    QImage picture(PanelWidth, PanelHeight, QImage::Format_RGB32);
    picture.fill(QColor(240, 224, 192));
    QImage canvas(PanelWidth, PanelHeight, QImage::Format_RGB32);
    canvas.fill(Qt::white);
    QPainter painter(&canvas);
    for (auto _ : state) {
        painter.drawImage(0, 0, picture);
        benchmark::DoNotOptimize(canvas.constBits());
    }
}
BENCHMARK(BM_CopyPanelImage)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace brix
