#include <gtest/gtest.h>

#include <QColor>
#include <QImage>

#include <string>
#include <vector>

#include "core/data/Session.h"
#include "core/map/WorldCanvas.h"
#include "support/WorldFixture.h"

namespace brix {
namespace {

using test::MaskedRegion;
using test::SetHasMap;
using test::SetWorld;

QImage Solid(int width, int height, QRgb colour) {
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(colour);
    return image;
}

QImage Draw(const Session& session, QRect box, int hover) {
    QImage image(box.size(), QImage::Format_RGB32);
    image.fill(qRgb(1, 2, 3));
    DrawWorldCanvas(image, box, session, hover);
    return image;
}

std::string Rgb(QRgb c) {
    return QColor(c).name().toStdString();
}

TEST(WorldCanvas, HitTestFindsTheFirstRegionUnderAPoint) {
    Session session;
    session.GetWorld().StoreRegion(MaskedRegion(1, {2, 2}, {"#..#", ".##.", "####"}));
    // Reacts on its whole rectangle although its mask is empty, and comes before region 3.
    session.GetWorld().StoreRegion(MaskedRegion(2, {4, 3}, {"...", "...", "..."}, true));
    session.GetWorld().StoreRegion(MaskedRegion(3, {5, 4}, {"###", "###", "###"}));
    // Bits too short for its rectangle: never hit rather than read past the end.
    Region truncated = MaskedRegion(4, {20, 20}, {"####", "####"});
    truncated.MaskBits.resize(2);
    session.GetWorld().StoreRegion(truncated);
    // A mask on an empty slot belongs to no region.
    session.GetWorld().Regions.resize(7);
    session.GetWorld().Regions[6] = MaskedRegion(0, {30, 30}, {"##"});
    // A region whose overlay never loaded.
    Region unloaded;
    unloaded.Index = 7;
    unloaded.MaskHitTest = true;
    session.GetWorld().StoreRegion(unloaded);

    struct Row {
        QPoint Point;
        int Expected;
    };
    const Row rows[] = {
        {{2, 2}, 1},    // mask bit 1 at the rectangle's corner
        {{6, 2}, 0},    // right edge is outside
        {{4, 3}, 1},    // bit 1 of region 1 wins over region 2's rectangle
        {{5, 3}, 2},    // bit 0 of region 1 falls through to region 2
        {{6, 5}, 2},    // region 2 (rectangle alone) wins over region 3's bit 1
        {{20, 20}, 0},  // truncated mask
        {{30, 30}, 0},  // empty slot
        {{0, 0}, 0},    // region without a mask
    };
    for (const Row& row : rows) {
        EXPECT_EQ(HitTestRegion(session.GetWorld(), row.Point), row.Expected)
            << "at " << row.Point.x() << "," << row.Point.y();
    }
}

// Every pixel is tinted exactly where its bit is set, also in a box that cuts through the masks,
// and a later region tints over an earlier one; TintBlendTest holds the blend itself to the same
// pixels in every form.
TEST(WorldCanvas, TintBlendsTheMaskedPixelsLaterRegionsOverEarlierOnes) {
    struct Row {
        const char* What;
        QRgb World;
        bool HasMap, Hover;
        std::uint32_t WithHighLight, WithoutHighLight;
        QRgb First, Second, Both;  // region 1 alone, region 2 alone, region 2 over region 1
    };
    const std::uint32_t automatic = AutomaticColour;
    // Region 2 always has maps; colour references are 0x00BBGGRR.
    const Row rows[] = {
        {"automatic: yellow-orange under red, weight 95", qRgb(100, 150, 200), false, false,
         automatic, automatic, qRgb(157, 176, 125), qRgb(157, 93, 125), qRgb(192, 110, 78)},
        {"white, region 1 hovered: weight 159", qRgb(255, 255, 255), false, true, automatic,
         automatic, qRgb(254, 234, 95), qRgb(254, 159, 159), qRgb(253, 146, 59)},
        {"set colour with maps, twice", qRgb(10, 20, 30), true, false, 0x00302010u, automatic,
         qRgb(12, 24, 36), qRgb(12, 24, 36), qRgb(13, 26, 40)},
        {"set colours, hovered without maps", qRgb(200, 100, 50), false, true, 0x000000FFu,
         0x0000FF00u, qRgb(75, 195, 18), qRgb(219, 62, 31), qRgb(141, 121, 11)},
    };
    const std::vector<std::string> mask1 = {"...#########........", "#..................#",
                                            "####################"};
    const std::vector<std::string> mask2 = {"##.#", "..#."};  // shares (24, 2) with region 1
    auto set = [](const std::vector<std::string>& mask, QPoint at, int x, int y) {
        const int mx = x - at.x(), my = y - at.y();
        return my >= 0 && my < int(mask.size()) && mx >= 0 && mx < int(mask[0].size()) &&
               mask[my][mx] == '#';
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.What);
        Session session;
        SetWorld(session, Solid(30, 4, row.World));
        session.GetWorld().StoreRegion(MaskedRegion(1, {5, 1}, mask1));
        session.GetWorld().StoreRegion(MaskedRegion(2, {22, 1}, mask2));
        if (row.HasMap) SetHasMap(session, 1);
        SetHasMap(session, 2);
        session.GetPrefs().Display.WithHighLight = row.WithHighLight;
        session.GetPrefs().Display.WithoutHighLight = row.WithoutHighLight;
        for (const QRect& box : {QRect(0, 0, 30, 4), QRect(9, 1, 14, 3)}) {
            const QImage image = Draw(session, box, row.Hover ? 1 : 0);
            for (int y = box.top(); y <= box.bottom(); ++y) {
                for (int x = box.left(); x <= box.right(); ++x) {
                    const bool one = set(mask1, {5, 1}, x, y), two = set(mask2, {22, 1}, x, y);
                    const QRgb expected = one && two ? row.Both
                                          : two      ? row.Second
                                          : one      ? row.First
                                                     : row.World;
                    ASSERT_EQ(Rgb(image.pixel(x - box.left(), y - box.top())), Rgb(expected))
                        << "at " << x << "," << y << " box x " << box.x();
                }
            }
        }
    }
}

TEST(WorldCanvas, BackgroundBeyondTheBitmapIsItsTopLeftColour) {
    Session session;
    QImage world = Solid(4, 3, qRgb(40, 80, 120));
    world.setPixel(0, 0, qRgb(7, 77, 177));
    SetWorld(session, world);
    // Tints the top-left pixel and reaches past the bitmap's right edge and bottom.
    session.GetWorld().StoreRegion(
        MaskedRegion(1, {0, 0}, {"######", "######", "######", "######"}));
    const QRgb background = qRgb(7, 77, 177);

    const QImage image = Draw(session, QRect(0, 0, 9, 7), 0);
    for (int y = 0; y < 7; ++y)
        for (int x = 0; x < 9; ++x)
            EXPECT_EQ(image.pixel(x, y) == background, x >= 4 || y >= 3) << x << "," << y;
    // A box wholly right of and below the bitmap.
    EXPECT_EQ(Draw(session, QRect(6, 5, 3, 2), 0), Solid(3, 2, background));

    // Without a world bitmap there is nothing to show but a plain white window.
    Session empty;
    empty.GetWorld().StoreRegion(MaskedRegion(1, {0, 0}, {"##"}));
    EXPECT_EQ(Draw(empty, QRect(0, 0, 5, 2), 1), Solid(5, 2, qRgb(255, 255, 255)));
}

}  // namespace
}  // namespace brix
