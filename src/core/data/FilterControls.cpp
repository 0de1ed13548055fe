#include "core/data/FilterControls.h"

namespace brix {
namespace {

bool IsFilterLevel(int number) {
    return number >= 1 && number <= MaxLevels;
}

bool HasRow(const std::vector<int>& list, int row) {
    return row >= 0 && row < static_cast<int>(list.size());
}

}  // namespace

FilterControls OpenFilterControls(const GameRecords& records, const MapFilter& target) {
    FilterControls controls;
    for (const Level& level : records.Levels) {
        if (!IsFilterLevel(level.Index)) continue;
        if (target.ShownLevels[static_cast<std::size_t>(level.Index - 1)] != 0)
            controls.Shown.push_back(level.Index);
        else
            controls.Hidden.push_back(level.Index);
    }
    controls.ShownRow = controls.Shown.empty() ? -1 : 0;
    controls.HiddenRow = controls.Hidden.empty() ? -1 : 0;
    controls.LevelFilterOn = target.LevelFilterOn;
    controls.OnlyTreasuresWithMaps = target.OnlyTreasuresWithMaps;
    controls.OnlyLabelsWithMaps = target.OnlyLabelsWithMaps;
    return controls;
}

MapFilter ReadFilterControls(const FilterControls& controls) {
    MapFilter filter;
    filter.ShownLevels.fill(0);
    for (int number : controls.Shown) {
        if (IsFilterLevel(number)) filter.ShownLevels[static_cast<std::size_t>(number - 1)] = 1;
    }
    filter.LevelFilterOn = controls.LevelFilterOn;
    filter.OnlyTreasuresWithMaps = controls.OnlyTreasuresWithMaps;
    filter.OnlyLabelsWithMaps = controls.OnlyLabelsWithMaps;
    return filter;
}

FilterEnabling FilterEnablingFor(const FilterControls& controls) {
    FilterEnabling enabling;
    enabling.Lists = controls.LevelFilterOn;
    enabling.Add = controls.LevelFilterOn && HasRow(controls.Hidden, controls.HiddenRow);
    enabling.Remove = controls.LevelFilterOn && HasRow(controls.Shown, controls.ShownRow);
    return enabling;
}

}  // namespace brix
