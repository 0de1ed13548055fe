#include "core/data/UserRecords.h"

#include <algorithm>
#include <string>

#include "core/base/Text.h"

namespace brix {
namespace {

template <typename List>
auto FindByName(List& items, std::string_view name) -> decltype(items.data()) {
    // Names are compared without regard to case, but a hand-edited file may hold two that differ
    // only in case: the one spelt exactly so is the one meant (the settings file names the
    // current character that way).
    for (auto& item : items) {
        if (item.Name == name) return &item;
    }
    for (auto& item : items) {
        if (NamesEqual(item.Name, name)) return &item;
    }
    return nullptr;
}

template <typename Record>
Record* FindOrAdd(std::vector<Record>& items, std::string_view name) {
    if (Record* found = FindByName(items, name)) return found;
    Record record;
    record.Name = std::string(name);
    items.push_back(std::move(record));
    return &items.back();
}

template <typename Owner>
auto FindEntry(Owner& character, int treasureIndex) -> decltype(character.Entries.data()) {
    for (auto& entry : character.Entries) {
        if (entry.Index == treasureIndex) return &entry;
    }
    return nullptr;
}

}  // namespace

int LastLevelHeld(const MapCounts& entry) {
    for (int level = MaxLevels; level >= 1; --level) {
        if (entry.Counts[level - 1] > 0) return level;
    }
    return 0;
}

Character* UserRecords::FindCharacter(std::string_view name) {
    return FindByName(Characters, name);
}
const Character* UserRecords::FindCharacter(std::string_view name) const {
    return FindByName(Characters, name);
}
Character* UserRecords::FindOrAddCharacter(std::string_view name) {
    return FindOrAdd(Characters, name);
}

RuneLibrary* UserRecords::FindRuneLibrary(std::string_view name) {
    return FindByName(RuneLibraries, name);
}
const RuneLibrary* UserRecords::FindRuneLibrary(std::string_view name) const {
    return FindByName(RuneLibraries, name);
}
RuneLibrary* UserRecords::FindOrAddRuneLibrary(std::string_view name) {
    return FindOrAdd(RuneLibraries, name);
}

MapCounts* FindMapCounts(Character& character, int treasureIndex) {
    return FindEntry(character, treasureIndex);
}
const MapCounts* FindMapCounts(const Character& character, int treasureIndex) {
    return FindEntry(character, treasureIndex);
}

RuneBook* FindRuneBook(RuneLibrary& library, std::string_view name) {
    return FindByName(library.RuneBooks, name);
}
const RuneBook* FindRuneBook(const RuneLibrary& library, std::string_view name) {
    return FindByName(library.RuneBooks, name);
}
RuneBook* FindOrAddRuneBook(RuneLibrary& library, std::string_view name) {
    return FindOrAdd(library.RuneBooks, name);
}

void DeleteRuneBook(RuneLibrary& library, const RuneBook* book) {
    const int position = PositionIn(library.RuneBooks, book);
    if (position >= 0) library.RuneBooks.erase(library.RuneBooks.begin() + position);
}

}  // namespace brix
