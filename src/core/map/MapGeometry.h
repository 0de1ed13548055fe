#pragma once

#include <functional>
#include <string>
#include <vector>

#include "core/data/Records.h"
#include "core/map/PanelStyle.h"

class QFont;

namespace brix {

struct World;

constexpr IntPoint TackHotSpot{0, 8};
constexpr IntPoint TackHeadCentre{3, -6};
constexpr IntPoint TackCorrection{-6, -2};
constexpr int LabelInset = 1;
constexpr int LeaderGap = 6;

// The frame of the coordinate text: the world's extent in game units, the world point that
// reads 0°0'S 0°0'E, and a full turn in minutes of arc.
inline constexpr int SextantWorldWidth = 5120;
inline constexpr int SextantWorldHeight = 4096;
inline constexpr int SextantOriginX = 1323;
inline constexpr int SextantOriginY = 1624;
inline constexpr int MinutesPerTurn = 21600;

// What a coordinate text says, in minutes of arc from the origin: latitude south positive
// (north negative), longitude east positive (west negative), each within -10800..10800.
struct SextantReading {
    int Latitude = 0;
    int Longitude = 0;
    bool operator==(const SextantReading&) const = default;
};

// The reading of a world point, as SextantText writes it.
SextantReading SextantReadingOf(int x, int y);

// The degrees-and-minutes text of a world point, latitude first, cut to capacity - 1 bytes
// (never inside a UTF-8 sequence).
std::string SextantText(int x, int y, int capacity = 128);

// Adds the tack correction to the point unless tacksCorrect is set.
IntPoint ApplyTackCorrection(IntPoint point, bool tacksCorrect);

// The multimap rectangle that a panel of this style and outer size shows, centred on the
// world point (cx, cy) and kept inside the multimap.
IntRect CenterSourceRect(PanelStyle style, int cx, int cy, int width, int height, int multimapWidth,
                         int multimapHeight);

struct RegionTreasureList {
    std::vector<int> Treasures;  // Index values in drawing order
    int CentreX = 0;             // world coordinates
    int CentreY = 0;
};

// The region's treasures sorted by y (stable) and the centre of their bounding box.
RegionTreasureList BuildRegionTreasureList(const World& world, int regionIndex);

// Measures a label text: width and height in pixels.
using TextMeasurer = std::function<void(const std::string& text, int& width, int& height)>;

// A measurer using the given font's metrics (needs a running QGuiApplication).
TextMeasurer FontMeasurer(const QFont& font);

// Fills LabelRect and LeaderLine of one treasure, or of every treasure.
void ComputeLabelGeometry(Treasure& treasure, const TextMeasurer& measure);
void ComputeAllLabelGeometry(World& world);

}  // namespace brix
