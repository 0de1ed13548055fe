#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>

#include <string>
#include <vector>

#include "data/TreasureCatalog.h"
#include "map/WorldCanvas.h"
#include "support/GuiApp.h"

namespace brix {
namespace {

// A region whose mask is drawn as text: '#' inside the region, '.' outside. Rows are padded
// to a multiple of 2 bytes, as overlay bitmaps are.
Region MaskedRegion(int index, QPoint offset, const std::vector<std::string>& rows,
                    bool hitTest = false) {
    Region region;
    region.Index = index;
    region.Name = "Region " + std::to_string(index);
    region.MaskOffset = {offset.x(), offset.y()};
    region.MaskHitTest = hitTest;
    const int width = static_cast<int>(rows.front().size());
    const int height = static_cast<int>(rows.size());
    region.MaskBytesPerRow = (width + 15) / 16 * 2;
    region.MaskBits.assign(static_cast<std::size_t>(region.MaskBytesPerRow * height), 0);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            if (rows[y][x] == '#') {
                region.MaskBits[y * region.MaskBytesPerRow + x / 8] |= 0x80 >> (x % 8);
            }
        }
    }
    region.MaskRect = {offset.x(), offset.y(), offset.x() + width, offset.y() + height};
    return region;
}

QImage Solid(int width, int height, QRgb colour) {
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(colour);
    return image;
}

void SetWorld(TreasureCatalog& catalog, const QImage& world) {
    catalog.Drawing.WorldBitmap = world;
    catalog.Drawing.WorldBitmapSize = world.size();
}

void SetHasMap(TreasureCatalog& catalog, int region) {
    if (catalog.Filter.RegionHasMap.size() <= static_cast<std::size_t>(region)) {
        catalog.Filter.RegionHasMap.resize(region + 1, 0);
    }
    catalog.Filter.RegionHasMap[region] = 1;
}

QImage Draw(const TreasureCatalog& catalog, QRect box, int hover) {
    QImage image(box.size(), QImage::Format_RGB32);
    image.fill(qRgb(1, 2, 3));
    DrawWorldCanvas(image, box, catalog, hover);
    return image;
}

std::string Rgb(QRgb c) {
    return std::to_string(qRed(c)) + "," + std::to_string(qGreen(c)) + "," +
           std::to_string(qBlue(c));
}

TEST(WorldCanvas, HitTestFindsTheFirstRegionUnderAPoint) {
    TreasureCatalog catalog;
    catalog.StoreRegion(MaskedRegion(1, {2, 2}, {"#..#", ".##.", "####"}));
    // Reacts on its whole rectangle although its mask is empty, and comes before region 3.
    catalog.StoreRegion(MaskedRegion(2, {4, 3}, {"...", "...", "..."}, true));
    catalog.StoreRegion(MaskedRegion(3, {5, 4}, {"###", "###", "###"}));
    // Bits too short for its rectangle: never hit rather than read past the end.
    Region truncated = MaskedRegion(4, {20, 20}, {"####", "####"});
    truncated.MaskBits.resize(2);
    catalog.StoreRegion(truncated);
    // A mask on an empty slot belongs to no region.
    catalog.Regions.resize(7);
    catalog.Regions[6] = MaskedRegion(0, {30, 30}, {"##"});
    // A region whose overlay never loaded.
    Region unloaded;
    unloaded.Index = 7;
    unloaded.MaskHitTest = true;
    catalog.StoreRegion(unloaded);

    struct Row {
        QPoint Point;
        int Expected;
    };
    const Row rows[] = {
        {{2, 2}, 1},    // mask bit 1 at the rectangle's corner
        {{3, 2}, 0},    // bit 0, no other region there
        {{5, 2}, 1},    // last column of the rectangle
        {{6, 2}, 0},    // right edge is outside
        {{2, 5}, 0},    // bottom edge is outside
        {{1, 2}, 0},    // left of it
        {{4, 3}, 1},    // bit 1 of region 1 wins over region 2's rectangle
        {{5, 3}, 2},    // bit 0 of region 1 falls through to region 2
        {{6, 5}, 2},    // region 2 (rectangle alone) wins over region 3's bit 1
        {{7, 5}, 3},    // beyond region 2, inside region 3's mask
        {{7, 6}, 3},    // last pixel of region 3
        {{8, 6}, 0},    // outside every mask
        {{20, 20}, 0},  // truncated mask
        {{30, 30}, 0},  // empty slot
        {{0, 0}, 0},    // region without a mask
        {{-1, -1}, 0},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(HitTestRegion(catalog, row.Point), row.Expected)
            << "at " << row.Point.x() << "," << row.Point.y();
    }
}

