#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "core/data/NumberedItems.h"
#include "core/data/Session.h"

class QObject;

namespace brix {

class Messages;

// How many characters may be typed into the map inventory's character field. A listed name that
// is longer widens the field: a limit only ever stops typing, it never cuts a stored name.
constexpr int MaxTypedCharacterName = 128;

// Adds one map of `level` (1..MaxLevels) of `treasure` (1..MaxTreasures) to the character's
// counts, or removes one. Adding appends the treasure's entry when the character has none and
// stops at the largest count an int holds; removing never goes below 0 and never creates an
// entry. A treasure or level out of range changes nothing, so no entry that the user data file
// would refuse at the next start is ever stored. True when a count changed. The caller
// recomputes the filter.
bool AdjustMapCount(Character& character, int treasure, int level, bool adding);

// The "Current" line of the map inventory: the counts of the treasure held by the character of
// that name (trimmed, found without regard to case) as "L3=1, L5=2", or "(None)".
std::string MapCountsText(const UserRecords& records, std::string_view name, int treasure);

// What the map inventory dialog lists and preselects when it opens. A position is -1 when its
// list is empty.
struct MapInventoryOpening {
    std::vector<NumberedItem> Treasures;
    std::vector<NumberedItem> Levels;
    std::vector<std::string> CharacterNames;  // in the program's name order
    int TreasurePosition = -1;                // the preset treasure, else the first
    int LevelPosition = -1;                   // the level of "LastLevel", else the first
    std::string CharacterName;                // the current character's; empty when none
    std::string Caption;                      // field 0 of the command's string
};

// Reads the records and "LastLevel"; `treasure` is the preset (0: none).
MapInventoryOpening PrepareMapInventory(const Session& session, int treasure, bool adding);

// What the map inventory dialog holds when OK is pressed: the character field's text as typed
// and the numbers of the chosen items, 0 when a list is empty.
struct MapInventoryRequest {
    std::string Name;
    int Treasure = 0;
    int Level = 0;
    bool Adding = true;
};

// The OK of the map inventory dialog; true when the dialog may close. Refuses an empty or
// invalid name with a message owned by `owner`, and asks before creating a character of an
// unknown name (No: refused). Otherwise, as one undoable change, the character (found without
// regard to case, or created with the trimmed name) becomes current and "Character" is
// written, the count is adjusted, "LastLevel" is written, and the session notifies. Without a
// treasure or a level no count changes and no entry is created; the character still becomes
// current.
bool AcceptMapInventory(Session& session, Messages& messages, QObject* owner,
                        const MapInventoryRequest& request);

}  // namespace brix
