#pragma once

#include <iosfwd>
#include <string>

#include "core/base/ProgramPaths.h"

namespace brix {

// Exit codes of "--identify PICTURE".
inline constexpr int IdentifyMatched = 0;     // the best candidate counts as a match
inline constexpr int IdentifyNoMatch = 1;     // none does (or the picture is too small)
inline constexpr int IdentifyUnreadable = 2;  // the file is no picture the program can read
inline constexpr int IdentifyNoWorld = 3;     // the world could not be loaded

// Identifies the picture without a window: finds and reads the archive as start-up does (the
// world's records and multimap only; neither the user data nor the settings file is read or
// written), prints the best candidates to `out`, one a line (rank, number, name, region,
// score, separated by tabs), and any message to `err`. Returns one of the codes above.
int RunIdentifyCommand(const std::string& picturePath, const ProgramLocation& location,
                       std::ostream& out, std::ostream& err);

}  // namespace brix
