#pragma once

#include <string>
#include <vector>

#include "core/base/Geometry.h"
#include "core/data/GameRecords.h"
#include "core/data/MapFilter.h"
#include "core/hunt/RoutePlanner.h"

namespace brix {

// A treasure the character holds maps of, of at least one shown level.
struct HuntStop {
    int Treasure = 0;
    IntPoint Location;
    std::string Counts;  // "L3=1, L5=2", the shown levels only
};

// Where a recall lands: the treasure listed at one rune of a book.
struct RecallSpot {
    std::string Book;
    int Rune = 0;  // the rune's place in the book's list, from 1
    int Treasure = 0;
    IntPoint Location;
};

// The character's stops under the shown levels (`shown`'s levels while its level switch is on,
// else every level), in treasure order. Entries of treasures the world does not hold are left
// out. No character: no stops.
std::vector<HuntStop> GatherStops(const GameRecords& records, const Character* character,
                                  const MapFilter& shown);

// Every rune of the library's books that names a treasure of the world, in book order and rune
// order. No library: no spots.
std::vector<RecallSpot> GatherRecallSpots(const GameRecords& records, const RuneLibrary* library);

// One leg of the plan as it is shown.
struct HuntPlanRow {
    int Step = 0;              // from 1
    int Treasure = 0;          // the stop
    int Recall = -1;           // index into HuntPlan::Recalls when the leg starts with a recall
    std::string Travel;        // "Recall: <book> rune <k> (<number> - <name>)", or empty
    std::string Walk;          // "Walk <d> to"
    std::string TreasureText;  // "<number> - <name>"
    std::string Region;        // the region's name
    std::string Sextant;       // the treasure's sextant reading
    std::string Counts;        // "L3=1, L5=2"
};

struct HuntPlan {
    std::string CharacterName;
    std::vector<HuntStop> Stops;
    std::vector<RecallSpot> Recalls;
    Route Travel;  // indexes into Stops and Recalls
    std::vector<HuntPlanRow> Rows;
    // The sum of the walks as the rows show them (rounded per leg), so the rows add up to it.
    long long WalkDistance = 0;
    int RecallCount = 0;
    std::string Total;  // "Total: walk <d>, recalls <n>"
};

// The route through the character's stops under the shown levels, recalling to the library's
// rune spots at `recallCost` each.
HuntPlan MakeHuntPlan(const GameRecords& records, const Character* character,
                      const MapFilter& shown, const RuneLibrary* library, int recallCost);

// The plan for the clipboard: a heading, one line per row, the total line; CR LF throughout.
std::string HuntPlanText(const HuntPlan& plan);

// The level "Completed" takes a map of: the lowest shown level the character holds of the
// treasure, or 0 when there is none.
int CompletedLevel(const Character& character, int treasure, const MapFilter& shown);

}  // namespace brix
