#include <gtest/gtest.h>

#include <QFont>

#include <climits>
#include <cstdlib>
#include <string>
#include <vector>

#include "data/TreasureCatalog.h"
#include "map/MapGeometry.h"
#include "support/GuiApp.h"

namespace brix {
namespace {

// "°" in UTF-8.
#define DEG "\xC2\xB0"

TEST(MapGeometry, SextantTextOfWorldPoints) {
    struct Row {
        int X;
        int Y;
        const char* Text;
    };
    const Row rows[] = {
        {1323, 1624, "0" DEG "0'S 0" DEG "0'E"},
        {2000, 1000, "54" DEG "50'N 47" DEG "36'E"},
        {1322, 1623, "0" DEG "5'N 0" DEG "4'W"},
        {1324, 1625, "0" DEG "5'S 0" DEG "4'E"},
        {0, 0, "142" DEG "44'N 93" DEG "1'W"},
        {5119, 4095, "142" DEG "50'N 93" DEG "6'W"},
        // Longitude exactly +180° stays east; one unit further wraps west.
        {3883, 1624, "0" DEG "0'S 180" DEG "0'E"},
        {3884, 1624, "0" DEG "0'S 179" DEG "56'W"},
        // Exactly -180° stays west; one unit further wraps east.
        {-1237, 1624, "0" DEG "0'S 180" DEG "0'W"},
        {-1238, 1624, "0" DEG "0'S 179" DEG "56'E"},
        // The same for latitude.
        {1323, 3672, "180" DEG "0'S 0" DEG "0'E"},
        {1323, 3673, "179" DEG "55'N 0" DEG "0'E"},
        // Points from a damaged data file stay within one turn and do not overflow.
        {INT_MAX, INT_MIN, "142" DEG "44'N 50" DEG "54'E"},
    };
    for (const Row& row : rows)
        EXPECT_EQ(SextantText(row.X, row.Y), row.Text) << row.X << ", " << row.Y;
}

TEST(MapGeometry, SextantTextIsCutToTheCapacity) {
    struct Row {
        int Capacity;
        const char* Text;
    };
    const Row rows[] = {
        {128, "0" DEG "0'S 0" DEG "0'E"},
        {14, "0" DEG "0'S 0" DEG "0'E"},  // 13 bytes fit exactly
        {13, "0" DEG "0'S 0" DEG "0'"},
        {10, "0" DEG "0'S 0"},  // never half a degree sign
        {4, "0" DEG},
        {3, "0"},
        {2, "0"},
        {1, ""},
        {0, ""},
        {-5, ""},
    };
    for (const Row& row : rows)
        EXPECT_EQ(SextantText(1323, 1624, row.Capacity), row.Text) << row.Capacity;
}

TEST(MapGeometry, TackCorrectionMovesLeftAndUpUnlessTacksAreCorrect) {
    // A tack anchored at (100, 50) has its bitmap's top-left at (100, 42).
    const IntPoint corner{100 - TackHotSpot.X, 50 - TackHotSpot.Y};
    EXPECT_EQ(ApplyTackCorrection(corner, false), (IntPoint{94, 40}));
    EXPECT_EQ(ApplyTackCorrection(corner, true), (IntPoint{100, 42}));
    EXPECT_EQ(ApplyTackCorrection({0, 0}, false), (IntPoint{-6, -2}));
}

TEST(MapGeometry, CenterSourceRectStaysInsideTheMultimap) {
    struct Row {
        const char* What;
        PanelStyle Style;
        int Cx, Cy, Width, Height, MapWidth, MapHeight;
        IntRect Expected;
    };
    const Row rows[] = {
        {"map area, centred",
         PanelStyle::Scroll,
         2000,
         1000,
         480,
         440,
         2560,
         2048,
         {798, 323, 1202, 677}},
        {"odd centre truncates",
         PanelStyle::Scroll,
         2001,
         1001,
         480,
         440,
         2560,
         2048,
         {798, 323, 1202, 677}},
        {"close-up", PanelStyle::Scroll, 2000, 1000, 246, 262, 2560, 2048, {915, 412, 1085, 588}},
        {"double line",
         PanelStyle::DoubleLine,
         400,
         400,
         100,
         100,
         2560,
         2048,
         {152, 152, 248, 248}},
        {"no frame", PanelStyle::None, 400, 400, 101, 100, 2560, 2048, {150, 150, 251, 250}},
        {"top-left corner", PanelStyle::Scroll, 10, 10, 480, 440, 2560, 2048, {0, 0, 404, 354}},
        {"negative centre", PanelStyle::Scroll, -300, -3, 480, 440, 2560, 2048, {0, 0, 404, 354}},
        {"bottom-right corner",
         PanelStyle::Scroll,
         5119,
         4095,
         480,
         440,
         2560,
         2048,
         {2156, 1694, 2560, 2048}},
        {"exactly at the right edge",
         PanelStyle::Scroll,
         4716,
         100,
         480,
         440,
         2560,
         2048,
         {2156, 0, 2560, 354}},
        {"larger than the multimap",
         PanelStyle::Scroll,
         300,
         200,
         480,
         440,
         300,
         200,
         {-104, -154, 300, 200}},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(CenterSourceRect(row.Style, row.Cx, row.Cy, row.Width, row.Height, row.MapWidth,
                                   row.MapHeight),
                  row.Expected)
            << row.What;
    }
}

Treasure MakeTreasure(int index, int region, IntPoint location, IntPoint offset = {}) {
    Treasure t;
    t.Index = index;
    t.Region = region;
    t.Location = location;
    t.LabelOffset = offset;
    t.Name = "T" + std::to_string(index);
    return t;
}

TEST(MapGeometry, RegionTreasureListIsSortedByYAndCentred) {
    TreasureCatalog catalog;
    catalog.Drawing.MultimapSize = QSize(2560, 2048);
    catalog.StoreTreasure(MakeTreasure(4, 3, {900, 500}));
    catalog.StoreTreasure(MakeTreasure(7, 3, {1100, 300}));
    catalog.StoreTreasure(MakeTreasure(9, 3, {1000, 500}));
    catalog.StoreTreasure(MakeTreasure(12, 3, {1300, 100}));
    catalog.StoreTreasure(MakeTreasure(15, 2, {10, 10}));
    catalog.StoreTreasure(MakeTreasure(16, 5, {4000, 3001}));

    struct Row {
        int Region;
        std::vector<int> Treasures;
        int CentreX, CentreY;
    };
    const Row rows[] = {
        {3, {12, 7, 4, 9}, 1100, 300}, {2, {15}, 10, 10},    // one treasure: the map centres on it
        {5, {16}, 4000, 3001},         {8, {}, 2560, 2048},  // none: the middle of the multimap
        {0, {}, 2560, 2048},  // empty slots (Region 0, Index 0) are never listed
    };
    for (const Row& row : rows) {
        const RegionTreasureList list = BuildRegionTreasureList(catalog, row.Region);
        EXPECT_EQ(list.Treasures, row.Treasures) << row.Region;
        EXPECT_EQ(list.CentreX, row.CentreX) << row.Region;
        EXPECT_EQ(list.CentreY, row.CentreY) << row.Region;
    }
}

TEST(MapGeometry, RegionTreasureListKeepsSlotOrderOnTheSameY) {
    // Enough treasures that an unstable sort would reorder equal rows.
    TreasureCatalog catalog;
    catalog.Drawing.MultimapSize = QSize(2560, 2048);
    std::vector<int> upper;
    std::vector<int> lower;
    for (int i = 1; i <= 60; ++i) {
        const bool low = (i * 7) % 3 == 0;
        catalog.StoreTreasure(MakeTreasure(i, 1, {i * 10, low ? 800 : 200}));
        (low ? lower : upper).push_back(i);
    }
    std::vector<int> expected = upper;
    expected.insert(expected.end(), lower.begin(), lower.end());
    const RegionTreasureList list = BuildRegionTreasureList(catalog, 1);
    EXPECT_EQ(list.Treasures, expected);
    EXPECT_EQ(list.CentreX, 305);
    EXPECT_EQ(list.CentreY, 500);
}

// Labels are 10 pixels per digit plus 3, and 31 pixels high, whatever the fonts installed.
struct FakeMeasurer {
    std::vector<std::string>* Texts;
    void operator()(const std::string& text, int& width, int& height) const {
        Texts->push_back(text);
        width = 10 * static_cast<int>(text.size()) + 3;
        height = 31;
    }
};

TEST(MapGeometry, LabelGeometryFromOffsets) {
    struct Row {
        const char* What;
        int Index;
        IntPoint Location;
        IntPoint Offset;
        IntRect Label;
        IntLine Leader;
    };
    const Row rows[] = {
        // Leader starts 6 + 1 below the head centre (503, 294); label centred 2 below it.
        {"straight down", 7, {1000, 600}, {0, 5}, {496, 280, 511, 313}, {503, 301, 503, 296}},
        {"down-left", 123, {2001, 1001}, {-30, 40}, {971, 498, 1006, 531}, {1000, 499, 988, 514}},
        // Odd negative offsets halve and step toward zero, not downwards.
        {"odd negative", 5, {0, 0}, {-7, -1}, {-7, -22, 8, 11}, {-2, -5, 0, -6}},
        {"one unit right", 1000, {10, 20}, {1, 0}, {-14, -12, 31, 21}, {14, 5, 8, 4}},
        {"no label", 8, {1000, 600}, {0, 0}, {0, 0, 0, 0}, {0, 0, 0, 0}},
        // A damaged data file must not overflow: ends saturate.
        {"huge",
         9,
         {INT_MAX, INT_MAX},
         {INT_MAX, INT_MIN},
         {2147483642, -23, INT_MAX, 10},
         {1073741830, 1073741814, INT_MAX, -7}},
    };
    for (const Row& row : rows) {
        Treasure t = MakeTreasure(row.Index, 1, row.Location, row.Offset);
        // Stale values must be replaced, also by the empty geometry.
        t.LabelRect = {1, 2, 3, 4};
        t.LeaderLine = {5, 6, 7, 8};
        std::vector<std::string> texts;
        ComputeLabelGeometry(t, FakeMeasurer{&texts});
        EXPECT_EQ(t.LabelRect, row.Label) << row.What;
        EXPECT_EQ(t.LeaderLine, row.Leader) << row.What;
        if (row.Offset.X != 0 || row.Offset.Y != 0) {
            ASSERT_EQ(texts.size(), 1u) << row.What;
            EXPECT_EQ(texts[0], std::to_string(row.Index)) << row.What;
        }
    }
}

TEST(MapGeometry, AllLabelsAreMeasuredInTheLabelFont) {
    test::EnsureGuiApp();
    TreasureCatalog catalog;
    QFont font("Arial");
    font.setPixelSize(30);
    font.setBold(true);
    catalog.Drawing.LabelFont = font;
    catalog.StoreTreasure(MakeTreasure(7, 1, {1000, 600}, {0, 40}));
    catalog.StoreTreasure(MakeTreasure(1000, 1, {1000, 600}, {0, 40}));
    catalog.StoreTreasure(MakeTreasure(20, 1, {1000, 600}, {0, 0}));
    catalog.Treasures[20].LabelRect = {1, 1, 9, 9};
    catalog.Treasures[3].LabelRect = {1, 1, 9, 9};  // an empty slot is left alone

    ComputeAllLabelGeometry(catalog);

    const IntRect& one = catalog.Treasures[7].LabelRect;
    const IntRect& four = catalog.Treasures[1000].LabelRect;
    EXPECT_GT(four.Right - four.Left, one.Right - one.Left + 2 * 10);
    EXPECT_EQ(four.Bottom - four.Top, one.Bottom - one.Top);
    EXPECT_GT(one.Bottom - one.Top, 2 + 20);  // a 30-pixel font is at least this tall
    // Both labels are centred on the leader's end.
    const IntLine& leader = catalog.Treasures[7].LeaderLine;
    EXPECT_EQ(leader, (IntLine{503, 301, 503, 314}));
    EXPECT_LE(std::abs((one.Left + one.Right) / 2 - leader.X2), 1);
    EXPECT_LE(std::abs((four.Left + four.Right) / 2 - leader.X2), 1);
    EXPECT_EQ(catalog.Treasures[20].LabelRect, (IntRect{}));
    EXPECT_EQ(catalog.Treasures[3].LabelRect, (IntRect{1, 1, 9, 9}));
}

}  // namespace
}  // namespace brix
