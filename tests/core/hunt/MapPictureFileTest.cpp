#include <gtest/gtest.h>

#include <QBuffer>
#include <QImage>
#include <QImageWriter>

#include <zlib.h>

#include <string>

#include "core/hunt/MapPictureFile.h"
#include "support/GuiApp.h"

namespace brix {
namespace {

void AppendBigEndian(QByteArray& bytes, quint32 value) {
    for (int shift = 24; shift >= 0; shift -= 8) bytes.append(static_cast<char>(value >> shift));
}

void AppendLittleEndian(QByteArray& bytes, quint32 value, int size) {
    for (int i = 0; i < size; ++i) bytes.append(static_cast<char>(value >> (8 * i)));
}

void AppendChunk(QByteArray& bytes, const QByteArray& type, const QByteArray& data) {
    const QByteArray chunk = type + data;
    AppendBigEndian(bytes, static_cast<quint32>(data.size()));
    bytes.append(chunk);
    AppendBigEndian(bytes,
                    static_cast<quint32>(crc32(0, reinterpret_cast<const Bytef*>(chunk.constData()),
                                               static_cast<uInt>(chunk.size()))));
}

// A PNG file whose header claims the size, with a few bytes of pixel data.
QByteArray PngClaiming(quint32 width, quint32 height) {
    QByteArray bytes("\x89PNG\r\n\x1a\n", 8);
    QByteArray header;
    AppendBigEndian(header, width);
    AppendBigEndian(header, height);
    header.append("\x08\x02\x00\x00\x00", 5);  // 8 bits, RGB, no interlace
    AppendChunk(bytes, "IHDR", header);
    AppendChunk(bytes, "IDAT", QByteArray("\x78\x9c\x63\x00\x00\x00\x01\x00\x01", 9));
    AppendChunk(bytes, "IEND", QByteArray());
    return bytes;
}

// A BMP header claiming the size, 24 bits per pixel, and a few bytes of pixels.
QByteArray BmpClaiming(quint32 width, quint32 height) {
    QByteArray bytes("BM");
    AppendLittleEndian(bytes, 54 + 16, 4);
    AppendLittleEndian(bytes, 0, 4);
    AppendLittleEndian(bytes, 54, 4);
    AppendLittleEndian(bytes, 40, 4);
    AppendLittleEndian(bytes, width, 4);
    AppendLittleEndian(bytes, height, 4);
    AppendLittleEndian(bytes, 1, 2);
    AppendLittleEndian(bytes, 24, 2);
    for (int i = 0; i < 6; ++i) AppendLittleEndian(bytes, 0, 4);
    bytes.append(QByteArray(16, '\0'));
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
    struct Row {
        const char* What;
        QByteArray Bytes;
        PictureStatus Status;
        QSize Claimed;
        QSize Working;
    } rows[] = {
        {"text", "This is no picture, only words.", PictureStatus::Unreadable, {}, {}},
        {"empty", QByteArray(), PictureStatus::Unreadable, {}, {}},
        {"one pixel", Encoded({1, 1}, "png"), PictureStatus::TooSmall, {1, 1}, {}},
        {"thin strip", Encoded({400, 20}, "png"), PictureStatus::TooSmall, {400, 20}, {}},
        {"PNG of 30000 x 30000",
         PngClaiming(30000, 30000),
         PictureStatus::TooLarge,
         {30000, 30000},
         {}},
        // Qt's BMP reader refuses 16384 pixels a side itself; below that the pixel count counts.
        {"BMP of 16000 x 16000",
         BmpClaiming(16000, 16000),
         PictureStatus::TooLarge,
         {16000, 16000},
         {}},
        {"PNG of 9000 x 5000: too many pixels",
         PngClaiming(9000, 5000),
         PictureStatus::TooLarge,
         {9000, 5000},
         {}},
        {"PNG with broken pixels", PngClaiming(300, 300), PictureStatus::Unreadable, {}, {}},
        {"JPEG", Encoded({300, 200}, "jpeg"), PictureStatus::Ready, {300, 200}, {300, 200}},
        {"BMP", Encoded({64, 48}, "bmp"), PictureStatus::Ready, {64, 48}, {64, 48}},
        {"large PNG, scaled down",
         Encoded({4000, 1000}, "png"),
         PictureStatus::Ready,
         {4000, 1000},
         {2048, 512}},
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
