#include "core/data/ZipArchive.h"

#include <unzip.h>
#include <QFile>

#include <vector>

#include "core/base/ProgramPaths.h"

namespace brix {
namespace {

unzFile Handle(void* h) {
    return static_cast<unzFile>(h);
}

}  // namespace

std::unique_ptr<ZipArchive> ZipArchive::Open(const std::string& path) {
    const QByteArray local = QFile::encodeName(QString::fromStdString(path));
    unzFile h = unzOpen(local.constData());
    if (h == nullptr) return nullptr;
    return std::unique_ptr<ZipArchive>(new ZipArchive(h, path));
}

ZipArchive::~ZipArchive() {
    unzClose(Handle(handle_));
}

bool ZipArchive::Locate(const std::string& name) {
    return unzLocateFile(Handle(handle_), name.c_str(), 1) == UNZ_OK;
}

bool ZipArchive::OpenCurrent() {
    return unzOpenCurrentFile(Handle(handle_)) == UNZ_OK;
}

int ZipArchive::ReadCurrent(void* buffer, unsigned size) {
    return unzReadCurrentFile(Handle(handle_), buffer, size);
}

void ZipArchive::CloseCurrent() {
    unzCloseCurrentFile(Handle(handle_));
}

ZipArchive::ReadResult ZipArchive::ReadMember(const std::string& name,
                                              const std::function<bool(const char*, int)>& sink) {
    if (!Locate(name)) return ReadResult::NotFound;
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
    CloseCurrent();
    return result;
}

ZipArchive::ReadResult ZipArchive::ReadMemberBytes(const std::string& name, std::string& out,
                                                   std::size_t maxBytes) {
    out.clear();
    bool tooLarge = false;
    ReadResult result = ReadMember(name, [&](const char* data, int size) {
        if (out.size() + static_cast<std::size_t>(size) > maxBytes) {
            tooLarge = true;
            return false;
        }
        out.append(data, static_cast<std::size_t>(size));
        return true;
    });
    if (tooLarge) {
        out.clear();
        return ReadResult::TooLarge;
    }
    if (result != ReadResult::Ok) out.clear();
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
