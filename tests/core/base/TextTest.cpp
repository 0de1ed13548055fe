#include "core/base/Text.h"

#include <gtest/gtest.h>

#include <string>

namespace brix {
namespace {

TEST(Text, CutUtf8KeepsWholeCharacters) {
    const std::string eAcute = "\xC3\xA9";                       // two bytes
    const std::string map = "\xF0\x9F\x97\xBA";                  // four bytes
    const std::string stray = std::string("ab\x80\x80") + "cd";  // not valid UTF-8
    struct Row {
        const char* What;
        std::string Text;
        std::size_t MaxBytes;
        std::string Expected;
    };
    const Row rows[] = {
        {"ASCII is cut at the limit", "Previous", 4, "Prev"},
        {"zero capacity", "abc", 0, ""},
        {"inside a two-byte sequence", "a" + eAcute, 2, "a"},
        {"inside the only character", eAcute, 1, ""},
        {"two-byte sequence fits exactly", "a" + eAcute, 3, "a" + eAcute},
        {"after three bytes of four", "a" + map, 4, "a"},
        {"stray continuation bytes go with the character before", stray, 3, "a"},
        {"a broken sequence is kept, not repaired", "\xE2\x82x", 2, "\xE2\x82"},
    };
    for (const Row& row : rows) {
        const std::string_view cut = CutUtf8(row.Text, row.MaxBytes);
        EXPECT_EQ(cut, row.Expected) << row.What;
        EXPECT_EQ(cut.data(), row.Text.data()) << row.What << ": the cut points into the text";
    }
}

}  // namespace
}  // namespace brix
