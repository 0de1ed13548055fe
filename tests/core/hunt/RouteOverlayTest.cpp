#include <gtest/gtest.h>

#include <QFont>
#include <QImage>
#include <QPainter>

#include <vector>

#include "core/hunt/HuntPlan.h"
#include "core/hunt/RouteOverlay.h"
#include "support/GuiApp.h"

namespace brix {
namespace {

// World (5120 × 4096 units) onto a 512 × 512 bitmap: x / 10, y / 8.
const QSize Bitmap(512, 512);

void AddTreasure(GameRecords& records, int index, int x, int y) {
    Treasure treasure;
    treasure.Index = index;
    treasure.Name = "Spot";
    treasure.Region = 1;
    treasure.Location = {x, y};
    records.StoreTreasure(treasure);
}

// Ann holds maps of two treasures close together in the north-west and one far south-east
// above the only rune spot (treasure 4), so her route recalls there first and walks back: a
// second recall would land farther from the north-west than the walk.
class RouteOverlayTest : public ::testing::Test {
protected:
    void SetUp() override {
        AddTreasure(records_, 1, 1000, 1000);  // (100, 125) on the canvas
        AddTreasure(records_, 2, 1400, 1000);  // (140, 125)
        AddTreasure(records_, 3, 4000, 3200);  // (400, 400)
        AddTreasure(records_, 4, 4000, 4000);  // (400, 500)
        ann_.Name = "Ann";
        for (int treasure : {1, 2, 3}) {
            MapCounts entry;
            entry.Index = treasure;
            entry.Counts[0] = 1;
            ann_.Entries.push_back(entry);
        }
        library_.Name = "Main";
        library_.RuneBooks = {{"Home", {4}}};
    }
    HuntPlan Plan(const RuneLibrary* library) const {
        return MakeHuntPlan(records_, &ann_, MapFilter(), library, 300);
    }
    GameRecords records_;
    Character ann_;
    RuneLibrary library_;
};

TEST_F(RouteOverlayTest, DotsAndLegsLandOnTheMappedPoints) {
    EXPECT_EQ(WorldToCanvas({2560, 2048}, Bitmap), QPointF(256, 256));
    EXPECT_EQ(WorldToCanvas({5120, 4096}, QSize(1000, 800)), QPointF(1000, 800));

    const RouteOverlay overlay = BuildRouteOverlay(Plan(&library_), Bitmap);
    EXPECT_EQ(overlay.Stops, (std::vector<QPointF>{{400, 400}, {140, 125}, {100, 125}}));
    ASSERT_EQ(overlay.Legs.size(), 3u);
    const RouteOverlayLeg expected[] = {{{400, 500}, {400, 400}, true},
                                        {{400, 400}, {140, 125}, false},
                                        {{140, 125}, {100, 125}, false}};
    for (std::size_t i = 0; i < 3; ++i) {
        EXPECT_EQ(overlay.Legs[i].From, expected[i].From) << i;
        EXPECT_EQ(overlay.Legs[i].To, expected[i].To) << i;
        EXPECT_EQ(overlay.Legs[i].Recall, expected[i].Recall) << i;
    }

    // Without runes the route starts on its first stop: no line leads to it.
    const RouteOverlay walking = BuildRouteOverlay(Plan(nullptr), Bitmap);
    ASSERT_EQ(walking.Stops.size(), 3u);
    ASSERT_EQ(walking.Legs.size(), 2u);
    for (std::size_t i = 0; i < 2; ++i) {
        EXPECT_FALSE(walking.Legs[i].Recall);
        EXPECT_EQ(walking.Legs[i].From, walking.Stops[i]);
        EXPECT_EQ(walking.Legs[i].To, walking.Stops[i + 1]);
    }
    EXPECT_TRUE(BuildRouteOverlay(HuntPlan(), Bitmap).Stops.empty());
}

// Spots on the picture: a dot's body at its stop, a walk inked all along, a recall broken into
// dashes with the halo showing between them.
TEST_F(RouteOverlayTest, WalksAreSolidAndRecallsDashed) {
    test::EnsureGuiApp();
    QImage picture(Bitmap, QImage::Format_RGB32);
    picture.fill(0xFF808080u);
    QFont font;
    font.setPixelSize(12);
    {
        QPainter painter(&picture);
        DrawRouteOverlay(painter, BuildRouteOverlay(Plan(&library_), Bitmap), font);
    }
    const auto at = [&picture](double x, double y) {
        return picture.pixel(static_cast<int>(x), static_cast<int>(y));
    };
    // Inside the rim, left of the number.
    const double rim = RouteDotRadius(font, 1) - 2;
    EXPECT_EQ(at(400 - rim, 400), RouteInkColour);
    EXPECT_EQ(at(140 - RouteDotRadius(font, 2) + 2, 125), RouteInkColour);
    EXPECT_EQ(at(256, 256), 0xFF808080u);  // far from the route

    int walkInk = 0;
    for (double x = 115; x <= 125; x += 2) walkInk += at(x, 125) == RouteInkColour;
    EXPECT_EQ(walkInk, 6);
    int recallInk = 0;
    int recallGaps = 0;
    for (double y = 420; y <= 480; y += 3) {
        recallInk += at(400, y) == RouteInkColour;
        recallGaps += at(400, y) == RouteHaloColour;
    }
    EXPECT_GT(recallInk, 5);
    EXPECT_GT(recallGaps, 2);
}

}  // namespace
}  // namespace brix
