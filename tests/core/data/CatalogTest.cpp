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
        {"\xC3\x89lodie", true},             // Latin letter with accent
        {"\xE5\xB1\xB1\xE7\x94\xB0", true},  // CJK
        {"Anne-Marie", false},
        {"Mr. X", false},
        {"\xC3", false},          // broken UTF-8
        {"\xE2\x80\x94", false},  // em dash
    };
    for (const Row& row : rows) EXPECT_EQ(IsValidRecordName(row.Name), row.Valid) << row.Name;
}

TEST(NameRules, NamesCompareByCaseFolding) {
    EXPECT_TRUE(NamesEqual("ann", "ANN"));
    EXPECT_TRUE(NamesEqual("\xC3\xA9lodie", "\xC3\x89LODIE"));
    EXPECT_TRUE(
        NamesEqual("stra\xC3\x9F"
                   "e",
                   "STRA\xC3\x9F"
                   "E"));
    EXPECT_FALSE(NamesEqual("ann", "anne"));
    EXPECT_EQ(CompareNames("Home", "hOME"), 0);
}

class CatalogTest : public ::testing::Test {
protected:
    test::TempSession temp_;
    Session& session_ = temp_.Sess;
};

// Two names that differ only in case can come from a hand-edited file; the one the settings
// file names, spelt exactly, must be the one found again at the next start.
TEST_F(CatalogTest, ANameSpeltExactlyWinsOverOneInOtherCase) {
    session_.GetUser().FindOrAddCharacter("Ann");
    session_.GetUser().Characters.push_back(Character{});
    session_.GetUser().Characters.back().Name = "ann";
    EXPECT_EQ(session_.GetUser().FindCharacter("ann"), &session_.GetUser().Characters[1]);
    EXPECT_EQ(session_.GetUser().FindCharacter("Ann"), &session_.GetUser().Characters[0]);

    session_.SettingsFile().WriteCharacter("ann");
    session_.RestoreCurrentCharacter();
    EXPECT_EQ(session_.CurrentCharacterPosition(), 1);
}

TEST_F(CatalogTest, RestoreFindsTheStoredNameOrFallsBack) {
    struct Row {
        std::vector<std::string> Characters;
        const char* Stored;
        int Expected;
    };
    const Row rows[] = {
        {{"Ann", "Bo"}, "bo", 1},
        {{"Ann", "Bo"}, "Gone", 0},
        {{}, "Ann", -1},
    };
    for (const Row& row : rows) {
        temp_.Reset();
        for (const auto& name : row.Characters) session_.GetUser().FindOrAddCharacter(name);
        session_.SettingsFile().WriteCharacter(row.Stored);
        session_.RestoreCurrentCharacter();
        EXPECT_EQ(session_.CurrentCharacterPosition(), row.Expected) << row.Stored;
    }
}

}  // namespace
}  // namespace brix
