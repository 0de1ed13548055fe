#include <gtest/gtest.h>

#include <algorithm>
#include <initializer_list>
#include <string>
#include <utility>
#include <vector>

#include "core/data/MapInventory.h"
#include "core/hunt/HuntPlan.h"

namespace brix {
namespace {

MapCounts Entry(int treasure, std::initializer_list<std::pair<int, int>> levelCounts) {
    MapCounts entry;
    entry.Index = treasure;
    for (const auto& [level, count] : levelCounts) entry.Counts[level - 1] = count;
    return entry;
}

void AddTreasure(GameRecords& records, int index, const char* name, int region, int x, int y) {
    Treasure treasure;
    treasure.Index = index;
    treasure.Name = name;
    treasure.Region = region;
    treasure.Location = {x, y};
    records.StoreTreasure(treasure);
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
// of them; the library's books list the mill and the beacon beside the rock.
class HuntPlanTest : public ::testing::Test {
protected:
    void SetUp() override {
        AddRegion(records_, 1, "Kestrel Moor");
        AddRegion(records_, 2, "Grey Coast");
        AddTreasure(records_, 1, "Old Mill", 1, 1000, 1000);
        AddTreasure(records_, 2, "Cove", 1, 1150, 1200);  // 250 from the mill
        AddTreasure(records_, 3, "Far Rock", 2, 4000, 3000);
        AddTreasure(records_, 4, "Beacon", 2, 3993, 3007);  // 9.9 from the rock
        AddTreasure(records_, 5, "Lost Road", 0, 2000, 2000);
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
        {"levels 3 and 6", ShowingLevels({3, 6}), {{2, "L3=2"}, {5, "L6=1"}}},
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
    // Every stretch that starts with a recall may come first at the same cost: the coast and
    // the moor tie, and the same input always takes them in the same order.
    const HuntPlan plan = MakeHuntPlan(records_, &ann_, MapFilter(), &library_, 300);
    // The Sea book's rune 2 follows a rune of a treasure the world does not hold. The total
    // adds up the walks as the rows show them (9.9 shows as 10).
    EXPECT_EQ(HuntPlanText(plan),
              "Hunt plan for Ann\r\n"
              "1. Recall: Sea rune 2 (4 - Beacon); Walk 10 to 3 - Far Rock, Grey Coast, "
              "120\xC2\xB0"
              "56'S 171\xC2\xB0"
              "47'W: L2=1\r\n"
              "2. Recall: Home rune 1 (1 - Old Mill); Walk 0 to 1 - Old Mill, Kestrel Moor, "
              "54\xC2\xB0"
              "50'N 22\xC2\xB0"
              "42'W: L3=1, L5=2\r\n"
              "3. Walk 250 to 2 - Cove, Kestrel Moor, 37\xC2\xB0"
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

TEST_F(HuntPlanTest, CompletedTakesTheLowestShownLevelAndThePlanFollows) {
    EXPECT_EQ(CompletedLevel(ann_, 1, MapFilter()), 3);
    EXPECT_EQ(CompletedLevel(ann_, 1, ShowingLevels({5})), 5);
    EXPECT_EQ(CompletedLevel(ann_, 1, ShowingLevels({4})), 0);
    EXPECT_EQ(CompletedLevel(ann_, 4, MapFilter()), 0);

    const auto stopsOf = [this](const MapFilter& shown) {
        std::vector<int> stops;
        for (const HuntPlanRow& row : MakeHuntPlan(records_, &ann_, shown, &library_, 300).Rows)
            stops.push_back(row.Treasure);
        std::sort(stops.begin(), stops.end());
        return stops;
    };
    ASSERT_TRUE(AdjustMapCount(ann_, 5, 4, true));  // a map recorded: a new stop
    EXPECT_EQ(stopsOf(MapFilter()), (std::vector<int>{1, 2, 3, 5}));
    // Completing the mill's maps of shown level 5 twice leaves its level 3 map, not shown.
    for (int completed = 0; completed < 2; ++completed)
        ASSERT_TRUE(AdjustMapCount(ann_, 1, CompletedLevel(ann_, 1, ShowingLevels({4, 5})), false));
    EXPECT_EQ(stopsOf(ShowingLevels({4, 5})), (std::vector<int>{5}));
    EXPECT_EQ(stopsOf(MapFilter()), (std::vector<int>{1, 2, 3, 5}));
}

}  // namespace
}  // namespace brix
