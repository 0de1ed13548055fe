// Identifying a picture of a close-up against the 1000 treasures of the largest archive, beside
// decoding the same picture (JPEG, quality 60) in the same run: the goal is a median under
// 150 ms. Preparing the multimap's pyramid, done once on the first identification, is measured
// on its own (goal under 1 s).
#include <benchmark/benchmark.h>

#include <QBuffer>

#include <cstdlib>
#include <memory>
#include <vector>

#include "core/hunt/MapPictureFile.h"
#include "core/hunt/MapPictureMatcher.h"
#include "support/GuiApp.h"
#include "support/MapPictureQuery.h"
#include "support/WorldArchive.h"

namespace {

#ifndef BRIX_MAX_ARCHIVE
#define BRIX_MAX_ARCHIVE "kestrel-max.zip"
#endif

struct MaxWorld {
    std::unique_ptr<brix::Session> Loaded;
    brix::Session& TheSession;
    QByteArray Jpeg;
    QImage Picture;

    MaxWorld()
        : Loaded((brix::test::EnsureGuiApp(), brix::test::LoadWorldArchive(BRIX_MAX_ARCHIVE))),
          TheSession(*Loaded) {
        if (TheSession.GetWorld().FindTreasure(505) == nullptr) std::abort();
        // A player's capture of treasure 505's close-up: a little larger, off centre, turned,
        // blurred and tinted.
        brix::test::Draws draws(505);
        brix::test::PictureChanges changes = brix::test::RandomChanges(draws, true);
        changes.JpegQuality = -1;
        Jpeg = brix::test::JpegBytes(brix::test::PictureOfCloseUp(TheSession, 505, changes), 60);
        Picture = Decode();
        if (Picture.isNull()) std::abort();
    }

    QImage Decode() const {
        QByteArray bytes = Jpeg;
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::ReadOnly);
        return brix::ReadMapPicture(buffer).Image;
    }
};

MaxWorld& World() {
    static MaxWorld* world = new MaxWorld;
    return *world;
}

void BM_DecodePicture(benchmark::State& state) {
    const MaxWorld& world = World();
    for (auto _ : state) {
        QImage picture = world.Decode();
        benchmark::DoNotOptimize(picture.constBits());
    }
}
BENCHMARK(BM_DecodePicture)->Unit(benchmark::kMillisecond);

void BM_IdentifyPicture(benchmark::State& state) {
    MaxWorld& world = World();
    brix::MapPictureMatcher matcher(world.TheSession.GetWorld(),
                                    world.TheSession.GetWorld().Drawing.MultimapBitmap);
    matcher.Prepare();
    int first = 0;
    for (auto _ : state) {
        const std::vector<brix::MapMatch> found = matcher.Identify(world.Picture);
        first = found.empty() ? 0 : found.front().Treasure;
        benchmark::DoNotOptimize(first);
    }
    // 505 when the picture was recognised.
    state.counters["first"] = first;
}
BENCHMARK(BM_IdentifyPicture)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly();

void BM_PrepareMultimap(benchmark::State& state) {
    MaxWorld& world = World();
    for (auto _ : state) {
        brix::MapPictureMatcher matcher(world.TheSession.GetWorld(),
                                        world.TheSession.GetWorld().Drawing.MultimapBitmap);
        matcher.Prepare();
        benchmark::DoNotOptimize(&matcher);
    }
}
BENCHMARK(BM_PrepareMultimap)->Unit(benchmark::kMillisecond);

}  // namespace
