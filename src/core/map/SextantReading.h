#pragma once

#include <optional>
#include <string_view>

#include "core/map/MapGeometry.h"

namespace brix {

// Reads a sextant reading as the program writes it ("44°54'N 41°3'E") or as players type it:
// "44 54 N 41 3 E", "44.54N 41.03E" (the digits after the dot are minutes), "44N 41E",
// latitude or longitude first, halves separated by blanks, a comma or a semicolon, letters in
// either case. Each half is degrees, optional minutes (0..59) and its letter after them; a
// half may not exceed 180°. Anything else, including two halves of the same axis, gives
// nothing.
std::optional<SextantReading> ParseSextantReading(std::string_view text);

// A world point with fractional coordinates.
struct WorldPoint {
    double X = 0;
    double Y = 0;
};

// The world point that reads as `reading`, the coordinate rule turned around: on each axis the
// middle of the span of world units that the rule truncates to that minute. Each axis has two
// candidates, the angle as read and the one a turn away that the rule wrapped into it; the
// world spans exactly one turn, so one of them lies inside it, and that one is returned.
WorldPoint ReadingWorldPoint(const SextantReading& reading);

// The distance in minutes of arc from a world point to the nearest point that reads as
// `reading`, measured around the world (so 179°W lies close to 179°E).
double ReadingDistance(const SextantReading& reading, int x, int y);

// True when the two readings name the same place: 180°0'E and 180°0'W are one meridian.
bool SameReading(const SextantReading& a, const SextantReading& b);

}  // namespace brix
