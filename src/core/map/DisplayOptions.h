#pragma once

#include <cstdint>

#include "core/base/ColourPalette.h"
#include "core/base/Settings.h"

namespace brix {

class Session;

// The seven display settings the Options sheet edits: the catalogue's display settings with
// the print margins left at their defaults (the sheet does not show them, and OK keeps the
// catalogue's own).
using DisplayOptions = DisplaySettings;

// What each colour button shows while its value is AutomaticColour.
inline constexpr std::uint32_t WithHighLightSwatch = ColourRef(255, 0, 0);
inline constexpr std::uint32_t WithoutHighLightSwatch = ColourRef(255, 224, 0);
inline constexpr std::uint32_t TackWithColorSwatch = ColourRef(255, 0, 0);
inline constexpr std::uint32_t TackWithoutColorSwatch = ColourRef(148, 24, 0);

// The display settings without their print margins.
DisplayOptions OptionsOf(const DisplaySettings& display);

// Writes all seven keys, changed or not, in this order: "TreasureInfoInd", "BeautyOverSpeed",
// "TacksCorrect", "WithHighLight", "WithoutHighLight", "TackWithColor", "TackWithoutColor".
void WriteDisplayOptions(const Settings& settings, const DisplayOptions& options);

// The Options sheet's OK: the catalogue takes the options (its margins stay), the settings file
// gets all seven keys, every treasure's label geometry is recomputed and the change
// notification repaints the views. Refreshing an independent Treasure Information window is
// the caller's, which owns it.
void ApplyDisplayOptions(Session& session, const DisplayOptions& options);

}  // namespace brix
