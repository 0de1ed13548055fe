#pragma once

#include <QColor>
#include <QPoint>
#include <QRect>
#include <QSize>

#include <array>
#include <cstdint>
#include <string_view>

#include "core/base/Settings.h"

namespace brix {

// A colour value as the settings file stores it: red in the low byte, then green, then blue;
// AutomaticColour (0xFF000000) stands for "the user of the colour decides".
constexpr std::uint32_t ColourRef(int red, int green, int blue) {
    return static_cast<std::uint32_t>(red & 0xFF) | static_cast<std::uint32_t>(green & 0xFF) << 8 |
           static_cast<std::uint32_t>(blue & 0xFF) << 16;
}

// The colour a value shows: `automatic` for AutomaticColour, else its three low bytes.
QColor ColourOf(std::uint32_t value, const QColor& automatic);
// The value of an opaque colour (any alpha is dropped).
std::uint32_t ValueOf(const QColor& colour);

struct PaletteColour {
    std::uint32_t Value;
    std::string_view Name;
};

// The colour button's palette: 40 named cells in rows of PaletteColumns.
inline constexpr int PaletteColumns = 8;
inline constexpr int PaletteCellCount = 40;
const std::array<PaletteColour, PaletteCellCount>& PaletteColours();

// Items of the palette window: 0..39 the cells, and these three.
namespace PaletteItem {
inline constexpr int None = -1;
inline constexpr int Custom = -2;   // "More Colors..."
inline constexpr int Default = -3;  // the automatic colour
}  // namespace PaletteItem

// Which items the palette offers: an empty default or custom text removes that item.
struct PaletteItems {
    bool HasDefault = true;
    bool HasCustom = true;
};

// The item framed as holding `current` when the palette opens: the default item for
// AutomaticColour, else the first cell of exactly that value, else the custom item, else none.
int CurrentPaletteItem(std::uint32_t current, PaletteItems items);

// The item a step of `delta` (±1 one cell, ±PaletteColumns one row) leads to from `from`.
// The cells are a ring closed through the default item (before cell 0) and the custom item
// (after cell 39); from none, forward enters at the default item and backward at the custom
// item. A missing default or custom item is stepped over in the same direction.
int StepPaletteItem(int from, int delta, PaletteItems items);

// The value choosing `item` gives: AutomaticColour for the default item, the cell's colour for
// a cell; the custom item and none give `current` (the custom item asks the colour chooser).
std::uint32_t PickedValue(int item, std::uint32_t current);

// Where the palette window (of `size`) opens: its top-left at the button's bottom-left, then
// moved into the work area: left when it passes the right edge, right when it passes the left
// edge, and above the button when it passes the bottom.
QPoint PalettePosition(QSize size, const QRect& button, const QRect& workArea);

// The background of the item holding the current colour: per channel
// (menu × 207 + highlight × 48) / 256.
QColor CurrentItemBackground(const QColor& menu, const QColor& highlight);

}  // namespace brix
