#pragma once

#include <string_view>
#include <vector>

#include "core/data/Records.h"

namespace brix {

// The player's characters and the rune libraries (the permanent ones of data.xml first, then
// the player's own from user.xml), in order of creation. Names compare without regard to case.
//
// Pointers handed out by look-ups stay valid only until the next addition to or deletion
// from the same list.
struct UserRecords {
    std::vector<Character> Characters;
    std::vector<RuneLibrary> RuneLibraries;

    Character* FindCharacter(std::string_view name);
    const Character* FindCharacter(std::string_view name) const;
    Character* FindOrAddCharacter(std::string_view name);

    RuneLibrary* FindRuneLibrary(std::string_view name);
    const RuneLibrary* FindRuneLibrary(std::string_view name) const;
    RuneLibrary* FindOrAddRuneLibrary(std::string_view name);
};

// A character's entry for one treasure, or null when the character holds no entry for it.
MapCounts* FindMapCounts(Character& character, int treasureIndex);
const MapCounts* FindMapCounts(const Character& character, int treasureIndex);

RuneBook* FindRuneBook(RuneLibrary& library, std::string_view name);
const RuneBook* FindRuneBook(const RuneLibrary& library, std::string_view name);
RuneBook* FindOrAddRuneBook(RuneLibrary& library, std::string_view name);
void DeleteRuneBook(RuneLibrary& library, const RuneBook* book);

// The position of a record inside its list, or -1 for null or a record of another list.
template <typename Item>
int PositionIn(const std::vector<Item>& items, const Item* item) {
    if (item == nullptr || items.empty() || item < items.data() ||
        item >= items.data() + items.size())
        return -1;
    return static_cast<int>(item - items.data());
}

}  // namespace brix
