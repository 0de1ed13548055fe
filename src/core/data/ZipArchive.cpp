#include "core/data/ZipArchive.h"

#include <unzip.h>
#include <QFile>

#include "core/data/TreasureCatalog.h"

namespace brix {
namespace {

unzFile Handle(void* h) {
    return static_cast<unzFile>(h);
}

bool IsSeparator(char c) {
#ifdef Q_OS_WIN
    return c == '/' || c == '\\' || c == ':';
#else
    return c == '/';
#endif
}

std::string WithSeparator(std::string dir) {
    if (dir.empty() || !IsSeparator(dir.back())) dir += '/';
    return dir;
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

void SplitExecutablePath(const std::string& executablePath, std::string& directory,
                         std::string& baseName) {
    std::size_t nameStart = 0;
    for (std::size_t i = 0; i < executablePath.size(); ++i) {
        if (IsSeparator(executablePath[i])) nameStart = i + 1;
    }
    directory = executablePath.substr(0, nameStart);
    const std::string fileName = executablePath.substr(nameStart);
    const std::size_t dot = fileName.rfind('.');
    baseName = dot == std::string::npos ? fileName : fileName.substr(0, dot);
}

std::unique_ptr<ZipArchive> FindArchive(TreasureCatalog& catalog, const std::string& archiveName,
                                        const ProgramLocation& location) {
    std::string baseName;
    SplitExecutablePath(location.ExecutablePath, catalog.ProgramDirectory, baseName);

    std::vector<std::string> candidates;
    if (!location.WorkingDirectory.empty())
        candidates.push_back(WithSeparator(location.WorkingDirectory));
    candidates.push_back(catalog.ProgramDirectory);

    for (const std::string& dir : candidates) {
        if (auto archive = ZipArchive::Open(dir + archiveName)) {
            catalog.DataDirectory = dir;
            catalog.SettingsPath = dir + baseName + ".ini";
            return archive;
        }
    }
    catalog.DataDirectory.clear();
    catalog.SettingsPath.clear();
    return nullptr;
}

}  // namespace brix
