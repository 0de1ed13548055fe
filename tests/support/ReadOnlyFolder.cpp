#include "support/ReadOnlyFolder.h"

#include <QDir>
#include <QFile>
#include <QProcess>

namespace brix::test {
namespace {

constexpr QFileDevice::Permissions ReadAndEnter = QFileDevice::ReadOwner | QFileDevice::ExeOwner |
                                                  QFileDevice::ReadGroup | QFileDevice::ExeGroup |
                                                  QFileDevice::ReadOther | QFileDevice::ExeOther;

bool RunChattr(const char* flag, const std::string& folder) {
    return QProcess::execute("chattr", {flag, QString::fromStdString(folder)}) == 0;
}

}  // namespace

ReadOnlyFolder::ReadOnlyFolder(std::string folder) : folder_(std::move(folder)) {
    const QString path = QString::fromStdString(folder_);
    QFile::setPermissions(path, ReadAndEnter);
    if (!CanCreateFile()) {
        closed_ = true;
        return;
    }
    QFile::setPermissions(path, ReadAndEnter | QFileDevice::WriteOwner);
    immutable_ = RunChattr("+i", folder_);
    closed_ = immutable_ && !CanCreateFile();
}

ReadOnlyFolder::~ReadOnlyFolder() {
    if (immutable_) RunChattr("-i", folder_);
    QFile::setPermissions(QString::fromStdString(folder_), ReadAndEnter | QFileDevice::WriteOwner);
}

bool ReadOnlyFolder::CanCreateFile() const {
    QFile probe(QDir(QString::fromStdString(folder_)).filePath("probe"));
    if (!probe.open(QIODevice::WriteOnly)) return false;
    probe.close();
    probe.remove();
    return true;
}

}  // namespace brix::test
