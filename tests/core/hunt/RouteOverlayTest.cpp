#include <gtest/gtest.h>

#include <QFont>
#include <QImage>
#include <QPainter>

#include <string>
#include <vector>

#include "core/hunt/HuntPlan.h"
#include "core/hunt/RouteOverlay.h"
#include "support/GuiApp.h"
#include "support/Records.h"

namespace brix {
namespace {

// World (5120 × 4096 units) onto a 512 × 512 bitmap: x / 10, y / 8.
const QSize Bitmap(512, 512);

// Each leg as "from x,y to x,y", with "recall" when it starts with one.
std::vector<std::string> Legs(const RouteOverlay& overlay) {
    std::vector<std::string> legs;
    for (const RouteOverlayLeg& leg : overlay.Legs)
        legs.push_back(QStringLiteral("%1,%2 to %3,%4%5")
                           .arg(leg.From.x())
                           .arg(leg.From.y())
                           .arg(leg.To.x())
                           .arg(leg.To.y())
                           .arg(leg.Recall ? " recall" : "")
                           .toStdString());
    return legs;
}

// Ann holds maps of two treasures close together in the north-west and one far south-east
// above the only rune spot (treasure 4), so her route recalls there first and walks back: a
// second recall would land farther from the north-west than the walk.
class RouteOverlayTest : public ::testing::Test {
protected:
    void SetUp() override {
        // At (100, 125), (140, 125), (400, 400) and (400, 500) on the canvas.
        test::AddTreasures(records_, {1, 2, 3, 4}, 1);
        const IntPoint at[] = {{1000, 1000}, {1400, 1000}, {4000, 3200}, {4000, 4000}};
        for (int i = 0; i < 4; ++i) records_.FindTreasure(i + 1)->Location = at[i];
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
    EXPECT_EQ(Legs(overlay),
              (std::vector<std::string>{"400,500 to 400,400 recall", "400,400 to 140,125",
                                        "140,125 to 100,125"}));

    // Without runes the route starts on its first stop: no line leads to it.
    EXPECT_EQ(Legs(BuildRouteOverlay(Plan(nullptr), Bitmap)),
              (std::vector<std::string>{"400,400 to 140,125", "140,125 to 100,125"}));
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
    EXPECT_EQ(at(400 - RouteDotRadius(font, 1) + 2, 400), RouteInkColour);
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
