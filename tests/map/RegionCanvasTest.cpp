#include <gtest/gtest.h>

#include <QColor>
#include <QImage>
#include <QPainter>

#include <string>
#include <vector>

#include "data/TreasureCatalog.h"
#include "frame/CommandIds.h"
#include "map/MapGeometry.h"
#include "map/MapImages.h"
#include "map/Pictures.h"
#include "map/RegionCanvas.h"
#include "support/GuiApp.h"

namespace brix {
namespace {

// Labels measure 10 pixels per digit by 12 pixels, so their rectangles can be worked out by
// hand: a two-digit label centred on E spans (E.x - 11, E.y - 7) to (E.x + 11, E.y + 7).
void FixedMeasure(const std::string& text, int& width, int& height) {
    width = 10 * static_cast<int>(text.size());
    height = 12;
}

// Regions 1 to 5 on a 2000 × 1600 multimap; region 3 has no treasures.
//
// Region 4 is the hit-test region. Its treasures span world (1000..1700, 800..1412), so its
// map shows the multimap window (473, 376)-(877, 730), and a multimap point q lands on the
// canvas at (q.x - 161, q.y - 340) while tacks are drawn uncorrected (TacksCorrect off), at
// (q.x - 155, q.y - 338) while they are drawn correctly. Head centres in multimap pixels:
//   20 (503, 394)   21 (503, 410)   23 (653, 394)   22 (603, 494)
//   26 (753, 594)   27 (763, 594)   30 (853, 694)   29 (853, 700)
// Treasure 22's label is centred on treasure 23's head: (642, 387)-(664, 401).
//
// Region 5 is wider than its map window (201, 323)-(605, 677): treasure 40's tack falls on the
// side panel right of the close-up (head on the canvas at (270, 207)) and treasure 41's beyond
// the canvas's right edge.
class RegionCanvasTest : public ::testing::Test {
protected:
    void SetUp() override {
        catalog_.Drawing.MultimapSize = QSize(2000, 1600);
        for (int r = 1; r <= 5; ++r) {
            Region region;
            region.Index = r;
            region.Name = "Region " + std::to_string(r);
            catalog_.StoreRegion(region);
        }
        struct Row {
            int Index;
            int Region;
            IntPoint Location;
            IntPoint LabelOffset;
        };
        const Row rows[] = {
            {1, 1, {300, 500}, {0, 0}},         {3, 1, {320, 300}, {0, 0}},
            {2, 2, {800, 600}, {0, 0}},         {5, 2, {900, 700}, {0, 0}},
            {20, 4, {1000, 800}, {0, 0}},       {21, 4, {1000, 832}, {0, 0}},
            {22, 4, {1200, 1000}, {100, -200}}, {23, 4, {1300, 800}, {0, 0}},
            {26, 4, {1500, 1200}, {0, 0}},      {27, 4, {1520, 1200}, {0, 0}},
            {29, 4, {1700, 1412}, {0, 0}},      {30, 4, {1700, 1400}, {0, 0}},
            {40, 5, {312, 1000}, {0, 0}},       {41, 5, {1300, 1000}, {0, 0}},
        };
        for (const Row& row : rows) {
            Treasure t;
            t.Index = row.Index;
            t.Region = row.Region;
            t.Location = row.Location;
            t.LabelOffset = row.LabelOffset;
            t.Name = "Cache " + std::to_string(row.Index);
            ComputeLabelGeometry(t, FixedMeasure);
            catalog_.StoreTreasure(t);
        }
        catalog_.Filter.TreasureHasMap.assign(catalog_.Treasures.size(), 0);
        catalog_.Filter.RegionHasMap.assign(catalog_.Regions.size(), 0);
    }

    void GiveMap(int treasure) {
        catalog_.Filter.TreasureHasMap[treasure] = 1;
        catalog_.Filter.RegionHasMap[catalog_.Treasures[treasure].Region] = 1;
    }

