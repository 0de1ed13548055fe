#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <tuple>
#include <vector>

#include "core/data/Session.h"
#include "core/map/MapGeometry.h"

namespace brix {
namespace {

#define DEG "\xC2\xB0"

TEST(MapGeometry, SextantText) {
    struct Row {
        int X, Y;
        const char* Text;
        int Capacity = 128;
    };
    const Row rows[] = {
        {1323, 1624, "0" DEG "0'S 0" DEG "0'E"},
        {0, 0, "142" DEG "44'N 93" DEG "1'W"},
        // Exactly +180° stays east and -180° stays west; one unit further wraps.
        {3883, 1624, "0" DEG "0'S 180" DEG "0'E"},
        {3884, 1624, "0" DEG "0'S 179" DEG "56'W"},
        {-1237, 1624, "0" DEG "0'S 180" DEG "0'W"},
        {-1238, 1624, "0" DEG "0'S 179" DEG "56'E"},
        // A damaged data file: stays within one turn and does not overflow.
        {INT_MAX, INT_MIN, "142" DEG "44'N 50" DEG "54'E"},
        // Cut to capacity - 1 bytes, never inside the degree sign.
        {1323, 1624, "0" DEG "0'S 0" DEG "0'E", 14},
        {1323, 1624, "0" DEG, 4},
        {1323, 1624, "", 0},
    };
    for (const Row& r : rows)
        EXPECT_EQ(SextantText(r.X, r.Y, r.Capacity), r.Text)
            << r.X << ", " << r.Y << ", " << r.Capacity;
}

TEST(MapGeometry, CenterSourceRectStaysInsideTheMultimap) {
    constexpr PanelStyle Scroll = PanelStyle::Scroll;
    struct Row {
        const char* What;
        PanelStyle Style;
        int X, Y, W, H, MapW, MapH;
        IntRect Expected;
    };
    const Row rows[] = {
        {"odd centre", Scroll, 2001, 1001, 480, 440, 2560, 2048, {798, 323, 1202, 677}},
        {"no frame", PanelStyle::None, 400, 400, 101, 100, 2560, 2048, {150, 150, 251, 250}},
        {"top-left", Scroll, 10, 10, 480, 440, 2560, 2048, {0, 0, 404, 354}},
        {"bottom-right", Scroll, 5119, 4095, 480, 440, 2560, 2048, {2156, 1694, 2560, 2048}},
        {"too large", Scroll, 300, 200, 480, 440, 300, 200, {-104, -154, 300, 200}},
    };
    for (const Row& r : rows)
        EXPECT_EQ(CenterSourceRect(r.Style, r.X, r.Y, r.W, r.H, r.MapW, r.MapH), r.Expected)
            << r.What;
}

Treasure MakeTreasure(int index, int region, IntPoint location, IntPoint offset = {}) {
    Treasure t;
    t.Index = index;
    t.Region = region;
    t.Location = location;
    t.LabelOffset = offset;
    return t;
}

TEST(MapGeometry, RegionTreasureListIsSortedByYAndCentred) {
    Session session;
    session.GetWorld().Drawing.MultimapSize = QSize(2560, 2048);
    for (const Treasure& t : {MakeTreasure(4, 3, {900, 500}), MakeTreasure(7, 3, {1100, 300}),
                              MakeTreasure(9, 3, {1000, 500}), MakeTreasure(12, 3, {1300, 100}),
                              MakeTreasure(16, 5, {4000, 3001})})
        session.GetWorld().StoreTreasure(t);
    // Region 1 has enough treasures on two rows that an unstable sort would reorder them.
    std::vector<int> upper, lower;
    for (int i = 101; i <= 160; ++i) {
        session.GetWorld().StoreTreasure(MakeTreasure(i, 1, {i, i % 3 ? 200 : 800}));
        (i % 3 ? upper : lower).push_back(i);
    }
    upper.insert(upper.end(), lower.begin(), lower.end());
    auto list = [&session](int region) {
        const RegionTreasureList l = BuildRegionTreasureList(session.GetWorld(), region);
        return std::tuple(l.Treasures, l.CentreX, l.CentreY);
    };
    EXPECT_EQ(list(3), std::tuple(std::vector<int>{12, 7, 4, 9}, 1100, 300));
    EXPECT_EQ(list(1), std::tuple(upper, 130, 500));
    EXPECT_EQ(list(8), std::tuple(std::vector<int>{}, 2560, 2048));  // none: the middle
    EXPECT_EQ(list(0), std::tuple(std::vector<int>{}, 2560, 2048));  // empty slots never listed
}

TEST(MapGeometry, LabelGeometryFromOffsets) {
    struct Row {
        int Index;
        IntPoint Location, Offset;
        IntRect Label;
        IntLine Leader;
    };
    const Row rows[] = {
        // Leader starts 6 + 1 below the head centre (503, 294); label centred 2 below it.
        {7, {1000, 600}, {0, 5}, {496, 280, 511, 313}, {503, 301, 503, 296}},
        // Odd negative offsets halve and step toward zero, not downwards.
        {5, {0, 0}, {-7, -1}, {-7, -22, 8, 11}, {-2, -5, 0, -6}},
        {8, {1000, 600}, {0, 0}, {0, 0, 0, 0}, {0, 0, 0, 0}},
        // A damaged data file must not overflow: ends saturate.
        {9,
         {INT_MAX, INT_MAX},
         {INT_MAX, INT_MIN},
         {2147483642, -23, INT_MAX, 10},
         {1073741830, 1073741814, INT_MAX, -7}},
    };
    for (const Row& row : rows) {
        Treasure t = MakeTreasure(row.Index, 1, row.Location, row.Offset);
        t.LabelRect = {1, 2, 3, 4};  // stale values are replaced, also by the empty geometry
        t.LeaderLine = {5, 6, 7, 8};
        // 10 pixels per digit plus 3, and 31 high, whatever the fonts installed.
        ComputeLabelGeometry(t, [](const std::string& text, int& width, int& height) {
            width = 10 * static_cast<int>(text.size()) + 3;
            height = 31;
        });
        EXPECT_EQ(t.LabelRect, row.Label) << row.Index;
        EXPECT_EQ(t.LeaderLine, row.Leader) << row.Index;
    }
}

}  // namespace
}  // namespace brix
