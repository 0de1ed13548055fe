// Drawing the world canvas: the whole 1280 × 1024 picture with every region tinted, against a
// plain copy of as many pixels, and the repaint of two neighbouring regions under a moving
// pointer. The world comes from the sample archive when one is found (see FindWorldArchive);
// BRIX_WORLD_ARCHIVE=none measures the synthetic world instead (50 irregular regions tiling
// the map, each rectangle reaching 16 pixels into its neighbours).
#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QPainter>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "BenchSupport.h"
#include "core/data/DataLoader.h"
#include "core/data/Session.h"
#include "core/data/ZipArchive.h"
#include "core/map/MapImages.h"
#include "core/map/WorldCanvas.h"
#include "support/GuiApp.h"
#include "support/RecordingMessages.h"
#include "support/WorldFixture.h"

namespace {

constexpr int WorldWidth = 1280;
constexpr int WorldHeight = 1024;
constexpr int Columns = 10;
constexpr int Rows = 5;
constexpr int Margin = 16;

// The cell a pixel belongs to, with wavy borders so that masks have ragged edges.
int CellAt(int x, int y) {
    const double wx = x + 12.0 * std::sin(y / 37.0);
    const double wy = y + 10.0 * std::sin(x / 29.0);
    const int column = std::clamp(static_cast<int>(wx * Columns / WorldWidth), 0, Columns - 1);
    const int row = std::clamp(static_cast<int>(wy * Rows / WorldHeight), 0, Rows - 1);
    return row * Columns + column;
}

void BuildSyntheticWorld(brix::Session& session) {
    QImage world(WorldWidth, WorldHeight, QImage::Format_RGB32);
    for (int y = 0; y < WorldHeight; ++y) {
        auto* row = reinterpret_cast<QRgb*>(world.scanLine(y));
        for (int x = 0; x < WorldWidth; ++x) row[x] = qRgb(x % 256, y % 256, (x ^ y) % 256);
    }
    session.GetWorld().Drawing.WorldBitmap = world;
    session.GetWorld().Drawing.WorldBitmapSize = world.size();
    const int cellWidth = WorldWidth / Columns;
    const int cellHeight = WorldHeight / Rows;
    for (int cell = 0; cell < Columns * Rows; ++cell) {
        brix::Region region;
        region.Index = cell + 1;
        region.Name = "Region " + std::to_string(cell + 1);
        const int left = std::max(0, (cell % Columns) * cellWidth - Margin);
        const int top = std::max(0, (cell / Columns) * cellHeight - Margin);
        const int right = std::min(WorldWidth, (cell % Columns + 1) * cellWidth + Margin);
        const int bottom = std::min(WorldHeight, (cell / Columns + 1) * cellHeight + Margin);
        region.MaskOffset = {left, top};
        region.MaskRect = {left, top, right, bottom};
        region.MaskBytesPerRow = (right - left + 15) / 16 * 2;
        region.MaskBits.assign(static_cast<std::size_t>(region.MaskBytesPerRow * (bottom - top)),
                               0);
        for (int y = top; y < bottom; ++y) {
            for (int x = left; x < right; ++x) {
                if (CellAt(x, y) != cell) continue;
                region.MaskBits[(y - top) * region.MaskBytesPerRow + (x - left) / 8] |=
                    0x80 >> ((x - left) % 8);
            }
        }
        session.GetWorld().StoreRegion(region);
    }
    // Every other region has maps, so both tint colours are used.
    for (std::size_t i = 1; i < session.GetWorld().Regions.size(); i += 2)
        brix::test::SetHasMap(session, static_cast<int>(i));
}

bool LoadArchiveWorld(brix::Session& session, const char* path) {
    std::unique_ptr<brix::ZipArchive> archive = brix::ZipArchive::Open(path);
    if (!archive) return false;
    brix::test::RecordingMessages messages;
    if (!brix::LoadSystemData(session.GetWorld(), session.GetUser(), *archive,
                              brix::SystemDataMemberName, messages)) {
        return false;
    }
    brix::LoadDrawingResources(session.GetWorld(), *archive, messages);
    brix::LoadRegionMasks(session.GetWorld(), *archive, messages);
    for (std::size_t i = 1; i < session.GetWorld().Regions.size(); i += 2)
        brix::test::SetHasMap(session, static_cast<int>(i));
    return messages.Shown.empty() && !session.GetWorld().Drawing.WorldBitmap.isNull();
}

const brix::Session& World() {
    static const std::unique_ptr<brix::Session> session = [] {
        brix::test::EnsureGuiApp();
        auto made = std::make_unique<brix::Session>();
        const std::string path = brix::bench::FindWorldArchive();
        if (!path.empty() && path != "none") {
            if (LoadArchiveWorld(*made, path.c_str())) {
                std::fprintf(stderr, "world from %s (%d regions)\n", path.c_str(),
                             static_cast<int>(made->GetWorld().Regions.size()) - 1);
                return made;
            }
            std::fprintf(stderr, "could not load %s\n", path.c_str());
            made = std::make_unique<brix::Session>();
        }
        BuildSyntheticWorld(*made);
        std::fprintf(stderr, "synthetic world (%d regions)\n", Columns * Rows);
        return made;
    }();
    return *session;
}

QRect WorldRect() {
    return QRect(QPoint(0, 0), World().GetWorld().Drawing.WorldBitmapSize);
}

// The machine is shared, so repetitions report their fastest run beside mean and median.
double Fastest(const std::vector<double>& times) {
    return *std::min_element(times.begin(), times.end());
}

void SetPixelCounters(benchmark::State& state, QRect box) {
    state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(box.width()) * box.height());
}

