#pragma once

#include <initializer_list>

#include "core/data/GameRecords.h"

namespace brix {
class Session;
}

namespace brix::test {

// Stores treasures named "Spot N" in the region, and levels named "Level N".
void AddTreasures(GameRecords& records, std::initializer_list<int> indexes, int region = 0);
void AddLevels(GameRecords& records, std::initializer_list<int> indexes);

// Empties the session as a new one would be: no world, no records, no paths, the filter's
// default options, nothing to undo.
void ResetSession(Session& session);

}  // namespace brix::test
