#include "core/map/Pictures.h"

#include <QByteArray>
#include <QColor>
#include <QFile>

#include <gtest/gtest.h>

#include "support/GuiApp.h"

#include <cstdint>
#include <cstdlib>

namespace brix {
namespace {

constexpr QRgb KeyBlue = qRgb(0, 0, 255);

bool IsKey(const QImage& image, int x, int y) {
    return (image.pixel(x, y) | 0xFF000000) == KeyBlue;
}

// Distinctly red: what the tack's head is painted in, whatever its shading.
bool IsReddish(QRgb c) {
    return qRed(c) >= 60 && qRed(c) - qGreen(c) >= 50 && qRed(c) - qBlue(c) >= 50;
}

uint32_t ReadLe(const QByteArray& bytes, int offset, int size) {
    uint32_t v = 0;
    for (int i = size - 1; i >= 0; --i) v = v << 8 | uint8_t(bytes[offset + i]);
    return v;
}

// The drawing code relies on the file's own pixel depth (a 24-bit scroll, a 256-colour
// tack, a one-bit head mask), which QImage hides after loading, so read the headers.
TEST(PicturesTest, BitmapFilesHaveTheirSizeDepthAndPalette) {
    InitResources();
    struct Row {
        const char* Path;
        int Width, Height, BitsPerPixel, PaletteEntries;
    };
    const Row rows[] = {
        {":/scroll.bmp", 246, 196, 24, 0},
        {":/tack.bmp", 13, 21, 8, 256},
        {":/tackhead.bmp", 13, 21, 1, 2},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.Path);
        QFile file(row.Path);
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        const QByteArray bytes = file.readAll();
        ASSERT_GE(bytes.size(), 54);
        const uint32_t pixelOffset = ReadLe(bytes, 10, 4);
        const uint32_t headerSize = ReadLe(bytes, 14, 4);
        EXPECT_EQ(int(ReadLe(bytes, 18, 4)), row.Width);
        EXPECT_EQ(std::abs(int32_t(ReadLe(bytes, 22, 4))), row.Height);
        EXPECT_EQ(int(ReadLe(bytes, 28, 2)), row.BitsPerPixel);
        EXPECT_EQ(int((pixelOffset - 14 - headerSize) / 4), row.PaletteEntries);
    }
}

// The key colour turns transparent; a pixel blended towards it would show as a blue fringe.
TEST(PicturesTest, KeyColourIsPureAndOnlyOutsideThePictures) {
    const QImage scroll = LoadScrollBitmap();
    ASSERT_EQ(scroll.size(), QSize(246, 196));

    for (int y = 0; y < scroll.height(); ++y)
        for (int x = 0; x < scroll.width(); ++x) {
            const QRgb c = scroll.pixel(x, y);
            const bool blueish = qBlue(c) > qRed(c) + 40 && qBlue(c) > qGreen(c) + 40;
            ASSERT_TRUE(!blueish || IsKey(scroll, x, y)) << x << "," << y;
        }
    for (int y = 38; y < 148; ++y)
        for (int x = 38; x < 208; ++x) ASSERT_FALSE(IsKey(scroll, x, y)) << x << "," << y;
    EXPECT_TRUE(IsKey(scroll, 0, 0) && IsKey(scroll, 245, 195));
}

TEST(PicturesTest, HeadMaskCoversTheRedHeadOfTheTack) {
    const QImage tack = LoadTackBitmap();
    const QImage mask = LoadTackHeadMask();
    ASSERT_EQ(tack.size(), QSize(13, 21));
    ASSERT_EQ(mask.size(), QSize(13, 21));

    // Only on the red head, at the top left; (0, 8) and the corners are key, the needle is not.
    int black = 0;
    for (int y = 0; y < mask.height(); ++y)
        for (int x = 0; x < mask.width(); ++x) {
            if (mask.pixel(x, y) != qRgb(0, 0, 0)) continue;
            ++black;
            EXPECT_TRUE(x >= 1 && x <= 5 && y <= 4 && IsReddish(tack.pixel(x, y))) << x << "," << y;
        }
    EXPECT_GE(black, 13);
    EXPECT_TRUE(IsKey(tack, 0, 8) && !IsKey(tack, 6, 10) && IsKey(tack, 12, 20));
}

}  // namespace
}  // namespace brix