    TreasureCatalog catalog_;
};

TEST_F(RegionCanvasTest, ShowRegionChoosesTheSelection) {
    struct Row {
        const char* What;
        int Region;
        int Request;
        int Selected;
        IntRect Source;
    };
    // Region 1 spans world (300..320, 300..500): centre (310, 400), multimap (155, 200); its
    // window would start left of the multimap and is pushed inside.
    const IntRect region1{0, 23, 404, 377};
    const IntRect middle{798, 623, 1202, 977};
    const Row rows[] = {
        {"-1 takes the lowest number, not the first drawn", 1, -1, 1, region1},
        {"0 selects nothing", 1, 0, 0, region1},
        {"a treasure of the region", 1, 3, 3, region1},
        {"a treasure of another region", 1, 2, 1, region1},
        {"a number that is no treasure", 1, 999, 1, region1},
        {"an empty region shows the middle of the multimap", 3, -1, 0, middle},
        {"an empty region with a request", 3, 20, 0, middle},
        {"a window inside the multimap", 4, 29, 29, IntRect{473, 376, 877, 730}},
    };
    for (const Row& row : rows) {
        RegionCanvas canvas(catalog_);
        canvas.ShowRegion(row.Region, row.Request);
        EXPECT_EQ(canvas.CurrentRegion(), row.Region) << row.What;
        EXPECT_EQ(canvas.SelectedTreasure(), row.Selected) << row.What;
        EXPECT_EQ(canvas.SourceRect(), row.Source) << row.What;
    }
}

TEST_F(RegionCanvasTest, SelectionMovesTheCloseUpAndFillsTheTextBoxes) {
    RegionCanvas canvas(catalog_);
    canvas.ShowRegion(4, 0);
    EXPECT_EQ(canvas.TitleText(), "");
    EXPECT_EQ(canvas.CoordinatesText(), "");

    canvas.SelectTreasure(20);
    EXPECT_EQ(canvas.SelectedTreasure(), 20);
    // The close-up's interior is 170 × 176 around multimap (500, 400).
    EXPECT_EQ(canvas.CloseUpSource(), (IntRect{415, 312, 585, 488}));
    EXPECT_EQ(canvas.TitleText(), "20 - Cache 20");
    EXPECT_EQ(canvas.CoordinatesText(), SextantText(1000, 800));

    canvas.SelectTreasure(2);  // not in this region
    EXPECT_EQ(canvas.SelectedTreasure(), 20);
    canvas.SelectTreasure(0);
    EXPECT_EQ(canvas.SelectedTreasure(), 0);
    EXPECT_EQ(canvas.TitleText(), "");
}

TEST_F(RegionCanvasTest, LongTitlesAreCutWithoutSplittingACharacter) {
    // "20 - " and 130 two-byte letters: 127 characters remain.
    std::string name;
    for (int i = 0; i < 130; ++i) name += "\xC3\xA9";
    catalog_.Treasures[20].Name = name;
    RegionCanvas canvas(catalog_);
    canvas.ShowRegion(4, 20);
    const std::string title = canvas.TitleText();
    EXPECT_EQ(title.size(), 5u + 2u * (MaxTitleCharacters - 5));
    EXPECT_EQ(title.substr(0, 7), "20 - \xC3\xA9");
    EXPECT_EQ(title.substr(title.size() - 2), "\xC3\xA9");
}

TEST_F(RegionCanvasTest, ChangesAskForTheRightRepaints) {
    std::vector<IntRect> repainted;
    RegionCanvas canvas(catalog_);
    canvas.Invalidate = [&repainted](const IntRect& rect) { repainted.push_back(rect); };
    canvas.ShowRegion(4, -1);
    EXPECT_NE(std::find(repainted.begin(), repainted.end(), RegionLayout::MapArea),
              repainted.end());
    repainted.clear();
    canvas.SelectTreasure(21);
    EXPECT_EQ(repainted, (std::vector<IntRect>{RegionLayout::SidePanel, RegionLayout::MapArea}));
}

TEST_F(RegionCanvasTest, HitTestTreasure) {
    struct Row {
        const char* What;
        bool TacksCorrect;
        bool OnlyLabelsWithMaps;
        bool LabelOwnerHasMap;
        int Region;
        QPoint Point;
        int Expected;
    };
    const Row rows[] = {
        {"a tack head", false, false, false, 4, {342, 54}, 20},
        {"the other tack head", false, false, false, 4, {342, 70}, 21},
        {"8 pixels from both heads", false, false, false, 4, {342, 62}, 0},
        {"7 from one head and 9 from the other", false, false, false, 4, {342, 61}, 20},
        {"a label beats the tack right under it", false, false, false, 4, {492, 54}, 22},
        {"the label's left column", false, false, false, 4, {481, 54}, 22},
        {"just left of the label, 12 from the head", false, false, false, 4, {480, 54}, 0},
        {"the label's right column", false, false, false, 4, {502, 54}, 22},
        {"the label's right edge is outside it", false, false, false, 4, {503, 54}, 0},
        {"the label's owner by its tack", false, false, false, 4, {442, 154}, 22},
        {"a hidden label does not hide the tack", false, true, false, 4, {492, 54}, 23},
        {"a hidden label cannot be clicked", false, true, false, 4, {502, 54}, 0},
        {"a label with maps stays", false, true, true, 4, {492, 54}, 22},
        {"a tack without maps is still picked", false, true, false, 4, {342, 54}, 20},
        {"equal distance: the earlier drawn", false, false, false, 4, {597, 254}, 26},
        {"equal distance: drawing order, not number", false, false, false, 4, {692, 357}, 30},
        {"next to the tie, the nearer", false, false, false, 4, {602, 254}, 27},
        {"7 left of the drawn head", false, false, false, 4, {335, 54}, 20},
        {"drawn correctly, that point misses", true, false, false, 4, {335, 54}, 0},
        {"7 right of the correctly drawn head", true, false, false, 4, {355, 56}, 20},
        {"drawn uncorrected, that point misses", false, false, false, 4, {355, 56}, 0},
        {"the correctly drawn head", true, false, false, 4, {348, 56}, 20},
        {"a tack hidden by the side panel", false, false, false, 5, {270, 207}, 0},
        {"an empty region", false, false, false, 3, {342, 54}, 0},
    };
    for (const Row& row : rows) {
        catalog_.Display.TacksCorrect = row.TacksCorrect;
        catalog_.Filter.OnlyLabelsWithMaps = row.OnlyLabelsWithMaps;
        catalog_.Filter.TreasureHasMap[22] = row.LabelOwnerHasMap ? 1 : 0;
        RegionCanvas canvas(catalog_);
        canvas.ShowRegion(row.Region, 0);
        EXPECT_EQ(canvas.HitTestTreasure(row.Point), row.Expected) << row.What;
    }
}

TEST_F(RegionCanvasTest, TackNearTheMapsLeftEdgeIsPickedOnTheScrollBorder) {
    // Treasure 1 on the multimap's left edge, at multimap (0, 250), is drawn over the scroll
    // border with its head at canvas (315, 257). The map is clickable up to the side panel.
    catalog_.Treasures[1].Location = {0, 500};
    RegionCanvas canvas(catalog_);
    canvas.ShowRegion(1, 0);
    ASSERT_EQ(canvas.SourceRect(), (IntRect{0, 23, 404, 377}));
    EXPECT_EQ(canvas.HitTestTreasure({315, 257}), 1);
}

TEST_F(RegionCanvasTest, NavigationEnabledStates) {
    struct Row {
        const char* What;
        int Region;
        int Request;
        bool OnlyWithMaps;
        std::vector<int> Maps;
        bool Copy;
        bool NextRegion;
        bool PreviousRegion;
        bool NextTreasure;
        bool PreviousTreasure;
    };
    const Row rows[] = {
        {"first region, first treasure", 1, 1, false, {}, true, true, false, true, false},
        {"first region, nothing selected", 1, 0, false, {}, false, true, false, true, false},
        {"middle region", 2, 5, false, {}, true, true, true, true, true},
        {"empty region", 3, -1, false, {}, false, true, true, true, false},
        {"last region, last treasure", 5, 41, false, {}, true, false, true, false, true},
        {"no maps at all", 4, 22, true, {}, true, false, false, false, false},
        {"maps only here", 4, 22, true, {20, 22}, true, false, false, false, true},
        {"maps elsewhere", 4, 22, true, {2, 40}, true, true, true, true, true},
        {"maps before only", 4, 22, true, {3}, true, false, true, false, true},
        {"the filter is ignored while off", 5, 41, false, {3}, true, false, true, false, true},
    };
    for (const Row& row : rows) {
        catalog_.Filter.TreasureHasMap.assign(catalog_.Treasures.size(), 0);
        catalog_.Filter.RegionHasMap.assign(catalog_.Regions.size(), 0);
        for (int t : row.Maps) GiveMap(t);
        catalog_.Filter.OnlyTreasuresWithMaps = row.OnlyWithMaps;
        RegionCanvas canvas(catalog_);
        canvas.ShowRegion(row.Region, row.Request);
        EXPECT_EQ(canvas.IsNavigationEnabled(Command::Copy), row.Copy) << row.What;
        EXPECT_EQ(canvas.IsNavigationEnabled(Command::NextRegion), row.NextRegion) << row.What;
        EXPECT_EQ(canvas.IsNavigationEnabled(Command::PreviousRegion), row.PreviousRegion)
            << row.What;
        EXPECT_EQ(canvas.IsNavigationEnabled(Command::NextTreasure), row.NextTreasure) << row.What;
        EXPECT_EQ(canvas.IsNavigationEnabled(Command::PreviousTreasure), row.PreviousTreasure)
            << row.What;
        EXPECT_FALSE(canvas.IsNavigationEnabled(Command::World)) << row.What;
    }
}

TEST_F(RegionCanvasTest, NavigationSteps) {
    struct Row {
        const char* What;
        int Region;
        int Request;
        bool OnlyWithMaps;
        std::vector<int> Maps;
        int Command;
        int NewRegion;
        int NewSelection;
    };
    const Row rows[] = {
        {"next treasure by number crosses into another region",
         1,
         1,
         false,
         {},
         Command::NextTreasure,
         2,
         2},
        {"and back again", 2, 2, false, {}, Command::NextTreasure, 1, 3},
        {"previous crosses back", 2, 2, false, {}, Command::PreviousTreasure, 1, 1},
        {"within the same region", 4, 20, false, {}, Command::NextTreasure, 4, 21},
        {"from no selection to treasure 1", 3, -1, false, {}, Command::NextTreasure, 1, 1},
        {"previous from no selection does nothing",
         4,
         0,
         false,
         {},
         Command::PreviousTreasure,
         4,
         0},
        {"next from the highest does nothing", 5, 41, false, {}, Command::NextTreasure, 5, 41},
        {"next region takes its lowest treasure", 1, 3, false, {}, Command::NextRegion, 2, 2},
        {"previous region into an empty one", 4, 20, false, {}, Command::PreviousRegion, 3, 0},
        {"no wrap past the last region", 5, 40, false, {}, Command::NextRegion, 5, 40},
        {"no wrap before the first region", 1, 3, false, {}, Command::PreviousRegion, 1, 3},
        {"skips treasures without maps", 1, 1, true, {5, 40}, Command::NextTreasure, 2, 5},
        {"skips regions without maps", 1, 1, true, {40}, Command::NextRegion, 5, 40},
        {"from no selection to the first with maps",
         3,
         -1,
         true,
         {21},
         Command::NextTreasure,
         4,
         21},
    };
    for (const Row& row : rows) {
        catalog_.Filter.TreasureHasMap.assign(catalog_.Treasures.size(), 0);
        catalog_.Filter.RegionHasMap.assign(catalog_.Regions.size(), 0);
        for (int t : row.Maps) GiveMap(t);
        catalog_.Filter.OnlyTreasuresWithMaps = row.OnlyWithMaps;
        RegionCanvas canvas(catalog_);
        canvas.ShowRegion(row.Region, row.Request);
        EXPECT_TRUE(canvas.Navigate(row.Command)) << row.What;
        EXPECT_EQ(canvas.CurrentRegion(), row.NewRegion) << row.What;
        EXPECT_EQ(canvas.SelectedTreasure(), row.NewSelection) << row.What;
    }
    RegionCanvas canvas(catalog_);
    EXPECT_FALSE(canvas.Navigate(Command::Copy));
}

// Drawing with the program's own pictures over a multimap with one black line.
class RegionCanvasDrawingTest : public RegionCanvasTest {
protected:
    void SetUp() override {
        test::EnsureGuiApp();
        RegionCanvasTest::SetUp();
        DrawingResources& drawing = catalog_.Drawing;
        drawing.ScrollBitmap = LoadScrollBitmap();
        drawing.ScrollMask = MakeTransparencyMask(drawing.ScrollBitmap, TransparencyKey);
        drawing.ScrollSize = drawing.ScrollBitmap.size();
        drawing.TackBitmap = LoadTackBitmap();
        drawing.TackMask = MakeTransparencyMask(drawing.TackBitmap, TransparencyKey);
        drawing.TackSize = drawing.TackBitmap.size();
        drawing.TackHeadMask = NormalizeMonochrome(LoadTackHeadMask());
        drawing.LeaderPen = MakeLeaderPen();
        drawing.LabelFont = MakeLabelFont();
        QImage multimap(2000, 1600, QImage::Format_Mono);
        multimap.setColorTable({qRgb(0, 0, 0), qRgb(255, 255, 255)});
        multimap.fill(1);
        for (int x = 0; x < 2000; ++x) multimap.setPixel(x, 500, 0);
        drawing.MultimapBitmap = multimap;
        drawing.MultimapSize = multimap.size();
        ASSERT_FALSE(drawing.ScrollBitmap.isNull());
        ASSERT_FALSE(drawing.TackBitmap.isNull());
    }

