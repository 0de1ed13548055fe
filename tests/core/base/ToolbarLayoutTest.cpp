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

TEST(ToolbarLayout, ParsesStoredButtonLists) {
    struct Row {
        const char* What;
        std::string Value;
        std::string Expected;  // the parsed buttons, written back
    };
    const std::vector<Row> rows = {
        {"blanks around numbers and commas", " 40002 ,\t57664 ", "40002,57664"},
        {"signs and leading zeros", "+040002,-0", "40002,0"},
        {"Level Information cannot stand on the toolbar", "40006,40002", "40002"},
        {"unknown and negative numbers are left out", "1,-40002,40007,99999", "40007"},
        {"101 buttons: the first 100", Repeat("40002", 100) + ",57664", Repeat("40002", 100)},
        {"left-out numbers do not count", Repeat("40006", 150) + ",57664", "57664"},
        // The read limit cuts a number after its third digit: still a well-formed list.
        {"the read limit cuts the text", "0," + std::string(1018, ' ') + "57664", "0"},
        // Everything below falls back to the default list.
        {"empty", "", DefaultList},
        {"two commas in a row", "40002,,57664", DefaultList},
        {"a number followed by letters", "40002x", DefaultList},
        {"a sign apart from its digits", "- 40002", DefaultList},
        {"above the int range", "40002,2147483648", DefaultList},
        {"wrapping to a command modulo 2^32", "4295007298", DefaultList},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(FormatToolbarButtons(ParseToolbarButtons(row.Value)), row.Expected) << row.What;
    }
}

TEST(ToolbarLayout, IconsAreCutFromTheStripByIndex) {
    // A strip of three 4 × 4 icons, each filled with its own colour.
    QImage strip(12, 4, QImage::Format_ARGB32);
    for (int x = 0; x < 12; ++x)
        for (int y = 0; y < 4; ++y) strip.setPixel(x, y, qRgb(x / 4, 0, 0));
    const QImage last = CutStripIcon(strip, 2);
    ASSERT_EQ(last.size(), QSize(4, 4));
    EXPECT_EQ(last.pixel(0, 0), qRgb(2, 0, 0));
    EXPECT_EQ(last.pixel(3, 3), qRgb(2, 0, 0));
    EXPECT_TRUE(CutStripIcon(strip, 3).isNull());
    EXPECT_TRUE(CutStripIcon(strip, -1).isNull());
    EXPECT_TRUE(CutStripIcon(QImage(), 0).isNull());
}

}  // namespace
}  // namespace brix
