#include "core/base/Commands.h"

#include <gtest/gtest.h>

#include <string>

#include "core/base/Strings.h"

namespace brix {
namespace {

TEST(Strings, LookupFindsBothEndsOfTheTableAndNothingInItsGaps) {
    struct Row {
        const char* What;
        int Id;
        std::string Expected;
    };
    const Row rows[] = {
        {"the first entry", StringId::ProgramTitle, "Brix Tools"},
        {"the last entry", Command::Exit, "Quit the application; prompts to save documents\nExit"},
        {"below the first number", 0, ""},
        {"a gap between numbers", StringId::TooManyRunes + 1, ""},
        {"above the last number", Command::Exit + 1, ""},
    };
    for (const Row& row : rows) EXPECT_EQ(LoadString(row.Id), row.Expected) << row.What;
}

TEST(Commands, TextFieldsAreSplitAtLineFeeds) {
    struct Row {
        const char* What;
        int Command;
        CommandField Field;
        std::string Expected;
    };
    const Row rows[] = {
        {"middle of three", Command::TreasureInformation, CommandField::Name,
         "Treasure Information"},
        {"missing third field", Command::LevelInformation, CommandField::Label, ""},
        {"one-field string", StringId::ReadyText, CommandField::StatusText, "Ready"},
        {"command without a string", Command::Customize, CommandField::StatusText, ""},
        {"command number 0", Command::ExportToZerrin, CommandField::Name, ""},
    };
    for (const Row& row : rows)
        EXPECT_EQ(CommandText(row.Command, row.Field), row.Expected) << row.What;
}

}  // namespace
}  // namespace brix
