// The find box's search, one call per keystroke while names, a number and a sextant reading are
// typed, over the 1000 treasures of the largest archive; beside it the least work a name search
// needs: a plain, case-sensitive substring scan over the same names for the same keystrokes.
// The name search should stay within twice the plain scan.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "core/data/Session.h"
#include "core/map/MapGeometry.h"
#include "core/map/TreasureSearch.h"
#include "support/WorldArchive.h"

namespace {

#ifndef BRIX_MAX_ARCHIVE
#define BRIX_MAX_ARCHIVE "kestrel-max.zip"
#endif

// Every start of each text, as the box sees them while the text is typed.
std::vector<std::string> Keystrokes(const std::vector<std::string>& texts) {
    std::vector<std::string> typed;
    for (const std::string& text : texts)
        for (std::size_t n = 1; n <= text.size(); ++n) typed.push_back(text.substr(0, n));
    return typed;
}

struct MaxWorld {
    brix::Session TheSession;
    std::vector<std::string> Names;  // as stored, for the plain scan
    std::vector<std::string> NameKeystrokes;
    std::vector<std::string> NumberKeystrokes;
    std::vector<std::string> ReadingKeystrokes;

    MaxWorld() {
        if (!brix::test::LoadWorldRecords(TheSession, BRIX_MAX_ARCHIVE)) std::abort();
        for (const brix::Treasure& treasure : TheSession.GetWorld().Treasures)
            if (treasure.Index >= 1) Names.push_back(treasure.Name);
        // Names typed as they are written (the plain scan minds case, so it finds them too): a
        // long one, the first, and a common word that matches many names at its first letters.
        const brix::Treasure* long505 = TheSession.GetWorld().FindTreasure(505);
        const brix::Treasure* first = TheSession.GetWorld().FindTreasure(1);
        if (long505 == nullptr || first == nullptr) std::abort();
        NameKeystrokes = Keystrokes({long505->Name, first->Name, "the"});
        NumberKeystrokes = Keystrokes({"505", "17", "999"});
        ReadingKeystrokes = Keystrokes(
            {brix::SextantText(long505->Location.X, long505->Location.Y), "44 54 N 41 3 E"});
    }
};

MaxWorld& World() {
    static MaxWorld* world = new MaxWorld;
    return *world;
}

void BM_PlainScanNames(benchmark::State& state) {
    const MaxWorld& world = World();
    std::vector<int> hits;
    for (auto _ : state) {
        for (const std::string& typed : world.NameKeystrokes) {
            hits.clear();
            for (std::size_t i = 0; i < world.Names.size(); ++i)
                if (world.Names[i].find(typed) != std::string::npos)
                    hits.push_back(static_cast<int>(i));
            benchmark::DoNotOptimize(hits.data());
        }
    }
    state.counters["keystrokes"] = static_cast<double>(world.NameKeystrokes.size());
}
BENCHMARK(BM_PlainScanNames)->Unit(benchmark::kMicrosecond);

void BM_SearchNames(benchmark::State& state) {
    const MaxWorld& world = World();
    const brix::TreasureSearch search(world.TheSession.GetWorld());
    for (auto _ : state) {
        for (const std::string& typed : world.NameKeystrokes) {
            std::vector<brix::SearchHit> hits = search.Find(typed);
            benchmark::DoNotOptimize(hits.data());
        }
    }
    state.counters["keystrokes"] = static_cast<double>(world.NameKeystrokes.size());
}
BENCHMARK(BM_SearchNames)->Unit(benchmark::kMicrosecond);

void BM_SearchNumbers(benchmark::State& state) {
    const MaxWorld& world = World();
    const brix::TreasureSearch search(world.TheSession.GetWorld());
    for (auto _ : state) {
        for (const std::string& typed : world.NumberKeystrokes) {
            std::vector<brix::SearchHit> hits = search.Find(typed);
            benchmark::DoNotOptimize(hits.data());
        }
    }
    state.counters["keystrokes"] = static_cast<double>(world.NumberKeystrokes.size());
}
BENCHMARK(BM_SearchNumbers)->Unit(benchmark::kMicrosecond);

// Most starts of a reading are no reading yet and search names; the complete ones rank all
// 1000 treasures by distance.
void BM_SearchReadings(benchmark::State& state) {
    const MaxWorld& world = World();
    const brix::TreasureSearch search(world.TheSession.GetWorld());
    for (auto _ : state) {
        for (const std::string& typed : world.ReadingKeystrokes) {
            std::vector<brix::SearchHit> hits = search.Find(typed);
            benchmark::DoNotOptimize(hits.data());
        }
    }
    state.counters["keystrokes"] = static_cast<double>(world.ReadingKeystrokes.size());
}
BENCHMARK(BM_SearchReadings)->Unit(benchmark::kMicrosecond);

// Building the search (folding 1000 names), done once when the box first opens.
void BM_BuildSearch(benchmark::State& state) {
    const MaxWorld& world = World();
    for (auto _ : state) {
        const brix::TreasureSearch search(world.TheSession.GetWorld());
        benchmark::DoNotOptimize(&search);
    }
}
BENCHMARK(BM_BuildSearch)->Unit(benchmark::kMicrosecond);

}  // namespace
