#include <gtest/gtest.h>

#include "core/base/Text.h"
#include "core/data/Session.h"
#include "support/TempSession.h"

namespace brix {
namespace {

TEST(NameRules, ValidRecordNames) {
    struct Row {
        const char* Name;
        bool Valid;
    };
    const Row rows[] = {
        {"", true},
        {"Bo Rhen_2", true},
        {"\xE5\xB1\xB1\xE7\x94\xB0", true},  // CJK
        {"Mr. X", false},
        {"\xC3", false},          // broken UTF-8
        {"\xE2\x80\x94", false},  // em dash
    };
    for (const Row& row : rows) EXPECT_EQ(IsValidRecordName(row.Name), row.Valid) << row.Name;
}

TEST(NameRules, NamesCompareByCaseFolding) {
    EXPECT_TRUE(NamesEqual("ann", "ANN"));
    EXPECT_TRUE(NamesEqual("\xC3\xA9lodie", "\xC3\x89LODIE"));
    EXPECT_FALSE(NamesEqual("ann", "anne"));
    EXPECT_EQ(CompareNames("Home", "hOME"), 0);
}

// Two names that differ only in case can come from a hand-edited file; the one the settings
// file names, spelt exactly, must be the one found again at the next start.
TEST(Catalog, RestoreFindsTheStoredNameSpeltExactlyThenInAnyCaseOrFallsBack) {
    struct Row {
        std::vector<std::string> Characters;
        const char* Stored;
        int Expected;
    };
    const Row rows[] = {
        {{"Ann", "Bo"}, "bo", 1},
        {{"Ann", "ann"}, "ann", 1},
        {{"ann", "Ann"}, "Ann", 1},
        {{"Ann", "Bo"}, "Gone", 0},
        {{}, "Ann", -1},
    };
    test::TempSession temp;
    for (const Row& row : rows) {
        temp.Reset();
        for (const auto& name : row.Characters)
            temp.Sess.GetUser().Characters.push_back({name, {}});
        temp.Sess.SettingsFile().WriteCharacter(row.Stored);
        temp.Sess.RestoreCurrentCharacter();
        EXPECT_EQ(temp.Sess.CurrentCharacterPosition(), row.Expected) << row.Stored;
    }
}

}  // namespace
}  // namespace brix
