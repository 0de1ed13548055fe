#include "core/base/ToolbarLayout.h"

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
        {"signs and leading zeros", "+040002,-0", "40002,0"},
        {"Level Information cannot stand on the toolbar", "40006,40002", "40002"},
        {"unknown and negative numbers are left out", "1,-40002,40007,99999", "40007"},
        {"101 buttons: the first 100", Repeat("40002", 100) + ",57664", Repeat("40002", 100)},
        // The read limit cuts a number after its third digit: still a well-formed list.
        {"the read limit cuts the text", "0," + std::string(1018, ' ') + "57664", "0"},
        // Everything below falls back to the default list.
        {"empty", "", DefaultList},
        {"two commas in a row", "40002,,57664", DefaultList},
        {"above the int range", "40002,2147483648", DefaultList},
        {"wrapping to a command modulo 2^32", "4295007298", DefaultList},
    };
    for (const Row& row : rows)
        EXPECT_EQ(FormatToolbarButtons(ParseToolbarButtons(row.Value)), row.Expected) << row.What;
}

}  // namespace
}  // namespace brix
