#include <gtest/gtest.h>

#include <QObject>
#include <QTemporaryDir>

#include <string>
#include <vector>

#include "core/base/Strings.h"
#include "core/data/CharacterManager.h"
#include "core/data/TreasureCatalog.h"
#include "support/RecordingMessages.h"

namespace brix {
namespace {

class CharacterManagerTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir_.isValid());
        catalog_.Paths.SettingsPath = dir_.filePath("brix-tools.ini").toStdString();
        catalog_.OnUpdate = [this] { ++updates_; };
    }
    void Add(std::initializer_list<const char*> names) {
        // Loading does not merge names that differ only in case; neither does this.
        for (const char* name : names) catalog_.Characters.push_back({name, {}});
    }
    std::vector<std::string> Shown(const CharacterManager& manager) const {
        std::vector<std::string> names;
        for (int row = 0; row < manager.RowCount(); ++row) names.push_back(manager.NameAt(row));
        return names;
    }
    std::string Key() const {
        return catalog_.SettingsFile().File().Read("Settings", "Character").value_or("(no key)");
    }

    QTemporaryDir dir_;
    TreasureCatalog catalog_;
    test::RecordingMessages messages_;
    int updates_ = 0;
};

TEST_F(CharacterManagerTest, DeletingKeepsTheCurrentCharacterOrLeavesNone) {
    Add({"Cy", "Ann", "Bo"});
    catalog_.SetCurrentCharacter(&catalog_.Characters[2]);  // Bo
    CharacterManager manager(catalog_, messages_);
    EXPECT_EQ(Shown(manager), (std::vector<std::string>{"Ann", "Bo", "Cy"}));

    // Ann comes before Bo in the catalogue: Bo stays current and the key is rewritten.
    ASSERT_TRUE(manager.Delete(0));
    ASSERT_NE(catalog_.GetCurrentCharacter(), nullptr);
    EXPECT_EQ(catalog_.GetCurrentCharacter()->Name, "Bo");
    EXPECT_EQ(Key(), "Bo");
    EXPECT_EQ(Shown(manager), (std::vector<std::string>{"Bo", "Cy"}));

    ASSERT_TRUE(manager.Delete(0));  // Bo, the current one
    EXPECT_EQ(catalog_.GetCurrentCharacter(), nullptr);
    EXPECT_EQ(Key(), "");
    EXPECT_EQ(Shown(manager), (std::vector<std::string>{"Cy"}));
    EXPECT_FALSE(manager.Delete(1));
    EXPECT_TRUE(messages_.Shown.empty());
}

TEST_F(CharacterManagerTest, DeleteRemovesTheChosenOfTwoNamesDifferingInCase) {
    Add({"ann", "Ann"});
    catalog_.Characters[0].Entries.push_back({7, {1}});
    catalog_.Characters[1].Entries.push_back({9, {0, 2}});
    for (int chosen : {0, 1}) {
        TreasureCatalog catalog;
        catalog.Paths.SettingsPath = catalog_.Paths.SettingsPath;
        catalog.Characters = catalog_.Characters;
        CharacterManager manager(catalog, messages_);
        // Equal names keep their file order in the list.
        ASSERT_EQ(manager.NameAt(chosen), catalog_.Characters[chosen].Name);
        ASSERT_TRUE(manager.Delete(chosen));
        ASSERT_EQ(catalog.Characters.size(), 1u);
        EXPECT_EQ(catalog.Characters[0].Name, catalog_.Characters[1 - chosen].Name);
        EXPECT_EQ(catalog.Characters[0].Entries[0].Index,
                  catalog_.Characters[1 - chosen].Entries[0].Index);
    }
}

