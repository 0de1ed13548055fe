#pragma once

#include "core/data/ZipArchive.h"

namespace brix {

class Messages;
class TreasureCatalog;

// The loading half of start-up, everything before the main window: finds the archive, reads
// the display settings, loads the system and user data, marks the system's rune libraries
// permanent, restores the current character and rune library and builds the drawing
// resources. False means start-up must end (a message has been shown); the user data file is
// then never written.
bool StartUp(TreasureCatalog& catalog, Messages& messages, const ProgramLocation& location);

// The data half of shutdown: writes the user data file (a failure is shown and shutdown goes
// on) and empties the system records.
void ShutDown(TreasureCatalog& catalog, Messages& messages);

}  // namespace brix
