#include <gtest/gtest.h>

#include <string>

#include "core/base/Strings.h"
#include "core/data/CharacterManager.h"
#include "core/data/Session.h"
#include "support/TempSession.h"

namespace brix {
namespace {

class CharacterManagerTest : public ::testing::Test {
protected:
    std::string Key() const { return temp_.Setting("Character"); }

    test::TempSession temp_;
    Session& session_ = temp_.Sess;
    test::RecordingMessages& messages_ = temp_.Messages;
};

TEST_F(CharacterManagerTest, DeletingKeepsTheCurrentCharacterOrLeavesNone) {
    session_.GetUser().Characters = {{"Cy", {}}, {"Ann", {}}, {"Bo", {}}};
    session_.SetCurrentCharacter(&session_.GetUser().Characters[2]);  // Bo
    CharacterManager manager(session_, messages_);                    // rows: Ann, Bo, Cy
    ASSERT_TRUE(manager.Delete(0));  // Ann, before Bo in the catalogue: the key is rewritten
    EXPECT_EQ(session_.GetCurrentCharacter()->Name, "Bo");
    EXPECT_EQ(Key(), "Bo");
    ASSERT_TRUE(manager.Delete(0));  // Bo, the current one
    EXPECT_EQ(session_.GetCurrentCharacter(), nullptr);
    EXPECT_EQ(Key(), "");
    EXPECT_EQ(manager.NameAt(0), "Cy");
    EXPECT_FALSE(manager.Delete(1));
}

TEST_F(CharacterManagerTest, ConfirmChecksTheTypedName) {
    struct Row {
        int Row;  // -1: new character; shown rows: 0 Ann, 1 Bo
        const char* Typed;
        int Refusal;         // 0: accepted
        const char* Stored;  // the name stored when accepted
    };
    const Row rows[] = {
        {0, "ANN", 0, "ANN"},  // case-only rename
        {0, "bo", StringId::DuplicateCharacterName, nullptr},
        {-1, "   ", StringId::CharacterNameMissing, nullptr},
        {-1, "Bo.", StringId::InvalidCharacterName, nullptr},
        {-1, "  Cy Dee_2 \t", 0, "Cy Dee_2"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.Typed);
        temp_.Reset();
        session_.GetUser().Characters = {{"Bo", {}}, {"Ann", {}}};
        CharacterManager manager(session_, messages_);
        QObject owner;
        const int shown = manager.Confirm(row.Row, row.Typed, &owner);
        if (row.Refusal != 0) {
            EXPECT_EQ(shown, -1);
            ASSERT_EQ(messages_.Shown.size(), 1u);
            EXPECT_EQ(messages_.Shown[0].Text, LoadString(row.Refusal));
            EXPECT_EQ(messages_.Shown[0].Owner, &owner);
            EXPECT_EQ(session_.GetUser().Characters[1].Name, "Ann");
            continue;
        }
        ASSERT_GE(shown, 0);
        EXPECT_EQ(manager.NameAt(shown), row.Stored);
        EXPECT_EQ(session_.GetUser().Characters.size(), row.Row < 0 ? 3u : 2u);
    }
}

TEST_F(CharacterManagerTest, ConfirmKeepsTheCurrentCharacterAndItsKey) {
    session_.GetUser().Characters = {{"Ann", {}}, {"Bo", {}}};
    session_.SetCurrentCharacter(&session_.GetUser().Characters[1]);  // Bo
    CharacterManager manager(session_, messages_);
    EXPECT_EQ(manager.Confirm(-1, "Abe", nullptr), 0);  // rows: Abe, Ann, Bo
    EXPECT_EQ(session_.GetCurrentCharacter()->Name, "Bo");
    EXPECT_EQ(manager.Confirm(1, "Zed", nullptr), 2);  // rows: Abe, Bo, Zed
    EXPECT_EQ(Key(), "Bo");
    // The current one: the key follows, so the next start finds it again.
    EXPECT_EQ(manager.Confirm(1, "Al", nullptr), 1);
    EXPECT_EQ(Key(), "Al");
}

}  // namespace
}  // namespace brix
