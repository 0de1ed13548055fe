#include <gtest/gtest.h>

#include <QTemporaryDir>

#include "core/base/Text.h"
#include "core/data/TreasureCatalog.h"

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
    void SetUp() override {
        ASSERT_TRUE(dir_.isValid());
        catalog_.Paths.SettingsPath = dir_.filePath("brix-tools.ini").toStdString();
    }
    QTemporaryDir dir_;
    TreasureCatalog catalog_;
};

// Two names that differ only in case can come from a hand-edited file; the one the settings
// file names, spelt exactly, must be the one found again at the next start.
TEST_F(CatalogTest, ANameSpeltExactlyWinsOverOneInOtherCase) {
    catalog_.FindOrAddCharacter("Ann");
    catalog_.Characters.push_back(Character{});
    catalog_.Characters.back().Name = "ann";
    EXPECT_EQ(catalog_.FindCharacter("ann"), &catalog_.Characters[1]);
    EXPECT_EQ(catalog_.FindCharacter("Ann"), &catalog_.Characters[0]);

    catalog_.SettingsFile().WriteCharacter("ann");
    catalog_.RestoreCurrentCharacter();
    EXPECT_EQ(catalog_.CurrentCharacterPosition(), 1);
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
        TreasureCatalog catalog;
        catalog.Paths.SettingsPath = catalog_.Paths.SettingsPath;
        for (const auto& name : row.Characters) catalog.FindOrAddCharacter(name);
        catalog.SettingsFile().WriteCharacter(row.Stored ? row.Stored : "");
        catalog.RestoreCurrentCharacter();
        EXPECT_EQ(catalog.CurrentCharacterPosition(), row.Expected)
            << (row.Stored ? row.Stored : "(none)");
    }
}

TEST_F(CatalogTest, RuneLibrariesAndBooks) {
    catalog_.RuneLibraries.push_back({true, "Atlas (Perm)", {}});
    RuneLibrary* mine = catalog_.FindOrAddRuneLibrary("Mine");
    EXPECT_FALSE(mine->Permanent);
    EXPECT_EQ(catalog_.FindRuneLibrary("atlas (perm)"), &catalog_.RuneLibraries[0]);

    FindOrAddRuneBook(*mine, "North");
    FindOrAddRuneBook(*mine, "South");
    EXPECT_EQ(FindOrAddRuneBook(*mine, "NORTH"), &mine->RuneBooks[0]);
    DeleteRuneBook(*mine, &mine->RuneBooks[0]);
    ASSERT_EQ(mine->RuneBooks.size(), 1u);
    EXPECT_EQ(mine->RuneBooks[0].Name, "South");

    catalog_.SetCurrentRuneLibrary(&catalog_.RuneLibraries[0]);
    EXPECT_EQ(catalog_.SettingsFile().RuneLibrary(), "Atlas (Perm)");
    catalog_.DeleteRuneLibrary(&catalog_.RuneLibraries[1]);
    EXPECT_EQ(catalog_.CurrentRuneLibraryPosition(), 0);
}

}  // namespace
}  // namespace brix
