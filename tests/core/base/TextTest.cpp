#include "core/base/Text.h"

#include <gtest/gtest.h>

#include <string>
#include <string_view>

namespace brix {
namespace {

TEST(Text, CutUtf8KeepsWholeCharacters) {
    const std::string euro = "\xE2\x82\xAC";                     // three bytes
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
        {"shorter text stays whole", "ab", 10, "ab"},
        {"zero capacity", "abc", 0, ""},
        {"inside a two-byte sequence", "a" + eAcute, 2, "a"},
        {"two-byte sequence fits exactly", "a" + eAcute, 3, "a" + eAcute},
        {"after the second byte of three", euro + euro, 5, euro},
        {"inside the only character", euro, 2, ""},
        {"after three bytes of four", "a" + map, 4, "a"},
        {"four-byte sequence fits exactly", "a" + map + "b", 5, "a" + map},
        {"stray continuation bytes go with the character before", stray, 3, "a"},
        {"stray continuation bytes kept when the cut follows them", stray, 4, "ab\x80\x80"},
        {"only continuation bytes", "\x80\x80\x80", 2, ""},
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