TEST_F(CharacterManagerTest, ConfirmChecksTheTypedName) {
    struct Row {
        const char* What;
        int Row;  // -1: new character
        const char* Typed;
        int Refusal;         // 0: accepted
        const char* Stored;  // the name stored when accepted
    };
    // Shown rows: 0 Ann, 1 Bo.
    const Row rows[] = {
        {"case-only rename", 0, "ANN", 0, "ANN"},
        {"rename to own name", 1, "Bo", 0, "Bo"},
        {"other's name in other case", 0, "bo", StringId::DuplicateCharacterName, nullptr},
        {"new with a taken name", -1, "aNN", StringId::DuplicateCharacterName, nullptr},
        {"empty", -1, "   ", StringId::CharacterNameMissing, nullptr},
        {"empty rename", 0, "", StringId::CharacterNameMissing, nullptr},
        {"punctuation", -1, "Bo.", StringId::InvalidCharacterName, nullptr},
        {"trimmed", -1, "  Cy Dee_2 \t", 0, "Cy Dee_2"},
        {"longer than typing allows", 0, "A123456789012345678901234567890123456789", 0,
         "A123456789012345678901234567890123456789"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.What);
        TreasureCatalog catalog;
        catalog.Paths.SettingsPath = catalog_.Paths.SettingsPath;
        catalog.Characters = {{"Bo", {}}, {"Ann", {}}};
        test::RecordingMessages messages;
        CharacterManager manager(catalog, messages);
        QObject owner;
        const int shown = manager.Confirm(row.Row, row.Typed, &owner);
        if (row.Refusal != 0) {
            EXPECT_EQ(shown, -1);
            ASSERT_EQ(messages.Shown.size(), 1u);
            EXPECT_EQ(messages.Shown[0].Text, LoadString(row.Refusal));
            EXPECT_EQ(messages.Shown[0].Icon, MessageIcon::None);
            EXPECT_EQ(messages.Shown[0].Owner, &owner);
            EXPECT_EQ(catalog.Characters.size(), 2u);
            EXPECT_EQ(catalog.Characters[0].Name, "Bo");
            EXPECT_EQ(catalog.Characters[1].Name, "Ann");
            continue;
        }
        EXPECT_TRUE(messages.Shown.empty());
        ASSERT_GE(shown, 0);
        EXPECT_EQ(manager.NameAt(shown), row.Stored);
        EXPECT_EQ(catalog.Characters.size(), row.Row < 0 ? 3u : 2u);
    }
}

TEST_F(CharacterManagerTest, ConfirmKeepsTheCurrentCharacterAndItsKey) {
    Add({"Ann", "Bo"});
    catalog_.SetCurrentCharacter(&catalog_.Characters[1]);  // Bo
    CharacterManager manager(catalog_, messages_);

    // A new character is appended with no maps and does not become current.
    EXPECT_EQ(manager.StartName(-1), "New Character Name");
    EXPECT_EQ(manager.Confirm(-1, "Abe", nullptr), 0);  // rows: Abe, Ann, Bo
    ASSERT_EQ(catalog_.Characters.size(), 3u);
    EXPECT_EQ(catalog_.Characters[2].Name, "Abe");
    EXPECT_TRUE(catalog_.Characters[2].Entries.empty());
    EXPECT_EQ(catalog_.GetCurrentCharacter()->Name, "Bo");

    // Renaming another character: the key stays, the views are told.
    const int before = updates_;
    EXPECT_EQ(manager.Confirm(1, "Zed", nullptr), 2);  // rows: Abe, Bo, Zed
    EXPECT_EQ(Key(), "Bo");
    EXPECT_GT(updates_, before);

    // The current one: the key follows, so the next start finds it again.
    EXPECT_EQ(manager.Confirm(1, "Al", nullptr), 1);
    EXPECT_EQ(Key(), "Al");
    EXPECT_EQ(catalog_.CurrentCharacterPosition(), 1);
    catalog_.SetCurrentCharacter(nullptr);
    catalog_.SettingsFile().WriteCharacter("Al");
    catalog_.RestoreCurrentCharacter();
    EXPECT_EQ(catalog_.GetCurrentCharacter()->Name, "Al");
}

}  // namespace
}  // namespace brix
