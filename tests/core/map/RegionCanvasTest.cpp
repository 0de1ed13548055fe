#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>

#include <algorithm>
#include <set>
#include <string>
#include <vector>

#include "core/map/MapGeometry.h"
#include "core/map/RegionCanvas.h"
#include "support/GuiApp.h"
#include "support/RegionFixture.h"

namespace brix {
namespace {

// The catalogue is described in support/RegionFixture.h.
class RegionCanvasTest : public ::testing::Test {
protected:
    void SetUp() override { test::FillRegionSession(session_); }
    Session session_;
};

TEST_F(RegionCanvasTest, ShowAndSelect) {
    struct Row {
        const char* What;
        int Region, Request, Selected;
        IntRect Source;
        std::string Title;
    };
    // Region 1 spans world (300..320, 300..500): centre (310, 400), multimap (155, 200); its
    // window would start left of the multimap and is pushed inside.
    const IntRect region1{0, 23, 404, 377}, region4{473, 376, 877, 730};
    // The title holds 127 bytes of the name: the four-byte letter after them is not cut in two.
    const std::string c126(126, 'c'), e = "\xC3\xA9";
    session_.GetWorld().FindTreasure(21)->Name = c126 + e + "\xF0\x9D\x84\x9E" + "d";
    const Row rows[] = {
        {"-1 takes the lowest number, not the first drawn", 1, -1, 1, region1, "1 - Cache 1"},
        {"0 selects nothing", 1, 0, 0, region1, ""},
        {"a treasure of another region", 1, 2, 1, region1, "1 - Cache 1"},
        {"an empty region shows the middle of the multimap", 3, 20, 0, {798, 623, 1202, 977}, ""},
        {"a window inside the multimap", 4, 29, 29, region4, "29 - Cache 29"},
        {"a long name", 4, 21, 21, region4, "21 - " + c126 + e},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.What);
        RegionCanvas canvas(session_);
        canvas.ShowRegion(row.Region, row.Request);
        EXPECT_EQ(canvas.CurrentRegion(), row.Region);
        EXPECT_EQ(canvas.SelectedTreasure(), row.Selected);
        EXPECT_EQ(canvas.SourceRect(), row.Source);
        EXPECT_EQ(canvas.TitleText(), row.Title);
    }

    std::vector<IntRect> repainted;
    RegionCanvas canvas(session_);
    canvas.Invalidate = [&repainted](const IntRect& rect) { repainted.push_back(rect); };
    canvas.ShowRegion(4, 0);
    EXPECT_NE(std::find(repainted.begin(), repainted.end(), RegionLayout::MapArea),
              repainted.end());

    repainted.clear();
    canvas.SelectTreasure(20);
    EXPECT_EQ(repainted, (std::vector<IntRect>{RegionLayout::SidePanel, RegionLayout::MapArea}));
    // The close-up's interior is 170 × 176 around multimap (500, 400).
    EXPECT_EQ(canvas.CloseUpSource(), (IntRect{415, 312, 585, 488}));

