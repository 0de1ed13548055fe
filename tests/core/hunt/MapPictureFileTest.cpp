#include <gtest/gtest.h>

#include <QBuffer>
#include <QDataStream>
#include <QImage>
#include <QImageWriter>

#include <zlib.h>

#include "core/hunt/MapPictureFile.h"
#include "support/GuiApp.h"

namespace brix {
namespace {

// A PNG file whose header claims the size, with a few bytes of pixel data.
QByteArray PngClaiming(quint32 width, quint32 height) {
    QByteArray bytes("\x89PNG\r\n\x1a\n", 8);
    QDataStream out(&bytes, QIODevice::Append);  // big-endian
    const auto chunk = [&out](const QByteArray& typeAndData) {
        out << static_cast<quint32>(typeAndData.size() - 4);
        out.writeRawData(typeAndData.constData(), static_cast<int>(typeAndData.size()));
        out << static_cast<quint32>(crc32(0, reinterpret_cast<const Bytef*>(typeAndData.data()),
                                          static_cast<uInt>(typeAndData.size())));
    };
    QByteArray header("IHDR");
    QDataStream(&header, QIODevice::Append) << width << height;
    chunk(header + QByteArray("\x08\x02\x00\x00\x00", 5));  // 8 bits, RGB, no interlace
    chunk(QByteArray("IDAT\x78\x9c\x63\x00\x00\x00\x01\x00\x01", 13));
    chunk("IEND");
    return bytes;
}

QByteArray Encoded(QSize size, const char* format) {
    QImage image(size, QImage::Format_RGB32);
    image.fill(qRgb(230, 210, 160));
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter(&buffer, format).write(image);
    return bytes;
}

// Every kind of file the window and the command line may be handed, read from memory.
TEST(MapPictureFileTest, JudgesPicturesBeforeAndAfterDecoding) {
    test::EnsureGuiApp();
    using S = PictureStatus;
    const struct Row {
        const char* What;
        QByteArray Bytes;
        PictureStatus Status;
        QSize Claimed;
        QSize Working;
    } rows[] = {
        {"empty", QByteArray(), S::Unreadable, {}, {}},
        {"thin strip", Encoded({400, 23}, "png"), S::TooSmall, {400, 23}, {}},
        {"PNG of 30000 x 30000", PngClaiming(30000, 30000), S::TooLarge, {30000, 30000}, {}},
        {"PNG of 9000 x 5000 pixels", PngClaiming(9000, 5000), S::TooLarge, {9000, 5000}, {}},
        {"PNG with broken pixels", PngClaiming(300, 300), S::Unreadable, {}, {}},
        {"smallest BMP", Encoded({24, 24}, "bmp"), S::Ready, {24, 24}, {24, 24}},
        {"large PNG", Encoded({4000, 1000}, "png"), S::Ready, {4000, 1000}, {2048, 512}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.What);
        QByteArray bytes = row.Bytes;
        QBuffer buffer(&bytes);
        ASSERT_TRUE(buffer.open(QIODevice::ReadOnly));
        const MapPicture picture = ReadMapPicture(buffer);
        EXPECT_EQ(picture.Status, row.Status);
        if (row.Claimed.isValid()) {
            EXPECT_EQ(picture.ClaimedSize, row.Claimed);
        }
        EXPECT_EQ(picture.Image.isNull(), !row.Working.isValid());
        if (row.Working.isValid()) {
            EXPECT_EQ(picture.Image.size(), row.Working);
        }
    }
}

}  // namespace
}  // namespace brix
