#include "support/TestFiles.h"

#include <zip.h>
#include <QFile>

namespace brix::test {

bool WriteZip(const std::string& path, const std::vector<ZipMember>& members) {
    zipFile zf = zipOpen(path.c_str(), APPEND_STATUS_CREATE);
    if (zf == nullptr) return false;
    bool ok = true;
    for (const ZipMember& m : members) {
        zip_fileinfo info{};
        ok = ok && zipOpenNewFileInZip(zf, m.Name.c_str(), &info, nullptr, 0, nullptr, 0, nullptr,
                                       Z_DEFLATED, Z_DEFAULT_COMPRESSION) == ZIP_OK;
        ok = ok && zipWriteInFileInZip(zf, m.Bytes.data(), static_cast<unsigned>(m.Bytes.size())) ==
                       ZIP_OK;
        ok = ok && zipCloseFileInZip(zf) == ZIP_OK;
    }
    return zipClose(zf, nullptr) == ZIP_OK && ok;
}

std::string ReadFileBytes(const std::string& path) {
    QFile f(QString::fromStdString(path));
    if (!f.open(QIODevice::ReadOnly)) return {};
    const QByteArray data = f.readAll();
    return std::string(data.constData(), static_cast<std::size_t>(data.size()));
}

bool WriteFileBytes(const std::string& path, const std::string& bytes) {
    QFile f(QString::fromStdString(path));
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate)) return false;
    return f.write(bytes.data(), static_cast<qint64>(bytes.size())) ==
           static_cast<qint64>(bytes.size());
}

}  // namespace brix::test
