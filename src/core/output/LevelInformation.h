#pragma once

#include <string>
#include <vector>

#include "core/data/GameRecords.h"
#include "core/data/NumberedItems.h"

namespace brix {

// The level information dialog without its widgets: the chooser's items, the item shown first
// and the text shown for a chosen level.
struct LevelInformation {
    explicit LevelInformation(const GameRecords& records, int initialLevel = 1);

    // The full level text of that level number; empty when there is no such level.
    std::string TextOf(int level) const;

    std::vector<NumberedItem> Levels;
    // The item of the initial level (by number, not by position), else the first; -1 when
    // there are no levels.
    int InitialPosition = -1;

private:
    const GameRecords& records_;
};

}  // namespace brix
