#include "core/base/ProgramPaths.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTemporaryFile>
#include <QtGlobal>

#include <algorithm>

namespace brix {
namespace {

// A folder in one spelling, so that the same folder reached two ways is tried once.
std::string CleanFolder(const std::string& folder) {
    return WithSeparator(QDir::cleanPath(QString::fromStdString(folder)).toStdString());
}

bool IsAbsolute(const std::string& path) {
    return QDir::isAbsolutePath(QString::fromStdString(path));
}

// Creating a file is the only sure test: permission bits say nothing about read-only mounts,
// immutable folders or root.
bool TakesNewFiles(const std::string& folder) {
    QTemporaryFile probe(QString::fromStdString(folder) + QStringLiteral(".brix-probe-XXXXXX"));
    return probe.open();
}

bool IsWritableFile(const std::string& path) {
    const QFileInfo info(QString::fromStdString(path));
    return info.isFile() && info.isWritable();
}

}  // namespace

bool IsPathSeparator(char c) {
#ifdef Q_OS_WIN
    return c == '/' || c == '\\' || c == ':';
#else
    return c == '/';
#endif
}

std::string WithSeparator(std::string folder) {
    if (folder.empty() || !IsPathSeparator(folder.back())) folder += '/';
    return folder;
}

void SplitExecutablePath(const std::string& executablePath, std::string& directory,
                         std::string& baseName) {
    std::size_t nameStart = 0;
    for (std::size_t i = 0; i < executablePath.size(); ++i) {
        if (IsPathSeparator(executablePath[i])) nameStart = i + 1;
    }
    directory = executablePath.substr(0, nameStart);
    const std::string fileName = executablePath.substr(nameStart);
    const std::size_t dot = fileName.rfind('.');
    baseName = dot == std::string::npos ? fileName : fileName.substr(0, dot);
}

std::vector<ArchiveCandidate> ArchiveCandidates(const std::string& archiveName,
                                                const ProgramLocation& location) {
    std::vector<ArchiveCandidate> candidates;
    if (!location.ArchiveArgument.empty()) {
        std::string path = location.ArchiveArgument;
        if (!IsAbsolute(path) && !location.WorkingDirectory.empty())
            path = WithSeparator(location.WorkingDirectory) + path;
        std::string folder, baseName;
        SplitExecutablePath(path, folder, baseName);
        candidates.push_back(
            {path, folder.empty() ? std::string("./") : folder, ArchivePlace::Argument});
        return candidates;
    }

    std::vector<std::string> seen;
    const auto add = [&](const std::string& folder, ArchivePlace place) {
        if (folder.empty()) return;
        const std::string clean = CleanFolder(folder);
        if (std::find(seen.begin(), seen.end(), clean) != seen.end()) return;
        seen.push_back(clean);
        // The folder keeps the spelling it was given, as the user sees it in the About box.
        const std::string kept = WithSeparator(folder);
        candidates.push_back({kept + archiveName, kept, place});
    };
    add(location.WorkingDirectory, ArchivePlace::WorkingDirectory);
    std::string programDirectory, baseName;
    SplitExecutablePath(location.ExecutablePath, programDirectory, baseName);
    add(programDirectory, ArchivePlace::ProgramDirectory);
    for (const std::string& folder : location.InstalledDataDirectories)
        add(folder, ArchivePlace::Installed);
    return candidates;
}

std::string ChooseUserDirectory(ArchivePlace place, const std::string& dataDirectory,
                                const std::string& perUserDirectory,
                                const std::vector<std::string>& userFiles) {
    if (perUserDirectory.empty()) return dataDirectory;
    if (place != ArchivePlace::Installed) {
        if (TakesNewFiles(dataDirectory)) return dataDirectory;
        for (const std::string& file : userFiles) {
            if (IsWritableFile(dataDirectory + file)) return dataDirectory;
        }
    }
    return WithSeparator(perUserDirectory);
}

std::string ProgramPaths::DocumentFile(const std::string& fileName) const {
    if (!UserDirectoryIsPerUser) return DataDirectory + fileName;
    QString folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (folder.isEmpty() || !QFileInfo(folder).isDir()) folder = QDir::homePath();
    return WithSeparator(folder.toStdString()) + fileName;
}

}  // namespace brix
