#include "core/output/InfoText.h"

#include <QClipboard>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QString>

#include <algorithm>

#include "core/base/Messages.h"
#include "core/base/Strings.h"
#include "core/data/TreasureCatalog.h"
#include "core/map/MapGeometry.h"

namespace brix {
namespace {

constexpr int NoneText = 11010;
constexpr int LevelFormat = 12000;
constexpr int SpawnHeading = 12001;
constexpr int DropHeading = 12002;
constexpr int RegionFormat = 12003;
constexpr int TreasureFormat = 12004;
constexpr int RuneBooksHeading = 12005;
constexpr int MapsHeading = 12006;

constexpr const char* LineEnd = "\r\n";
constexpr const char* ListSeparator = ", ";

// The names of the current library's books that hold the treasure, in book order; each book
// is named once however often it lists the treasure.
std::string RuneBookList(const TreasureCatalog& catalog, int treasureIndex) {
    const int current = catalog.CurrentRuneLibrary;
    if (current < 0 || static_cast<std::size_t>(current) >= catalog.RuneLibraries.size())
        return std::string();
    std::string list;
    for (const RuneBook& book : catalog.RuneLibraries[current].RuneBooks) {
        if (std::find(book.Treasures.begin(), book.Treasures.end(), treasureIndex) ==
            book.Treasures.end())
            continue;
        if (!list.empty()) list += ListSeparator;
        list += book.Name;
    }
    return list;
}

// "L<level>=<count>" for every level the current character holds maps of for the treasure.
std::string MapCountList(const TreasureCatalog& catalog, int treasureIndex) {
    const Character* character = catalog.GetCurrentCharacter();
    if (character == nullptr) return std::string();
    const auto entry =
        std::find_if(character->Entries.begin(), character->Entries.end(),
                     [treasureIndex](const MapCounts& e) { return e.Index == treasureIndex; });
    if (entry == character->Entries.end()) return std::string();
    std::string list;
    for (int level = 1; level <= MaxLevels; ++level) {
        const int count = entry->Counts[level - 1];
        if (count <= 0) continue;
        if (!list.empty()) list += ListSeparator;
        list += FormatText("L%d=%d", {level, count});
    }
    return list;
}

void AppendOrNone(std::string& text, const std::string& list) {
    text += list.empty() ? LoadString(NoneText) : list;
    text += LineEnd;
}

}  // namespace

std::string BuildTreasureText(const TreasureCatalog& catalog, const Treasure& treasure,
                              bool terse) {
    std::string text = FormatText(
        LoadString(TreasureFormat),
        {treasure.Index, treasure.Name, SextantText(treasure.Location.X, treasure.Location.Y),
         treasure.Location.X, treasure.Location.Y});
    text += LoadString(RuneBooksHeading);
    AppendOrNone(text, RuneBookList(catalog, treasure.Index));
    text += LoadString(MapsHeading);
    AppendOrNone(text, MapCountList(catalog, treasure.Index));
    if (!terse) {
        const Region* region = catalog.FindRegion(treasure.Region);
        if (region != nullptr && !region->Comment.empty()) {
            text += LineEnd;
            text += region->Comment;
            text += LineEnd;
        }
    }
    return text;
}

std::string BuildRegionText(const Region& region, bool terse) {
    std::string text = FormatText(LoadString(RegionFormat), {region.Index, region.Name});
    if (!terse && !region.Comment.empty()) {
        text += LineEnd;
        text += region.Comment;
        text += LineEnd;
    }
    return text;
}

std::string BuildLevelText(const Level& level, bool terse) {
    std::string text =
        FormatText(LoadString(LevelFormat),
                   {level.Index, level.Name, level.Cartography, level.Lockpicking, level.Gold,
                    level.Gems, level.MagicItems, level.Scrolls, level.Reagents});
    if (terse) return text;
    text += LoadString(SpawnHeading);
    text += level.WhatSpawns;
    text += LineEnd;
    // One blank line between the two lists, whether or not the first is empty.
    if (!level.WhatSpawns.empty()) text += LineEnd;
    text += LoadString(DropHeading);
    text += level.WhatDrops;
    text += LineEnd;
    return text;
}

bool WriteClipboardText(const std::string& utf8) {
    // The clipboard belongs to the GUI application; without one there is nothing to write to.
    if (qobject_cast<QGuiApplication*>(QCoreApplication::instance()) == nullptr) return false;
    QClipboard* clipboard = QGuiApplication::clipboard();
    if (clipboard == nullptr) return false;
    const QString text = QString::fromStdString(utf8);
    clipboard->setText(text, QClipboard::Clipboard);
    // setText() reports nothing, so read the text back to learn whether it arrived.
    return clipboard->text(QClipboard::Clipboard) == text;
}

void CopyTreasureText(const TreasureCatalog& catalog, const Treasure* treasure, Messages& messages,
                      QObject* owner, const ClipboardWriter& write) {
    if (treasure == nullptr) return;
    if (!write(BuildTreasureText(catalog, *treasure, false)))
        messages.Show(LoadString(StringId::ClipboardError), MessageIcon::None, owner);
}

}  // namespace brix
