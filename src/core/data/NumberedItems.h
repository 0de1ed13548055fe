#pragma once

#include <string>
#include <vector>

#include "core/data/GameRecords.h"

namespace brix {

// One entry of a record chooser: a level or treasure shown as "%d - %s" and found again by its
// number, never by its position (slots may have gaps: levels 1, 2 and 5
// make position 3 level 5).
struct NumberedItem {
    int Number = 0;
    std::string Name;
};

// The levels and the treasures in slot order, empty slots left out.
std::vector<NumberedItem> LevelItems(const GameRecords& records);
std::vector<NumberedItem> TreasureItems(const GameRecords& records);

// "%d - %s".
std::string NumberedItemText(const NumberedItem& item);

// The position of the first item with that number; the first item when none has it (0 and
// negative numbers included); -1 when there are no items.
int PositionOfNumber(const std::vector<NumberedItem>& items, int number);

}  // namespace brix
