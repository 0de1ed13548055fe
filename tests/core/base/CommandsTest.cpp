#include "core/base/Commands.h"

#include <gtest/gtest.h>

#include <string>

#include "core/base/Strings.h"
#include "core/base/ToolbarLayout.h"

namespace brix {
namespace {

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
        {"last of two", Command::Options, CommandField::Name, "Options"},
        {"missing third field", Command::LevelInformation, CommandField::Label, ""},
        {"one-field string", StringId::ReadyText, CommandField::StatusText, "Ready"},
        {"command without a string", Command::Customize, CommandField::StatusText, ""},
        {"command number 0", Command::ExportToZerrin, CommandField::Name, ""},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(CommandText(row.Command, row.Field), row.Expected) << row.What;
    }
}

// The toolbar shows each button's label, its name as tooltip and in the customisation list,
// and its status text on hover: a toolbar command without all three would show a blank.
TEST(Commands, ToolbarCommandsHaveEveryText) {
    for (const ToolbarButton& button : ToolbarButtonTable) {
        EXPECT_FALSE(CommandLabel(button.Command).empty()) << button.Command;
        EXPECT_FALSE(CommandTooltip(button.Command).empty()) << button.Command;
        EXPECT_FALSE(CommandStatusText(button.Command).empty()) << button.Command;
    }
}

}  // namespace
}  // namespace brix
