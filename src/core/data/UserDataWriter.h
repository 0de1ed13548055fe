#pragma once

#include <string>

#include "core/data/UserRecords.h"

namespace brix {

class Messages;

// The user data file's exact bytes: the characters and the non-permanent rune libraries.
std::string BuildUserDataText(const UserRecords& records);

// Writes the user data file into the directory (ending in a separator) through a temporary file
// that replaces the old one only when complete; where the folder forbids creating files, an
// existing file is rewritten in place. A missing directory is made only with createDirectory.
// Failure shows message CannotOpenUserData and leaves the old file.
bool SaveUserData(const UserRecords& records, const std::string& directory,
                  const std::string& fileName, Messages& messages, bool createDirectory = false);

}  // namespace brix
