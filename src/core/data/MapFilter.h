#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "core/data/Records.h"

namespace brix {

class TreasureCatalog;

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

    // True when the entry holds a map of a level that counts under this filter.
    bool EntryCounts(const MapCounts& entry) const;
    bool TreasureFlag(int index) const;
    bool RegionFlag(int index) const;
};

// Rebuilds the filter's flag arrays from the catalogue's current character, then sends the
// change notification (the catalogue's OnUpdate callback).
void RecomputeMapFilter(TreasureCatalog& catalog, MapFilter& filter);

// The Index of the next (forward) or previous region after start, skipping empty slots and,
// while the filter's OnlyTreasuresWithMaps is on, regions without maps; 0 when there is none.
// There is no wrap-around. A null filter skips nothing but empty slots.
int StepRegion(const TreasureCatalog& catalog, int start, bool forward, const MapFilter* filter);

// The same walk over the treasures, in Index order across all regions.
int StepTreasure(const TreasureCatalog& catalog, int start, bool forward, const MapFilter* filter);

}  // namespace brix
