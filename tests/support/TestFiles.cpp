#include "support/TestFiles.h"

#include <zip.h>
#include <QBuffer>
#include <QFile>
#include <QImage>

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

std::string BmpBytes(const QImage& image) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "BMP");
    return bytes.toStdString();
}

std::string WhiteMonoBmp(int width, int height) {
    QImage image(width, height, QImage::Format_Mono);
    image.setColorTable({qRgb(0, 0, 0), qRgb(255, 255, 255)});
    image.fill(1);
    return BmpBytes(image);
}

std::string WorldMembers::SeaBmp() {
    QImage world(64, 48, QImage::Format_RGB888);
    world.fill(qRgb(20, 90, 160));
    return BmpBytes(world);
}

bool WriteWorldArchive(const std::string& path, const WorldMembers& members) {
    std::vector<ZipMember> zip{{"data.xml", members.Data},
                               {"multimap.bmp", members.Multimap},
                               {"world.bmp", members.World}};
    for (const auto& [region, bytes] : members.Overlays)
        zip.push_back({"world_overlay_" + std::to_string(region) + ".bmp", bytes});
    zip.insert(zip.end(), members.Others.begin(), members.Others.end());
    std::erase_if(zip, [](const ZipMember& m) { return m.Bytes.empty(); });
    return WriteZip(path, zip);
}

bool WriteWorldArchive(const std::string& path, const std::string& data, int multimapWidth,
                       int multimapHeight, int regions) {
    WorldMembers members;
    members.Data = data;
    members.Multimap = WhiteMonoBmp(multimapWidth, multimapHeight);
    for (int region = 1; region <= regions; ++region) members.Overlays[region] = WhiteMonoBmp(8, 8);
    return WriteWorldArchive(path, members);
}

}  // namespace brix::test
