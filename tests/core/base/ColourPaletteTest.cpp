#include <gtest/gtest.h>

#include "core/base/ColourPalette.h"

namespace brix {
namespace {

using namespace PaletteItem;

TEST(ColourPaletteTest, CurrentItemAndPickedValue) {
    const PaletteItems both;
    const PaletteItems none{false, false};
    struct Row {
        std::uint32_t current;
        PaletteItems items;
        int item;
    };
    const Row rows[] = {
        {AutomaticColour, both, Default},
        {AutomaticColour, {false, true}, Custom},  // no default item: not a palette colour
        {ColourRef(255, 255, 255), none, 39},
        {ColourRef(1, 2, 3), both, Custom},  // a colour of the system chooser
        {ColourRef(1, 2, 3), none, None},
    };
    for (const Row& row : rows)
        EXPECT_EQ(CurrentPaletteItem(row.current, row.items), row.item) << row.current;

    EXPECT_EQ(PickedValue(Default, 255), AutomaticColour);
    EXPECT_EQ(PickedValue(16, AutomaticColour), 255u);
    EXPECT_EQ(PickedValue(None, 77), 77u);
}

TEST(ColourPaletteTest, StepsCloseTheCellsIntoARing) {
    const PaletteItems both;
    const PaletteItems noDefault{false, true};
    const PaletteItems noCustom{true, false};
    const PaletteItems neither{false, false};
    struct Row {
        int from;
        int delta;
        PaletteItems items;
        int to;
    };
    const Row rows[] = {
        {None, 1, both, Default},   {None, -1, both, Custom}, {Custom, -8, both, 39},
        {5, -8, both, Default},     {34, 8, both, Custom},    {0, -1, noDefault, Custom},
        {39, 1, noCustom, Default}, {0, -8, neither, 39},
    };
    for (const Row& row : rows)
        EXPECT_EQ(StepPaletteItem(row.from, row.delta, row.items), row.to)
            << row.from << " by " << row.delta;
}

TEST(ColourPaletteTest, PaletteOpensBelowAndStaysOnTheScreen) {
    const QRect work(0, 0, 1000, 800);
    const QSize size(150, 140);
    struct Row {
        QRect button;
        QPoint at;
    };
    const Row rows[] = {
        {QRect(900, 100, 60, 24), QPoint(850, 124)},  // shifted left off the right edge
        {QRect(-20, 100, 60, 24), QPoint(0, 124)},    // shifted right off the left edge
        {QRect(100, 700, 60, 24), QPoint(100, 560)},  // above the button near the bottom
        {QRect(100, 636, 60, 24), QPoint(100, 660)},  // just fits below
    };
    for (const Row& row : rows) EXPECT_EQ(PalettePosition(size, row.button, work), row.at);
}

}  // namespace
}  // namespace brix
