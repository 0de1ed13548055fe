#include <gtest/gtest.h>

#include <optional>

#include <climits>
#include <initializer_list>
#include <vector>

#include "core/data/MapFilter.h"
#include "core/data/Session.h"

namespace brix {
namespace {

// An entry holding `count` maps of each listed level.
MapCounts Entry(int index, std::initializer_list<int> levels, int count = 1) {
    MapCounts entry;
    entry.Index = index;
    for (int level : levels) entry.Counts[level - 1] = count;
    return entry;
}

// Counts only the levels whose bit is set (level n: bit n - 1).
void ShowLevels(MapFilter& filter, unsigned levels) {
    filter.LevelFilterOn = true;
    for (int n = 0; n < MaxLevels; ++n) filter.ShownLevels[n] = (levels >> n) & 1;
}

std::vector<int> FlagsSet(const std::vector<std::uint8_t>& flags) {
    std::vector<int> set;
    for (std::size_t i = 0; i < flags.size(); ++i)
        if (flags[i] != 0) set.push_back(static_cast<int>(i));
    return set;
}

// Regions 1, 2, 4 and 7 (8 slots); treasures 1, 2, 5, 10, 11, 12 and 13 (14 slots).
class MapFilterTest : public ::testing::Test {
protected:
    void SetUp() override {
        Region region;
        for (int index : {1, 2, 4, 7}) {
            region.Index = index;
            session_.GetWorld().StoreRegion(region);
        }
        Treasure t;
        for (auto [index, r] :
             {std::pair{1, 1}, {2, 2}, {5, 4}, {10, 4}, {11, 7}, {12, 0}, {13, 150}}) {
            t.Index = index;
            t.Region = r;
            session_.GetWorld().StoreTreasure(t);
        }
        // Entries outside the treasure slots and counts of 0 or below are skipped; treasure
        // 13's region lies outside the region slots and 12's is region 0.
        session_.GetUser().Characters.resize(2);
        session_.GetUser().Characters[0].Entries = {
            Entry(10, {1}), Entry(2, {2}),  Entry(11, {5}, 0), Entry(11, {6}, -1), Entry(0, {1}),
            Entry(-1, {1}), Entry(14, {1}), Entry(5000, {1}),  Entry(13, {3}, 2),  Entry(12, {16})};
        session_.GetUser().Characters[1].Entries = {Entry(5, {4})};
        counter_.emplace(session_, [this](unsigned) { ++updates_; });
    }
    Session session_;
    int updates_ = 0;
    std::optional<SessionSubscription> counter_;
};

TEST_F(MapFilterTest, FlagsFollowTheCharacterAndTheCountedLevels) {
    struct Row {
        const char* What;
        int Character;
        bool LevelFilterOn;
        unsigned Shown;
        std::vector<int> Treasures, Regions;
    };
    const Row rows[] = {
        {"no character", -1, false, 0xFFFF, {}, {}},
        {"every level shown", 0, true, 0xFFFF, {2, 10, 12, 13}, {2, 4}},
        {"only level 2", 0, true, 0x0002, {2}, {2}},  // treasure 10 holds only level-1 maps
        {"level 16 is looked at", 0, true, 0x8000, {12}, {}},
        {"another character", 1, false, 0, {5}, {4}},
    };
    // One filter throughout: each recompute replaces the flags, and the arrays never shrink.
    MapFilter filter;
    filter.TreasureHasMap.assign(2000, 1);
    filter.RegionHasMap.assign(3, 1);
    for (const Row& row : rows) {
        const Character* character =
            row.Character < 0 ? nullptr : &session_.GetUser().Characters[row.Character];
        ShowLevels(filter, row.Shown);
        filter.LevelFilterOn = row.LevelFilterOn;
        RecomputeMapFilter(session_.GetWorld(), character, filter);
        EXPECT_EQ(filter.TreasureHasMap.size(), 2000u) << row.What;
        EXPECT_EQ(filter.RegionHasMap.size(), 8u) << row.What;
        EXPECT_EQ(FlagsSet(filter.TreasureHasMap), row.Treasures) << row.What;
        EXPECT_EQ(FlagsSet(filter.RegionHasMap), row.Regions) << row.What;
    }
    EXPECT_EQ(updates_, 0);  // a private filter (printing, export) sends no change notice
}

TEST_F(MapFilterTest, SteppingSkipsEmptySlotsAndFilteredRecords) {
    const Character* hunter = &session_.GetUser().Characters[0];
    MapFilter withMaps;  // treasures 2, 10, 12, 13; regions 2, 4
    withMaps.OnlyTreasuresWithMaps = true;
    MapFilter noArrays = withMaps;  // as the filter dialog leaves it until the next recompute
    RecomputeMapFilter(session_.GetWorld(), hunter, withMaps);
    MapFilter switchOff = withMaps;
    switchOff.OnlyTreasuresWithMaps = false;
    MapFilter level2 = noArrays;  // treasure 10 holds only level-1 maps
    ShowLevels(level2, 0x0002);
    RecomputeMapFilter(session_.GetWorld(), hunter, level2);

    // Every step from the start until 0: there is no wrap-around.
    auto walk = [this](auto step, const MapFilter* filter, int start, bool forward) {
        std::vector<int> steps;
        for (int i = step(session_.GetWorld(), start, forward, filter); i != 0 && steps.size() < 20;
             i = step(session_.GetWorld(), i, forward, filter))
            steps.push_back(i);
        return steps;
    };
    using V = std::vector<int>;
    EXPECT_EQ(walk(StepRegion, nullptr, 3, true), (V{4, 7}));  // from an empty slot
    EXPECT_EQ(walk(StepRegion, nullptr, INT_MAX, true), V{});
    EXPECT_EQ(walk(StepRegion, nullptr, INT_MIN, false), V{});
    EXPECT_EQ(walk(StepRegion, &withMaps, 0, true), (V{2, 4}));
    EXPECT_EQ(walk(StepRegion, &noArrays, 0, true), V{});
    EXPECT_EQ(walk(StepTreasure, &switchOff, 14, false), (V{13, 12, 11, 10, 5, 2, 1}));
    EXPECT_EQ(walk(StepTreasure, &withMaps, 0, true), (V{2, 10, 12, 13}));
    EXPECT_EQ(walk(StepTreasure, &noArrays, 0, true), V{});
    EXPECT_EQ(walk(StepTreasure, &level2, 0, true), V{2});
}

}  // namespace
}  // namespace brix
