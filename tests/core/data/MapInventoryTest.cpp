#include <gtest/gtest.h>

#include <QTemporaryDir>

#include <limits>
#include <optional>
#include <string>
#include <vector>

#include "core/base/Strings.h"
#include "core/data/MapInventory.h"
#include "core/data/TreasureCatalog.h"
#include "support/RecordingMessages.h"
#include "support/Records.h"

namespace brix {
namespace {

constexpr int IntMax = std::numeric_limits<int>::max();

struct Step {
    int Treasure;
    int Level;
    bool Adding;
};

TEST(AdjustMapCount, CountsFollowAddsAndRemoves) {
    struct Row {
        const char* What;
        std::optional<int> Start;  // a level-3 count of treasure 57 held before the steps
        std::vector<Step> Steps;
        std::vector<bool> Changed;
        std::vector<int> EntryIndexes;  // the character's entries afterwards, in order
        int Count;                      // the level-3 count of treasure 57 afterwards
    };
    const Row rows[] = {
        {"add creates the entry", std::nullopt, {{57, 3, true}}, {true}, {57}, 1},
        {"add, add, remove",
         std::nullopt,
         {{57, 3, true}, {57, 3, true}, {57, 3, false}},
         {true, true, true},
         {57},
         1},
        {"remove without an entry creates none", std::nullopt, {{57, 3, false}}, {false}, {}, 0},
        {"remove at 0 stays 0", 0, {{57, 3, false}}, {false}, {57}, 0},
        {"a negative count is not lowered", -2, {{57, 3, false}}, {false}, {57}, -2},
        {"a full count saturates", IntMax, {{57, 3, true}}, {false}, {57}, IntMax},
        {"other levels leave level 3 alone",
         4,
         {{57, 2, true}, {57, 4, false}},
         {true, false},
         {57},
         4},
        {"treasures and levels out of range are refused",
         std::nullopt,
         {{0, 3, true}, {-1, 3, true}, {1001, 3, true}, {57, 0, true}, {57, 17, true}},
         {false, false, false, false, false},
         {},
         0},
        {"range ends accepted, entries appended when first needed",
         std::nullopt,
         {{1000, 16, true}, {57, 3, true}, {1, 1, true}},
         {true, true, true},
         {1000, 57, 1},
         1},
    };
    for (const Row& row : rows) {
        Character character;
        character.Name = "Ann";
        if (row.Start) {
            MapCounts entry;
            entry.Index = 57;
            entry.Counts[2] = *row.Start;
            character.Entries.push_back(entry);
        }
        std::vector<bool> changed;
        for (const Step& step : row.Steps)
            changed.push_back(AdjustMapCount(character, step.Treasure, step.Level, step.Adding));
        EXPECT_EQ(changed, row.Changed) << row.What;
        std::vector<int> indexes;
        for (const MapCounts& entry : character.Entries) indexes.push_back(entry.Index);
        EXPECT_EQ(indexes, row.EntryIndexes) << row.What;
        const MapCounts* entry = FindMapCounts(character, 57);
        EXPECT_EQ(entry ? entry->Counts[2] : 0, row.Count) << row.What;
    }
}

class MapInventoryTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir_.isValid());
        catalog_.Paths.SettingsPath = dir_.filePath("brix-tools.ini").toStdString();
        test::AddLevels(catalog_, {1, 2, 5});
        test::AddTreasures(catalog_, {1, 10, 11, 12, 13, 14, 15, 16, 17, 18, 19});
        Character& ann = *catalog_.FindOrAddCharacter("Ann");
        AdjustMapCount(ann, 12, 3, true);
        AdjustMapCount(ann, 12, 5, true);
        AdjustMapCount(ann, 12, 5, true);
        catalog_.FindOrAddCharacter("bo");
        catalog_.FindOrAddCharacter("Bob");
        catalog_.OnUpdate = [this] { ++updates_; };
    }

    // Level 1 first; empty without an entry for the treasure.
    std::vector<int> CountsOf(const std::string& name, int treasure) {
        const Character* character = catalog_.FindCharacter(name);
        const MapCounts* entry = character ? FindMapCounts(*character, treasure) : nullptr;
        if (entry == nullptr) return {};
        return std::vector<int>(entry->Counts.begin(), entry->Counts.end());
    }

    QTemporaryDir dir_;
    TreasureCatalog catalog_;
    test::RecordingMessages messages_;
    int updates_ = 0;
};

