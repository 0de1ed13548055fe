#include "core/base/Strings.h"

#include <gtest/gtest.h>

#include <string>

#include "core/base/Commands.h"

namespace brix {
namespace {

TEST(Strings, LookupFindsEveryPartOfTheTable) {
    struct Row {
        const char* What;
        int Id;
        std::string Expected;
    };
    const Row rows[] = {
        {"the first entry", StringId::ProgramTitle, "Brix Tools"},
        {"a text among the commands", StringId::ReadyText, "Ready"},
        {"a command", Command::Copy, "Copy the selection and put it on the Clipboard\nCopy\nCopy"},
        {"the last entry", Command::Exit, "Quit the application; prompts to save documents\nExit"},
        {"below the first number", 0, ""},
        {"a gap between numbers", StringId::TooManyRunes + 1, ""},
        {"a command without a string", Command::Customize, ""},
        {"above the last number", Command::Exit + 1, ""},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(LoadString(row.Id), row.Expected) << row.What;
    }
}

}  // namespace
}  // namespace brix
