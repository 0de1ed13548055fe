#pragma once

#include <functional>
#include <memory>
#include <string>

namespace brix {

class TreasureCatalog;

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

// Where the program runs from: the working directory and the executable's full path.
struct ProgramLocation {
    std::string WorkingDirectory;
    std::string ExecutablePath;
};

// The executable's directory (with its trailing separator) and base name (its file name up to
// the last full stop, or the whole file name when it has none).
void SplitExecutablePath(const std::string& executablePath, std::string& directory,
                         std::string& baseName);

// Looks for the archive in the working directory, then beside the executable; a candidate
// that is not a zip archive is skipped. On success sets the catalogue's DataDirectory and
// SettingsPath; ProgramDirectory is set in every case.
std::unique_ptr<ZipArchive> FindArchive(TreasureCatalog& catalog, const std::string& archiveName,
                                        const ProgramLocation& location);

}  // namespace brix
