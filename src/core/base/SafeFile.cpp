#include "core/base/SafeFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryFile>

#include <filesystem>
#include <system_error>

#ifdef Q_OS_WIN
#include <io.h>
#else
#include <unistd.h>
#endif

namespace brix {
namespace {

constexpr const char* SaveInfix = ".brix-save-";
constexpr const char* SaveSuffix = ".tmp";
constexpr int SaveRandomLength = 6;

bool WriteAll(QFileDevice& file, const std::string& bytes) {
    return file.write(bytes.data(), static_cast<qint64>(bytes.size())) ==
           static_cast<qint64>(bytes.size());
}

// Flushes Qt's buffer and the system's cache, so that the rename that follows never makes a
// file visible whose blocks are still only in memory.
bool SyncToDisk(QFileDevice& file) {
    if (!file.flush()) return false;
#ifdef Q_OS_WIN
    return _commit(file.handle()) == 0;
#else
    return ::fsync(file.handle()) == 0;
#endif
}

bool IsLetterOrDigit(QChar c) {
    return (c >= QLatin1Char('0') && c <= QLatin1Char('9')) ||
           (c >= QLatin1Char('a') && c <= QLatin1Char('z')) ||
           (c >= QLatin1Char('A') && c <= QLatin1Char('Z'));
}

// Writes through a temporary file of our own name and renames it over the target; false with
// nothing left behind when any step fails.
bool ReplaceThroughTemporary(const QString& name, const std::string& bytes) {
    const QFileInfo info(name);
    QTemporaryFile temporary(
        info.absolutePath() + QLatin1Char('/') +
        QString::fromStdString(SaveFilePattern(info.fileName().toStdString())));
    if (!temporary.open()) return false;
    // A new file gets the usual permissions of a user's document; a rewritten one keeps its own.
    temporary.setPermissions(info.exists() ? info.permissions()
                                           : QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                                 QFileDevice::ReadGroup | QFileDevice::ReadOther);
    if (!WriteAll(temporary, bytes) || !SyncToDisk(temporary)) return false;
    temporary.close();
    // std::filesystem::rename replaces an existing target in one step on every platform we
    // build for (QFile::rename refuses an existing target).
    std::error_code error;
    std::filesystem::rename(std::filesystem::path(temporary.fileName().toStdWString()),
                            std::filesystem::path(name.toStdWString()), error);
    if (error) return false;
    temporary.setAutoRemove(false);
    return true;
}

}  // namespace

std::string SaveFilePattern(const std::string& fileName) {
    return fileName + SaveInfix + std::string(SaveRandomLength, 'X') + SaveSuffix;
}

bool WriteFileSafely(const std::string& path, const std::string& bytes, bool createFolder) {
    const QString name = QString::fromStdString(path);
    const QFileInfo info(name);
    if (createFolder) QDir().mkpath(info.absolutePath());
    if (ReplaceThroughTemporary(name, bytes)) return true;
    // A folder that takes no new files (closed by permission bits or otherwise) may still hold a
    // writable file: rewrite that in place.
    if (!info.isFile() || !info.isWritable()) return false;
    QFile direct(name);
    if (!direct.open(QIODevice::WriteOnly | QIODevice::Truncate)) return false;
    return WriteAll(direct, bytes) && SyncToDisk(direct);
}

int RemoveStaleSaveFiles(const std::string& path) {
    if (path.empty()) return 0;
    const QFileInfo target(QString::fromStdString(path));
    const QString prefix = target.fileName() + QLatin1String(SaveInfix);
    const QString suffix = QLatin1String(SaveSuffix);
    QDir folder = target.dir();
    int removed = 0;
    const QStringList candidates = folder.entryList({prefix + QLatin1Char('*') + suffix},
                                                    QDir::Files | QDir::Hidden | QDir::System);
    for (const QString& name : candidates) {
        bool ours = name.size() == prefix.size() + SaveRandomLength + suffix.size();
        for (qsizetype i = prefix.size(); ours && i < prefix.size() + SaveRandomLength; ++i)
            ours = IsLetterOrDigit(name[i]);
        if (ours && folder.remove(name)) ++removed;
    }
    return removed;
}

}  // namespace brix
