#pragma once

#include <string>

namespace brix {

// Where the program runs from: the working directory and the executable's full path.
struct ProgramLocation {
    std::string WorkingDirectory;
    std::string ExecutablePath;
};

// The folders and files of one run, fixed when the archive is found.
struct ProgramPaths {
    std::string ProgramDirectory;  // ends in a path separator
    std::string DataDirectory;     // ends in a path separator; empty until the archive is found
    std::string SettingsPath;      // empty until the archive is found

    // A file of the data directory.
    std::string DataFile(const std::string& fileName) const { return DataDirectory + fileName; }
};

bool IsPathSeparator(char c);

// The folder with a trailing separator added when it has none (an empty folder gives "/").
std::string WithSeparator(std::string folder);

// The executable's directory (with its trailing separator) and base name (its file name up to
// the last full stop, or the whole file name when it has none).
void SplitExecutablePath(const std::string& executablePath, std::string& directory,
                         std::string& baseName);

}  // namespace brix
