#pragma once

#include "core/data/DrawingResources.h"
#include "core/data/GameRecords.h"

namespace brix {

// The world of the archive: levels, regions, treasures and the pictures every map is drawn
// from. Filled at start-up and read-only after it; the views, printing, the export and the
// texts read it and nothing changes it. (The archive's permanent rune libraries are listed with
// the player's own, see UserData, so that one list holds every library the menus offer.)
struct World : GameRecords {
    DrawingResources Drawing;

    // Empties the region, treasure and level arrays, in that order.
    void ClearRecords() {
        Regions.clear();
        Treasures.clear();
        Levels.clear();
    }
};

}  // namespace brix
