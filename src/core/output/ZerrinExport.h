#pragma once

#include <string>
#include <vector>

#include "core/data/MapFilter.h"
#include "core/output/ZerrinCategories.h"

class QObject;

namespace brix {

class Messages;
class Session;

inline constexpr const char* DefaultPlaceType = "treasure";
inline constexpr std::size_t MaxPlaceNameBytes = 255;

// The place file Zerrin reads, as UTF-8 bytes: the line "3", then one line per treasure in slot
// order, "+<type>: <x> <y> 0 <Index> - <Name>" ("-" instead of "+" for a shop category), every
// line ending in CR LF on every platform. Empty slots are skipped, and so, while the filter's
// OnlyTreasuresWithMaps is on, are treasures without its has-map flag. A name is cut to its
// first 255 bytes, never inside a character; control characters in the name or the type become
// spaces, so every place stays on its own line.
std::string ZerrinPlaceFile(const GameRecords& records, const MapFilter& filter,
                            const std::string& placeType, bool shop);

// The place types to offer, sorted without regard to case ("treasure" alone when Zerrin has
// none), and the position of the stored type in them (matched without regard to case), else 0.
struct PlaceTypeChoice {
    std::vector<std::string> Types;
    int Selected = 0;
};
PlaceTypeChoice ChoosePlaceTypes(const ZerrinCategories& categories, const std::string& stored);

// One "Export to Zerrin..." command without its widgets: what the Save As dialog starts with,
// the export's own copy of the global filter (which the export never changes), and writing the
// file.
class ZerrinExport {
public:
    ZerrinExport(Session& session, ZerrinCategories categories);

    // The last export's file, else "brix.map" beside the archive or, for an installed copy, in
    // the user's documents.
    const std::string& InitialPath() const { return initialPath_; }
    const PlaceTypeChoice& PlaceTypes() const { return placeTypes_; }
    const ZerrinCategories& Categories() const { return categories_; }
    // The private filter; "Filter ..." works on this one.
    MapFilter& Filter() { return filter_; }
    const Session& GetSession() const { return session_; }

    // Recomputes the private filter's has-map flags for the current character, then replaces
    // the file with the place file so that a failed write never
    // leaves half a file. On success remembers the path and the place type in the settings
    // and returns true. On failure shows "Unable to open the Zerrin map file" with the file's
    // name (without its folder), owned by `owner`, leaves the settings alone and returns false.
    bool Write(const std::string& path, const std::string& placeType, Messages& messages,
               QObject* owner);

private:
    Session& session_;
    ZerrinCategories categories_;
    MapFilter filter_;
    std::string initialPath_;
    PlaceTypeChoice placeTypes_;
};

}  // namespace brix
