#pragma once

#include "core/data/UserRecords.h"

namespace brix {

// The player's records: characters with their map counts, and the rune libraries (the archive's
// permanent ones first, flagged, then the player's own). Plain records: every change to them
// goes through the Session, which makes it undoable and has it saved.
struct UserData : UserRecords {};

}  // namespace brix
