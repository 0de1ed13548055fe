#include "core/base/ToolbarLayout.h"

#include <QColor>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace brix {
namespace {

const std::string DefaultList = "40002,0,40003,40012,40011,0,40014,40013,40005,40008,40009,0,57664";

std::string Repeat(const std::string& item, int count) {
    std::string list;
    for (int i = 0; i < count; ++i) list += (i > 0 ? "," : "") + item;
    return list;
}

TEST(ToolbarLayout, DefaultListCarriesTheTableStyles) {
    EXPECT_EQ(DefaultToolbarList(), DefaultList);
    const std::vector<ToolbarButton> buttons = DefaultToolbarButtons();
    ASSERT_EQ(buttons.size(), 13u);
    EXPECT_EQ(buttons[1], ToolbarSeparator);
    EXPECT_EQ(buttons[2], (ToolbarButton{Command::Region, 5, ToolbarButtonStyle::DropDown}));
}

// The Treasure Information window's buttons come from the fixed list through the table, so
// Stay on Top is the table's check button.
TEST(ToolbarLayout, TreasureInfoButtons) {
    EXPECT_EQ(TreasureInfoToolbarList(), "57634,0,40014,40013,0,40008,40009,0,40007");
    const std::vector<ToolbarButton> buttons = TreasureInfoToolbarButtons();
    EXPECT_EQ(FormatToolbarButtons(buttons), TreasureInfoToolbarList());
    ASSERT_EQ(buttons.size(), 9u);
    EXPECT_EQ(buttons[0], (ToolbarButton{Command::Copy, 2, ToolbarButtonStyle::Push}));
    EXPECT_EQ(buttons[8], (ToolbarButton{Command::StayOnTop, 13, ToolbarButtonStyle::Check}));
}

TEST(ToolbarLayout, ParsesStoredButtonLists) {
    struct Row {
        const char* What;
        std::string Value;
        std::string Expected;  // the parsed buttons, written back
    };
    const std::vector<Row> rows = {
        {"blanks around numbers and commas", " 40002 ,\t57664 ", "40002,57664"},
        {"a trailing comma and blanks", "40002, ", "40002"},
        {"separators only", "0,0", "0,0"},
        {"signs and leading zeros", "+040002,-0", "40002,0"},
        {"duplicates are kept", "40002,40002", "40002,40002"},
        {"Level Information cannot stand on the toolbar", "40006,40002", "40002"},
        {"unknown and negative numbers are left out", "1,-40002,40007,99999", "40007"},
        {"int limits are numbers, not commands", "2147483647,-2147483648,40002", "40002"},
        {"101 buttons: the first 100", Repeat("40002", 100) + ",57664", Repeat("40002", 100)},
        {"garbage past the 100th is not read", Repeat("0", 100) + ",junk", Repeat("0", 100)},
        {"left-out numbers do not count", Repeat("40006", 150) + ",57664", "57664"},
        // The read limit cuts a number after its third digit: still a well-formed list.
        {"the read limit cuts the text", "0," + std::string(1018, ' ') + "57664", "0"},
        {"the read limit cuts into garbage", "0," + std::string(1021, ' ') + "x", "0"},
        // Everything below falls back to the default list.
        {"empty", "", DefaultList},
        {"blanks only", "   ", DefaultList},
        {"a lone comma", ",", DefaultList},
        {"two commas in a row", "40002,,57664", DefaultList},
        {"a leading comma", ",40002", DefaultList},
        {"blank-separated numbers", "40002 57664", DefaultList},
        {"a number followed by letters", "40002x", DefaultList},
        {"a sign without digits", "40002,-", DefaultList},
        {"a sign apart from its digits", "- 40002", DefaultList},
        {"above the int range", "40002,2147483648", DefaultList},
        {"below the int range", "-2147483649,40002", DefaultList},
        {"wrapping to a command modulo 2^32", "4295007298", DefaultList},
        {"no command of the table", "40006,1,2", DefaultList},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(FormatToolbarButtons(ParseToolbarButtons(row.Value)), row.Expected) << row.What;
    }
}

TEST(ToolbarLayout, IconsAreCutFromTheStripByIndex) {
    // A strip of three 4 × 4 icons, each filled with its own colour.
    QImage strip(12, 4, QImage::Format_ARGB32);
    const QRgb colours[] = {qRgb(255, 0, 0), qRgb(0, 255, 0), qRgb(0, 0, 255)};
    for (int x = 0; x < 12; ++x) {
        for (int y = 0; y < 4; ++y) strip.setPixel(x, y, colours[x / 4]);
    }
    for (int i = 0; i < 3; ++i) {
        const QImage icon = CutStripIcon(strip, i);
        ASSERT_EQ(icon.size(), QSize(4, 4)) << i;
        EXPECT_EQ(icon.pixel(0, 0), colours[i]) << i;
        EXPECT_EQ(icon.pixel(3, 3), colours[i]) << i;
    }
    EXPECT_TRUE(CutStripIcon(strip, 3).isNull());
    EXPECT_TRUE(CutStripIcon(strip, -1).isNull());
    EXPECT_TRUE(CutStripIcon(QImage(), 0).isNull());
    EXPECT_EQ(CommandIconIndex(Command::StayOnTop), 13);
    EXPECT_EQ(CommandIconIndex(Command::LevelInformation), -1);
}

}  // namespace
}  // namespace brix
