#pragma once

#include <QImage>

#include <array>
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "core/base/Commands.h"

namespace brix {

enum class ToolbarButtonStyle {
    Separator,
    Push,
    DropDown,  // the whole button opens a menu; drawn with a drop-down arrow
    Check,     // stays pressed while its command is on
};

// One button of the main toolbar. A separator has command 0 and no icon.
struct ToolbarButton {
    int Command = 0;
    int Icon = -1;  // index into the command icon strips, -1 for none
    ToolbarButtonStyle Style = ToolbarButtonStyle::Separator;

    bool IsSeparator() const { return Command == 0; }
    bool operator==(const ToolbarButton&) const = default;
};

inline constexpr ToolbarButton ToolbarSeparator{};

// The commands that may stand on the main toolbar, in the order the customisation dialog
// offers them. Find Treasure, Identify Map Picture and Hunt Plan are offered there but are not
// among the default buttons.
inline constexpr std::array<ToolbarButton, 18> ToolbarButtonTable = {{
    {Command::Print, 3, ToolbarButtonStyle::Push},
    {Command::Copy, 2, ToolbarButtonStyle::Push},
    {Command::GotAMap, 6, ToolbarButtonStyle::Push},
    {Command::CompletedAMap, 7, ToolbarButtonStyle::Push},
    {Command::World, 0, ToolbarButtonStyle::Push},
    {Command::Region, 5, ToolbarButtonStyle::DropDown},
    {Command::About, 4, ToolbarButtonStyle::Push},
    {Command::NextRegion, 8, ToolbarButtonStyle::Push},
    {Command::PreviousRegion, 9, ToolbarButtonStyle::Push},
    {Command::NextTreasure, 10, ToolbarButtonStyle::Push},
    {Command::PreviousTreasure, 11, ToolbarButtonStyle::Push},
    {Command::TreasureInformation, 12, ToolbarButtonStyle::Push},
    {Command::StayOnTop, 13, ToolbarButtonStyle::Check},
    {Command::FindTreasure, 15, ToolbarButtonStyle::Push},
    {Command::Undo, 16, ToolbarButtonStyle::Push},
    {Command::Redo, 17, ToolbarButtonStyle::Push},
    {Command::IdentifyMapPicture, 18, ToolbarButtonStyle::Push},
    {Command::HuntPlan, 19, ToolbarButtonStyle::Push},
}};

// Limits of a stored button list.
inline constexpr std::size_t MaxToolbarListLength = 1023;
inline constexpr std::size_t MaxToolbarButtons = 100;

// Width of a separator on the toolbar, in pixels.
inline constexpr int ToolbarSeparatorWidth = 8;

// Text styles ("TBTextStyle") and icon styles ("TBIconStyle").
inline constexpr int ToolbarNoText = 0;
inline constexpr int ToolbarTextUnder = 1;
inline constexpr int ToolbarTextRight = 2;
inline constexpr int ToolbarSmallIcons = 0;
inline constexpr int ToolbarLargeIcons = 1;
inline constexpr int SmallIconSize = 16;
inline constexpr int LargeIconSize = 24;

// Icon size in pixels for an icon style: large for anything but 0.
inline int ToolbarIconSize(int iconStyle) {
    return iconStyle != ToolbarSmallIcons ? LargeIconSize : SmallIconSize;
}

// The table entry of a command, or nullptr when the command cannot stand on the toolbar.
const ToolbarButton* FindToolbarCommand(int command);

// The icon index of a command (for toolbar buttons and menu items alike), or -1.
int CommandIconIndex(int command);

// Parses a stored button list. Blanks around numbers and commas are allowed, a trailing comma
// is accepted, 0 stands for a separator and numbers of commands that cannot stand on the
// toolbar are left out. Anything else that is not a comma-separated list of integers, or a
// list that yields no button, gives the default buttons.
std::vector<ToolbarButton> ParseToolbarButtons(std::string_view value);

// The stored form of the default button list, and its buttons.
std::string DefaultToolbarList();
std::vector<ToolbarButton> DefaultToolbarButtons();

// The fixed buttons of the Treasure Information window, in the stored form and parsed by the
// same rules (at most MaxTreasureInfoButtons): Copy, Previous and Next Treasure, I Just Got a
// Map and I Just Completed a Map, Stay on Top, a separator between the groups.
inline constexpr std::size_t MaxTreasureInfoButtons = 32;
std::string TreasureInfoToolbarList();
std::vector<ToolbarButton> TreasureInfoToolbarButtons();

// The stored form of a button list: command numbers joined by "," with 0 for separators.
std::string FormatToolbarButtons(const std::vector<ToolbarButton>& buttons);

// Icon `index` of a strip of square icons laid side by side (the strip's height is the icon
// size); a null image when the index lies outside the strip.
QImage CutStripIcon(const QImage& strip, int index);

}  // namespace brix
