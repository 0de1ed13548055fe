#include <gtest/gtest.h>

#include <cmath>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "core/data/Session.h"
#include "core/map/MapGeometry.h"
#include "core/map/SextantReading.h"
#include "core/map/TreasureSearch.h"

namespace brix {
namespace {

#define DEG "\xC2\xB0"

TEST(SextantReading, ParsesWhatPlayersType) {
    const SextantReading place{-(44 * 60 + 54), 41 * 60 + 3};  // latitude south +, longitude east +
    const std::pair<const char*, std::optional<SextantReading>> rows[] = {
        {"44" DEG "54'N 41" DEG "3'E", place},
        {"44 54 N 41 3 E", place},
        {"44.54N 41.03E", place},
        {"41" DEG "3'E 44" DEG "54'N", place},
        {"44N 41W", SextantReading{-44 * 60, -41 * 60}},
        {"180" DEG "0'S 180" DEG "0'W", SextantReading{10800, -10800}},
        // Malformed: no result, whatever the input.
        {"", std::nullopt},
        {"44N", std::nullopt},
        {"44N 41N", std::nullopt},
        {"44" DEG "60'N 41E", std::nullopt},
        {"180" DEG "1'N 41E", std::nullopt},
        {"44.543N 41E", std::nullopt},
        {"44N 41E 5", std::nullopt},
        {"\xFF\xFE\xC2", std::nullopt},
    };
    for (const auto& [text, expected] : rows)
        EXPECT_EQ(ParseSextantReading(text), expected) << text;
}

// The program's own text reads back as the reading of the point, and the inversion leads back
// to the point: at the world's corners, at the origin of the readings and on either side of the
// line where east turns into west.
TEST(SextantReading, InvertsTheCoordinateRule) {
    const IntPoint probes[] = {{0, 0},       {5119, 4095}, {1323, 1624},
                               {3883, 1624}, {3884, 1624}, {2000, 1000}};
    for (const IntPoint& p : probes) {
        SCOPED_TRACE(SextantText(p.X, p.Y));
        const SextantReading reading = SextantReadingOf(p.X, p.Y);
        const std::optional<SextantReading> parsed = ParseSextantReading(SextantText(p.X, p.Y));
        EXPECT_TRUE(parsed && SameReading(*parsed, reading));
        const WorldPoint back = ReadingWorldPoint(reading);
        EXPECT_LT(std::abs(back.X - p.X), 0.5);
        EXPECT_LT(std::abs(back.Y - p.Y), 0.5);
    }
    // The world's edges are no wall: a minute apart, whichever side is read. The reading stands
    // for the middle of a minute, so allow one minute either way.
    EXPECT_NEAR(ReadingDistance(SextantReadingOf(5119, 2000), 0, 2000), 21600.0 / 5120, 1.0);
    EXPECT_NEAR(ReadingDistance(SextantReadingOf(2000, 4095), 2000, 0), 21600.0 / 4096, 1.0);
}

std::vector<int> Numbers(const std::vector<SearchHit>& hits) {
    std::vector<int> numbers;
    for (const SearchHit& hit : hits) numbers.push_back(hit.Treasure);
    return numbers;
}

TEST(TreasureSearch, RanksNumbersNamesAndReadings) {
    GameRecords records;
    const std::pair<int, const char*> names[] = {{5, "Under the lone oak"},
                                                 {7, "Oakheart Hollow"},
                                                 {12, "Cloaked Stones"},
                                                 {50, "Mile 57 marker"},
                                                 {57,
                                                  "\xC3\x89"
                                                  "boulis du ch\xC3\xA2teau"},
                                                 {570, "<b>Smugglers</b> & \"Sons\""},
                                                 {571, "Tom's 'rock'"},
                                                 {8, "Moorland cairn"}};
    const IntPoint places[] = {{1000, 1000}, {1004, 1000}, {3000, 3000}, {500, 2000},
                               {2000, 1000}, {5100, 1000}, {10, 1000},   {3000, 4000}};
    for (const auto& [index, name] : {std::pair{1, "Quenchwater Fells"}, {2, "West Moor"}}) {
        Region region;
        region.Index = index;
        region.Name = name;
        records.StoreRegion(region);
    }
    for (int i = 0; i < 8; ++i) {
        Treasure treasure;
        treasure.Index = names[i].first;
        treasure.Region = names[i].first % 2 == 0 ? 2 : 1;
        treasure.Name = names[i].second;
        treasure.Location = places[i];
        records.StoreTreasure(treasure);
    }
    const TreasureSearch search(records);
    struct Row {
        std::string Query;
        std::vector<int> Expected;
        std::size_t MaxHits = TreasureSearch::DefaultMaxHits;
    };
    const Row rows[] = {
        {"57", {57, 570, 571, 50}},  // the number, numbers beginning so, then names
        {" #5 ", {5, 50, 57, 570, 571}},
        {"OAK", {7, 5, 12}},  // name start, word start, elsewhere
        {"CHATEAU", {57}},
        {"<b>", {570}},
        {"o", {7, 5}, 2},
        // Treasures named so first, then the rest of each region named so, each once.
        {"MOOR", {8, 12, 50, 570}},
        {"   ", {}},
        // A reading: the treasure reading exactly so first, then the nearest; the edge of the
        // world is no wall (570 lies at the right edge, 571 at the left).
        {SextantText(2000, 1000), {57, 7, 5}, 3},
        {SextantText(10, 1000), {571, 570}, 2},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(Numbers(search.Find(row.Query, row.MaxHits)), row.Expected) << row.Query;
    }
    const std::vector<SearchHit> near = search.Find(SextantText(2000, 1000), 2);
    ASSERT_EQ(near.size(), 2u);
    EXPECT_EQ(near[0].Match, SearchMatch::ExactReading);
    EXPECT_EQ(near[1].Match, SearchMatch::NearReading);
    EXPECT_NEAR(near[1].Distance, 996 * 21600.0 / 5120, 1.0);
}

}  // namespace
}  // namespace brix
