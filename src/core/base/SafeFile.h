#pragma once

#include <string>

namespace brix {

// Replaces the file with the bytes through a temporary file in the same folder that takes the
// old file's place only when complete and synced, so a crash or a full disk never leaves half a
// file. Where the folder takes no new files (a shared or installed set-up) but the file exists
// and is writable, the file is rewritten in place instead. False when neither worked; the old
// file is then unchanged unless the in-place write itself failed part way. With createFolder a
// missing folder is made first (with its parents); otherwise a missing folder is a failure.
bool WriteFileSafely(const std::string& path, const std::string& bytes, bool createFolder = false);

// The name pattern of the temporary file WriteFileSafely writes beside `path`: the file name,
// ".brix-save-", six letters or digits and ".tmp". No person names a file so, which is what lets
// the clean-up below tell the program's own leftovers from a player's copies.
std::string SaveFilePattern(const std::string& fileName);

// Removes what a WriteFileSafely cut off by a crash or a kill can leave beside `path`: its
// temporary files, and nothing else (a player's "user.xml.backup" or "user.xml.240612" stays).
// Called at start-up, before the file is read, so that they never pile up. Returns how many were
// removed. (A second copy of the program saving the same file at that moment would lose its
// temporary file and report the save as failed; it never leaves a half-written file.)
int RemoveStaleSaveFiles(const std::string& path);

}  // namespace brix
