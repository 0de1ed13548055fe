#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "core/base/Settings.h"
#include "core/data/DrawingResources.h"
#include "core/data/MapFilter.h"
#include "core/data/Records.h"

namespace brix {

// File names the program reads and writes.
inline constexpr const char* UserDataFileName = "user.xml";
inline constexpr const char* ArchiveFileName = "kestrel.zip";
inline constexpr const char* SystemDataMemberName = "data.xml";
inline constexpr const char* MultimapMemberName = "multimap.bmp";
inline constexpr const char* WorldMemberName = "world.bmp";
inline constexpr const char* OverlayMemberFormat = "world_overlay_%d.bmp";

// Owns every record, the current character and rune library, the global filter, the display
// settings and the shared drawing resources for the whole run. One instance is made by the
// program and passed by reference; tests make their own.
//
// Pointers handed out by look-ups stay valid only until the next addition to or deletion
// from the same array.
class TreasureCatalog {
public:
    // Indexed arrays: slot k holds the record whose Index is k; slots never stored into hold
    // empty records (Index 0), slot 0 included.
    std::vector<Level> Levels;
    std::vector<Region> Regions;
    std::vector<Treasure> Treasures;
    // In order of creation.
    std::vector<Character> Characters;
    std::vector<RuneLibrary> RuneLibraries;

    int CurrentCharacter = -1;
    int CurrentRuneLibrary = -1;

    std::string ProgramDirectory;  // ends in a path separator
    std::string DataDirectory;     // ends in a path separator; empty until the archive is found
    std::string SettingsPath;      // empty until the archive is found
    std::string ProgramTitle = "Brix Tools";

    DisplaySettings Display;
    DrawingResources Drawing;
    MapFilter Filter;

    // The program's one change notification, sent by RecomputeMapFilter; the main window
    // repaints itself and its active view.
    std::function<void()> OnUpdate;

    Settings SettingsFile() const { return Settings(SettingsPath); }

    // Stores a record at slot Index, growing the array; a later record replaces an earlier one.
    void StoreLevel(const Level& level);
    void StoreRegion(const Region& region);
    void StoreTreasure(const Treasure& treasure);

    const Level* FindLevel(int index) const;
    const Region* FindRegion(int index) const;
    const Treasure* FindTreasure(int index) const;

    Character* FindCharacter(std::string_view name);
    Character* FindOrAddCharacter(std::string_view name);
    Character* GetCurrentCharacter();
    const Character* GetCurrentCharacter() const;
    void SetCurrentCharacter(const Character* character);
    void RestoreCurrentCharacter();
    void DeleteCharacter(const Character* character);

    RuneLibrary* FindRuneLibrary(std::string_view name);
    RuneLibrary* FindOrAddRuneLibrary(std::string_view name);
    RuneLibrary* GetCurrentRuneLibrary();
    void SetCurrentRuneLibrary(const RuneLibrary* library);
    void RestoreCurrentRuneLibrary();
    void DeleteRuneLibrary(const RuneLibrary* library);

    static MapCounts* FindMapCounts(Character& character, int treasureIndex);
    static RuneBook* FindRuneBook(RuneLibrary& library, std::string_view name);
    static RuneBook* FindOrAddRuneBook(RuneLibrary& library, std::string_view name);
    static void DeleteRuneBook(RuneLibrary& library, const RuneBook* book);

    // Empties the region, treasure, level and rune library arrays, in that order.
    void ClearSystemRecords();

private:
    int PositionOf(const Character* character) const;
    int PositionOf(const RuneLibrary* library) const;
};

}  // namespace brix
