#include <gtest/gtest.h>

#include <QClipboard>
#include <QGuiApplication>
#include <QObject>

#include <string>

#include "core/data/Session.h"
#include "core/output/InfoText.h"
#include "support/GuiApp.h"
#include "support/RecordingMessages.h"

namespace brix {
namespace {

#define DEG "\xC2\xB0"

const std::string OakHead = "Treasure 10 - Old Oak\r\nWorld Coords: 54" DEG "50'N 47" DEG
                            "36'E\r\nZerrin Coords: 2000, 1000\r\n";
const std::string Comment = "\r\nWindy. Bring a cloak.\r\n";

class InfoTextTest : public ::testing::Test {
protected:
    void SetUp() override {
        Region region;
        region.Index = 3;
        region.Name = "Kestrel Isle";
        region.Comment = "Windy. Bring a cloak.";
        session_.GetWorld().StoreRegion(region);
        oak_.Index = 10;
        oak_.Name = "Old Oak";
        oak_.Region = 3;
        oak_.Location = {2000, 1000};
        session_.GetWorld().StoreTreasure(oak_);
        session_.GetUser().RuneLibraries.resize(2);
        session_.GetUser().RuneLibraries[0].RuneBooks = {
            {"Alpha", {10, 4, 10}}, {"Beta", {4}}, {"Gamma", {1, 10}}};
        session_.GetUser().RuneLibraries[1].RuneBooks = {{"Delta", {10}}, {"Epsilon", {}}};
        // Maps of another treasure and of levels 2, 5 and 16 of this one (counts of 0 or below
        // are no maps).
        session_.GetUser().Characters.resize(1);
        session_.GetUser().Characters[0].Entries = {
            {11, {5}}, {10, {0, 1, 0, 0, 3, 0, 0, 0, -2, 0, 0, 0, 0, 0, 0, 12}}};
    }
    Session session_;
    Treasure oak_;
};

TEST_F(InfoTextTest, TreasureText) {
    // Records of no list of this catalogue count as none.
    const Character strangerCharacter;
    const RuneLibrary strangerLibrary;
    const UserData& user = session_.GetUser();
    const Character* ann = &user.Characters[0];
    const std::string held = "Rune Books: Alpha, Gamma\r\nMaps: L2=1, L5=3, L16=12\r\n";
    const std::string none = "Rune Books: (None)\r\nMaps: (None)\r\n";
    const struct {
        const char* What;
        const Character* Who;
        const RuneLibrary* Books;
        int Region;
        bool Terse;
        std::string Expected;
    } rows[] = {
        {"full", ann, &user.RuneLibraries[0], 3, false, OakHead + held + Comment},
        {"terse ends after the maps line", ann, &user.RuneLibraries[0], 3, true, OakHead + held},
        {"only the current library's books", ann, &user.RuneLibraries[1], 3, true,
         OakHead + "Rune Books: Delta\r\nMaps: L2=1, L5=3, L16=12\r\n"},
        {"records of no list", &strangerCharacter, &strangerLibrary, 3, true, OakHead + none},
        {"region past the slots", nullptr, nullptr, 500, false, OakHead + none},
    };
    for (const auto& row : rows) {
        session_.SetCurrentCharacter(row.Who);
        session_.SetCurrentRuneLibrary(row.Books);
        oak_.Region = row.Region;
        EXPECT_EQ(BuildTreasureText(session_, oak_, row.Terse), row.Expected) << row.What;
    }
}

TEST_F(InfoTextTest, RegionTextHasItsCommentUnlessTerse) {
    const Region& isle = *session_.GetWorld().FindRegion(3);
    EXPECT_EQ(BuildRegionText(isle, false), "Region 3 - Kestrel Isle\r\n" + Comment);
    EXPECT_EQ(BuildRegionText(isle, true), "Region 3 - Kestrel Isle\r\n");
}

TEST(InfoText, LevelText) {
    Level level{4, 65, 70, 1200, 6, 5, 4, -1, "Hidden Cache", "", ""};
    const std::string head =
        "Level: 4 - Hidden Cache\r\nCartography: 65\r\nLockpicking: 70\r\nGold: 1200\r\n"
        "Gems: 6\r\nMagic Items: 5\r\nScrolls: 4\r\nReagents: -1\r\n\r\n";
    const std::string spawn = "Monsters That Spawn:\r\n", drop = "Monsters That Drop Maps:\r\n";
    struct Row {
        const char* Spawns;
        const char* Drops;
        bool Terse;
        std::string Expected;
    };
    const Row rows[] = {
        {"Lich, Ogre", "Dragon", false, head + spawn + "Lich, Ogre\r\n\r\n" + drop + "Dragon\r\n"},
        // An empty list still keeps exactly one blank line before the next heading.
        {"", "Dragon", false, head + spawn + "\r\n" + drop + "Dragon\r\n"},
        {"Lich", "Dragon", true, head},
    };
    for (const Row& row : rows) {
        level.WhatSpawns = row.Spawns;
        level.WhatDrops = row.Drops;
        EXPECT_EQ(BuildLevelText(level, row.Terse), row.Expected) << row.Spawns << row.Terse;
    }
}

TEST_F(InfoTextTest, CopyTreasureText) {
    test::EnsureGuiApp();
    QClipboard* clipboard = QGuiApplication::clipboard();
    test::RecordingMessages messages;
    CopyTreasureText(session_, &oak_, messages);
    EXPECT_EQ(clipboard->text(), QString::fromUtf8(BuildTreasureText(session_, oak_, false)));
    clipboard->setText(QStringLiteral("before"));
    CopyTreasureText(session_, nullptr, messages);  // no treasure: nothing happens
    EXPECT_EQ(clipboard->text(), QStringLiteral("before"));
    EXPECT_TRUE(messages.Shown.empty());

    QObject owner;
    std::string written;
    CopyTreasureText(session_, &oak_, messages, &owner, [&written](const std::string& text) {
        written = text;
        return false;
    });
    EXPECT_EQ(written, BuildTreasureText(session_, oak_, false));
    ASSERT_EQ(messages.Shown.size(), 1u);
    EXPECT_EQ(messages.Shown[0].Text, "Error copying data to the clipboard");
    EXPECT_EQ(messages.Shown[0].Owner, &owner);
}

}  // namespace
}  // namespace brix
