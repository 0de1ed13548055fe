// The hunt plan for a character holding maps of all 1000 treasures of the largest archive, with
// 100 of them in rune books (ten books of ten runes); beside it the least work any planner that
// compares stops does: every pairwise distance of the same stops, once. The plan should stay
// under 200 ms.
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdlib>
#include <vector>

#include "core/data/Session.h"
#include "core/hunt/HuntPlan.h"
#include "core/hunt/RoutePlanner.h"
#include "support/WorldArchive.h"

namespace {

#ifndef BRIX_MAX_ARCHIVE
#define BRIX_MAX_ARCHIVE "kestrel-max.zip"
#endif

constexpr int RecallCost = 300;

struct MaxWorld {
    brix::Session TheSession;
    brix::Character Hunter;
    brix::RuneLibrary Library;
    std::vector<brix::PlanPoint> Stops;
    std::vector<brix::PlanPoint> Runes;

    MaxWorld() {
        if (!brix::test::LoadWorldRecords(TheSession, BRIX_MAX_ARCHIVE)) std::abort();
        Hunter.Name = "Hunter";
        Library.Name = "Travels";
        for (const brix::Treasure& treasure : TheSession.GetWorld().Treasures) {
            if (treasure.Index < 1) continue;
            brix::MapCounts entry;
            entry.Index = treasure.Index;
            entry.Counts[static_cast<std::size_t>(treasure.Index % 5)] = 1;
            Hunter.Entries.push_back(entry);
            const brix::PlanPoint point{static_cast<double>(treasure.Location.X),
                                        static_cast<double>(treasure.Location.Y)};
            Stops.push_back(point);
            if (treasure.Index % 10 != 0) continue;
            if (Library.RuneBooks.empty() || Library.RuneBooks.back().Treasures.size() == 10)
                Library.RuneBooks.push_back(
                    {"Book " + std::to_string(Library.RuneBooks.size() + 1), {}});
            Library.RuneBooks.back().Treasures.push_back(treasure.Index);
            Runes.push_back(point);
        }
        if (Stops.size() != 1000 || Runes.size() != 100) std::abort();
    }
};

MaxWorld& World() {
    static MaxWorld* world = new MaxWorld;
    return *world;
}

void BM_PairwiseDistances(benchmark::State& state) {
    const MaxWorld& world = World();
    const std::size_t n = world.Stops.size();
    std::vector<double> distances(n * n);
    for (auto _ : state) {
        for (std::size_t a = 0; a < n; ++a) {
            for (std::size_t b = 0; b < n; ++b) {
                const double dx = world.Stops[a].X - world.Stops[b].X;
                const double dy = world.Stops[a].Y - world.Stops[b].Y;
                distances[a * n + b] = std::sqrt(dx * dx + dy * dy);
            }
        }
        benchmark::DoNotOptimize(distances.data());
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_PairwiseDistances)->Unit(benchmark::kMillisecond);

void BM_PlanRoute(benchmark::State& state) {
    const MaxWorld& world = World();
    for (auto _ : state) {
        brix::Route route = brix::PlanRoute(world.Stops, world.Runes, RecallCost);
        benchmark::DoNotOptimize(route.Legs.data());
    }
    const brix::Route route = brix::PlanRoute(world.Stops, world.Runes, RecallCost);
    state.counters["walk"] = route.WalkDistance;
    state.counters["recalls"] = route.Recalls;
}
BENCHMARK(BM_PlanRoute)->Unit(benchmark::kMillisecond);

// What the window does on every change: gather the stops and spots, plan, make the row texts.
void BM_MakeHuntPlan(benchmark::State& state) {
    const MaxWorld& world = World();
    const brix::MapFilter shown;
    for (auto _ : state) {
        brix::HuntPlan plan = brix::MakeHuntPlan(world.TheSession.GetWorld(), &world.Hunter, shown,
                                                 &world.Library, RecallCost);
        benchmark::DoNotOptimize(plan.Rows.data());
    }
}
BENCHMARK(BM_MakeHuntPlan)->Unit(benchmark::kMillisecond);

}  // namespace
