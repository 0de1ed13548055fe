#include "Archive.h"

#include <QBuffer>

#include <zip.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>

namespace brix::gen {

namespace {

QVector<QRgb> BlackAndWhite() {
    return {qRgb(0, 0, 0), qRgb(255, 255, 255)};
}

}  // namespace

namespace {

std::uint32_t ReadLittle(const QByteArray& bytes, int at, int size) {
    std::uint32_t value = 0;
    for (int i = size - 1; i >= 0; --i)
        value = (value << 8) | static_cast<std::uint8_t>(bytes[at + i]);
    return value;
}

// Qt's BMP writer leaves the padding at the end of one-bit rows unwritten, so two runs could
// differ there; zero every row's padding so that equal images give equal files.
void ClearRowPadding(QByteArray& bmp) {
    if (bmp.size() < 54 || bmp[0] != 'B' || bmp[1] != 'M') return;
    const std::uint32_t offset = ReadLittle(bmp, 10, 4);
    const int width = static_cast<int>(ReadLittle(bmp, 18, 4));
    const int height = std::abs(static_cast<std::int32_t>(ReadLittle(bmp, 22, 4)));
    const int bits = static_cast<int>(ReadLittle(bmp, 28, 2));
    const int used = (width * bits + 7) / 8;
    const int stride = ((width * bits + 31) / 32) * 4;
    for (int row = 0; row < height; ++row) {
        const qsizetype start =
            static_cast<qsizetype>(offset) + static_cast<qsizetype>(row) * stride;
        for (int i = used; i < stride && start + i < bmp.size(); ++i) bmp[start + i] = 0;
    }
}

}  // namespace

QByteArray EncodeBmp(const QImage& image) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImage source = image;
    if (source.format() != QImage::Format_Mono)
        source = source.convertToFormat(QImage::Format_RGB32);
    source.save(&buffer, "BMP");
    ClearRowPadding(bytes);
    return bytes;
}

QImage ToMonochrome(const QImage& drawing) {
    QImage mono(drawing.size(), QImage::Format_Mono);
    mono.setColorTable(BlackAndWhite());
    mono.fill(1);
    for (int y = 0; y < drawing.height(); ++y) {
        const QRgb* in = reinterpret_cast<const QRgb*>(drawing.constScanLine(y));
        uchar* out = mono.scanLine(y);
        for (int x = 0; x < drawing.width(); ++x)
            if (qGray(in[x]) < 128) out[x >> 3] &= static_cast<uchar>(~(0x80 >> (x & 7)));
    }
    return mono;
}

QImage RegionMask(const World& world, const RegionPlan& region) {
    const QRect& box = region.Box;
    QImage mask(box.size(), QImage::Format_Mono);
    mask.setColorTable(BlackAndWhite());
    mask.fill(0);
    for (int y = 0; y < box.height(); ++y) {
        uchar* out = mask.scanLine(y);
        for (int x = 0; x < box.width(); ++x)
            if (world.RegionOf.At(box.left() + x, box.top() + y) == region.Index)
                out[x >> 3] |= static_cast<uchar>(0x80 >> (x & 7));
    }
    return mask;
}

bool WriteArchive(const std::string& path, const std::vector<Member>& members, std::string& error) {
    const std::string partial = path + ".part";
    zipFile zip = zipOpen(partial.c_str(), APPEND_STATUS_CREATE);
    if (!zip) {
        error = "cannot create " + partial;
        return false;
    }
    bool ok = true;
    for (const Member& m : members) {
        zip_fileinfo info{};
        info.tmz_date.tm_year = 2024;
        info.tmz_date.tm_mon = 0;  // January
        info.tmz_date.tm_mday = 1;
        info.tmz_date.tm_hour = 12;
        if (zipOpenNewFileInZip(zip, m.Name.c_str(), &info, nullptr, 0, nullptr, 0, nullptr,
                                Z_DEFLATED, Z_DEFAULT_COMPRESSION) != ZIP_OK ||
            zipWriteInFileInZip(zip, m.Bytes.constData(), static_cast<unsigned>(m.Bytes.size())) !=
                ZIP_OK ||
            zipCloseFileInZip(zip) != ZIP_OK) {
            error = "cannot write " + m.Name;
            ok = false;
            break;
        }
    }
    if (zipClose(zip, nullptr) != ZIP_OK && ok) {
        error = "cannot finish " + partial;
        ok = false;
    }
    std::error_code code;
    if (ok) {
        std::filesystem::rename(partial, path, code);
        if (code) {
            error = "cannot rename " + partial + " to " + path + ": " + code.message();
            ok = false;
        }
    }
    if (!ok) std::filesystem::remove(partial, code);
    return ok;
}

}  // namespace brix::gen
