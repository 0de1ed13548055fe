#pragma once

#include <string>

namespace brix {

// Command numbers shared by the menu, the toolbar, the accelerators and the views. A command
// with a string is declared by its line in the string table (resources/Strings.inc), so its
// number and its string's number are one and the same.
namespace Command {
#define BRIX_STRING(name, number, text)
#define BRIX_COMMAND(name, number, text) inline constexpr int name = number;
#include "Strings.inc"
#undef BRIX_STRING
#undef BRIX_COMMAND

// Commands without a string of their own.
inline constexpr int ExportToZerrin = 0;
inline constexpr int DummyRegion = 40004;
inline constexpr int Customize = 40016;

// Dynamic ranges: regions (40999 + Index), character and rune library list items.
inline constexpr int FirstRegion = 41000;
inline constexpr int LastRegion = 41999;
inline constexpr int FirstCharacter = 42000;
inline constexpr int LastCharacter = 42999;
inline constexpr int FirstRuneLibrary = 43000;
inline constexpr int LastRuneLibrary = 43999;
}  // namespace Command

// The fields of a command's string, in the order they are separated by line feeds.
enum class CommandField {
    StatusText,  // what the command does, for the status bar
    Name,        // the tooltip and the name in the toolbar customisation list
    Label,       // the text on a toolbar button; many commands have none
};

// One field of a command's string, whole; empty when the command has no string or its string
// has fewer fields.
std::string CommandText(int command, CommandField field);

// The fields as the toolbar and tooltips show them: cut to the room those have (never inside
// a UTF-8 sequence). The name in the customisation list is CommandText(command, Name), uncut.
std::string CommandLabel(int command);
std::string CommandTooltip(int command);
std::string CommandStatusText(int command);

}  // namespace brix
