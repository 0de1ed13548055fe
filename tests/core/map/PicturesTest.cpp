#include "core/map/Pictures.h"

#include <QColor>

#include <gtest/gtest.h>

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

// The key colour turns transparent; a pixel blended towards it would show as a blue fringe. The
// head mask lies only on the red head, at the top left; (0, 8) and the corners are key, the
// needle is not.
TEST(PicturesTest, KeyColourIsPureAndTheHeadMaskCoversOnlyTheRedHead) {
    const QImage scroll = LoadScrollBitmap(), tack = LoadTackBitmap(), mask = LoadTackHeadMask();
    ASSERT_EQ(scroll.size(), QSize(246, 196));
    ASSERT_EQ(tack.size(), QSize(13, 21));
    ASSERT_EQ(mask.size(), QSize(13, 21));
    for (int y = 0; y < scroll.height(); ++y)
        for (int x = 0; x < scroll.width(); ++x) {
            const QRgb c = scroll.pixel(x, y);
            const bool blueish = qBlue(c) > qRed(c) + 40 && qBlue(c) > qGreen(c) + 40;
            const bool parchment = x >= 38 && x < 208 && y >= 38 && y < 148;
            ASSERT_TRUE(IsKey(scroll, x, y) ? !parchment : !blueish) << x << "," << y;
        }
    EXPECT_TRUE(IsKey(scroll, 0, 0) && IsKey(scroll, 245, 195));
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