TEST(WorldCanvas, TintBlendsMaskedPixelsByWeightAndColour) {
    struct Row {
        const char* What;
        QRgb World;
        bool HasMap;
        bool Hover;
        std::uint32_t WithHighLight;
        std::uint32_t WithoutHighLight;
        QRgb Expected;
    };
    const std::uint32_t automatic = AutomaticColour;
    const Row rows[] = {
        {"automatic yellow-orange, weight 95", qRgb(100, 150, 200), false, false, automatic,
         automatic, qRgb(157, 176, 125)},
        {"automatic red, weight 159", qRgb(100, 150, 200), true, true, automatic, automatic,
         qRgb(195, 56, 75)},
        {"white under automatic yellow-orange, weight 159", qRgb(255, 255, 255), false, true,
         automatic, automatic, qRgb(254, 234, 95)},
        {"black under automatic red, weight 95", qRgb(0, 0, 0), true, false, automatic, automatic,
         qRgb(94, 0, 0)},
        // Colour references are 0x00BBGGRR: red 0x10, green 0x20, blue 0x30.
        {"set colour with maps", qRgb(10, 20, 30), true, false, 0x00302010u, automatic,
         qRgb(12, 24, 36)},
        {"set colour without maps, hovered", qRgb(200, 100, 50), false, true, 0x000000FFu,
         0x0000FF00u, qRgb(75, 195, 18)},
        {"the other colour being set changes nothing", qRgb(100, 150, 200), false, false,
         0x00302010u, automatic, qRgb(157, 176, 125)},
    };
    // The mask starts at an odd column and runs over whole and partial mask bytes, so every
    // path through a mask row is checked; column 5 of the mask is outside the region.
    const std::string maskRow = "#####.##############";
    for (const Row& row : rows) {
        SCOPED_TRACE(row.What);
        TreasureCatalog catalog;
        SetWorld(catalog, Solid(24, 3, row.World));
        catalog.StoreRegion(MaskedRegion(1, {3, 1}, {maskRow}));
        if (row.HasMap) SetHasMap(catalog, 1);
        catalog.Display.WithHighLight = row.WithHighLight;
        catalog.Display.WithoutHighLight = row.WithoutHighLight;
        const int hover = row.Hover ? 1 : 0;

        for (const QRect& box : {QRect(0, 0, 24, 3), QRect(5, 1, 13, 1)}) {
            const QImage image = Draw(catalog, box, hover);
            for (int m = 0; m < static_cast<int>(maskRow.size()); ++m) {
                const QPoint canvas(3 + m, 1);
                if (!box.contains(canvas)) continue;
                const QRgb expected = maskRow[m] == '#' ? row.Expected : row.World;
                EXPECT_EQ(Rgb(image.pixel(canvas - box.topLeft())), Rgb(expected))
                    << "mask column " << m << " in box at x " << box.x();
            }
        }
        const QImage full = Draw(catalog, QRect(0, 0, 24, 3), hover);
        EXPECT_EQ(Rgb(full.pixel(2, 1)), Rgb(row.World));
        EXPECT_EQ(Rgb(full.pixel(3, 0)), Rgb(row.World));
        EXPECT_EQ(Rgb(full.pixel(23, 1)), Rgb(row.World));
    }
}

// Masks wide enough that long runs of clear and set bytes are skipped or blended in bulk: every
// pixel is tinted exactly where its bit is set, up to the first and last bit of a row.
TEST(WorldCanvas, WideMasksTintExactlyTheirSetBits) {
    const int width = 280;
    std::vector<std::string> rows(5, std::string(width, '.'));
    for (int x = 70; x < 211; ++x) rows[0][x] = '#';
    rows[1][3] = '#';
    rows[1][276] = '#';
    rows[3].assign(width, '#');
    for (int x = 0; x < width; x += 37) rows[4][x] = '#';
    rows[4][width - 1] = '#';

    TreasureCatalog catalog;
    const QRgb world = qRgb(100, 150, 200);
    const QRgb tinted = qRgb(157, 176, 125);
    SetWorld(catalog, Solid(300, 6, world));
    catalog.StoreRegion(MaskedRegion(1, {5, 1}, rows));
    for (const QRect& box : {QRect(0, 0, 300, 6), QRect(9, 1, 271, 5), QRect(76, 0, 200, 6)}) {
        const QImage image = Draw(catalog, box, 0);
        for (int y = box.top(); y <= box.bottom(); ++y) {
            for (int x = box.left(); x <= box.right(); ++x) {
                const bool set =
                    y >= 1 && y <= 5 && x >= 5 && x < 5 + width && rows[y - 1][x - 5] == '#';
                ASSERT_EQ(Rgb(image.pixel(x - box.left(), y - box.top())),
                          Rgb(set ? tinted : world))
                    << "at " << x << "," << y << " box x " << box.x();
            }
        }
    }
}

