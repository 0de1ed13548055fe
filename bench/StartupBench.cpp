// Start-up phases on the largest archive the program supports (100 regions, 1000 treasures),
// beside a baseline that only inflates the same members.
#include <benchmark/benchmark.h>

#include <cstdlib>

#include "core/data/DataLoader.h"
#include "core/data/Session.h"
#include "core/data/ZipArchive.h"
#include "core/map/MapGeometry.h"
#include "core/map/MapImages.h"
#include "support/GuiApp.h"
#include "support/RecordingMessages.h"

namespace {

#ifndef BRIX_MAX_ARCHIVE
#define BRIX_MAX_ARCHIVE "kestrel-max.zip"
#endif

std::unique_ptr<brix::ZipArchive> OpenMax() {
    auto archive = brix::ZipArchive::Open(BRIX_MAX_ARCHIVE);
    if (!archive) std::abort();
    return archive;
}

void LoadSystem(brix::Session& session, brix::ZipArchive& archive) {
    brix::test::RecordingMessages messages;
    brix::LoadSystemData(session.GetWorld(), session.GetUser(), archive, "data.xml", messages);
}

void BM_Baseline_InflateMembers(benchmark::State& state) {
    auto archive = OpenMax();
    brix::Session session;
    LoadSystem(session, *archive);
    std::vector<std::string> names = {"data.xml", "multimap.bmp", "world.bmp"};
    for (const auto& region : session.GetWorld().Regions)
        if (region.Index >= 1)
            names.push_back("world_overlay_" + std::to_string(region.Index) + ".bmp");
    for (auto _ : state) {
        std::size_t total = 0;
        std::string bytes;
        for (const auto& name : names) {
            archive->ReadMemberBytes(name, bytes, std::size_t(1) << 28);
            total += bytes.size();
        }
        benchmark::DoNotOptimize(total);
    }
}
BENCHMARK(BM_Baseline_InflateMembers)->Unit(benchmark::kMillisecond);

void BM_Phase1_FindArchive(benchmark::State& state) {
    const std::string path = BRIX_MAX_ARCHIVE;
    const std::string dir = path.substr(0, path.rfind('/'));
    for (auto _ : state) {
        benchmark::DoNotOptimize(
            brix::FindArchive(path.substr(path.rfind('/') + 1), {dir, dir + "/brix-tools"}));
    }
}
BENCHMARK(BM_Phase1_FindArchive)->Unit(benchmark::kMillisecond);

void BM_Phase2_LoadSystemData(benchmark::State& state) {
    auto archive = OpenMax();
    for (auto _ : state) {
        brix::Session session;
        LoadSystem(session, *archive);
        benchmark::DoNotOptimize(session.GetWorld().Treasures.size());
    }
}
BENCHMARK(BM_Phase2_LoadSystemData)->Unit(benchmark::kMillisecond);

void BM_Phase3_LoadDrawingResources(benchmark::State& state) {
    brix::test::EnsureGuiApp();
    auto archive = OpenMax();
    brix::Session session;
    brix::test::RecordingMessages messages;
    for (auto _ : state) {
        brix::LoadDrawingResources(session.GetWorld(), *archive, messages);
        benchmark::DoNotOptimize(session.GetWorld().Drawing.WorldBitmap.width());
    }
}
BENCHMARK(BM_Phase3_LoadDrawingResources)->Unit(benchmark::kMillisecond);

void BM_Phase4_LoadRegionMasks(benchmark::State& state) {
    auto archive = OpenMax();
    brix::Session session;
    LoadSystem(session, *archive);
    brix::test::RecordingMessages messages;
    for (auto _ : state) {
        brix::LoadRegionMasks(session.GetWorld(), *archive, messages);
        benchmark::DoNotOptimize(session.GetWorld().Regions.size());
    }
}
BENCHMARK(BM_Phase4_LoadRegionMasks)->Unit(benchmark::kMillisecond);

void BM_Phase5_ComputeAllLabelGeometry(benchmark::State& state) {
    brix::test::EnsureGuiApp();
    auto archive = OpenMax();
    brix::Session session;
    LoadSystem(session, *archive);
    session.GetWorld().Drawing.LabelFont = brix::MakeLabelFont();
    for (auto _ : state) {
        brix::ComputeAllLabelGeometry(session.GetWorld());
        benchmark::DoNotOptimize(session.GetWorld().Treasures.back().LabelRect.Left);
    }
}
BENCHMARK(BM_Phase5_ComputeAllLabelGeometry)->Unit(benchmark::kMillisecond);

}  // namespace
