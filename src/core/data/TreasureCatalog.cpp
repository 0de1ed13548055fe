#include "core/data/TreasureCatalog.h"

#include <algorithm>

#include "core/base/Text.h"

namespace brix {
namespace {

template <typename Record>
void StoreAt(std::vector<Record>& array, const Record& record) {
    if (record.Index < 1) return;
    const auto slot = static_cast<std::size_t>(record.Index);
    if (array.size() < slot + 1) array.resize(slot + 1);
    array[slot] = record;
}

template <typename Record>
const Record* FindAt(const std::vector<Record>& array, int index) {
    if (index < 1 || static_cast<std::size_t>(index) >= array.size()) return nullptr;
    const Record& record = array[static_cast<std::size_t>(index)];
    return record.Index >= 1 ? &record : nullptr;
}

template <typename Named>
Named* FindByName(std::vector<Named>& items, std::string_view name) {
    for (Named& item : items) {
        if (NamesEqual(item.Name, name)) return &item;
    }
    return nullptr;
}

template <typename Item>
int PositionIn(const std::vector<Item>& items, const Item* item) {
    if (item == nullptr || items.empty() || item < items.data() ||
        item >= items.data() + items.size())
        return -1;
    return static_cast<int>(item - items.data());
}

}  // namespace

int LastLevelHeld(const MapCounts& entry) {
    for (int level = MaxLevels; level >= 1; --level) {
        if (entry.Counts[level - 1] > 0) return level;
    }
    return 0;
}

void TreasureCatalog::StoreLevel(const Level& level) {
    StoreAt(Levels, level);
}
void TreasureCatalog::StoreRegion(const Region& region) {
    StoreAt(Regions, region);
}
void TreasureCatalog::StoreTreasure(const Treasure& treasure) {
    StoreAt(Treasures, treasure);
}

const Level* TreasureCatalog::FindLevel(int index) const {
    return FindAt(Levels, index);
}
const Region* TreasureCatalog::FindRegion(int index) const {
    return FindAt(Regions, index);
}
const Treasure* TreasureCatalog::FindTreasure(int index) const {
    return FindAt(Treasures, index);
}

int TreasureCatalog::PositionOf(const Character* character) const {
    return PositionIn(Characters, character);
}
int TreasureCatalog::PositionOf(const RuneLibrary* library) const {
    return PositionIn(RuneLibraries, library);
}

Character* TreasureCatalog::FindCharacter(std::string_view name) {
    return FindByName(Characters, name);
}

Character* TreasureCatalog::FindOrAddCharacter(std::string_view name) {
    if (Character* found = FindCharacter(name)) return found;
    Characters.push_back(Character{std::string(name), {}});
    return &Characters.back();
}

Character* TreasureCatalog::GetCurrentCharacter() {
    if (CurrentCharacter < 0 || CurrentCharacter >= static_cast<int>(Characters.size()))
        return nullptr;
    return &Characters[static_cast<std::size_t>(CurrentCharacter)];
}

const Character* TreasureCatalog::GetCurrentCharacter() const {
    return const_cast<TreasureCatalog*>(this)->GetCurrentCharacter();
}

void TreasureCatalog::SetCurrentCharacter(const Character* character) {
    CurrentCharacter = PositionOf(character);
    RecomputeMapFilter(*this, Filter);
    const Character* current = GetCurrentCharacter();
    SettingsFile().WriteCharacter(current ? current->Name : std::string());
}

void TreasureCatalog::RestoreCurrentCharacter() {
    const std::string name = SettingsFile().Character();
    const Character* found = name.empty() ? nullptr : FindCharacter(name);
    if (found == nullptr && !Characters.empty()) found = &Characters.front();
    CurrentCharacter = PositionOf(found);
    RecomputeMapFilter(*this, Filter);
}

void TreasureCatalog::DeleteCharacter(const Character* character) {
    const int position = PositionOf(character);
    if (position < 0) return;
    Characters.erase(Characters.begin() + position);
    if (CurrentCharacter == position)
        CurrentCharacter = -1;
    else if (CurrentCharacter > position)
        --CurrentCharacter;
    SetCurrentCharacter(GetCurrentCharacter());
}

RuneLibrary* TreasureCatalog::FindRuneLibrary(std::string_view name) {
    return FindByName(RuneLibraries, name);
}

RuneLibrary* TreasureCatalog::FindOrAddRuneLibrary(std::string_view name) {
    if (RuneLibrary* found = FindRuneLibrary(name)) return found;
    RuneLibrary library;
    library.Name = std::string(name);
    RuneLibraries.push_back(std::move(library));
    return &RuneLibraries.back();
}

RuneLibrary* TreasureCatalog::GetCurrentRuneLibrary() {
    if (CurrentRuneLibrary < 0 || CurrentRuneLibrary >= static_cast<int>(RuneLibraries.size()))
        return nullptr;
    return &RuneLibraries[static_cast<std::size_t>(CurrentRuneLibrary)];
}

void TreasureCatalog::SetCurrentRuneLibrary(const RuneLibrary* library) {
    CurrentRuneLibrary = PositionOf(library);
    RecomputeMapFilter(*this, Filter);
    const RuneLibrary* current = GetCurrentRuneLibrary();
    SettingsFile().WriteRuneLibrary(current ? current->Name : std::string());
}

void TreasureCatalog::RestoreCurrentRuneLibrary() {
    const std::string name = SettingsFile().RuneLibrary();
    const RuneLibrary* found = name.empty() ? nullptr : FindRuneLibrary(name);
    if (found == nullptr && !RuneLibraries.empty()) found = &RuneLibraries.front();
    CurrentRuneLibrary = PositionOf(found);
    RecomputeMapFilter(*this, Filter);
}

void TreasureCatalog::DeleteRuneLibrary(const RuneLibrary* library) {
    const int position = PositionOf(library);
    if (position < 0) return;
    RuneLibraries.erase(RuneLibraries.begin() + position);
    if (CurrentRuneLibrary == position)
        CurrentRuneLibrary = -1;
    else if (CurrentRuneLibrary > position)
        --CurrentRuneLibrary;
    SetCurrentRuneLibrary(GetCurrentRuneLibrary());
}

MapCounts* TreasureCatalog::FindMapCounts(Character& character, int treasureIndex) {
    for (MapCounts& entry : character.Entries) {
        if (entry.Index == treasureIndex) return &entry;
    }
    return nullptr;
}

RuneBook* TreasureCatalog::FindRuneBook(RuneLibrary& library, std::string_view name) {
    return FindByName(library.RuneBooks, name);
}

RuneBook* TreasureCatalog::FindOrAddRuneBook(RuneLibrary& library, std::string_view name) {
    if (RuneBook* found = FindRuneBook(library, name)) return found;
    library.RuneBooks.push_back(RuneBook{std::string(name), {}});
    return &library.RuneBooks.back();
}

void TreasureCatalog::DeleteRuneBook(RuneLibrary& library, const RuneBook* book) {
    const int position = PositionIn(library.RuneBooks, book);
    if (position >= 0) library.RuneBooks.erase(library.RuneBooks.begin() + position);
}

void TreasureCatalog::ClearSystemRecords() {
    Regions.clear();
    Treasures.clear();
    Levels.clear();
    RuneLibraries.clear();
    CurrentRuneLibrary = -1;
}

}  // namespace brix
