#pragma once

#include <initializer_list>
#include <string>

namespace brix {

// Numbers of the program's fixed texts, named after their lines in the string table
// (resources/Strings.inc). The numbers of command strings are the command ids (Commands.h).
namespace StringId {
#define BRIX_STRING(name, number, text) inline constexpr int name = number;
#define BRIX_COMMAND(name, number, text)
#include "Strings.inc"
#undef BRIX_STRING
#undef BRIX_COMMAND
}  // namespace StringId

// The text of a numbered string (a StringId or a Command), or an empty text for an unknown
// number.
const std::string& LoadString(int id);

// One argument of FormatText: a text for %s, a number for %d, %u and %c.
struct FormatArg {
    FormatArg(const std::string& text) : Text(text), IsText(true) {}
    FormatArg(const char* text) : Text(text), IsText(true) {}
    FormatArg(long long number) : Number(number) {}
    FormatArg(int number) : Number(number) {}
    FormatArg(unsigned number) : Number(number) {}
    std::string Text;
    long long Number = 0;
    bool IsText = false;
};

// printf-style formatting of the program's fixed texts: %s, %d, %u, %c (a Unicode code point,
// written in UTF-8) and %%. A missing argument formats as nothing; never reads past the list.
std::string FormatText(const std::string& format, std::initializer_list<FormatArg> args);

}  // namespace brix
