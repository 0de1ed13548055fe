#include "core/map/Pictures.h"

#include <QByteArray>
#include <QColor>
#include <QFile>
#include <QRect>

#include <gtest/gtest.h>

#include "support/GuiApp.h"

#include <cstdint>
#include <cstdlib>
#include <functional>
#include <set>
#include <string>
#include <vector>

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
    for (int i = size - 1; i >= 0; --i) {
        v = v << 8 | uint8_t(bytes[offset + i]);
    }
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
        EXPECT_EQ(bytes.left(2), QByteArray("BM"));
        const uint32_t pixelOffset = ReadLe(bytes, 10, 4);
        const uint32_t headerSize = ReadLe(bytes, 14, 4);
        EXPECT_EQ(int(ReadLe(bytes, 18, 4)), row.Width);
        EXPECT_EQ(std::abs(int32_t(ReadLe(bytes, 22, 4))), row.Height);
        EXPECT_EQ(int(ReadLe(bytes, 28, 2)), row.BitsPerPixel);
        EXPECT_EQ(int((pixelOffset - 14 - headerSize) / 4), row.PaletteEntries);
    }
}

// The key colour turns transparent; a pixel blended towards it would show as a blue fringe.
TEST(PicturesTest, ScrollUsesPureBlueOnlyOutsideTheScroll) {
    const QImage scroll = LoadScrollBitmap();
    ASSERT_EQ(scroll.size(), QSize(246, 196));

    for (int y = 0; y < scroll.height(); ++y) {
        for (int x = 0; x < scroll.width(); ++x) {
            const QRgb c = scroll.pixel(x, y);
            const bool blueish = qBlue(c) > qRed(c) + 40 && qBlue(c) > qGreen(c) + 40;
            ASSERT_TRUE(!blueish || IsKey(scroll, x, y))
                << "blended key colour at " << x << "," << y;
        }
    }
    for (int y = 38; y < 148; ++y) {
        for (int x = 38; x < 208; ++x) {
            ASSERT_FALSE(IsKey(scroll, x, y))
                << "key colour inside the parchment at " << x << "," << y;
        }
    }

    for (const QPoint& p : {QPoint(0, 0), QPoint(245, 0), QPoint(0, 195), QPoint(245, 195)}) {
        EXPECT_TRUE(IsKey(scroll, p.x(), p.y())) << p.x() << "," << p.y();
    }
}

TEST(PicturesTest, HeadMaskCoversTheRedHeadOfTheTack) {
    const QImage tack = LoadTackBitmap();
    const QImage mask = LoadTackHeadMask();
    ASSERT_EQ(tack.size(), QSize(13, 21));
    ASSERT_EQ(mask.size(), QSize(13, 21));

    int black = 0;
    for (int y = 0; y < mask.height(); ++y) {
        for (int x = 0; x < mask.width(); ++x) {
            if (mask.pixel(x, y) != qRgb(0, 0, 0)) {
                EXPECT_EQ(mask.pixel(x, y), qRgb(255, 255, 255)) << x << "," << y;
                continue;
            }
            ++black;
            EXPECT_TRUE(x >= 1 && x <= 5 && y >= 0 && y <= 4)
                << "mask off the head at " << x << "," << y;
            EXPECT_TRUE(IsReddish(tack.pixel(x, y)))
                << "mask pixel not on the red head at " << x << "," << y;
        }
    }
    // A disc: the head centre is covered, the corners of its 5 × 5 box are not.
    EXPECT_GE(black, 13);
    EXPECT_EQ(mask.pixel(3, 2), qRgb(0, 0, 0));
    for (const QPoint& p : {QPoint(1, 0), QPoint(5, 0), QPoint(1, 4), QPoint(5, 4)}) {
        EXPECT_EQ(mask.pixel(p), qRgb(255, 255, 255)) << p.x() << "," << p.y();
    }
}

TEST(PicturesTest, TackIsAPinOnTheKeyColour) {
    const QImage tack = LoadTackBitmap();
    ASSERT_EQ(tack.size(), QSize(13, 21));
    EXPECT_TRUE(tack.colorTable().contains(KeyBlue));

    // Head at the top left, mostly red; the needle's point at (6, 10), below and right of it.
    int red = 0;
    for (int y = 0; y <= 5; ++y) {
        for (int x = 1; x <= 5; ++x) {
            red += IsReddish(tack.pixel(x, y)) ? 1 : 0;
        }
    }
    EXPECT_GE(red, 20);
    EXPECT_FALSE(IsKey(tack, 6, 10));
    EXPECT_FALSE(IsReddish(tack.pixel(6, 10)));
    EXPECT_TRUE(IsKey(tack, 0, 8));
    for (const QPoint& p : {QPoint(0, 0), QPoint(12, 0), QPoint(0, 20), QPoint(12, 20)}) {
        EXPECT_TRUE(IsKey(tack, p.x(), p.y())) << p.x() << "," << p.y();
    }
}

}  // namespace
}  // namespace brix
