#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "core/data/FilterControls.h"

namespace brix {
namespace {

using V = std::vector<int>;

TEST(FilterControls, ListsOpenAndReadBackWithLevelsInRangeOnly) {
    struct Row {
        const char* What;
        V Levels;
        unsigned Shown;  // level n: bit n - 1
        V ShownList, HiddenList;
    };
    const Row rows[] = {
        {"slot order, gaps skipped", {9, 3, 1, 12}, 0x0104, {3, 9}, {1, 12}},
        {"both ends", {1, 15, 16}, 0x8001, {1, 16}, {15}},
        // Old or hand-edited data: a level past 16 has no byte in the filter, holds no maps.
        {"levels past 16 are left out", {2, 17, 40}, 0xFFFF, {2}, {}},
    };
    for (const Row& row : rows) {
        GameRecords records;
        Level level;
        for (int index : row.Levels) {
            level.Index = index;
            records.StoreLevel(level);
        }
        MapFilter target;
        for (int n = 0; n < MaxLevels; ++n) target.ShownLevels[n] = (row.Shown >> n) & 1;
        target.OnlyLabelsWithMaps = true;
        FilterControls controls = OpenFilterControls(records, target);
        EXPECT_EQ(controls.Shown, row.ShownList) << row.What;
        EXPECT_EQ(controls.Hidden, row.HiddenList) << row.What;
        EXPECT_EQ(controls.HiddenRow, row.HiddenList.empty() ? -1 : 0) << row.What;

        // The lists read back as the target's levels; the switches move alone.
        controls.LevelFilterOn = true;
        const MapFilter read = ReadFilterControls(controls);
        for (int n = 1; n <= MaxLevels; ++n) {
            const bool listed =
                std::find(row.Levels.begin(), row.Levels.end(), n) != row.Levels.end();
            EXPECT_EQ(read.ShownLevels[n - 1], listed && target.ShownLevels[n - 1]) << row.What;
        }
        EXPECT_TRUE(read.LevelFilterOn && read.OnlyLabelsWithMaps) << row.What;
    }

    // A number outside 1..16 in the shown list is never used as an index: the byte past level
    // 16 is a switch, the bytes before level 1 belong to another field.
    FilterControls odd;
    odd.Shown = {0, 17, -3, 2, 1000, -2147483647 - 1};
    const MapFilter read = ReadFilterControls(odd);
    MapFilter onlyTwo;
    onlyTwo.ShownLevels.fill(0);
    onlyTwo.ShownLevels[1] = 1;
    EXPECT_EQ(read.ShownLevels, onlyTwo.ShownLevels);
    EXPECT_FALSE(read.LevelFilterOn || read.OnlyTreasuresWithMaps || read.OnlyLabelsWithMaps);
}

}  // namespace
}  // namespace brix
