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

}  // namespace brix
