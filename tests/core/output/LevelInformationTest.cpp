#include <gtest/gtest.h>

#include <string>

#include "core/data/GameRecords.h"
#include "core/output/LevelInformation.h"

namespace brix {
namespace {

// Real data has gaps: levels 1, 2 and 5 put level 5 at the third position.
TEST(LevelInformation, ChoosesByNumberNotPosition) {
    GameRecords records;
    for (int index : {1, 2, 5}) {
        Level level;
        level.Index = index;
        level.Name = "L" + std::to_string(index);
        level.WhatSpawns = "Spawner " + std::to_string(index);
        records.StoreLevel(level);
    }
    struct Row {
        int Initial;
        int Position;
    };
    for (const Row& row : {Row{1, 0}, Row{5, 2}, Row{3, 0}, Row{-1, 0}, Row{17, 0}}) {
        EXPECT_EQ(LevelInformation(records, row.Initial).InitialPosition, row.Position)
            << row.Initial;
    }

    const LevelInformation information(records);
    EXPECT_EQ(information.Levels.at(2).Number, 5);
    const std::string five = information.TextOf(5);
    EXPECT_EQ(five.rfind("Level: 5 - L5\r\n", 0), 0u) << five;
    EXPECT_NE(five.find("Spawner 5"), std::string::npos);
    EXPECT_EQ(information.TextOf(3), "");  // a gap
}

TEST(LevelInformation, NoLevelsShowNothing) {
    const GameRecords records;
    const LevelInformation information(records);
    EXPECT_TRUE(information.Levels.empty());
    EXPECT_EQ(information.InitialPosition, -1);
    EXPECT_EQ(information.TextOf(1), "");
}

}  // namespace
}  // namespace brix