TEST_F(MapInventoryTest, CountsText) {
    struct Row {
        const char* Name;
        int Treasure;
        const char* Text;
    };
    const Row rows[] = {
        {"Ann", 12, "L3=1, L5=2"},      // levels in ascending order
        {"  aNN\t", 12, "L3=1, L5=2"},  // trimmed, any case
        {"Ann", 13, "(None)"},          // no entry for that treasure
        {"Ann", 0, "(None)"},           // no treasure chosen
        {"Anna", 12, "(None)"},         // no such character
        {"", 12, "(None)"},             // no name
    };
    for (const Row& row : rows)
        EXPECT_EQ(MapCountsText(catalog_, row.Name, row.Treasure), row.Text) << row.Name;

    // An entry whose counts all went back to 0 reads as no maps at all.
    for (int level : {3, 5, 5}) AdjustMapCount(*catalog_.FindCharacter("Ann"), 12, level, false);
    EXPECT_EQ(MapCountsText(catalog_, "Ann", 12), "(None)");
}

TEST_F(MapInventoryTest, OpeningChoosesByNumber) {
    struct Row {
        int LastLevel;
        int Preset;
        int LevelPosition;
        int TreasurePosition;
    };
    const Row rows[] = {
        {0, 0, 0, 0},      // nothing remembered, nothing preset: the first items
        {5, 12, 2, 3},     // level 5 is the third item, treasure 12 the fourth
        {3, 2, 0, 0},      // no level 3, no treasure 2: the first items
        {17, 1001, 0, 0},  // out of range
    };
    for (const Row& row : rows) {
        catalog_.SettingsFile().WriteLastLevel(row.LastLevel);
        const MapInventoryOpening opening = PrepareMapInventory(catalog_, row.Preset, true);
        EXPECT_EQ(opening.LevelPosition, row.LevelPosition) << row.LastLevel;
        EXPECT_EQ(opening.TreasurePosition, row.TreasurePosition) << row.Preset;
    }

    const MapInventoryOpening adding = PrepareMapInventory(catalog_, 0, true);
    EXPECT_EQ(adding.Caption, "Add this map to you inventory.");
    EXPECT_EQ(PrepareMapInventory(catalog_, 0, false).Caption,
              "Remove this map from your inventory.");
    EXPECT_EQ(adding.CharacterNames, (std::vector<std::string>{"Ann", "bo", "Bob"}));
    EXPECT_EQ(adding.CharacterName, "");  // no current character yet

    catalog_.SetCurrentCharacter(catalog_.FindCharacter("Bob"));
    EXPECT_EQ(PrepareMapInventory(catalog_, 0, true).CharacterName, "Bob");

    TreasureCatalog empty;
    empty.Paths.SettingsPath = catalog_.Paths.SettingsPath;
    const MapInventoryOpening none = PrepareMapInventory(empty, 12, true);
    EXPECT_EQ(none.LevelPosition, -1);
    EXPECT_EQ(none.TreasurePosition, -1);
}

TEST_F(MapInventoryTest, OkRefusesAndAsksThroughTheDialog) {
    QObject dialog;
    struct Row {
        const char* What;
        const char* Name;
        std::vector<bool> Answers;
        int Message;  // the string shown or asked; 0 for none
        bool Accepted;
    };
    const Row rows[] = {
        {"empty name", "", {}, StringId::CharacterNameMissing, false},
        {"blank name", " \t ", {}, StringId::CharacterNameMissing, false},
        {"invalid name", "Anne-Marie", {}, StringId::InvalidCharacterName, false},
        {"invalid after trimming", " Mr. X ", {}, StringId::InvalidCharacterName, false},
        {"unknown name, No", "Cy", {false}, StringId::NoSuchCharacter, false},
    };
    for (const Row& row : rows) {
        messages_.Shown.clear();
        messages_.Answers.assign(row.Answers.begin(), row.Answers.end());
        const bool accepted = AcceptMapInventory(catalog_, messages_, &dialog, {row.Name, 12, 5});
        EXPECT_EQ(accepted, row.Accepted) << row.What;
        ASSERT_EQ(messages_.Shown.size(), 1u) << row.What;
        EXPECT_EQ(messages_.Shown[0].Text, LoadString(row.Message)) << row.What;
        EXPECT_EQ(messages_.Shown[0].Owner, &dialog) << row.What;
        // Refusals carry no icon; the question is a plain yes/no box.
        if (row.Message != StringId::NoSuchCharacter) {
            EXPECT_EQ(messages_.Shown[0].Icon, MessageIcon::None) << row.What;
        }
    }
    // Nothing was changed or remembered by any refusal.
    EXPECT_EQ(catalog_.Characters.size(), 3u);
    EXPECT_EQ(catalog_.CurrentCharacterPosition(), -1);
    EXPECT_EQ(catalog_.SettingsFile().LastLevel(), 0);
    EXPECT_EQ(catalog_.SettingsFile().Character(), "");
    EXPECT_EQ(updates_, 0);
}

