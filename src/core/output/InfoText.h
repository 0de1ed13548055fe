#pragma once

#include <functional>
#include <string>

#include "core/data/Records.h"

class QObject;

namespace brix {

class Messages;
class Session;

// The texts shown, printed and copied for one record: UTF-8, every line ending in CR LF.
// The terse forms leave out region comments and monster lists.

// Name, coordinates, the current rune library's books holding the treasure, the current
// character's maps of it and (full form) its region's comment.
std::string BuildTreasureText(const Session& session, const Treasure& treasure, bool terse);
std::string BuildRegionText(const Region& region, bool terse);
std::string BuildLevelText(const Level& level, bool terse);

// Puts a text on the clipboard as Unicode; false when that did not succeed.
using ClipboardWriter = std::function<bool(const std::string& utf8)>;
bool WriteClipboardText(const std::string& utf8);

// Puts the text on the clipboard; a failure is reported through messages, owned by owner.
void CopyText(const std::string& utf8, Messages& messages, QObject* owner = nullptr,
              const ClipboardWriter& write = WriteClipboardText);

// Puts the full text of the treasure on the clipboard; a failure is reported through messages,
// owned by owner. Does nothing for a null treasure.
void CopyTreasureText(const Session& session, const Treasure* treasure, Messages& messages,
                      QObject* owner = nullptr, const ClipboardWriter& write = WriteClipboardText);

}  // namespace brix
