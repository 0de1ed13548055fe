#pragma once

#include <QImage>

#include <future>

#include "core/data/ZipArchive.h"

namespace brix {

class Messages;
class Session;

// The world picture, which a worker may still be decoding when StartUp returns; invalid when
// there is none to wait for (the multimap failed to load).
struct PendingWorld {
    std::future<QImage> World;
};

// The loading half of start-up, everything before the main window: finds the archive, reads
// the display settings, loads the system and user data, marks the system's rune libraries
// permanent, restores the current character and rune library, builds the drawing resources
// and computes every treasure's label geometry. False means start-up must end (a message has
// been shown); the user data file is then never written. The world picture is left to
// FinishStartUp, which the program calls once its main window is built and before showing it.
bool StartUp(Session& session, Messages& messages, const ProgramLocation& location,
             PendingWorld& pending);
// Installs the world picture (or shows why it could not be loaded) and sends the change
// notification, so that views built without it take its size.
void FinishStartUp(Session& session, Messages& messages, PendingWorld& pending);
// Both, for callers that need no main window in between.
bool StartUp(Session& session, Messages& messages, const ProgramLocation& location);

// The data half of shutdown: writes the user data file (a failure is shown and shutdown goes
// on) and empties the system records.
void ShutDown(Session& session, Messages& messages);

}  // namespace brix