TEST(WorldCanvas, LaterRegionsTintOverEarlierOnes) {
    TreasureCatalog catalog;
    SetWorld(catalog, Solid(12, 4, qRgb(100, 150, 200)));
    // Region 1 (no maps: yellow-orange) and region 2 (maps: red) share pixel (4, 1); region 2's
    // rectangle also covers (3, 1) and (5, 2), where only region 1's mask is set, and (5, 1)
    // belongs to region 2 alone.
    catalog.StoreRegion(MaskedRegion(1, {1, 1}, {"####.", "....#"}));
    catalog.StoreRegion(MaskedRegion(2, {3, 1}, {".##", "..."}));
    SetHasMap(catalog, 2);

    struct Row {
        QPoint Point;
        QRgb Expected;
    };
    const Row rows[] = {
        {{4, 1}, qRgb(192, 110, 78)},   // yellow-orange first, then red
        {{3, 1}, qRgb(157, 176, 125)},  // region 2's rectangle but not its mask
        {{5, 2}, qRgb(157, 176, 125)}, {{5, 1}, qRgb(157, 93, 125)},  // region 2 alone: red at 95
        {{0, 0}, qRgb(100, 150, 200)},
    };
    for (const QRect& box : {QRect(0, 0, 12, 4), QRect(4, 1, 2, 2)}) {
        const QImage image = Draw(catalog, box, 0);
        for (const Row& row : rows) {
            if (!box.contains(row.Point)) continue;
            EXPECT_EQ(Rgb(image.pixel(row.Point - box.topLeft())), Rgb(row.Expected))
                << "at " << row.Point.x() << "," << row.Point.y() << " box x " << box.x();
        }
    }
}

TEST(WorldCanvas, BackgroundBeyondTheBitmapIsItsTopLeftColour) {
    TreasureCatalog catalog;
    QImage world = Solid(4, 3, qRgb(40, 80, 120));
    world.setPixel(0, 0, qRgb(7, 77, 177));
    SetWorld(catalog, world);
    // Tints the top-left pixel and reaches past the bitmap's right edge and bottom.
    catalog.StoreRegion(MaskedRegion(1, {0, 0}, {"######", "######", "######", "######"}));
    const QRgb background = qRgb(7, 77, 177);

    const QImage image = Draw(catalog, QRect(0, 0, 9, 7), 0);
    for (int y = 0; y < 7; ++y) {
        for (int x = 0; x < 9; ++x) {
            const bool inBitmap = x < 4 && y < 3;
            if (inBitmap) {
                EXPECT_NE(Rgb(image.pixel(x, y)), Rgb(background)) << x << "," << y;
            } else {
                EXPECT_EQ(Rgb(image.pixel(x, y)), Rgb(background)) << x << "," << y;
            }
        }
    }
    // A box wholly right of and below the bitmap.
    const QImage beyond = Draw(catalog, QRect(6, 5, 3, 2), 0);
    EXPECT_EQ(beyond, Solid(3, 2, background));

    // Without a world bitmap there is nothing to show but a plain white window.
    TreasureCatalog empty;
    empty.StoreRegion(MaskedRegion(1, {0, 0}, {"##"}));
    EXPECT_EQ(Draw(empty, QRect(0, 0, 5, 2), 1), Solid(5, 2, qRgb(255, 255, 255)));
}

// The painter path puts the picture together band by band; every band must land in its place,
// pixel for pixel as in the buffered picture, also where masks and rectangles overlap.
TEST(WorldCanvas, PainterPathMatchesTheBufferedPicture) {
    test::EnsureGuiApp();
    TreasureCatalog catalog;
    QImage world(40, 30, QImage::Format_RGB32);
    for (int y = 0; y < world.height(); ++y) {
        for (int x = 0; x < world.width(); ++x) {
            world.setPixel(x, y, qRgb(x * 6, y * 8, (x * y) % 256));
        }
    }
    SetWorld(catalog, world);
    std::vector<std::string> diagonal;
    for (int y = 0; y < 20; ++y) {
        std::string row(20, '.');
        for (int x = 0; x < 20; ++x) {
            if ((x + y) % 3 != 0) row[x] = '#';
        }
        diagonal.push_back(row);
    }
    catalog.StoreRegion(MaskedRegion(1, {3, 2}, diagonal));
    catalog.StoreRegion(
        MaskedRegion(2, {10, 8}, std::vector<std::string>(15, std::string(22, '#'))));
    catalog.StoreRegion(MaskedRegion(3, {0, 0}, {"#.#.#.#.#.#", ".#.#.#.#.#."}, true));
    SetHasMap(catalog, 2);
    catalog.Display.WithoutHighLight = 0x00804020u;

    for (const QRect& box : {QRect(0, 0, 50, 36), QRect(7, 5, 13, 9), QRect(35, 20, 10, 12)}) {
        for (int hover : {0, 1, 2}) {
            const QImage expected = Draw(catalog, box, hover);
            QImage painted(box.size(), QImage::Format_RGB32);
            painted.fill(qRgb(1, 2, 3));
            {
                QPainter painter(&painted);
                painter.translate(-box.topLeft());
                DrawWorldCanvas(painter, box, catalog, hover);
            }
            EXPECT_EQ(painted, expected) << "box x " << box.x() << " hover " << hover;
        }
    }
}

}  // namespace
}  // namespace brix
