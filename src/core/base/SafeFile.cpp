#include "core/base/SafeFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace brix {
namespace {

bool WriteAll(QFileDevice& file, const std::string& bytes) {
    return file.write(bytes.data(), static_cast<qint64>(bytes.size())) ==
           static_cast<qint64>(bytes.size());
}

}  // namespace

bool WriteFileSafely(const std::string& path, const std::string& bytes, bool createFolder) {
    const QString name = QString::fromStdString(path);
    if (createFolder) QDir().mkpath(QFileInfo(name).absolutePath());
    QSaveFile file(name);
    if (file.open(QIODevice::WriteOnly)) {
        if (WriteAll(file, bytes)) return file.commit();
        file.cancelWriting();
        return false;
    }
    // Qt's own fallback only covers a folder closed by permission bits (EACCES), not one closed
    // otherwise (an immutable folder gives EPERM), so the in-place write is ours.
    const QFileInfo info(name);
    if (!info.isFile() || !info.isWritable()) return false;
    QFile direct(name);
    if (!direct.open(QIODevice::WriteOnly | QIODevice::Truncate)) return false;
    return WriteAll(direct, bytes) && direct.flush();
}

int RemoveStaleSaveFiles(const std::string& path) {
    if (path.empty()) return 0;
    const QFileInfo target(QString::fromStdString(path));
    const QString prefix = target.fileName() + QLatin1Char('.');
    QDir folder = target.dir();
    int removed = 0;
    const QStringList candidates = folder.entryList({prefix + QStringLiteral("??????")},
                                                    QDir::Files | QDir::Hidden | QDir::System);
    for (const QString& name : candidates) {
        bool ours = name.size() == prefix.size() + 6;
        for (qsizetype i = prefix.size(); ours && i < name.size(); ++i) {
            const QChar c = name[i];
            ours = c.isDigit() || (c >= QLatin1Char('a') && c <= QLatin1Char('z')) ||
                   (c >= QLatin1Char('A') && c <= QLatin1Char('Z'));
        }
        if (ours && folder.remove(name)) ++removed;
    }
    return removed;
}

}  // namespace brix
