// Every form of the region tint blend built into this program against the portable one, on the
// same pixels: the program runs only the form its processor favours, so without this a form
// could be wrong for years on the machines that pick it.
#include <gtest/gtest.h>

#include <QImage>

#include <cstdint>
#include <iterator>
#include <string>
#include <vector>

#include "core/map/WorldCanvas.h"
#include "support/WorldFixture.h"

namespace brix {

std::string FormName(TintBlend blend) {
    const char* const names[] = {"Fastest", "Portable", "Sse2", "Avx2"};
    return names[static_cast<int>(blend)];
}

namespace {

// Pixels of every kind, alpha byte included, with many channels at the values where a blend is
// most likely to overflow or round differently; the same seed always gives the same picture.
QImage Pixels(int width, int height, QImage::Format format, std::uint32_t seed) {
    constexpr std::uint8_t edgeValues[] = {0, 1, 127, 128, 254, 255, 37, 200};
    QImage image(width, height, format);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            seed = seed * 1664525u + 1013904223u;
            std::uint32_t word = 0;
            for (int channel = 0; channel < 4; ++channel)
                word |= std::uint32_t(edgeValues[(seed >> (3 * channel + 8)) % 8]) << (8 * channel);
            reinterpret_cast<std::uint32_t*>(image.scanLine(y))[x] = word ^ (seed >> 28);
        }
    return image;
}

// Mask rows: full, isolated pixels falling on every position within a group of eight,
// scattered, and only the first and last pixel. Each row is padded with set bits beyond the
// region's width, as a careless writer of overlay bitmaps might leave them: those bits stand for
// no pixel and must never tint one.
Region MaskWithJunkPadding(int width, std::vector<std::string>& rows) {
    rows.assign(4, std::string(width, '.'));
    std::uint32_t state = static_cast<std::uint32_t>(width) * 40503u;
    for (int x = 0; x < width; ++x) {
        state = state * 1664525u + 1013904223u;
        rows[0][x] = '#';
        if (x % 7 == 3) rows[1][x] = '#';
        if ((state >> 28) & 1) rows[2][x] = '#';
    }
    rows[3][0] = rows[3][width - 1] = '#';
    Region region = test::MaskedRegion(1, {5, 1}, rows);
    for (std::size_t y = 0; y < rows.size(); ++y)
        for (int x = width; x < region.MaskBytesPerRow * 8; ++x)
            region.MaskBits[y * region.MaskBytesPerRow + x / 8] |= 0x80 >> (x % 8);
    return region;
}

// Raw words: pixel() would hide the alpha byte and premultiplication.
std::uint32_t Word(const QImage& image, int x, int y) {
    return reinterpret_cast<const std::uint32_t*>(image.constScanLine(y))[x];
}

class TintBlendForms : public testing::TestWithParam<TintBlend> {};

TEST_P(TintBlendForms, BlendLikeThePortableFormAndOnlyUnderTheMask) {
    const TintBlend form = GetParam();
    if (!ProcessorRuns(form)) GTEST_SKIP() << "this processor lacks the " << FormName(form);
    struct Row {
        QRgb Colour;
        int Weight;
        QImage::Format Format;
    };
    const Row rows[] = {
        {qRgb(0, 0, 0), 0, QImage::Format_RGB32},
        {qRgb(255, 255, 255), 255, QImage::Format_ARGB32},
        {qRgb(255, 0, 128), 1, QImage::Format_RGB32},
        {qRgb(1, 254, 127), 254, QImage::Format_ARGB32_Premultiplied},
        {qRgb(255, 224, 0), RegionTintWeight, QImage::Format_ARGB32},
    };
    // Mask widths below, at and across one and several groups of eight pixels (the mask starts
    // at x 5); the box cuts into the mask from either side by up to seven pixels or starts and
    // ends outside it, so the blended run begins and ends at every position within a group. Six
    // target columns lie beyond the box's right edge.
    const int widths[] = {1, 3, 7, 8, 9, 16, 17, 33, 67};
    const int cuts[] = {-3, 0, 1, 2, 3, 4, 5, 6, 7};
    int compared = 0;
    for (int width : widths) {
        std::vector<std::string> mask;
        const Region region = MaskWithJunkPadding(width, mask);
        for (int cutLeft : cuts)
            for (int cutRight : cuts) {
                const QRect box(5 + cutLeft, 0, width - cutLeft - cutRight, 6);
                if (box.width() < 1) continue;
                for (std::size_t r = 0; r < std::size(rows); ++r) {
                    const Row& row = rows[r];
                    const QImage original = Pixels(box.width() + 6, 6, row.Format, width * 131 + r);
                    QImage expected = original.copy(), actual = original.copy();
                    TintRegion(expected, box, region, row.Colour, row.Weight, TintBlend::Portable);
                    TintRegion(actual, box, region, row.Colour, row.Weight, form);
                    ++compared;
                    for (int y = 0; y < original.height(); ++y)
                        for (int x = 0; x < original.width(); ++x) {
                            const int mx = box.x() + x - 5, my = y - 1;
                            const bool set = x < box.width() && mx >= 0 && mx < width && my >= 0 &&
                                             my < 4 && mask[my][mx] == '#';
                            const std::uint32_t want = Word(set ? expected : original, x, y);
                            ASSERT_EQ(Word(actual, x, y), want)
                                << "mask width " << width << ", cuts " << cutLeft << "/" << cutRight
                                << ", row " << r << ", pixel " << x << "," << y
                                << (set ? " (under the mask)" : " (not under the mask)");
                            ASSERT_EQ(Word(expected, x, y), want) << "portable form, pixel " << x;
                        }
                }
            }
    }
    EXPECT_GT(compared, 1000);
}

INSTANTIATE_TEST_SUITE_P(Built, TintBlendForms, testing::ValuesIn(BuiltTintBlends()),
                         [](const testing::TestParamInfo<TintBlend>& info) {
                             return FormName(info.param);
                         });

}  // namespace
}  // namespace brix
