#include <gtest/gtest.h>

#include <climits>
#include <initializer_list>
#include <vector>

#include "data/TreasureCatalog.h"
#include "frame/MapFilter.h"

namespace brix {
namespace {

MapCounts Entry(int index, std::initializer_list<std::pair<int, int>> levelCounts) {
    MapCounts entry;
    entry.Index = index;
    for (const auto& [level, count] : levelCounts) entry.Counts[level - 1] = count;
    return entry;
}

std::vector<int> FlagsSet(const std::vector<std::uint8_t>& flags) {
    std::vector<int> set;
    for (std::size_t i = 0; i < flags.size(); ++i) {
        if (flags[i] != 0) set.push_back(static_cast<int>(i));
    }
    return set;
}

// Regions 1, 2, 4 and 7 (8 slots); treasures 1, 2, 5, 10, 11, 12 and 13 (14 slots).
class MapFilterTest : public ::testing::Test {
protected:
    void SetUp() override {
        for (int r : {1, 2, 4, 7}) {
            Region region;
            region.Index = r;
            catalog_.StoreRegion(region);
        }
        const std::pair<int, int> treasures[] = {{1, 1},  {2, 2},  {5, 4},   {10, 4},
                                                 {11, 7}, {12, 0}, {13, 150}};
        for (const auto& [index, region] : treasures) {
            Treasure t;
            t.Index = index;
            t.Region = region;
            catalog_.StoreTreasure(t);
        }
        Character ann;
        ann.Name = "Ann";
        ann.Entries = {
            Entry(10, {{1, 1}}),
            Entry(2, {{2, 1}}),
            Entry(11, {{5, 0}, {6, -1}}),  // counts of 0 or below hold no map
            Entry(0, {{1, 1}}),            // outside the treasure slots: skipped
            Entry(-1, {{1, 1}}),
            Entry(14, {{1, 1}}),
            Entry(5000, {{1, 1}}),
            Entry(13, {{3, 2}}),   // its region lies outside the region slots
            Entry(12, {{16, 1}}),  // region 0
        };
        catalog_.Characters.push_back(ann);
        Character bo;
        bo.Name = "Bo";
        bo.Entries = {Entry(5, {{4, 1}})};
        catalog_.Characters.push_back(bo);
        catalog_.OnUpdate = [this] { ++updates_; };
    }
    TreasureCatalog catalog_;
    int updates_ = 0;
};

TEST_F(MapFilterTest, CopiesOwnTheirFlagArrays) {
    MapFilter source;
    source.TreasureHasMap = {0, 1, 1};
    source.RegionHasMap = {0, 1};
    source.ShownLevels[3] = 0;
    source.LevelFilterOn = true;
    source.OnlyLabelsWithMaps = true;

    MapFilter copy;
    copy = source;
    copy.TreasureHasMap[1] = 0;
    EXPECT_EQ(source.TreasureHasMap, (std::vector<std::uint8_t>{0, 1, 1}));
    EXPECT_EQ(copy.RegionHasMap, source.RegionHasMap);
    EXPECT_EQ(copy.ShownLevels, source.ShownLevels);
    EXPECT_TRUE(copy.LevelFilterOn);
    EXPECT_TRUE(copy.OnlyLabelsWithMaps);
    EXPECT_FALSE(copy.OnlyTreasuresWithMaps);

    // A source without arrays leaves the target without arrays.
    copy = MapFilter{};
    EXPECT_TRUE(copy.TreasureHasMap.empty());
    EXPECT_TRUE(copy.RegionHasMap.empty());
}

TEST_F(MapFilterTest, FlagsFollowTheCountedLevels) {
    struct Row {
        const char* What;
        bool LevelFilterOn;
        std::vector<int> Shown;  // levels whose ShownLevels byte is set
        std::vector<int> Treasures;
        std::vector<int> Regions;
    };
    const std::vector<int> all = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16};
    const Row rows[] = {
        {"every level", false, all, {2, 10, 12, 13}, {2, 4}},
        {"switch off: the lists do not matter", false, {}, {2, 10, 12, 13}, {2, 4}},
        // Treasure 10 holds only level-1 maps.
        {"only level 2", true, {2}, {2}, {2}},
        {"levels 1 and 3", true, {1, 3}, {10, 13}, {4}},
        {"level 16 is looked at", true, {16}, {12}, {}},
        {"all levels hidden", true, {}, {}, {}},
    };
    catalog_.CurrentCharacter = 0;
    for (const Row& row : rows) {
        MapFilter filter;
        filter.LevelFilterOn = row.LevelFilterOn;
        filter.ShownLevels.fill(0);
        for (int level : row.Shown) filter.ShownLevels[level - 1] = 1;
        const int before = updates_;
        RecomputeMapFilter(catalog_, filter);
        EXPECT_EQ(updates_, before + 1) << row.What;
        EXPECT_EQ(filter.TreasureHasMap.size(), 14u) << row.What;
        EXPECT_EQ(filter.RegionHasMap.size(), 8u) << row.What;
        EXPECT_EQ(FlagsSet(filter.TreasureHasMap), row.Treasures) << row.What;
        EXPECT_EQ(FlagsSet(filter.RegionHasMap), row.Regions) << row.What;
    }
}

TEST_F(MapFilterTest, RecomputeFollowsTheCurrentCharacterAndNeverShrinks) {
    MapFilter filter;
    filter.TreasureHasMap.assign(2000, 1);
    filter.RegionHasMap.assign(3, 1);

    RecomputeMapFilter(catalog_, filter);  // no current character: nothing has maps
    EXPECT_EQ(filter.TreasureHasMap.size(), 2000u);
    EXPECT_EQ(filter.RegionHasMap.size(), 8u);
    EXPECT_EQ(FlagsSet(filter.TreasureHasMap), std::vector<int>{});
    EXPECT_EQ(FlagsSet(filter.RegionHasMap), std::vector<int>{});

    catalog_.CurrentCharacter = 0;
    RecomputeMapFilter(catalog_, filter);
    EXPECT_EQ(FlagsSet(filter.TreasureHasMap), (std::vector<int>{2, 10, 12, 13}));

    // Switching the character replaces the flags at once.
    catalog_.CurrentCharacter = 1;
    RecomputeMapFilter(catalog_, filter);
    EXPECT_EQ(FlagsSet(filter.TreasureHasMap), std::vector<int>{5});
    EXPECT_EQ(FlagsSet(filter.RegionHasMap), std::vector<int>{4});
    EXPECT_EQ(updates_, 3);

    // Without a change callback (before the main window exists) it still recomputes.
    catalog_.OnUpdate = nullptr;
    catalog_.CurrentCharacter = -1;
    RecomputeMapFilter(catalog_, filter);
    EXPECT_EQ(FlagsSet(filter.TreasureHasMap), std::vector<int>{});
}

TEST_F(MapFilterTest, SteppingSkipsEmptySlotsAndFilteredRecords) {
    catalog_.CurrentCharacter = 0;
    MapFilter withMaps;  // Ann: treasures 2, 10, 12, 13; regions 2, 4
    withMaps.OnlyTreasuresWithMaps = true;
    RecomputeMapFilter(catalog_, withMaps);
    MapFilter switchOff = withMaps;
    switchOff.OnlyTreasuresWithMaps = false;
    MapFilter noArrays;  // as the filter dialog leaves it until the next recompute
    noArrays.OnlyTreasuresWithMaps = true;
    MapFilter level2 = withMaps;  // treasure 10 holds only level-1 maps
    level2.LevelFilterOn = true;
    level2.ShownLevels.fill(0);
    level2.ShownLevels[1] = 1;
    RecomputeMapFilter(catalog_, level2);

    enum Kind { Regions, Treasures };
    struct Row {
        Kind What;
        int Start;
        bool Forward;
        const MapFilter* Filter;
        int Expected;
    };
    const Row rows[] = {
        {Regions, 0, true, nullptr, 1},
        {Regions, 1, true, nullptr, 2},
        {Regions, 2, true, nullptr, 4},
        {Regions, 3, true, nullptr, 4},  // starting on an empty slot
        {Regions, 4, true, nullptr, 7},
        {Regions, 7, true, nullptr, 0},  // no wrap-around
        {Regions, 7, false, nullptr, 4},
        {Regions, 4, false, nullptr, 2},
        {Regions, 1, false, nullptr, 0},
        {Regions, 50, false, nullptr, 0},
        {Regions, -5, true, nullptr, 0},
        {Regions, INT_MAX, true, nullptr, 0},
        {Regions, INT_MIN, false, nullptr, 0},
        {Regions, 0, true, &switchOff, 1},
        {Regions, 0, true, &withMaps, 2},
        {Regions, 2, true, &withMaps, 4},
        {Regions, 4, true, &withMaps, 0},
        {Regions, 7, false, &withMaps, 4},
        {Regions, 2, false, &withMaps, 0},
        {Regions, 0, true, &noArrays, 0},
        {Treasures, 0, true, nullptr, 1},
        {Treasures, 2, true, nullptr, 5},
        {Treasures, 5, true, nullptr, 10},
        {Treasures, 13, true, nullptr, 0},
        {Treasures, 5, false, nullptr, 2},
        {Treasures, 0, true, &withMaps, 2},
        {Treasures, 2, true, &withMaps, 10},
        {Treasures, 10, true, &withMaps, 12},
        {Treasures, 12, true, &withMaps, 13},
        {Treasures, 13, true, &withMaps, 0},
        {Treasures, 13, false, &withMaps, 12},
        {Treasures, 10, false, &withMaps, 2},
        {Treasures, 2, false, &withMaps, 0},
        {Treasures, 2, true, &switchOff, 5},
        {Treasures, 0, true, &noArrays, 0},
        {Treasures, 0, true, &level2, 2},
        {Treasures, 2, true, &level2, 0},
    };
    for (const Row& row : rows) {
        const int got = row.What == Regions
                            ? StepRegion(catalog_, row.Start, row.Forward, row.Filter)
                            : StepTreasure(catalog_, row.Start, row.Forward, row.Filter);
        EXPECT_EQ(got, row.Expected) << (row.What == Regions ? "region" : "treasure") << " from "
                                     << row.Start << (row.Forward ? " forward" : " backward");
    }
}

}  // namespace
}  // namespace brix
