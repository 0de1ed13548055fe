#include <gtest/gtest.h>

#include <array>
#include <limits>
#include <optional>
#include <vector>

#include "core/base/Strings.h"
#include "core/data/MapInventory.h"
#include "core/data/Session.h"
#include "support/Records.h"
#include "support/TempSession.h"

namespace brix {
namespace {

constexpr int IntMax = std::numeric_limits<int>::max();

// Each row is one step on treasure 57 (or another), level 3 unless it says otherwise.
TEST(AdjustMapCount, CountsFollowAddsAndRemoves) {
    struct Row {
        std::optional<int> Start;  // the level-3 count of treasure 57 before the step
        int Treasure;
        int Level;
        bool Adding;
        bool Changed;
        int Count;  // the level-3 count afterwards; 0 without an entry
        std::size_t Entries;
    };
    const Row rows[] = {
        {std::nullopt, 57, 3, false, false, 0, 0},  // a remove creates no entry
        {-2, 57, 3, false, false, -2, 1},           // a negative count is not lowered
        {IntMax, 57, 3, true, false, IntMax, 1},    // saturates
        {std::nullopt, 0, 3, true, false, 0, 0},    {std::nullopt, 1001, 3, true, false, 0, 0},
        {std::nullopt, 57, 0, true, false, 0, 0},   {std::nullopt, 57, 17, true, false, 0, 0},
        {std::nullopt, 1000, 16, true, true, 0, 1}, {std::nullopt, 57, 3, true, true, 1, 1},
    };
    for (const Row& row : rows) {
        Character character{"Ann", {}};
        if (row.Start) {
            character.Entries.push_back({57, {}});
            character.Entries[0].Counts[2] = *row.Start;
        }
        EXPECT_EQ(AdjustMapCount(character, row.Treasure, row.Level, row.Adding), row.Changed)
            << row.Treasure << " L" << row.Level;
        EXPECT_EQ(character.Entries.size(), row.Entries) << row.Treasure;
        const MapCounts* entry = FindMapCounts(character, 57);
        EXPECT_EQ(entry ? entry->Counts[2] : 0, row.Count) << row.Treasure;
    }
}

class MapInventoryTest : public ::testing::Test {
protected:
    void SetUp() override {
        test::AddLevels(session_.GetWorld(), {1, 2, 5});
        test::AddTreasures(session_.GetWorld(), {1, 10, 11, 12, 13, 14, 15, 16, 17, 18, 19});
        Character& ann = *session_.GetUser().FindOrAddCharacter("Ann");
        for (int level : {3, 5, 5}) AdjustMapCount(ann, 12, level, true);
        session_.GetUser().FindOrAddCharacter("bo");
        session_.GetUser().FindOrAddCharacter("Bob");
    }

    // Level 1 first; empty without an entry for the treasure.
    std::vector<int> CountsOf(const std::string& name, int treasure) {
        const Character* character = session_.GetUser().FindCharacter(name);
        const MapCounts* entry = character ? FindMapCounts(*character, treasure) : nullptr;
        if (entry == nullptr) return {};
        return std::vector<int>(entry->Counts.begin(), entry->Counts.end());
    }

    test::TempSession temp_;
    Session& session_ = temp_.Sess;
    test::RecordingMessages& messages_ = temp_.Messages;
};

TEST_F(MapInventoryTest, OpeningChoosesByNumber) {
    // Level 5 is the third item, treasure 12 the fourth; out of range gives the first items.
    for (auto [level, preset, levelAt, treasureAt] :
         {std::array{5, 12, 2, 3}, std::array{17, 1001, 0, 0}}) {
        session_.SettingsFile().WriteLastLevel(level);
        const MapInventoryOpening opening = PrepareMapInventory(session_, preset, true);
        EXPECT_EQ(opening.LevelPosition, levelAt) << level;
        EXPECT_EQ(opening.TreasurePosition, treasureAt) << preset;
    }

    temp_.Reset();
    const MapInventoryOpening none = PrepareMapInventory(session_, 12, true);
    EXPECT_EQ(none.LevelPosition, -1);
    EXPECT_EQ(none.TreasurePosition, -1);
}

TEST_F(MapInventoryTest, OkRefusesAndAsksThroughTheDialog) {
    QObject dialog;
    struct Row {
        const char* Name;
        int Message;  // the string shown or asked
    };
    const Row rows[] = {
        {"", StringId::CharacterNameMissing},
        {" Mr. X ", StringId::InvalidCharacterName},  // invalid after trimming
        {"Cy", StringId::NoSuchCharacter},            // unknown, answered No
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.Name);
        messages_.Shown.clear();
        messages_.Answers = {false};
        EXPECT_FALSE(AcceptMapInventory(session_, messages_, &dialog, {row.Name, 12, 5}));
        ASSERT_EQ(messages_.Shown.size(), 1u);
        EXPECT_EQ(messages_.Shown[0].Text, LoadString(row.Message));
        EXPECT_EQ(messages_.Shown[0].Owner, &dialog);
    }
    // Nothing was changed or remembered by any refusal.
    EXPECT_EQ(session_.GetUser().Characters.size(), 3u);
    EXPECT_EQ(session_.SettingsFile().LastLevel(), 0);
    EXPECT_TRUE(temp_.Changes.empty());
}

TEST_F(MapInventoryTest, OkRecordsTheMapForTheCharacter) {
    // An existing name in another case, typed with blanks: no question, the stored case stays.
    ASSERT_TRUE(AcceptMapInventory(session_, messages_, nullptr, {"  aNN ", 12, 5, true}));
    EXPECT_TRUE(messages_.Shown.empty());
    EXPECT_EQ(CountsOf("Ann", 12)[4], 3);
    EXPECT_EQ(session_.GetCurrentCharacter()->Name, "Ann");
    EXPECT_EQ(session_.SettingsFile().LastLevel(), 5);
    EXPECT_EQ(temp_.Changes.size(), 1u);

    // An unknown name answered Yes: created as typed after trimming and the map recorded.
    messages_.Answers = {true};
    ASSERT_TRUE(AcceptMapInventory(session_, messages_, nullptr, {" Cy Rhen_2 ", 13, 2, true}));
    EXPECT_EQ(session_.GetUser().Characters.back().Name, "Cy Rhen_2");
    EXPECT_EQ(CountsOf("Cy Rhen_2", 13)[1], 1);
    EXPECT_EQ(session_.SettingsFile().Character(), "Cy Rhen_2");
}

// A data file without treasures or levels leaves the lists empty; OK must store nothing that
// the next start would refuse.
TEST_F(MapInventoryTest, OkWithAnEmptyListStoresNoCount) {
    session_.SettingsFile().WriteLastLevel(2);
    for (const MapInventoryRequest& request :
         {MapInventoryRequest{"Ann", 0, 5, true}, MapInventoryRequest{"Ann", 12, 0, true},
          MapInventoryRequest{"Ann", 0, 0, false}}) {
        ASSERT_TRUE(AcceptMapInventory(session_, messages_, nullptr, request));
        const Character& ann = *session_.GetUser().FindCharacter("Ann");
        ASSERT_EQ(ann.Entries.size(), 1u);
        EXPECT_EQ(ann.Entries[0].Index, 12);
        EXPECT_EQ(CountsOf("Ann", 12),
                  (std::vector<int>{0, 0, 1, 0, 2, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}));
        EXPECT_EQ(session_.GetCurrentCharacter(), &ann);
    }
    // Only the request with a level remembered it.
    EXPECT_EQ(session_.SettingsFile().LastLevel(), 5);
}

}  // namespace
}  // namespace brix