TEST_F(MapInventoryTest, OkRecordsTheMapForTheCharacter) {
    // An existing name in another case, typed with blanks: no question, the stored case stays.
    ASSERT_TRUE(AcceptMapInventory(catalog_, messages_, nullptr, {"  aNN ", 12, 5, true}));
    EXPECT_TRUE(messages_.Shown.empty());
    EXPECT_EQ(CountsOf("Ann", 12)[4], 3);
    EXPECT_EQ(catalog_.GetCurrentCharacter()->Name, "Ann");
    EXPECT_EQ(catalog_.SettingsFile().Character(), "Ann");
    EXPECT_EQ(catalog_.SettingsFile().LastLevel(), 5);
    EXPECT_TRUE(catalog_.Filter().TreasureFlag(12));
    EXPECT_EQ(updates_, 1);

    // An unknown name answered Yes: created as typed after trimming, made current, and the map
    // recorded; "LastLevel" follows the remove mode too.
    messages_.Answers = {true};
    ASSERT_TRUE(AcceptMapInventory(catalog_, messages_, nullptr, {" Cy Rhen_2 ", 13, 2, true}));
    ASSERT_EQ(messages_.Shown.size(), 1u);
    EXPECT_EQ(catalog_.Characters.back().Name, "Cy Rhen_2");
    EXPECT_EQ(CountsOf("Cy Rhen_2", 13)[1], 1);
    EXPECT_EQ(catalog_.SettingsFile().Character(), "Cy Rhen_2");
    EXPECT_EQ(catalog_.SettingsFile().LastLevel(), 2);

    // Removing a map nobody counted: the new character exists with no maps and is current.
    messages_.Answers = {true};
    ASSERT_TRUE(AcceptMapInventory(catalog_, messages_, nullptr, {"Dee", 12, 1, false}));
    EXPECT_TRUE(catalog_.FindCharacter("Dee")->Entries.empty());
    EXPECT_EQ(catalog_.GetCurrentCharacter()->Name, "Dee");
    EXPECT_EQ(catalog_.SettingsFile().LastLevel(), 1);

    ASSERT_TRUE(AcceptMapInventory(catalog_, messages_, nullptr, {"Ann", 12, 5, false}));
    EXPECT_EQ(CountsOf("Ann", 12)[4], 2);
    EXPECT_EQ(catalog_.SettingsFile().LastLevel(), 5);
}

// A data file without treasures or levels leaves the lists empty; OK must store nothing that
// the next start would refuse.
TEST_F(MapInventoryTest, OkWithAnEmptyListStoresNoCount) {
    catalog_.SettingsFile().WriteLastLevel(2);
    for (const MapInventoryRequest& request :
         {MapInventoryRequest{"Ann", 0, 5, true}, MapInventoryRequest{"Ann", 12, 0, true},
          MapInventoryRequest{"Ann", 0, 0, false}}) {
        ASSERT_TRUE(AcceptMapInventory(catalog_, messages_, nullptr, request));
        const Character& ann = *catalog_.FindCharacter("Ann");
        ASSERT_EQ(ann.Entries.size(), 1u);
        EXPECT_EQ(ann.Entries[0].Index, 12);
        EXPECT_EQ(CountsOf("Ann", 12),
                  (std::vector<int>{0, 0, 1, 0, 2, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}));
        EXPECT_EQ(catalog_.GetCurrentCharacter(), &ann);
    }
    // Only the request with a level remembered it.
    EXPECT_EQ(catalog_.SettingsFile().LastLevel(), 5);
}

}  // namespace
}  // namespace brix