    canvas.SelectTreasure(2);  // not in this region
    EXPECT_EQ(canvas.SelectedTreasure(), 20);
    canvas.SelectTreasure(0);
    EXPECT_EQ(canvas.SelectedTreasure(), 0);
}

TEST_F(RegionCanvasTest, HitTestTreasure) {
    enum { Correct = 1, OnlyLabels = 2 };
    struct Row {
        const char* What;
        int Flags, Region;
        QPoint Point;
        int Expected;
    };
    const Row rows[] = {
        {"a tack head", 0, 4, {342, 54}, 20},
        {"a label beats the tack right under it", 0, 4, {492, 54}, 22},
        {"the label's right edge is outside it", 0, 4, {503, 54}, 0},
        {"a hidden label does not hide the tack", OnlyLabels, 4, {492, 54}, 23},
        {"equal distance: drawing order, not number", 0, 4, {692, 357}, 30},
        {"7 right of the correctly drawn head", Correct, 4, {355, 56}, 20},
        {"drawn uncorrected, that point misses", 0, 4, {355, 56}, 0},
        {"a tack hidden by the side panel", 0, 5, {270, 207}, 0},
    };
    for (const Row& row : rows) {
        session_.GetPrefs().Display.TacksCorrect = (row.Flags & Correct) != 0;
        MapFilter options = session_.Filter();
        options.OnlyLabelsWithMaps = (row.Flags & OnlyLabels) != 0;
        session_.SetFilterOptions(options);
        RegionCanvas canvas(session_);
        canvas.ShowRegion(row.Region, 0);
        EXPECT_EQ(canvas.HitTestTreasure(row.Point), row.Expected) << row.What;
    }
    // Treasure 1 on the multimap's left edge, at multimap (0, 250), is drawn over the scroll
    // border with its head at canvas (315, 257): the map is clickable up to the side panel.
    session_.GetWorld().Treasures[1].Location = {0, 500};
    RegionCanvas canvas(session_);
    canvas.ShowRegion(1, 0);
    ASSERT_EQ(canvas.SourceRect(), (IntRect{0, 23, 404, 377}));
    EXPECT_EQ(canvas.HitTestTreasure({315, 257}), 1);
}

TEST_F(RegionCanvasTest, NavigationEnablesAndSteps) {
    enum Move { NextRegion, PreviousRegion, NextTreasure, PreviousTreasure };
    struct Row {
        const char* What;
        int Region, Request;
        bool OnlyWithMaps;
        std::vector<int> Maps;
        // '1' where enabled: a selection (for Copy), next / previous region and treasure.
        std::string Enabled;
        Move Step;
        int NewRegion, NewSelection;
    };
    const Row rows[] = {
        {"next by number crosses regions", 1, 1, false, {}, "11010", NextTreasure, 2, 2},
        {"empty region", 3, -1, false, {}, "01110", NextTreasure, 1, 1},
        {"no wrap past the last region", 5, 41, false, {}, "10101", NextRegion, 5, 41},
        {"previous region, an empty one", 4, 20, false, {}, "11111", PreviousRegion, 3, 0},
        {"no maps at all", 4, 22, true, {}, "10000", NextTreasure, 4, 22},
        {"maps only here", 4, 22, true, {20, 22}, "10001", PreviousTreasure, 4, 20},
        {"none selected, first with maps", 3, -1, true, {21}, "01010", NextTreasure, 4, 21},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.What);
        if (Character* hunter = session_.GetCurrentCharacter()) hunter->Entries.clear();
        for (int treasure : row.Maps) test::GiveMap(session_, treasure);
        MapFilter options = session_.Filter();
        options.OnlyTreasuresWithMaps = row.OnlyWithMaps;
        session_.SetFilterOptions(options);
        RegionCanvas canvas(session_);
        canvas.ShowRegion(row.Region, row.Request);
        std::string enabled;
        for (const bool on : {canvas.SelectedTreasure() != 0, canvas.CanStepRegion(true),
                              canvas.CanStepRegion(false), canvas.CanStepTreasure(true),
                              canvas.CanStepTreasure(false)})
            enabled += on ? '1' : '0';
        EXPECT_EQ(enabled, row.Enabled);
        const bool forward = row.Step == NextRegion || row.Step == NextTreasure;
        if (row.Step == NextRegion || row.Step == PreviousRegion)
            canvas.StepRegion(forward);
        else
            canvas.StepTreasure(forward);
        EXPECT_EQ(canvas.CurrentRegion(), row.NewRegion);
        EXPECT_EQ(canvas.SelectedTreasure(), row.NewSelection);
    }
}

// Region 5's second tack lies beyond the canvas's right edge; treasure 40's tack on the side
// panel is painted over. Along the seams of the layout and the window's edges, every pixel is
// painted, beyond the canvas and between the side panel's boxes it is plain parchment.
TEST_F(RegionCanvasTest, EveryPixelIsPaintedAndTheRestIsParchment) {
    test::EnsureGuiApp();
    test::LoadRegionPictures(session_);
    const QRgb parchment = qRgb(232, 204, 148), unpainted = qRgb(255, 0, 0);
    const std::set<int> columns = {0, 279, 280, 759, 760, 819};
    const std::set<int> lines = {0,
                                 RegionLayout::TitleBox.Top - 1,
                                 RegionLayout::CloseUp.Top - 1,
                                 RegionLayout::CloseUp.Bottom,
                                 RegionLayout::CoordinatesBox.Bottom,
                                 439,
                                 440,
                                 479};
    auto inside = [](const IntRect& r, int x, int y) {
        return r.Left <= x && x < r.Right && r.Top <= y && y < r.Bottom;
    };
    for (const QPoint shown : {QPoint(5, -1), QPoint(3, -1)}) {
        RegionCanvas canvas(session_);
        canvas.ShowRegion(shown.x(), shown.y());
        QImage image(820, 480, QImage::Format_RGB32);
        image.fill(unpainted);
        {
            QPainter painter(&image);
            DrawRegionCanvas(painter, canvas, image.rect());
        }
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x) {
                if (!columns.count(x) && !lines.count(y)) continue;
                const QRgb pixel = image.pixel(x, y);
                const bool plain = x >= 760 || y >= 440 ||
                                   (x < 280 && !inside(RegionLayout::TitleBox, x, y) &&
                                    !inside(RegionLayout::CloseUp, x, y) &&
                                    !inside(RegionLayout::CoordinatesBox, x, y));
                ASSERT_TRUE(plain ? pixel == parchment : pixel != unpainted)
                    << std::hex << pixel << std::dec << " at " << x << "," << y << " region "
                    << shown.x();
            }
    }
}

}  // namespace
}  // namespace brix
