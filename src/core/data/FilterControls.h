#pragma once

#include <vector>

#include "core/data/GameRecords.h"
#include "core/data/MapFilter.h"

namespace brix {

// What the filter dialog's controls hold, without the widgets: the level numbers of the
// "Show These Levels" and "Don't Show These Levels" lists in list order, the row of the
// selected item of each (-1: none) and the three check boxes. The dialog and the panel embedded in
// the print dialog fill one of these from their widgets and ask the functions below what follows.
struct FilterControls {
    std::vector<int> Shown;
    std::vector<int> Hidden;
    int ShownRow = -1;
    int HiddenRow = -1;
    bool LevelFilterOn = false;
    bool OnlyTreasuresWithMaps = false;
    bool OnlyLabelsWithMaps = false;
};

// Which controls take input.
struct FilterEnabling {
    bool Lists = false;
    bool Add = false;     // "<< Add": hidden to shown
    bool Remove = false;  // "Remove >>": shown to hidden
};

// The controls as the dialog opens on `target`: every level of the records, in slot order, in
// the shown list when the target shows it, else in the hidden list; the first item of each
// list selected; the switches from the target. A level numbered above the 16 a filter knows
// (old or hand-edited data) can hold no maps and has no place in a filter: it is left out.
FilterControls OpenFilterControls(const GameRecords& records, const MapFilter& target);

// The working filter the controls describe: a default filter showing exactly the levels of the
// shown list, with the three switches. Numbers outside 1..16 in the list are ignored.
MapFilter ReadFilterControls(const FilterControls& controls);

// The lists and both buttons only while the level switch is on; a button only while its
// source list has a selected item.
FilterEnabling FilterEnablingFor(const FilterControls& controls);

}  // namespace brix
