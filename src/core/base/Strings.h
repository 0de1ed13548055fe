#pragma once

#include <initializer_list>
#include <string>

namespace brix {

// Numbers of the program's fixed texts (resources/Strings.inc).
namespace StringId {
constexpr int ProgramTitle = 1;
constexpr int PermanentLibrary = 10001;
constexpr int AttributesNotAllowed = 10008;
constexpr int UnknownElement = 10009;
constexpr int OnlyIndexAttribute = 10010;
constexpr int IndexOutOfRange = 10011;
constexpr int UnexpectedParseError = 10012;
constexpr int InvalidCoordinate = 10013;
constexpr int TooManyRunes = 10014;
constexpr int CannotOpenUserData = 10016;
constexpr int CannotCreateParser = 10017;
constexpr int CannotOpenMember = 10018;
constexpr int CannotLocateMember = 10019;
constexpr int SystemDataParseError = 10020;
constexpr int UserDataParseError = 10021;
constexpr int CannotCreateMainWindow = 10022;
constexpr int CannotLoadBitmap = 10025;
constexpr int BitmapNotMonochrome = 10026;
constexpr int PermSuffix = 11015;
constexpr int CannotOpenArchive = 19001;
constexpr int ClipboardError = 19002;
constexpr int AboutText = 19003;
}  // namespace StringId

// The text of a numbered string, or an empty text for an unknown number.
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
