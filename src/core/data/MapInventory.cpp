#include "core/data/MapInventory.h"

#include <algorithm>
#include <limits>

#include "core/base/Commands.h"
#include "core/base/Messages.h"
#include "core/base/Strings.h"
#include "core/base/Text.h"
#include "core/data/MapFilter.h"
#include "core/data/RecordNaming.h"

namespace brix {

bool AdjustMapCount(Character& character, int treasure, int level, bool adding) {
    if (treasure < 1 || treasure > MaxTreasures || level < 1 || level > MaxLevels) return false;
    const auto slot = static_cast<std::size_t>(level - 1);
    MapCounts* entry = FindMapCounts(character, treasure);
    if (!adding) {
        if (entry == nullptr || entry->Counts[slot] <= 0) return false;
        --entry->Counts[slot];
        return true;
    }
    if (entry == nullptr) {
        MapCounts added;
        added.Index = treasure;
        character.Entries.push_back(added);
        entry = &character.Entries.back();
    }
    // A count that cannot grow stays as it is rather than wrapping to a negative number.
    if (entry->Counts[slot] == std::numeric_limits<int>::max()) return false;
    ++entry->Counts[slot];
    return true;
}

std::string MapCountsText(const UserRecords& records, std::string_view name, int treasure) {
    const std::string trimmed = TrimName(name);
    const Character* character = trimmed.empty() ? nullptr : records.FindCharacter(trimmed);
    const MapCounts* entry = character ? FindMapCounts(*character, treasure) : nullptr;
    const std::string text = entry != nullptr ? MapCountsList(*entry) : std::string();
    return text.empty() ? LoadString(StringId::NoneText) : text;
}

MapInventoryOpening PrepareMapInventory(const Session& session, int treasure, bool adding) {
    MapInventoryOpening opening;
    opening.Levels = LevelItems(session.GetWorld());
    opening.LevelPosition = PositionOfNumber(opening.Levels, session.SettingsFile().LastLevel());
    for (const Character& character : session.GetUser().Characters)
        opening.CharacterNames.push_back(character.Name);
    std::stable_sort(
        opening.CharacterNames.begin(), opening.CharacterNames.end(),
        [](const std::string& a, const std::string& b) { return CompareNames(a, b) < 0; });
    if (const Character* current = session.GetCurrentCharacter())
        opening.CharacterName = current->Name;
    opening.Treasures = TreasureItems(session.GetWorld());
    opening.TreasurePosition = PositionOfNumber(opening.Treasures, treasure);
    opening.Caption =
        CommandText(adding ? Command::GotAMap : Command::CompletedAMap, CommandField::StatusText);
    return opening;
}

bool AcceptMapInventory(Session& session, Messages& messages, QObject* owner,
                        const MapInventoryRequest& request) {
    const std::string name = TrimName(request.Name);
    if (name.empty()) {
        messages.Show(LoadString(StringId::CharacterNameMissing), MessageIcon::None, owner);
        return false;
    }
    if (!IsValidRecordName(name)) {
        messages.Show(LoadString(StringId::InvalidCharacterName), MessageIcon::None, owner);
        return false;
    }
    if (session.GetUser().FindCharacter(name) == nullptr &&
        !messages.AskYesNo(LoadString(StringId::NoSuchCharacter), owner))
        return false;

    // One undoable change: the count, the character made current, "Character" and "LastLevel".
    session.ChangeMapCount(name, request.Treasure, request.Level, request.Adding);
    return true;
}

}  // namespace brix
