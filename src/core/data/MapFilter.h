#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "core/data/GameRecords.h"

namespace brix {

// Has-map flags of the current character under the shown levels, and the three switches of
// the filter dialog. Copies are deep; the flag arrays never shrink while recomputing.
struct MapFilter {
    std::vector<std::uint8_t> TreasureHasMap;
    std::vector<std::uint8_t> RegionHasMap;
    std::array<std::uint8_t, MaxLevels> ShownLevels = [] {
        std::array<std::uint8_t, MaxLevels> all{};
        all.fill(1);
        return all;
    }();
    bool LevelFilterOn = false;
    bool OnlyTreasuresWithMaps = false;
    bool OnlyLabelsWithMaps = false;

    // Takes the other filter's levels and switches; the flags stay until the next recompute.
    void CopyOptionsFrom(const MapFilter& other);

    // True when maps of the level (1..MaxLevels) count under this filter.
    bool LevelShown(int level) const;
    // True when the entry holds a map of a level that counts under this filter.
    bool EntryCounts(const MapCounts& entry) const;
    bool TreasureFlag(int index) const;
    bool RegionFlag(int index) const;

    bool operator==(const MapFilter&) const = default;
};

// The entry's maps as "L3=1, L5=2": every level with a count above 0 in rising order, or with
// `shown` only the levels that count under it. Empty when there is none.
std::string MapCountsList(const MapCounts& entry, const MapFilter* shown = nullptr);

// Rebuilds the filter's flag arrays for the character (null: no character, no flags) under the
// filter's own levels and switches. Sends no notification: the catalogue does that for its own
// filter, and private copies (printing, export) need none.
void RecomputeMapFilter(const GameRecords& records, const Character* character, MapFilter& filter);

// The Index of the next (forward) or previous region after start, skipping empty slots and,
// while the filter's OnlyTreasuresWithMaps is on, regions without maps; 0 when there is none.
// There is no wrap-around. A null filter skips nothing but empty slots.
int StepRegion(const GameRecords& records, int start, bool forward, const MapFilter* filter);

// The same walk over the treasures, in Index order across all regions.
int StepTreasure(const GameRecords& records, int start, bool forward, const MapFilter* filter);

}  // namespace brix
