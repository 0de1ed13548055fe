#pragma once

#include <functional>
#include <memory>
#include <string>

#include "core/base/ProgramPaths.h"

namespace brix {

// Read access to the members of the system data archive. Member names match exactly, with
// regard to case. Members are read in pieces of PieceSize bytes.
class ZipArchive {
public:
    static constexpr int PieceSize = 1024;

    enum class ReadResult { Ok, NotFound, OpenFailed, ReadFailed, TooLarge, Stopped };

    // Opens a zip archive, or gives nullptr when the file is missing or no zip archive.
    static std::unique_ptr<ZipArchive> Open(const std::string& path);
    ~ZipArchive();
    ZipArchive(const ZipArchive&) = delete;
    ZipArchive& operator=(const ZipArchive&) = delete;

    // Member access, one member at a time.
    bool Locate(const std::string& name);
    bool OpenCurrent();
    // Decompressed bytes read (at most `size`), 0 at the member's end, negative on error.
    int ReadCurrent(void* buffer, unsigned size);
    void CloseCurrent();

    // Streams a whole member to the sink in pieces; the sink returns false to stop early.
    ReadResult ReadMember(const std::string& name,
                          const std::function<bool(const char* data, int size)>& sink);
    // Reads a whole member into memory, refusing members larger than maxBytes.
    ReadResult ReadMemberBytes(const std::string& name, std::string& out, std::size_t maxBytes);

    const std::string& Path() const { return path_; }

private:
    ZipArchive(void* handle, std::string path) : handle_(handle), path_(std::move(path)) {}
    void* handle_;
    std::string path_;
};

struct FoundArchive {
    std::unique_ptr<ZipArchive> Archive;  // null when no candidate is a zip archive
    ProgramPaths Paths;                   // ProgramDirectory is set in every case
};

// Looks for the archive where ArchiveCandidates says, in its order; a candidate that is not a
// zip archive is skipped. The folder where it is found is the data directory; the user data file
// and the settings file (the executable's base name + ".ini") live in the folder
// ChooseUserDirectory picks for it.
FoundArchive FindArchive(const std::string& archiveName, const ProgramLocation& location,
                         const std::string& userDataFileName = std::string());

}  // namespace brix
