#include "core/output/InfoText.h"

#include <QClipboard>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QString>

#include <algorithm>

#include "core/base/Messages.h"
#include "core/base/Strings.h"
#include "core/data/MapFilter.h"
#include "core/data/Session.h"
#include "core/map/MapGeometry.h"

namespace brix {
namespace {

constexpr const char* LineEnd = "\r\n";
constexpr const char* ListSeparator = ", ";

// The names of the current library's books that hold the treasure, in book order; each book
// is named once however often it lists the treasure.
std::string RuneBookList(const Session& session, int treasureIndex) {
    const RuneLibrary* library = session.GetCurrentRuneLibrary();
    if (library == nullptr) return std::string();
    std::string list;
    for (const RuneBook& book : library->RuneBooks) {
        if (std::find(book.Treasures.begin(), book.Treasures.end(), treasureIndex) ==
            book.Treasures.end())
            continue;
        if (!list.empty()) list += ListSeparator;
        list += book.Name;
    }
    return list;
}

// "L<level>=<count>" for every level the current character holds maps of for the treasure.
std::string MapCountList(const Session& session, int treasureIndex) {
    const Character* character = session.GetCurrentCharacter();
    if (character == nullptr) return std::string();
    const MapCounts* entry = FindMapCounts(*character, treasureIndex);
    return entry != nullptr ? MapCountsList(*entry) : std::string();
}

void AppendOrNone(std::string& text, const std::string& list) {
    text += list.empty() ? LoadString(StringId::NoneText) : list;
    text += LineEnd;
}

}  // namespace

std::string BuildTreasureText(const Session& session, const Treasure& treasure, bool terse) {
    std::string text = FormatText(
        LoadString(StringId::TreasureFormat),
        {treasure.Index, treasure.Name, SextantText(treasure.Location.X, treasure.Location.Y),
         treasure.Location.X, treasure.Location.Y});
    text += LoadString(StringId::RuneBooksHeading);
    AppendOrNone(text, RuneBookList(session, treasure.Index));
    text += LoadString(StringId::MapsHeading);
    AppendOrNone(text, MapCountList(session, treasure.Index));
    if (!terse) {
        const Region* region = session.GetWorld().FindRegion(treasure.Region);
        if (region != nullptr && !region->Comment.empty()) {
            text += LineEnd;
            text += region->Comment;
            text += LineEnd;
        }
    }
    return text;
}

std::string BuildRegionText(const Region& region, bool terse) {
    std::string text = FormatText(LoadString(StringId::RegionFormat), {region.Index, region.Name});
    if (!terse && !region.Comment.empty()) {
        text += LineEnd;
        text += region.Comment;
        text += LineEnd;
    }
    return text;
}

std::string BuildLevelText(const Level& level, bool terse) {
    std::string text =
        FormatText(LoadString(StringId::LevelFormat),
                   {level.Index, level.Name, level.Cartography, level.Lockpicking, level.Gold,
                    level.Gems, level.MagicItems, level.Scrolls, level.Reagents});
    if (terse) return text;
    text += LoadString(StringId::SpawnHeading);
    text += level.WhatSpawns;
    text += LineEnd;
    // One blank line between the two lists, whether or not the first is empty.
    if (!level.WhatSpawns.empty()) text += LineEnd;
    text += LoadString(StringId::DropHeading);
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

void CopyText(const std::string& utf8, Messages& messages, QObject* owner,
              const ClipboardWriter& write) {
    if (!write(utf8)) messages.Show(LoadString(StringId::ClipboardError), MessageIcon::None, owner);
}

void CopyTreasureText(const Session& session, const Treasure* treasure, Messages& messages,
                      QObject* owner, const ClipboardWriter& write) {
    if (treasure == nullptr) return;
    CopyText(BuildTreasureText(session, *treasure, false), messages, owner, write);
}

}  // namespace brix
