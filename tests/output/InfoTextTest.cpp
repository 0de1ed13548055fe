#include <gtest/gtest.h>

#include <QClipboard>
#include <QGuiApplication>
#include <QObject>

#include <string>

#include "data/TreasureCatalog.h"
#include "output/InfoText.h"
#include "support/GuiApp.h"
#include "support/RecordingMessages.h"

namespace brix {
namespace {

#define DEG "\xC2\xB0"

const char* const OakHead =
    "Treasure 10 - Old Oak\r\n"
    "World Coords: 54" DEG "50'N 47" DEG
    "36'E\r\n"
    "Zerrin Coords: 2000, 1000\r\n";

class InfoTextTest : public ::testing::Test {
protected:
    void SetUp() override {
        Region isle;
        isle.Index = 3;
        isle.Name = "Kestrel Isle";
        isle.Comment = "Windy. Bring a cloak.";
        catalog_.StoreRegion(isle);
        Region plain;
        plain.Index = 4;
        plain.Name = "Plain";
        catalog_.StoreRegion(plain);

        oak_.Index = 10;
        oak_.Name = "Old Oak";
        oak_.Region = 3;
        oak_.Location = {2000, 1000};
        catalog_.StoreTreasure(oak_);

        RuneLibrary home;
        home.Name = "Home";
        home.RuneBooks = {{"Alpha", {10, 4, 10}}, {"Beta", {4}}, {"Gamma", {1, 10}}};
        RuneLibrary other;
        other.Name = "Other";
        other.RuneBooks = {{"Delta", {10}}, {"Epsilon", {}}};
        catalog_.RuneLibraries = {home, other};

        Character ann;
        ann.Name = "Ann";
        MapCounts oakMaps;
        oakMaps.Index = 10;
        oakMaps.Counts[1] = 1;    // level 2
        oakMaps.Counts[4] = 3;    // level 5
        oakMaps.Counts[6] = 0;    // level 7
        oakMaps.Counts[8] = -2;   // level 9
        oakMaps.Counts[15] = 12;  // level 16
        MapCounts otherMaps;
        otherMaps.Index = 11;
        otherMaps.Counts[0] = 5;
        ann.Entries = {otherMaps, oakMaps};
        Character bo;  // an entry for the treasure, but no map left
        bo.Name = "Bo";
        MapCounts spent;
        spent.Index = 10;
        bo.Entries = {spent};
        catalog_.Characters = {ann, bo};
    }
    TreasureCatalog catalog_;
    Treasure oak_;
};

TEST_F(InfoTextTest, TreasureText) {
    struct Row {
        const char* What;
        int Character;
        int Library;
        int Region;
        bool Terse;
        std::string Expected;
    };
    const std::string comment = "\r\nWindy. Bring a cloak.\r\n";
    const std::string none = "Rune Books: (None)\r\nMaps: (None)\r\n";
    const Row rows[] = {
        {"full", 0, 0, 3, false,
         OakHead + std::string("Rune Books: Alpha, Gamma\r\nMaps: L2=1, L5=3, L16=12\r\n") +
             comment},
        {"terse ends after the maps line", 0, 0, 3, true,
         OakHead + std::string("Rune Books: Alpha, Gamma\r\nMaps: L2=1, L5=3, L16=12\r\n")},
        {"no character, no library", -1, -1, 3, false, OakHead + none + comment},
        {"only the current library's books", 0, 1, 3, true,
         OakHead + std::string("Rune Books: Delta\r\nMaps: L2=1, L5=3, L16=12\r\n")},
        {"an entry with no map left", 1, -1, 3, true, OakHead + none},
        {"positions past the end count as none", 7, 9, 3, true, OakHead + none},
        {"region without comment", -1, -1, 4, false, OakHead + none},
        {"region 0", -1, -1, 0, false, OakHead + none},
        {"region past the slots", -1, -1, 500, false, OakHead + none},
        {"negative region", -1, -1, -3, false, OakHead + none},
    };
    for (const Row& row : rows) {
        catalog_.CurrentCharacter = row.Character;
        catalog_.CurrentRuneLibrary = row.Library;
        Treasure t = oak_;
        t.Region = row.Region;
        EXPECT_EQ(BuildTreasureText(catalog_, t, row.Terse), row.Expected) << row.What;
    }
}

TEST_F(InfoTextTest, TreasureTextWithoutAnyRuneLibrary) {
    catalog_.RuneLibraries.clear();
    catalog_.CurrentRuneLibrary = 0;
    catalog_.CurrentCharacter = 0;
    EXPECT_EQ(BuildTreasureText(catalog_, oak_, true),
              OakHead + std::string("Rune Books: (None)\r\nMaps: L2=1, L5=3, L16=12\r\n"));
}

TEST(InfoText, RegionText) {
    struct Row {
        const char* Comment;
        bool Terse;
        const char* Expected;
    };
    const Row rows[] = {
        {"Windy. Bring a cloak.", false,
         "Region 3 - Kestrel Isle\r\n\r\nWindy. Bring a cloak.\r\n"},
        {"Windy. Bring a cloak.", true, "Region 3 - Kestrel Isle\r\n"},
        {"", false, "Region 3 - Kestrel Isle\r\n"},
    };
    for (const Row& row : rows) {
        Region region;
        region.Index = 3;
        region.Name = "Kestrel Isle";
        region.Comment = row.Comment;
        EXPECT_EQ(BuildRegionText(region, row.Terse), row.Expected) << row.Comment << row.Terse;
    }
}

TEST(InfoText, LevelText) {
    const std::string head =
        "Level: 4 - Hidden Cache\r\nCartography: 65\r\nLockpicking: 70\r\nGold: 1200\r\n"
        "Gems: 6\r\nMagic Items: 5\r\nScrolls: 4\r\nReagents: -1\r\n\r\n";
    struct Row {
        const char* Spawns;
        const char* Drops;
        bool Terse;
        std::string Expected;
    };
    const Row rows[] = {
        {"Lich, Ogre Lord", "Dragon", false,
         head + "Monsters That Spawn:\r\nLich, Ogre Lord\r\n\r\nMonsters That Drop Maps:\r\n"
                "Dragon\r\n"},
        // An empty list still keeps exactly one blank line before the next heading.
        {"", "Dragon", false,
         head + "Monsters That Spawn:\r\n\r\nMonsters That Drop Maps:\r\nDragon\r\n"},
        {"Lich", "", false,
         head + "Monsters That Spawn:\r\nLich\r\n\r\nMonsters That Drop Maps:\r\n\r\n"},
        {"Lich", "Dragon", true, head},
    };
    for (const Row& row : rows) {
        Level level;
        level.Index = 4;
        level.Name = "Hidden Cache";
        level.Cartography = 65;
        level.Lockpicking = 70;
        level.Gold = 1200;
        level.Gems = 6;
        level.MagicItems = 5;
        level.Scrolls = 4;
        level.Reagents = -1;
        level.WhatSpawns = row.Spawns;
        level.WhatDrops = row.Drops;
        EXPECT_EQ(BuildLevelText(level, row.Terse), row.Expected) << row.Spawns << row.Terse;
    }
}

TEST_F(InfoTextTest, CopyPutsTheFullTextOnTheClipboardAsUnicode) {
    test::EnsureGuiApp();
    catalog_.CurrentCharacter = 0;
    catalog_.CurrentRuneLibrary = 0;
    QClipboard* clipboard = QGuiApplication::clipboard();
    clipboard->setText(QStringLiteral("before"));

    test::RecordingMessages messages;
    CopyTreasureText(catalog_, &oak_, messages);
    const QString expected = QString::fromUtf8(BuildTreasureText(catalog_, oak_, false));
    EXPECT_EQ(clipboard->text(), expected);
    EXPECT_TRUE(clipboard->text().contains(QChar(0x00B0)));
    EXPECT_TRUE(clipboard->text().endsWith(QStringLiteral("\r\nWindy. Bring a cloak.\r\n")));
    EXPECT_TRUE(messages.Shown.empty());

    // No treasure: nothing happens.
    clipboard->setText(QStringLiteral("before"));
    CopyTreasureText(catalog_, nullptr, messages);
    EXPECT_EQ(clipboard->text(), QStringLiteral("before"));
    EXPECT_TRUE(messages.Shown.empty());
}

TEST_F(InfoTextTest, CopyFailureIsReported) {
    test::RecordingMessages messages;
    QObject owner;
    std::string written;
    CopyTreasureText(catalog_, &oak_, messages, &owner, [&written](const std::string& text) {
        written = text;
        return false;
    });
    EXPECT_EQ(written, BuildTreasureText(catalog_, oak_, false));
    ASSERT_EQ(messages.Shown.size(), 1u);
    EXPECT_EQ(messages.Shown[0].Text, "Error copying data to the clipboard");
    EXPECT_EQ(messages.Shown[0].Icon, MessageIcon::None);
    EXPECT_EQ(messages.Shown[0].Owner, &owner);
}

}  // namespace
}  // namespace brix
