#include <gtest/gtest.h>

#include <initializer_list>
#include <string>
#include <utility>
#include <vector>

#include "core/hunt/HuntPlan.h"
#include "support/Records.h"

namespace brix {
namespace {

MapCounts Entry(int treasure, std::initializer_list<std::pair<int, int>> levelCounts) {
    MapCounts entry;
    entry.Index = treasure;
    for (const auto& [level, count] : levelCounts) entry.Counts[level - 1] = count;
    return entry;
}

void AddRegion(GameRecords& records, int index, const char* name) {
    Region region;
    region.Index = index;
    region.Name = name;
    records.StoreRegion(region);
}

MapFilter ShowingLevels(std::initializer_list<int> levels) {
    MapFilter filter;
    filter.LevelFilterOn = true;
    filter.ShownLevels.fill(0);
    for (int level : levels) filter.ShownLevels[static_cast<std::size_t>(level - 1)] = 1;
    return filter;
}

// Two treasures close together in the moor, two far off on the coast. Ann holds maps of three
// of them; the library's books list the first and the one beside the third.
class HuntPlanTest : public ::testing::Test {
protected:
    void SetUp() override {
        AddRegion(records_, 1, "Kestrel Moor");
        AddRegion(records_, 2, "Grey Coast");
        test::AddTreasures(records_, {1, 2}, 1);
        test::AddTreasures(records_, {3, 4}, 2);
        test::AddTreasures(records_, {5});
        // 250 apart, 9.9 apart and one in no region.
        const IntPoint at[] = {
            {1000, 1000}, {1150, 1200}, {4000, 3000}, {3993, 3007}, {2000, 2000}};
        for (int i = 0; i < 5; ++i) records_.FindTreasure(i + 1)->Location = at[i];
        ann_.Name = "Ann";
        ann_.Entries = {Entry(3, {{2, 1}}), Entry(1, {{3, 1}, {5, 2}}), Entry(2, {{1, 1}})};
        library_.Name = "Main";
        library_.RuneBooks = {{"Home", {1}}, {"Sea", {77, 4}}};
    }
    GameRecords records_;
    Character ann_;
    RuneLibrary library_;
};

TEST_F(HuntPlanTest, StopsAreTheTreasuresWithMapsOfShownLevels) {
    Character bea;
    bea.Name = "Bea";
    bea.Entries = {Entry(5, {{4, 1}, {2, -3}}), Entry(99, {{1, 1}}),  // 99: not in the world
                   Entry(2, {{1, 1}, {3, 2}}), Entry(5, {{4, 2}, {6, 1}}), Entry(3, {{2, 0}})};
    MapFilter switchOff = ShowingLevels({2});
    switchOff.LevelFilterOn = false;
    struct Row {
        const char* What;
        MapFilter Shown;
        std::vector<std::pair<int, std::string>> Stops;
    };
    const Row rows[] = {
        {"switch off: every level", switchOff, {{2, "L1=1, L3=2"}, {5, "L4=3, L6=1"}}},
        {"level 2 only: none held", ShowingLevels({2}), {}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.What);
        std::vector<std::pair<int, std::string>> stops;
        for (const HuntStop& stop : GatherStops(records_, &bea, row.Shown)) {
            stops.emplace_back(stop.Treasure, stop.Counts);
            EXPECT_EQ(stop.Location, records_.FindTreasure(stop.Treasure)->Location);
        }
        EXPECT_EQ(stops, row.Stops);
    }
    EXPECT_TRUE(GatherStops(records_, nullptr, MapFilter()).empty());
}

TEST_F(HuntPlanTest, ThePlanRecallsThroughTheLibraryAndCopiesAsText) {
    // The coast and the moor tie as the first stretch; the same input always takes them in the
    // same order. The Sea book's rune 2 follows a rune of a treasure the world does not hold.
    // The total adds up the walks as the rows show them (9.9 shows as 10).
    const HuntPlan plan = MakeHuntPlan(records_, &ann_, MapFilter(), &library_, 300);
    EXPECT_EQ(HuntPlanText(plan),
              "Hunt plan for Ann\r\n"
              "1. Recall: Sea rune 2 (4 - Spot 4); Walk 10 to 3 - Spot 3, Grey Coast, "
              "120\xC2\xB0"
              "56'S 171\xC2\xB0"
              "47'W: L2=1\r\n"
              "2. Recall: Home rune 1 (1 - Spot 1); Walk 0 to 1 - Spot 1, Kestrel Moor, "
              "54\xC2\xB0"
              "50'N 22\xC2\xB0"
              "42'W: L3=1, L5=2\r\n"
              "3. Walk 250 to 2 - Spot 2, Kestrel Moor, 37\xC2\xB0"
              "15'N 12\xC2\xB0"
              "9'W: L1=1\r\n"
              "Total: walk 260, recalls 2\r\n");

    // Without a library the walk is the whole way, from a free start; without a character
    // there is nothing to plan.
    const HuntPlan walking = MakeHuntPlan(records_, &ann_, ShowingLevels({1, 2}), nullptr, 300);
    ASSERT_EQ(walking.Rows.size(), 2u);
    EXPECT_EQ(walking.Total, "Total: walk 3371, recalls 0");
    EXPECT_EQ(walking.Rows[0].Walk, "Walk 0 to");
    EXPECT_EQ(HuntPlanText(MakeHuntPlan(records_, nullptr, MapFilter(), &library_, 300)),
              "Hunt plan for \r\nTotal: walk 0, recalls 0\r\n");
}

TEST_F(HuntPlanTest, CompletedTakesTheLowestShownLevel) {
    EXPECT_EQ(CompletedLevel(ann_, 1, MapFilter()), 3);
    EXPECT_EQ(CompletedLevel(ann_, 1, ShowingLevels({5})), 5);
    EXPECT_EQ(CompletedLevel(ann_, 1, ShowingLevels({4})), 0);
    EXPECT_EQ(CompletedLevel(ann_, 4, MapFilter()), 0);
}

}  // namespace
}  // namespace brix
