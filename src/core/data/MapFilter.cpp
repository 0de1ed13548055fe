#include "core/data/MapFilter.h"

#include <algorithm>

#include "core/base/Strings.h"

namespace brix {

bool MapFilter::LevelShown(int level) const {
    if (level < 1 || level > MaxLevels) return false;
    return !LevelFilterOn || ShownLevels[static_cast<std::size_t>(level - 1)] != 0;
}

bool MapFilter::EntryCounts(const MapCounts& entry) const {
    for (int level = 1; level <= MaxLevels; ++level) {
        if (entry.Counts[static_cast<std::size_t>(level - 1)] >= 1 && LevelShown(level))
            return true;
    }
    return false;
}

std::string MapCountsList(const MapCounts& entry, const MapFilter* shown) {
    std::string list;
    for (int level = 1; level <= MaxLevels; ++level) {
        const int count = entry.Counts[static_cast<std::size_t>(level - 1)];
        if (count <= 0 || (shown != nullptr && !shown->LevelShown(level))) continue;
        if (!list.empty()) list += ", ";
        list += FormatText("L%d=%d", {level, count});
    }
    return list;
}

void MapFilter::CopyOptionsFrom(const MapFilter& other) {
    ShownLevels = other.ShownLevels;
    LevelFilterOn = other.LevelFilterOn;
    OnlyTreasuresWithMaps = other.OnlyTreasuresWithMaps;
    OnlyLabelsWithMaps = other.OnlyLabelsWithMaps;
}

bool MapFilter::TreasureFlag(int index) const {
    return index >= 0 && static_cast<std::size_t>(index) < TreasureHasMap.size() &&
           TreasureHasMap[index] != 0;
}

bool MapFilter::RegionFlag(int index) const {
    return index >= 0 && static_cast<std::size_t>(index) < RegionHasMap.size() &&
           RegionHasMap[index] != 0;
}

namespace {

template <typename Record, typename HasMap>
int Step(const std::vector<Record>& records, int start, bool forward, const MapFilter* filter,
         HasMap hasMap) {
    const long long count = static_cast<long long>(records.size());
    // Wider than int so that a start at either end of the int range cannot overflow.
    long long i = start;
    for (;;) {
        i += forward ? 1 : -1;
        if (i < 1 || i >= count) return 0;
        if (records[static_cast<std::size_t>(i)].Index < 1) continue;
        if (filter == nullptr || !filter->OnlyTreasuresWithMaps) return static_cast<int>(i);
        if ((filter->*hasMap)(static_cast<int>(i))) return static_cast<int>(i);
    }
}

}  // namespace

int StepRegion(const GameRecords& records, int start, bool forward, const MapFilter* filter) {
    return Step(records.Regions, start, forward, filter, &MapFilter::RegionFlag);
}

int StepTreasure(const GameRecords& records, int start, bool forward, const MapFilter* filter) {
    return Step(records.Treasures, start, forward, filter, &MapFilter::TreasureFlag);
}

void RecomputeMapFilter(const GameRecords& records, const Character* character, MapFilter& filter) {
    const std::size_t treasureSlots = records.Treasures.size();
    const std::size_t regionSlots = records.Regions.size();
    if (treasureSlots > filter.TreasureHasMap.size()) filter.TreasureHasMap.resize(treasureSlots);
    if (regionSlots > filter.RegionHasMap.size()) filter.RegionHasMap.resize(regionSlots);
    std::fill(filter.TreasureHasMap.begin(), filter.TreasureHasMap.end(), 0);
    std::fill(filter.RegionHasMap.begin(), filter.RegionHasMap.end(), 0);

    if (character != nullptr) {
        for (const MapCounts& entry : character->Entries) {
            if (!filter.EntryCounts(entry)) continue;
            if (entry.Index < 1 || static_cast<std::size_t>(entry.Index) >= treasureSlots) continue;
            filter.TreasureHasMap[entry.Index] = 1;
            const int region = records.Treasures[entry.Index].Region;
            if (region >= 1 && static_cast<std::size_t>(region) < regionSlots)
                filter.RegionHasMap[region] = 1;
        }
    }
}

}  // namespace brix
