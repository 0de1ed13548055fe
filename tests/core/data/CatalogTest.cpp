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
        {"\xC3\x89lodie", true},                     // Latin letter with accent
        {"\xD0\x98\xD0\xB2\xD0\xB0\xD0\xBD", true},  // Cyrillic
        {"\xE5\xB1\xB1\xE7\x94\xB0", true},          // CJK
        {"\xD9\xA3", true},                          // Arabic-Indic digit three
        {"Anne-Marie", false},
        {"Mr. X", false},
        {"tab\there", false},
        {"<b>", false},
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
    EXPECT_LT(CompareNames("alpha", "Beta"), 0);
    EXPECT_EQ(CompareNames("Home", "hOME"), 0);
}

class CatalogTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir_.isValid());
        catalog_.Paths.SettingsPath = dir_.filePath("brix-tools.ini").toStdString();
        catalog_.OnUpdate = [this] { ++updates_; };
    }
    QTemporaryDir dir_;
    TreasureCatalog catalog_;
    int updates_ = 0;
};

// Two names that differ only in case can come from a hand-edited file; the one the settings
// file names, spelt exactly, must be the one found again at the next start.
TEST_F(CatalogTest, ANameSpeltExactlyWinsOverOneInOtherCase) {
    catalog_.FindOrAddCharacter("Ann");
    catalog_.Characters.push_back(Character{});
    catalog_.Characters.back().Name = "ann";
    EXPECT_EQ(catalog_.FindCharacter("ann"), &catalog_.Characters[1]);
    EXPECT_EQ(catalog_.FindCharacter("Ann"), &catalog_.Characters[0]);
    EXPECT_EQ(catalog_.FindCharacter("ANN"), &catalog_.Characters[0]);

    catalog_.SettingsFile().WriteCharacter("ann");
    catalog_.RestoreCurrentCharacter();
    EXPECT_EQ(catalog_.CurrentCharacterPosition(), 1);
}

TEST_F(CatalogTest, CharacterSelectionWritesTheSettingsKey) {
    catalog_.FindOrAddCharacter("Ann");
    catalog_.FindOrAddCharacter("Bo");
    catalog_.FindOrAddCharacter("Cy");
    EXPECT_EQ(catalog_.FindOrAddCharacter("BO"), &catalog_.Characters[1]);
    EXPECT_EQ(catalog_.Characters.size(), 3u);

    catalog_.SetCurrentCharacter(catalog_.FindCharacter("cy"));
    EXPECT_EQ(catalog_.CurrentCharacterPosition(), 2);
    EXPECT_EQ(catalog_.SettingsFile().Character(), "Cy");
    EXPECT_EQ(updates_, 1);

    // Deleting an earlier character moves the current one down.
    catalog_.DeleteCharacter(catalog_.FindCharacter("Ann"));
    EXPECT_EQ(catalog_.CurrentCharacterPosition(), 1);
    EXPECT_EQ(catalog_.GetCurrentCharacter()->Name, "Cy");

    // Deleting the current character leaves none and an empty key.
    catalog_.DeleteCharacter(catalog_.GetCurrentCharacter());
    EXPECT_EQ(catalog_.CurrentCharacterPosition(), -1);
    EXPECT_EQ(catalog_.SettingsFile().File().Read("Settings", "Character"), std::string());

    // Next start: the empty key gives the first character.
    catalog_.RestoreCurrentCharacter();
    EXPECT_EQ(catalog_.CurrentCharacterPosition(), 0);
    EXPECT_EQ(catalog_.GetCurrentCharacter()->Name, "Bo");
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
        {{"Ann", "Bo"}, nullptr, 0},
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

    RuneBook* north = FindOrAddRuneBook(*mine, "North");
    north->Treasures = {1, 2};
    FindOrAddRuneBook(*mine, "South");
    EXPECT_EQ(FindOrAddRuneBook(*mine, "NORTH"), &mine->RuneBooks[0]);
    DeleteRuneBook(*mine, &mine->RuneBooks[0]);
    ASSERT_EQ(mine->RuneBooks.size(), 1u);
    EXPECT_EQ(mine->RuneBooks[0].Name, "South");

    catalog_.SetCurrentRuneLibrary(&catalog_.RuneLibraries[0]);
    EXPECT_EQ(catalog_.SettingsFile().RuneLibrary(), "Atlas (Perm)");
    catalog_.DeleteRuneLibrary(&catalog_.RuneLibraries[1]);
    EXPECT_EQ(catalog_.CurrentRuneLibraryPosition(), 0);
    catalog_.SetCurrentRuneLibrary(nullptr);
    catalog_.RestoreCurrentRuneLibrary();
    EXPECT_EQ(catalog_.CurrentRuneLibraryPosition(), 0);
}

}  // namespace
}  // namespace brix