void BM_CopyBaseline(benchmark::State& state) {
    const QImage& world = World().GetWorld().Drawing.WorldBitmap;
    QImage target(world.size(), QImage::Format_RGB32);
    for (auto _ : state) {
        std::memcpy(target.bits(), world.constBits(),
                    static_cast<std::size_t>(world.sizeInBytes()));
        benchmark::DoNotOptimize(target.bits());
        benchmark::ClobberMemory();
    }
    SetPixelCounters(state, WorldRect());
}
BENCHMARK(BM_CopyBaseline)->Unit(benchmark::kMicrosecond)->ComputeStatistics("min", Fastest);

void BM_QImageCopyBaseline(benchmark::State& state) {
    const QImage& world = World().GetWorld().Drawing.WorldBitmap;
    for (auto _ : state) {
        QImage copy = world.copy();
        benchmark::DoNotOptimize(copy.constBits());
    }
    SetPixelCounters(state, WorldRect());
}
BENCHMARK(BM_QImageCopyBaseline)->Unit(benchmark::kMicrosecond)->ComputeStatistics("min", Fastest);

void BM_FullCanvas(benchmark::State& state) {
    const brix::Session& session = World();
    const QRect box = WorldRect();
    QImage target(box.size(), QImage::Format_RGB32);
    for (auto _ : state) {
        brix::DrawWorldCanvas(target, box, session, 7);
        benchmark::DoNotOptimize(target.bits());
        benchmark::ClobberMemory();
    }
    SetPixelCounters(state, box);
}
BENCHMARK(BM_FullCanvas)->Unit(benchmark::kMicrosecond)->ComputeStatistics("min", Fastest);

// The whole canvas with one named form of the tint blend, for comparing the forms in one run.
void BM_FullCanvasWith(benchmark::State& state, brix::TintBlend blend) {
    if (!brix::ProcessorRuns(blend)) {
        state.SkipWithError("form not built in or not run by this processor");
        return;
    }
    const brix::Session& session = World();
    const QRect box = WorldRect();
    QImage target(box.size(), QImage::Format_RGB32);
    for (auto _ : state) {
        brix::DrawWorldCanvas(target, box, session, 7, blend);
        benchmark::DoNotOptimize(target.bits());
        benchmark::ClobberMemory();
    }
    SetPixelCounters(state, box);
}
BENCHMARK_CAPTURE(BM_FullCanvasWith, portable, brix::TintBlend::Portable)
    ->Unit(benchmark::kMicrosecond)
    ->ComputeStatistics("min", Fastest);
BENCHMARK_CAPTURE(BM_FullCanvasWith, sse2, brix::TintBlend::Sse2)
    ->Unit(benchmark::kMicrosecond)
    ->ComputeStatistics("min", Fastest);
BENCHMARK_CAPTURE(BM_FullCanvasWith, avx2, brix::TintBlend::Avx2)
    ->Unit(benchmark::kMicrosecond)
    ->ComputeStatistics("min", Fastest);

// The canvas of a world without regions: what the copy of the bitmap costs inside the canvas.
void BM_CanvasWithoutRegions(benchmark::State& state) {
    brix::Session bare;
    bare.GetWorld().Drawing = World().GetWorld().Drawing;
    const QRect box = WorldRect();
    QImage target(box.size(), QImage::Format_RGB32);
    for (auto _ : state) {
        brix::DrawWorldCanvas(target, box, bare, 0);
        benchmark::DoNotOptimize(target.bits());
        benchmark::ClobberMemory();
    }
    SetPixelCounters(state, box);
}
BENCHMARK(BM_CanvasWithoutRegions)
    ->Unit(benchmark::kMicrosecond)
    ->ComputeStatistics("min", Fastest);

// The canvas drawn through a painter, as when "Beauty over speed" is off.
void BM_FullCanvasThroughPainter(benchmark::State& state) {
    const brix::Session& session = World();
    const QRect box = WorldRect();
    QImage target(box.size(), QImage::Format_RGB32);
    for (auto _ : state) {
        QPainter painter(&target);
        brix::DrawWorldCanvas(painter, box, session, 7);
        painter.end();
        benchmark::DoNotOptimize(target.bits());
    }
    SetPixelCounters(state, box);
}
BENCHMARK(BM_FullCanvasThroughPainter)
    ->Unit(benchmark::kMicrosecond)
    ->ComputeStatistics("min", Fastest);

// The pointer crosses from region 7 to region 8: the paint covers the bounding box of their
// two rectangles, drawn into an off-screen picture of that size.
void BM_HoverRepaintTwoRegions(benchmark::State& state) {
    const brix::Session& session = World();
    const QRect box = brix::MaskQRect(*session.GetWorld().FindRegion(7)) |
                      brix::MaskQRect(*session.GetWorld().FindRegion(8));
    QImage target(box.size(), QImage::Format_RGB32);
    for (auto _ : state) {
        brix::DrawWorldCanvas(target, box, session, 8);
        benchmark::DoNotOptimize(target.bits());
        benchmark::ClobberMemory();
    }
    SetPixelCounters(state, box);
    state.counters["box_px"] = static_cast<double>(box.width()) * box.height();
}
BENCHMARK(BM_HoverRepaintTwoRegions)
    ->Unit(benchmark::kMicrosecond)
    ->ComputeStatistics("min", Fastest);

}  // namespace
