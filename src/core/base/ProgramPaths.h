#pragma once

#include <string>
#include <utility>
#include <vector>

namespace brix {

// Where the program runs from and where it may look for its data: the working directory, the
// executable's full path, an archive named on the command line, the installed data folders and
// the per-user data folder.
struct ProgramLocation {
    ProgramLocation() = default;
    // The usual pair; the other members start empty.
    ProgramLocation(std::string workingDirectory, std::string executablePath)
        : WorkingDirectory(std::move(workingDirectory)),
          ExecutablePath(std::move(executablePath)) {}

    std::string WorkingDirectory;
    std::string ExecutablePath;
    // An archive file named on the command line (relative to the working directory); when set,
    // it is the only candidate.
    std::string ArchiveArgument;
    // Folders of an installed copy, tried in this order after the working directory and the
    // program's folder: share/brix-tools beside the program's bin folder, then the XDG data
    // directories' brix-tools folders.
    std::vector<std::string> InstalledDataDirectories;
    // Where the user's files go when the data folder takes none (e.g. ~/.local/share/brix-tools);
    // empty when the system names none.
    std::string PerUserDirectory;
};

// The folders and files of one run, fixed when the archive is found.
struct ProgramPaths {
    std::string ProgramDirectory;  // ends in a path separator
    std::string DataDirectory;     // ends in a path separator; empty until the archive is found
    // The folder of user.xml and the settings file: the data directory when it takes them, else
    // the per-user folder. Ends in a path separator; empty until the archive is found.
    std::string UserDirectory;
    // The user's files live in the per-user folder, which the first save creates.
    bool UserDirectoryIsPerUser = false;
    std::string SettingsPath;  // empty until the archive is found

    // A file of the data directory.
    std::string DataFile(const std::string& fileName) const { return DataDirectory + fileName; }
    // Where a file the user makes for use elsewhere (an export, a printed PDF) is first
    // proposed: beside the archive while the user's files live there, else in the user's
    // documents folder, never in a folder the package manager owns.
    std::string DocumentFile(const std::string& fileName) const;
};

bool IsPathSeparator(char c);

// The folder with a trailing separator added when it has none (an empty folder gives "/").
std::string WithSeparator(std::string folder);

// The executable's directory (with its trailing separator) and base name (its file name up to
// the last full stop, or the whole file name when it has none).
void SplitExecutablePath(const std::string& executablePath, std::string& directory,
                         std::string& baseName);

// How an archive candidate was found; an installed copy keeps the user's files apart.
enum class ArchivePlace { Argument, WorkingDirectory, ProgramDirectory, Installed };

struct ArchiveCandidate {
    std::string Path;    // the archive file
    std::string Folder;  // its folder, ending in a path separator
    ArchivePlace Place;
};

// The archive files to try, in order: the command-line argument alone when there is one, else
// the working directory, the program's folder and the installed data folders. A folder listed
// twice is tried once.
std::vector<ArchiveCandidate> ArchiveCandidates(const std::string& archiveName,
                                                const ProgramLocation& location);

// The folder for the user's files (user.xml and the settings file, named in userFiles) once the
// archive is found in dataDirectory. They stay beside the archive when that folder takes new
// files or one of them is already there and writable, so existing set-ups keep their files;
// otherwise, and always for an installed copy (whose folder belongs to the package manager, even
// when run as root), they go to the per-user folder. With no per-user folder known they stay
// beside the archive.
std::string ChooseUserDirectory(ArchivePlace place, const std::string& dataDirectory,
                                const std::string& perUserDirectory,
                                const std::vector<std::string>& userFiles);

}  // namespace brix
