// RecomputeMapFilter for a character with a map entry for every one of 1000 treasures over
// 100 regions, beside the least work the same result needs: clear two byte arrays and walk
// the same entries once.
#include <benchmark/benchmark.h>

#include <array>
#include <cstdint>
#include <cstring>
#include <vector>

#include "core/data/MapFilter.h"
#include "core/data/Session.h"

namespace {

constexpr int TreasureCount = 1000;
constexpr int RegionCount = 100;

struct World {
    brix::Session TheSession;
    brix::MapFilter Filter;
    std::vector<int> RegionOf;  // region per treasure slot, for the baseline

    World() {
        for (int r = 1; r <= RegionCount; ++r) {
            brix::Region region;
            region.Index = r;
            TheSession.GetWorld().StoreRegion(region);
        }
        RegionOf.assign(TreasureCount + 1, 0);
        for (int t = 1; t <= TreasureCount; ++t) {
            brix::Treasure treasure;
            treasure.Index = t;
            treasure.Region = (t * 37) % RegionCount + 1;
            TheSession.GetWorld().StoreTreasure(treasure);
            RegionOf[t] = treasure.Region;
        }
        brix::Character character;
        character.Name = "Bench";
        // Entries in a scattered order, each holding maps of one or two levels.
        for (int k = 0; k < TreasureCount; ++k) {
            brix::MapCounts entry;
            entry.Index = (k * 389) % TreasureCount + 1;
            entry.Counts[k % brix::MaxLevels] = 1 + k % 3;
            if (k % 5 == 0) entry.Counts[(k / 5) % brix::MaxLevels] += 2;
            character.Entries.push_back(entry);
        }
        TheSession.GetUser().Characters.push_back(character);
        // Only odd levels count, so the level test has work to do.
        Filter.LevelFilterOn = true;
        for (int n = 0; n < brix::MaxLevels; ++n) Filter.ShownLevels[n] = n % 2 == 0;
    }
};

void BM_RecomputeMapFilter(benchmark::State& state) {
    World world;
    for (auto _ : state) {
        brix::RecomputeMapFilter(world.TheSession.GetWorld(),
                                 &world.TheSession.GetUser().Characters[0], world.Filter);
        benchmark::DoNotOptimize(world.Filter.TreasureHasMap.data());
        benchmark::DoNotOptimize(world.Filter.RegionHasMap.data());
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_RecomputeMapFilter);

void BM_Baseline_ClearAndWalkEntries(benchmark::State& state) {
    World world;
    const std::vector<brix::MapCounts>& entries = world.TheSession.GetUser().Characters[0].Entries;
    const std::array<std::uint8_t, brix::MaxLevels> shown = world.Filter.ShownLevels;
    std::vector<std::uint8_t> treasureFlags(world.TheSession.GetWorld().Treasures.size());
    std::vector<std::uint8_t> regionFlags(world.TheSession.GetWorld().Regions.size());
    for (auto _ : state) {
        std::memset(treasureFlags.data(), 0, treasureFlags.size());
        std::memset(regionFlags.data(), 0, regionFlags.size());
        for (const brix::MapCounts& entry : entries) {
            bool counts = false;
            for (int n = 0; n < brix::MaxLevels; ++n) counts |= entry.Counts[n] >= 1 && shown[n];
            if (!counts) continue;
            treasureFlags[entry.Index] = 1;
            regionFlags[world.RegionOf[entry.Index]] = 1;
        }
        benchmark::DoNotOptimize(treasureFlags.data());
        benchmark::DoNotOptimize(regionFlags.data());
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_Baseline_ClearAndWalkEntries);

}  // namespace
