#pragma once

#include <string>

namespace brix {

// Replaces the file with the bytes through a temporary file in the same folder that takes the
// old file's place only when complete, so a crash or a full disk never leaves half a file.
// Where the folder takes no new files (a shared or installed set-up) but the file exists and
// is writable, the file is rewritten in place instead. False when neither worked; the old file
// is then unchanged unless the in-place write itself failed part way. With createFolder a missing
// folder is made first (with its parents); otherwise a missing folder is a failure.
bool WriteFileSafely(const std::string& path, const std::string& bytes, bool createFolder = false);

}  // namespace brix
