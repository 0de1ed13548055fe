#include "core/data/ZipArchive.h"

#include <unzip.h>
#include <QFile>

#include <algorithm>
#include <cstring>
#include <unordered_map>
#include <vector>

#include "core/base/ProgramPaths.h"

namespace brix {
namespace {

unzFile Handle(void* h) {
    return static_cast<unzFile>(h);
}

}  // namespace

struct ZipArchive::Index {
    std::vector<std::string> Names;
    std::unordered_map<std::string, unz64_file_pos> Positions;
};

// An archive held in memory, read through minizip's file functions.
struct ZipArchive::MemoryFile {
    std::string Bytes;
    std::uint64_t Position = 0;

    static voidpf OpenFile(voidpf opaque, const void*, int) { return opaque; }
    static uLong ReadFile(voidpf, voidpf stream, void* buffer, uLong size) {
        auto* file = static_cast<MemoryFile*>(stream);
        if (file->Position >= file->Bytes.size()) return 0;
        const std::uint64_t left = file->Bytes.size() - file->Position;
        const uLong n = static_cast<uLong>(std::min<std::uint64_t>(size, left));
        std::memcpy(buffer, file->Bytes.data() + file->Position, n);
        file->Position += n;
        return n;
    }
    static uLong WriteFile(voidpf, voidpf, const void*, uLong) { return 0; }
    static ZPOS64_T Tell(voidpf, voidpf stream) {
        return static_cast<MemoryFile*>(stream)->Position;
    }
    static long Seek(voidpf, voidpf stream, ZPOS64_T offset, int origin) {
        auto* file = static_cast<MemoryFile*>(stream);
        std::uint64_t base = 0;
        switch (origin) {
            case ZLIB_FILEFUNC_SEEK_SET:
                break;
            case ZLIB_FILEFUNC_SEEK_CUR:
                base = file->Position;
                break;
            case ZLIB_FILEFUNC_SEEK_END:
                base = file->Bytes.size();
                break;
            default:
                return -1;
        }
        if (offset > file->Bytes.size() || base > file->Bytes.size() - offset) return -1;
        file->Position = base + offset;
        return 0;
    }
    static int CloseFile(voidpf, voidpf) { return 0; }
    static int Error(voidpf, voidpf) { return 0; }
};

ZipArchive::ZipArchive(void* handle, std::string path, std::unique_ptr<MemoryFile> memory)
    : handle_(handle), path_(std::move(path)), memory_(std::move(memory)) {
    BuildIndex();
}

std::unique_ptr<ZipArchive> ZipArchive::Open(const std::string& path) {
    const QByteArray local = QFile::encodeName(QString::fromStdString(path));
    unzFile h = unzOpen64(local.constData());
    if (h == nullptr) return nullptr;
    return std::unique_ptr<ZipArchive>(new ZipArchive(h, path, nullptr));
}

std::unique_ptr<ZipArchive> ZipArchive::OpenBytes(std::string bytes) {
    auto memory = std::make_unique<MemoryFile>();
    memory->Bytes = std::move(bytes);
    zlib_filefunc64_def functions{};
    functions.zopen64_file = &MemoryFile::OpenFile;
    functions.zread_file = &MemoryFile::ReadFile;
    functions.zwrite_file = &MemoryFile::WriteFile;
    functions.ztell64_file = &MemoryFile::Tell;
    functions.zseek64_file = &MemoryFile::Seek;
    functions.zclose_file = &MemoryFile::CloseFile;
    functions.zerror_file = &MemoryFile::Error;
    functions.opaque = memory.get();
    unzFile h = unzOpen2_64("", &functions);
    if (h == nullptr) return nullptr;
    return std::unique_ptr<ZipArchive>(new ZipArchive(h, "", std::move(memory)));
}

ZipArchive::~ZipArchive() {
    unzClose(Handle(handle_));
}

// One pass over the central directory, so that finding a member costs a hash look-up instead
// of a walk over every entry before it (start-up looks up one member per region).
void ZipArchive::BuildIndex() {
    index_ = std::make_unique<Index>();
    unzFile h = Handle(handle_);
    std::string name;
    for (int status = unzGoToFirstFile(h); status == UNZ_OK && index_->Names.size() < MaxMembers;
         status = unzGoToNextFile(h)) {
        unz_file_info64 info{};
        if (unzGetCurrentFileInfo64(h, &info, nullptr, 0, nullptr, 0, nullptr, 0) != UNZ_OK) break;
        // A zip name field holds at most 65,535 bytes.
        name.assign(info.size_filename, '\0');
        if (unzGetCurrentFileInfo64(h, &info, name.data(), static_cast<uLong>(name.size()), nullptr,
                                    0, nullptr, 0) != UNZ_OK)
            break;
        // minizip reads names as C strings: a name with a zero byte is known by its first part.
        name.resize(std::strlen(name.c_str()));
        unz64_file_pos position{};
        if (unzGetFilePos64(h, &position) != UNZ_OK) break;
        if (index_->Positions.emplace(name, position).second) index_->Names.push_back(name);
    }
}

std::vector<std::string> ZipArchive::MemberNames() const {
    return index_->Names;
}

bool ZipArchive::Locate(const std::string& name) {
    declaredSize_ = 0;
    readSoFar_ = 0;
    const auto found = index_->Positions.find(name);
    if (found == index_->Positions.end()) return false;
    if (unzGoToFilePos64(Handle(handle_), &found->second) != UNZ_OK) return false;
    unz_file_info64 info{};
    if (unzGetCurrentFileInfo64(Handle(handle_), &info, nullptr, 0, nullptr, 0, nullptr, 0) !=
        UNZ_OK)
        return false;
    declaredSize_ = info.uncompressed_size;
    return true;
}

bool ZipArchive::OpenCurrent() {
    readSoFar_ = 0;
    return unzOpenCurrentFile(Handle(handle_)) == UNZ_OK;
}

int ZipArchive::ReadCurrent(void* buffer, unsigned size) {
    const std::uint64_t left = declaredSize_ - readSoFar_;
    if (left == 0) return 0;
    const unsigned wanted = static_cast<unsigned>(std::min<std::uint64_t>(size, left));
    const int n = unzReadCurrentFile(Handle(handle_), buffer, wanted);
    if (n < 0) return n;
    // The stream ended before the size its header promised: the member is damaged.
    if (n == 0) return UNZ_ERRNO;
    readSoFar_ += static_cast<unsigned>(n);
    return n;
}

bool ZipArchive::CloseCurrent() {
    return unzCloseCurrentFile(Handle(handle_)) == UNZ_OK;
}

ZipArchive::ReadResult ZipArchive::ReadMember(const std::string& name,
                                              const std::function<bool(const char*, int)>& sink,
                                              std::uint64_t maxBytes) {
    if (!Locate(name)) return ReadResult::NotFound;
    if (CurrentDeclaredSize() > maxBytes) return ReadResult::TooLarge;
    if (!OpenCurrent()) return ReadResult::OpenFailed;
    char piece[PieceSize];
    ReadResult result = ReadResult::Ok;
    for (;;) {
        const int n = ReadCurrent(piece, PieceSize);
        if (n == 0) break;
        if (n < 0) {
            result = ReadResult::ReadFailed;
            break;
        }
        if (!sink(piece, n)) {
            result = ReadResult::Stopped;
            break;
        }
    }
    // The checksum is only known once the whole member has been read.
    if (!CloseCurrent() && result == ReadResult::Ok) result = ReadResult::ReadFailed;
    return result;
}

ZipArchive::ReadResult ZipArchive::ReadMemberBytes(const std::string& name, std::string& out,
                                                   std::size_t maxBytes) {
    out.clear();
    out.shrink_to_fit();
    if (!Locate(name)) return ReadResult::NotFound;
    if (CurrentDeclaredSize() > maxBytes) return ReadResult::TooLarge;
    // The declared size is trusted for the allocation only because it is bounded; reading
    // never goes past it.
    out.reserve(static_cast<std::size_t>(CurrentDeclaredSize()));
    ReadResult result = ReadMember(
        name,
        [&](const char* data, int size) {
            out.append(data, static_cast<std::size_t>(size));
            return true;
        },
        maxBytes);
    if (result != ReadResult::Ok) {
        out.clear();
        out.shrink_to_fit();
    }
    return result;
}

FoundArchive FindArchive(const std::string& archiveName, const ProgramLocation& location,
                         const std::string& userDataFileName) {
    FoundArchive found;
    std::string baseName;
    SplitExecutablePath(location.ExecutablePath, found.Paths.ProgramDirectory, baseName);
    std::vector<std::string> userFiles{baseName + ".ini"};
    if (!userDataFileName.empty()) userFiles.push_back(userDataFileName);

    for (const ArchiveCandidate& candidate : ArchiveCandidates(archiveName, location)) {
        if (auto archive = ZipArchive::Open(candidate.Path)) {
            found.Archive = std::move(archive);
            found.Paths.DataDirectory = candidate.Folder;
            found.Paths.UserDirectory = ChooseUserDirectory(candidate.Place, candidate.Folder,
                                                            location.PerUserDirectory, userFiles);
            found.Paths.UserDirectoryIsPerUser = found.Paths.UserDirectory != candidate.Folder;
            found.Paths.SettingsPath = found.Paths.UserDirectory + baseName + ".ini";
            break;
        }
    }
    return found;
}

}  // namespace brix