    static bool Inside(const IntRect& r, int x, int y) {
        return r.Left <= x && x < r.Right && r.Top <= y && y < r.Bottom;
    }

    QImage Draw(const RegionCanvas& canvas, QSize client) {
        QImage image(client, QImage::Format_RGB32);
        image.fill(qRgb(255, 0, 0));
        QPainter painter(&image);
        DrawRegionCanvas(painter, canvas, QRect(QPoint(0, 0), client));
        return image;
    }
};

TEST_F(RegionCanvasDrawingTest, EveryPixelIsPaintedAndTheRestIsParchment) {
    const QRgb parchment = qRgb(232, 204, 148);
    struct Row {
        int Region;
        int Request;
    };
    // Region 5's second tack lies beyond the canvas's right edge.
    for (const Row row : {Row{5, -1}, Row{5, 0}, Row{4, 22}, Row{3, -1}}) {
        RegionCanvas canvas(catalog_);
        canvas.ShowRegion(row.Region, row.Request);
        const QImage image = Draw(canvas, QSize(820, 480));
        int unpainted = 0;
        int beyond = 0;
        for (int y = 0; y < image.height(); ++y) {
            for (int x = 0; x < image.width(); ++x) {
                const QRgb pixel = image.pixel(x, y) & 0xFFFFFFu;
                if (pixel == (qRgb(255, 0, 0) & 0xFFFFFFu)) ++unpainted;
                if ((x >= 760 || y >= 440) && pixel != (parchment & 0xFFFFFFu)) ++beyond;
            }
        }
        EXPECT_EQ(unpainted, 0) << row.Region << "/" << row.Request;
        EXPECT_EQ(beyond, 0) << row.Region << "/" << row.Request;
        // Between and beside its boxes the side panel is plain parchment; treasure 40's tack
        // is painted over.
        int marked = 0;
        for (int y = 0; y < 440; ++y) {
            for (int x = 0; x < 280; ++x) {
                if (Inside(RegionLayout::TitleBox, x, y) || Inside(RegionLayout::CloseUp, x, y) ||
                    Inside(RegionLayout::CoordinatesBox, x, y))
                    continue;
                if ((image.pixel(x, y) & 0xFFFFFFu) != (parchment & 0xFFFFFFu)) ++marked;
            }
        }
        EXPECT_EQ(marked, 0) << row.Region << "/" << row.Request;
    }
}

TEST_F(RegionCanvasDrawingTest, SelectionFillsTheTitleAndCoordinateBoxes) {
    auto darkPixels = [](const QImage& image, const IntRect& box) {
        int count = 0;
        // Inside the double frame only.
        for (int y = box.Top + 2; y < box.Bottom - 2; ++y)
            for (int x = box.Left + 2; x < box.Right - 2; ++x)
                if (qGray(image.pixel(x, y)) < 40) ++count;
        return count;
    };
    RegionCanvas canvas(catalog_);
    canvas.ShowRegion(4, 0);
    const QImage empty = Draw(canvas, QSize(760, 440));
    canvas.SelectTreasure(22);
    const QImage selected = Draw(canvas, QSize(760, 440));
    EXPECT_EQ(darkPixels(empty, RegionLayout::TitleBox), 0);
    EXPECT_EQ(darkPixels(empty, RegionLayout::CoordinatesBox), 0);
    EXPECT_GT(darkPixels(selected, RegionLayout::TitleBox), 20);
    EXPECT_GT(darkPixels(selected, RegionLayout::CoordinatesBox), 20);
    // The close-up shows the selected treasure's tack and the map line below it.
    EXPECT_NE(empty.copy(QRect(55, 127, 170, 176)), selected.copy(QRect(55, 127, 170, 176)));
}

}  // namespace
}  // namespace brix
