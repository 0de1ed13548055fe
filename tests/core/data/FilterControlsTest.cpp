#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/data/FilterControls.h"
#include "core/data/TreasureCatalog.h"

namespace brix {
namespace {

using V = std::vector<int>;

// A filter counting only the levels whose bit is set (level n: bit n - 1).
MapFilter Showing(unsigned levels, bool levelFilterOn) {
    MapFilter filter;
    for (int n = 0; n < MaxLevels; ++n) filter.ShownLevels[n] = (levels >> n) & 1;
    filter.LevelFilterOn = levelFilterOn;
    return filter;
}

unsigned ShownBits(const MapFilter& filter) {
    unsigned bits = 0;
    for (int n = 0; n < MaxLevels; ++n)
        if (filter.ShownLevels[n] != 0) bits |= 1u << n;
    return bits;
}

GameRecords LevelsNumbered(const V& numbers) {
    GameRecords records;
    for (int number : numbers) {
        Level level;
        level.Index = number;
        level.Name = "Level " + std::to_string(number);
        records.StoreLevel(level);
    }
    return records;
}

TEST(FilterControls, OpeningSplitsTheLevelsByTheTarget) {
    struct Row {
        const char* What;
        V Levels;
        unsigned Shown;
        V ShownList, HiddenList;
        int ShownRow, HiddenRow;
    };
    const Row rows[] = {
        {"every level shown", {1, 2, 3}, 0xFFFF, {1, 2, 3}, {}, 0, -1},
        {"slot order, gaps skipped", {9, 3, 1, 12}, 0x0104, {3, 9}, {1, 12}, 0, 0},
        {"every level hidden", {1, 2}, 0, {}, {1, 2}, -1, 0},
        {"level 16 has a byte of its own", {15, 16}, 0x8000, {16}, {15}, 0, 0},
        // Old or hand-edited data: a level 17 has no byte in the filter and cannot hold maps.
        {"levels past 16 are left out", {2, 17, 40}, 0xFFFF, {2}, {}, 0, -1},
        {"no levels at all", {}, 0xFFFF, {}, {}, -1, -1},
    };
    for (const Row& row : rows) {
        for (bool switches : {false, true}) {
            MapFilter target = Showing(row.Shown, switches);
            target.OnlyTreasuresWithMaps = switches;
            target.OnlyLabelsWithMaps = !switches;
            const FilterControls controls = OpenFilterControls(LevelsNumbered(row.Levels), target);
            EXPECT_EQ(controls.Shown, row.ShownList) << row.What;
            EXPECT_EQ(controls.Hidden, row.HiddenList) << row.What;
            EXPECT_EQ(controls.ShownRow, row.ShownRow) << row.What;
            EXPECT_EQ(controls.HiddenRow, row.HiddenRow) << row.What;
            EXPECT_EQ(controls.LevelFilterOn, switches) << row.What;
            EXPECT_EQ(controls.OnlyTreasuresWithMaps, switches) << row.What;
            EXPECT_EQ(controls.OnlyLabelsWithMaps, !switches) << row.What;
        }
    }
}

TEST(FilterControls, ReadingTakesTheShownListAndNumbersInRangeOnly) {
    struct Row {
        const char* What;
        V Shown;
        unsigned Bits;
    };
    const Row rows[] = {
        {"nothing shown", {}, 0},
        {"list order does not matter", {12, 3, 7}, (1u << 11) | (1u << 2) | (1u << 6)},
        {"both ends", {1, 16}, 0x8001},
        // The byte after level 16 is a switch, the bytes before level 1 another field.
        {"out of range numbers are ignored", {0, 17, -3, 2, 1000, -2147483647 - 1}, 0x0002},
    };
    for (const Row& row : rows) {
        FilterControls controls;
        controls.Shown = row.Shown;
        controls.Hidden = {5};  // the hidden list is not read: what is not shown is hidden
        const MapFilter filter = ReadFilterControls(controls);
        EXPECT_EQ(ShownBits(filter), row.Bits) << row.What;
        EXPECT_FALSE(filter.LevelFilterOn) << row.What;
        EXPECT_FALSE(filter.OnlyTreasuresWithMaps) << row.What;
        EXPECT_FALSE(filter.OnlyLabelsWithMaps) << row.What;
        EXPECT_TRUE(filter.TreasureHasMap.empty()) << row.What;
        EXPECT_TRUE(filter.RegionHasMap.empty()) << row.What;
    }

    // Each switch lands in its own field, and opening on what was read gives the same controls.
    const GameRecords records = LevelsNumbered({1, 2, 3, 4, 5});
    for (int which = 0; which < 3; ++which) {
        FilterControls controls;
        controls.Shown = {2, 4};
        controls.Hidden = {1, 3, 5};
        controls.LevelFilterOn = which == 0;
        controls.OnlyTreasuresWithMaps = which == 1;
        controls.OnlyLabelsWithMaps = which == 2;
        const FilterControls reopened = OpenFilterControls(records, ReadFilterControls(controls));
        EXPECT_EQ(reopened.Shown, controls.Shown) << which;
        EXPECT_EQ(reopened.Hidden, controls.Hidden) << which;
        EXPECT_EQ(reopened.LevelFilterOn, controls.LevelFilterOn) << which;
        EXPECT_EQ(reopened.OnlyTreasuresWithMaps, controls.OnlyTreasuresWithMaps) << which;
        EXPECT_EQ(reopened.OnlyLabelsWithMaps, controls.OnlyLabelsWithMaps) << which;
    }
}

TEST(FilterControls, ListsAndButtonsFollowTheLevelSwitchAndTheCurrentItems) {
    struct Row {
        const char* What;
        bool LevelFilterOn;
        V Shown, Hidden;
        int ShownRow, HiddenRow;
        bool Lists, Add, Remove;
    };
    const Row rows[] = {
        {"both lists with a current item", true, {1, 2}, {3}, 1, 0, true, true, true},
        {"switch off: all disabled, lists kept", false, {1, 2}, {3}, 0, 0, false, false, false},
        {"nothing current in the hidden list", true, {1}, {3}, 0, -1, true, false, true},
        {"the only item moved away", true, {1, 3}, {}, 1, -1, true, false, true},
        {"shown list empty", true, {}, {1, 2}, -1, 0, true, true, false},
        {"a row past the end is no item", true, {1}, {2}, 1, 1, true, false, false},
    };
    for (const Row& row : rows) {
        FilterControls controls;
        controls.LevelFilterOn = row.LevelFilterOn;
        controls.Shown = row.Shown;
        controls.Hidden = row.Hidden;
        controls.ShownRow = row.ShownRow;
        controls.HiddenRow = row.HiddenRow;
        const FilterEnabling enabling = FilterEnablingFor(controls);
        EXPECT_EQ(enabling.Lists, row.Lists) << row.What;
        EXPECT_EQ(enabling.Add, row.Add) << row.What;
        EXPECT_EQ(enabling.Remove, row.Remove) << row.What;
    }
}

TEST(FilterControls, HidingEveryLevelClearsEveryFlagOnlyWhileTheSwitchIsOn) {
    TreasureCatalog catalog;
    catalog.Levels = LevelsNumbered({1, 2, 3}).Levels;
    Region region;
    region.Index = 1;
    catalog.StoreRegion(region);
    Treasure treasure;
    treasure.Region = 1;
    for (int index : {1, 2}) {
        treasure.Index = index;
        catalog.StoreTreasure(treasure);
    }
    Character& hunter = *catalog.FindOrAddCharacter("Hunter");
    MapCounts entry;
    entry.Index = 1;
    entry.Counts[0] = 1;
    hunter.Entries.push_back(entry);
    entry.Index = 2;
    entry.Counts = {};
    entry.Counts[2] = 3;
    hunter.Entries.push_back(entry);
    catalog.SetCurrentCharacter(&hunter);

    // Everything moved to "Don't Show These Levels".
    FilterControls controls = OpenFilterControls(catalog, catalog.Filter());
    controls.Hidden = controls.Shown;
    controls.Shown.clear();
    const std::vector<std::uint8_t> none(3, 0);
    const std::vector<std::uint8_t> both{0, 1, 1};
    for (bool levelFilterOn : {true, false, true}) {
        controls.LevelFilterOn = levelFilterOn;
        catalog.SetFilterOptions(ReadFilterControls(controls));
        EXPECT_EQ(catalog.Filter().TreasureHasMap, levelFilterOn ? none : both) << levelFilterOn;
        EXPECT_EQ(catalog.Filter().RegionHasMap, (std::vector<std::uint8_t>{0, !levelFilterOn}))
            << levelFilterOn;
    }
}

}  // namespace
}  // namespace brix
