#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "core/base/ProgramPaths.h"

namespace brix {

// Read access to the members of the system data archive. Member names match exactly, with
// regard to case. Members are read in pieces of PieceSize bytes.
//
// The archive is untrusted input. A member's declared (uncompressed) size is the contract:
// reading never yields more than it, a stream that ends short of it or whose checksum does not
// match is a read error, and callers can refuse a member by its declared size before they
// commit any memory to it.
class ZipArchive {
public:
    static constexpr int PieceSize = 1024;
    // More members than a zip archive without its 64-bit extension can hold are not indexed.
    static constexpr std::size_t MaxMembers = 65535;

    enum class ReadResult { Ok, NotFound, OpenFailed, ReadFailed, TooLarge, Stopped };

    // Opens a zip archive, or gives nullptr when the file is missing or no zip archive.
    static std::unique_ptr<ZipArchive> Open(const std::string& path);
    // The same over bytes in memory (the archive keeps its own copy).
    static std::unique_ptr<ZipArchive> OpenBytes(std::string bytes);
    ~ZipArchive();
    ZipArchive(const ZipArchive&) = delete;
    ZipArchive& operator=(const ZipArchive&) = delete;

    // The member names in the order of the central directory; a name that occurs twice is
    // listed once (the first entry is the one read).
    std::vector<std::string> MemberNames() const;

    // Member access, one member at a time.
    bool Locate(const std::string& name);
    bool OpenCurrent();
    // The declared uncompressed size of the located member.
    std::uint64_t CurrentDeclaredSize() const { return declaredSize_; }
    // Decompressed bytes read (at most `size`), 0 at the member's end, negative on error. The
    // end comes at the declared size at the latest; a stream that ends before it is an error.
    int ReadCurrent(void* buffer, unsigned size);
    // False when the member was read to its end and its checksum does not match.
    bool CloseCurrent();

    // Streams a whole member to the sink in pieces; the sink returns false to stop early.
    // A member declared larger than maxBytes is refused before it is opened.
    ReadResult ReadMember(const std::string& name,
                          const std::function<bool(const char* data, int size)>& sink,
                          std::uint64_t maxBytes = UINT64_MAX);
    // Reads a whole member into memory, refusing (without allocating) members declared larger
    // than maxBytes.
    ReadResult ReadMemberBytes(const std::string& name, std::string& out, std::size_t maxBytes);

    const std::string& Path() const { return path_; }

private:
    struct Index;
    struct MemoryFile;
    ZipArchive(void* handle, std::string path, std::unique_ptr<MemoryFile> memory);
    void BuildIndex();

    void* handle_;
    std::string path_;
    std::unique_ptr<MemoryFile> memory_;  // the bytes of an archive opened from memory
    std::unique_ptr<Index> index_;
    std::uint64_t declaredSize_ = 0;
    std::uint64_t readSoFar_ = 0;
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
