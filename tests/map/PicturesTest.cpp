#include "map/Pictures.h"

#include <QByteArray>
#include <QColor>
#include <QFile>
#include <QGuiApplication>
#include <QRect>

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <functional>
#include <set>
#include <string>
#include <vector>

namespace brix {
namespace {

constexpr QRgb KeyBlue = qRgb(0, 0, 255);

// SVG rendering wants a GUI application object. The test binary has no main of its own, so
// the first test that needs one creates it and keeps it for the rest of the run.
void EnsureGuiApplication() {
    if (QCoreApplication::instance() != nullptr) {
        return;
    }
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    static int argc = 1;
    static char name[] = "PicturesTest";
    static char* argv[] = {name, nullptr};
    static QGuiApplication* app = new QGuiApplication(argc, argv);
    (void)app;
}

bool IsKey(const QImage& image, int x, int y) {
    return (image.pixel(x, y) | 0xFF000000) == KeyBlue;
}

// Distinctly red: what the tack's head is painted in, whatever its shading.
bool IsReddish(QRgb c) {
    return qRed(c) >= 60 && qRed(c) - qGreen(c) >= 50 && qRed(c) - qBlue(c) >= 50;
}

int ChannelDiff(QRgb a, QRgb b) {
    return (std::abs(qRed(a) - qRed(b)) + std::abs(qGreen(a) - qGreen(b)) +
            std::abs(qBlue(a) - qBlue(b))) /
           3;
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

TEST(PicturesTest, LoadersDeliverTheExpectedImages) {
    struct Row {
        const char* Name;
        std::function<QImage()> Load;
        QSize Size;
        int Depth;
    };
    const Row rows[] = {
        {"scroll", LoadScrollBitmap, QSize(246, 196), 32},
        {"tack", LoadTackBitmap, QSize(13, 21), 8},
        {"tack head mask", LoadTackHeadMask, QSize(13, 21), 1},
        {"select cursor", LoadSelectCursorImage, QSize(32, 32), 32},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.Name);
        const QImage image = row.Load();
        ASSERT_FALSE(image.isNull());
        EXPECT_EQ(image.size(), row.Size);
        EXPECT_EQ(image.depth(), row.Depth);
    }
    EXPECT_FALSE(LoadScrollBitmap().hasAlphaChannel());
    EXPECT_EQ(LoadTackBitmap().format(), QImage::Format_Indexed8);
    EXPECT_EQ(LoadTackBitmap().colorCount(), 256);
    EXPECT_EQ(LoadTackHeadMask().format(), QImage::Format_Mono);
    EXPECT_TRUE(LoadSelectCursorImage().hasAlphaChannel());
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

    // Every border piece lets the panel's background through somewhere and is solid
    // somewhere else.
    struct Piece {
        const char* Name;
        QRect Rect;
    };
    const Piece pieces[] = {
        {"top-left corner", QRect(0, 0, 38, 38)},
        {"top-right corner", QRect(208, 0, 38, 38)},
        {"bottom-left corner", QRect(0, 148, 38, 48)},
        {"bottom-right corner", QRect(208, 148, 38, 48)},
        {"top edge", QRect(38, 0, 170, 38)},
        {"bottom edge", QRect(38, 148, 170, 48)},
        {"left edge", QRect(0, 38, 38, 110)},
        {"right edge", QRect(208, 38, 38, 110)},
    };
    for (const Piece& piece : pieces) {
        SCOPED_TRACE(piece.Name);
        int key = 0;
        for (int y = piece.Rect.top(); y <= piece.Rect.bottom(); ++y) {
            for (int x = piece.Rect.left(); x <= piece.Rect.right(); ++x) {
                key += IsKey(scroll, x, y) ? 1 : 0;
            }
        }
        EXPECT_GT(key, 0);
        EXPECT_LT(key, piece.Rect.width() * piece.Rect.height());
    }
    for (const QPoint& p : {QPoint(0, 0), QPoint(245, 0), QPoint(0, 195), QPoint(245, 195)}) {
        EXPECT_TRUE(IsKey(scroll, p.x(), p.y())) << p.x() << "," << p.y();
    }
}

// Edge tiles are cut to any length before the next corner, so the outline of every
// column of the top and bottom bands must be the outline of the corners' first column, and
// likewise for the rows of the side bands.
TEST(PicturesTest, ScrollOutlineContinuesAcrossEveryCut) {
    const QImage scroll = LoadScrollBitmap();
    ASSERT_EQ(scroll.size(), QSize(246, 196));
    auto column = [&](int x, int y0, int y1) {
        std::vector<bool> keys;
        for (int y = y0; y < y1; ++y) {
            keys.push_back(IsKey(scroll, x, y));
        }
        return keys;
    };
    auto row = [&](int y, int x0, int x1) {
        std::vector<bool> keys;
        for (int x = x0; x < x1; ++x) {
            keys.push_back(IsKey(scroll, x, y));
        }
        return keys;
    };
    struct Band {
        const char* Name;
        int From, To;
    };
    for (const Band& band : {Band{"top", 0, 38}, Band{"bottom", 148, 196}}) {
        SCOPED_TRACE(band.Name);
        const auto rightCorner = column(208, band.From, band.To);
        EXPECT_EQ(column(37, band.From, band.To), rightCorner);
        for (int x = 38; x < 208; ++x) {
            ASSERT_EQ(column(x, band.From, band.To), rightCorner) << "column " << x;
        }
    }
    for (const Band& band : {Band{"left", 0, 38}, Band{"right", 208, 246}}) {
        SCOPED_TRACE(band.Name);
        const auto bottomCorner = row(148, band.From, band.To);
        EXPECT_EQ(row(37, band.From, band.To), bottomCorner);
        for (int y = 38; y < 148; ++y) {
            ASSERT_EQ(row(y, band.From, band.To), bottomCorner) << "row " << y;
        }
    }
}

// Mean colour step between two lines of pixels, over the pixel pairs that both pass the
// filter.
double LineStep(const QImage& image, QPoint a, QPoint b, QPoint step, int count,
                const std::function<bool(QRgb)>& use) {
    double sum = 0;
    int n = 0;
    for (int i = 0; i < count; ++i, a += step, b += step) {
        if (!use(image.pixel(a)) || !use(image.pixel(b))) {
            continue;
        }
        sum += ChannelDiff(image.pixel(a), image.pixel(b));
        ++n;
    }
    return n == 0 ? 0 : sum / n;
}

TEST(PicturesTest, ScrollTilesRepeatWithoutSeams) {
    const QImage scroll = LoadScrollBitmap();
    ASSERT_EQ(scroll.size(), QSize(246, 196));
    const QPoint down(0, 1), right(1, 0);
    auto solid = [](QRgb c) { return (c | 0xFF000000) != KeyBlue; };

    // How much neighbouring lines differ anyway inside the parchment: a seam may not stand
    // out from that.
    double typical = 0;
    for (int x = 38; x < 207; ++x) {
        typical += LineStep(scroll, QPoint(x, 38), QPoint(x + 1, 38), down, 110, solid);
    }
    typical /= 169;
    ASSERT_GT(typical, 0.2) << "the parchment should have some texture";

    // A tile's last line is followed by its own first line wherever the tile repeats.
    struct Join {
        const char* Name;
        QPoint Last, First, Step;
        int Count;
    };
    const Join joins[] = {
        {"parchment, right to left", QPoint(207, 38), QPoint(38, 38), down, 110},
        {"parchment, bottom to top", QPoint(38, 147), QPoint(38, 38), right, 170},
        {"top edge, right to left", QPoint(207, 0), QPoint(38, 0), down, 38},
        {"bottom edge, right to left", QPoint(207, 148), QPoint(38, 148), down, 48},
        {"left edge, bottom to top", QPoint(0, 147), QPoint(0, 38), right, 38},
        {"right edge, bottom to top", QPoint(208, 147), QPoint(208, 38), right, 38},
    };
    for (const Join& join : joins) {
        SCOPED_TRACE(join.Name);
        EXPECT_LE(LineStep(scroll, join.Last, join.First, join.Step, join.Count, solid),
                  2 * typical + 1);
    }

    // A shortened edge tile meets the right-hand corner after any column, so the rollers'
    // wood may change along the rod only slowly. Only wood is compared here: pixels far from
    // the parchment's average colour.
    double r = 0, g = 0, b = 0;
    for (int y = 38; y < 148; ++y) {
        for (int x = 38; x < 208; ++x) {
            r += qRed(scroll.pixel(x, y));
            g += qGreen(scroll.pixel(x, y));
            b += qBlue(scroll.pixel(x, y));
        }
    }
    const QRgb parchment = qRgb(int(r / 18700), int(g / 18700), int(b / 18700));
    auto wood = [&](QRgb c) { return solid(c) && ChannelDiff(c, parchment) > 45; };
    for (int band : {0, 148}) {
        const int height = band == 0 ? 38 : 48;
        int woodRows = 0;
        for (int y = band; y < band + height; ++y) {
            woodRows += wood(scroll.pixel(120, y)) ? 1 : 0;
        }
        ASSERT_GE(woodRows, 12) << "no roller in the band at row " << band;
        for (int x = 38; x < 208; ++x) {
            ASSERT_LE(LineStep(scroll, QPoint(x, band), QPoint(208, band), down, height, wood),
                      4 * typical + 4)
                << "roller cut at column " << x;
        }
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

TEST(PicturesTest, IconStripsHoldFifteenDistinctIcons) {
    EnsureGuiApplication();
    for (int size : {16, 24}) {
        SCOPED_TRACE(size);
        const QImage strip = RenderIconStrip(size);
        ASSERT_EQ(strip.size(), QSize(15 * size, size));
        EXPECT_EQ(strip.format(), QImage::Format_ARGB32);
        std::set<std::string> seen;
        for (int i = 0; i < CommandIconCount; ++i) {
            SCOPED_TRACE(i);
            const QImage cell = strip.copy(i * size, 0, size, size);
            int opaque = 0, clear = 0;
            for (int y = 0; y < size; ++y) {
                for (int x = 0; x < size; ++x) {
                    const int alpha = qAlpha(cell.pixel(x, y));
                    opaque += alpha >= 192 ? 1 : 0;
                    clear += alpha == 0 ? 1 : 0;
                }
            }
            EXPECT_GE(opaque, size * size / 5) << "icon missing or too faint";
            EXPECT_GT(clear, 0) << "icon has no transparent background";
            const QByteArray bits(reinterpret_cast<const char*>(cell.constBits()),
                                  cell.sizeInBytes());
            EXPECT_TRUE(seen.insert(bits.toStdString()).second) << "same picture as another icon";
        }
    }
    for (int size : {0, -16}) {
        EXPECT_TRUE(RenderIconStrip(size).isNull()) << size;
        EXPECT_TRUE(RenderAppIcon(size).isNull()) << size;
    }
}

TEST(PicturesTest, AppIconIsDrawnOnTransparency) {
    EnsureGuiApplication();
    for (int size : {16, 32, 48}) {
        SCOPED_TRACE(size);
        const QImage icon = RenderAppIcon(size);
        ASSERT_EQ(icon.size(), QSize(size, size));
        EXPECT_EQ(qAlpha(icon.pixel(0, 0)), 0);
        EXPECT_EQ(qAlpha(icon.pixel(size / 2, size / 2)), 255);
    }
}

// The hot spot must sit in the middle of the lens: looking out from it in every direction
// one meets the lens rim before leaving the glass.
TEST(PicturesTest, SelectCursorHotSpotIsTheLensCentre) {
    const QImage cursor = LoadSelectCursorImage();
    const QPoint hot = SelectCursorHotSpot();
    ASSERT_TRUE(QRect(QPoint(0, 0), cursor.size()).contains(hot));
    EXPECT_LT(qAlpha(cursor.pixel(hot)), 160) << "the map should show through the glass";

    struct Ray {
        int Dx, Dy;
    };
    int distances[4] = {};
    const Ray rays[] = {{1, 0}, {-1, 0}, {0, 1}, {0, -1}};
    for (int i = 0; i < 4; ++i) {
        SCOPED_TRACE(i);
        QPoint p = hot;
        int steps = 0;
        while (QRect(QPoint(0, 0), cursor.size()).contains(p)) {
            const QRgb c = cursor.pixel(p);
            if (qAlpha(c) >= 200 && qGray(c) < 90) {
                break;
            }
            p += QPoint(rays[i].Dx, rays[i].Dy);
            ++steps;
        }
        ASSERT_TRUE(QRect(QPoint(0, 0), cursor.size()).contains(p)) << "no rim in this direction";
        distances[i] = steps;
    }
    // Centred: opposite rim distances agree within a pixel.
    EXPECT_LE(std::abs(distances[0] - distances[1]), 1);
    EXPECT_LE(std::abs(distances[2] - distances[3]), 1);
    EXPECT_GE(distances[0], 4);
}

}  // namespace
}  // namespace brix
