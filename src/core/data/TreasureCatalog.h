#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "core/base/ProgramPaths.h"
#include "core/base/Settings.h"
#include "core/data/DrawingResources.h"
#include "core/data/GameRecords.h"
#include "core/data/MapFilter.h"
#include "core/data/UserRecords.h"

namespace brix {

// File names the program reads and writes.
inline constexpr const char* UserDataFileName = "user.xml";
inline constexpr const char* ArchiveFileName = "kestrel.zip";
inline constexpr const char* SystemDataMemberName = "data.xml";
inline constexpr const char* MultimapMemberName = "multimap.bmp";
inline constexpr const char* WorldMemberName = "world.bmp";
inline constexpr const char* OverlayMemberFormat = "world_overlay_%d.bmp";

// Which record of a by-name list is current, by position, kept right as records are deleted.
template <typename Record>
class CurrentRecord {
public:
    int Position() const { return position_; }
    Record* Get(std::vector<Record>& list) const {
        return position_ >= 0 && position_ < static_cast<int>(list.size()) ? &list[position_]
                                                                           : nullptr;
    }
    const Record* Get(const std::vector<Record>& list) const {
        return Get(const_cast<std::vector<Record>&>(list));
    }
    // A record of another list (or null) leaves no record current.
    void Set(const std::vector<Record>& list, const Record* record) {
        position_ = PositionIn(list, record);
    }
    // The record stored under that name, else the first record, else none.
    void Restore(const std::vector<Record>& list, const Record* named) {
        position_ = named != nullptr ? PositionIn(list, named) : (list.empty() ? -1 : 0);
    }
    // Erases the record; false when it is not in the list. The current record stays current;
    // when it is the one erased, none is.
    bool Erase(std::vector<Record>& list, const Record* record) {
        const int position = PositionIn(list, record);
        if (position < 0) return false;
        list.erase(list.begin() + position);
        if (position_ == position)
            position_ = -1;
        else if (position_ > position)
            --position_;
        return true;
    }
    void Clear() { position_ = -1; }

private:
    int position_ = -1;
};

// Everything the program knows for the whole run: the world's records, the player's records,
// the current character and rune library, the global filter, the paths, the display settings
// and the shared drawing resources. One instance is made by the program and passed by
// reference; tests make their own.
//
// The records are plain data. The current selections and the filter have rules (the settings
// file remembers the selections; the filter follows the current character), so they change
// only through the operations below, which persist and send the change notification.
class TreasureCatalog : public GameRecords, public UserRecords {
public:
    ProgramPaths Paths;
    std::string ProgramTitle = "Brix Tools";
    DisplaySettings Display;
    DrawingResources Drawing;

    // The program's one change notification: the main window repaints itself and its views.
    std::function<void()> OnUpdate;

    Settings SettingsFile() const {
        return Settings(Paths.SettingsPath, Paths.UserDirectoryIsPerUser);
    }

    Character* GetCurrentCharacter() { return character_.Get(Characters); }
    const Character* GetCurrentCharacter() const { return character_.Get(Characters); }
    int CurrentCharacterPosition() const { return character_.Position(); }
    // Makes the character current (null or a foreign record: none), recomputes the filter,
    // writes "Character" and notifies.
    void SetCurrentCharacter(const Character* character);
    // Takes the character named in the settings file, else the first; recomputes and notifies.
    void RestoreCurrentCharacter();
    // Deletes the character; the current one stays current (none when it was the one deleted),
    // then as SetCurrentCharacter.
    void DeleteCharacter(const Character* character);
    // Gives the character a new name and notifies. When it is the current character the
    // settings key is rewritten as well, so that the next start selects it again.
    void RenameCharacter(const Character* character, std::string name);

    RuneLibrary* GetCurrentRuneLibrary() { return library_.Get(RuneLibraries); }
    const RuneLibrary* GetCurrentRuneLibrary() const { return library_.Get(RuneLibraries); }
    int CurrentRuneLibraryPosition() const { return library_.Position(); }
    // The same for rune libraries, writing "RuneLibrary"; the filter does not depend on them.
    void SetCurrentRuneLibrary(const RuneLibrary* library);
    void RestoreCurrentRuneLibrary();
    void DeleteRuneLibrary(const RuneLibrary* library);
    // Replaces the library's flag, name and books by `contents` and notifies (the treasure texts
    // name the current library's books); the current library's key follows a new name.
    void ReplaceRuneLibrary(const RuneLibrary* library, RuneLibrary contents);

    const MapFilter& Filter() const { return filter_; }
    // Takes the levels and switches of the filter dialog, recomputes and notifies.
    void SetFilterOptions(const MapFilter& options);
    // Rebuilds the has-map flags of the current character and notifies; every change of a map
    // count ends here.
    void RecomputeFilter();

    // Empties the region, treasure, level and rune library arrays, in that order.
    void ClearSystemRecords();

private:
    CurrentRecord<Character> character_;
    CurrentRecord<RuneLibrary> library_;
    MapFilter filter_;
};

}  // namespace brix
