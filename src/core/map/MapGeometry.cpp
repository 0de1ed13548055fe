#include "core/map/MapGeometry.h"

#include <QFont>
#include <QFontMetrics>
#include <QString>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>

#include "core/base/Strings.h"
#include "core/base/Text.h"
#include "core/data/World.h"

namespace brix {
namespace {

constexpr long long HalfTurn = MinutesPerTurn / 2;
constexpr long long WorldWidth = SextantWorldWidth;
constexpr long long WorldHeight = SextantWorldHeight;
constexpr long long OriginX = SextantOriginX;
constexpr long long OriginY = SextantOriginY;
constexpr char32_t DegreeSign = 0xB0;

// Coordinates come from a data file that does not bound them, so the arithmetic is done in
// 64 bits and brought back into int range instead of overflowing.
int Saturate(long long value) {
    return static_cast<int>(std::clamp<long long>(value, std::numeric_limits<int>::min(),
                                                  std::numeric_limits<int>::max()));
}

// Minutes of arc east (or south) of the origin, wrapped into -180°..+180°. Both ends stay as
// they are: exactly +180° reads east and exactly -180° reads west.
long long AngleMinutes(long long offset, long long extent) {
    long long angle = offset * MinutesPerTurn / extent;
    if (angle > HalfTurn || angle < -HalfTurn) {
        // A point far outside the world may lie more than one turn away; reduce it fully
        // rather than print degrees beyond 180.
        angle %= MinutesPerTurn;
        if (angle > HalfTurn)
            angle -= MinutesPerTurn;
        else if (angle < -HalfTurn)
            angle += MinutesPerTurn;
    }
    return angle;
}

}  // namespace

SextantReading SextantReadingOf(int x, int y) {
    // Both angles lie within half a turn, so they fit an int.
    return {static_cast<int>(AngleMinutes(y - OriginY, WorldHeight)),
            static_cast<int>(AngleMinutes(x - OriginX, WorldWidth))};
}

std::string SextantText(int x, int y, int capacity) {
    long long longitude = AngleMinutes(x - OriginX, WorldWidth);
    char eastWest = 'E';
    if (longitude < 0) {
        eastWest = 'W';
        longitude = -longitude;
    }
    long long latitude = AngleMinutes(y - OriginY, WorldHeight);
    char southNorth = 'S';
    if (latitude < 0) {
        southNorth = 'N';
        latitude = -latitude;
    }
    std::string text = FormatText("%d%c%d'%c %d%c%d'%c",
                                  {static_cast<int>(latitude / 60), static_cast<int>(DegreeSign),
                                   static_cast<int>(latitude % 60), static_cast<int>(southNorth),
                                   static_cast<int>(longitude / 60), static_cast<int>(DegreeSign),
                                   static_cast<int>(longitude % 60), static_cast<int>(eastWest)});
    if (capacity < 1) return std::string();
    // The capacity counts the terminating zero; the cut never leaves half a degree sign.
    text.resize(CutUtf8(text, static_cast<std::size_t>(capacity - 1)).size());
    return text;
}

IntPoint ApplyTackCorrection(IntPoint point, bool tacksCorrect) {
    if (tacksCorrect) return point;
    return {point.X + TackCorrection.X, point.Y + TackCorrection.Y};
}

IntRect CenterSourceRect(PanelStyle style, int cx, int cy, int width, int height, int multimapWidth,
                         int multimapHeight) {
    const PanelMargins m = MarginsOf(style);
    const int innerWidth = width - m.Left - m.Right;
    const int innerHeight = height - m.Top - m.Bottom;
    IntRect r;
    r.Left = cx / 2 - innerWidth / 2;
    r.Top = cy / 2 - innerHeight / 2;
    r.Right = r.Left + innerWidth;
    r.Bottom = r.Top + innerHeight;
    auto shift = [&r](int dx, int dy) {
        r.Left += dx;
        r.Right += dx;
        r.Top += dy;
        r.Bottom += dy;
    };
    // The right and bottom edges are clamped last, so a rectangle larger than the multimap
    // ends flush with them.
    if (r.Left < 0) shift(-r.Left, 0);
    if (r.Top < 0) shift(0, -r.Top);
    if (r.Right > multimapWidth) shift(multimapWidth - r.Right, 0);
    if (r.Bottom > multimapHeight) shift(0, multimapHeight - r.Bottom);
    return r;
}

RegionTreasureList BuildRegionTreasureList(const World& world, int regionIndex) {
    RegionTreasureList list;
    for (const Treasure& treasure : world.Treasures) {
        if (treasure.Index >= 1 && treasure.Region == regionIndex)
            list.Treasures.push_back(treasure.Index);
    }
    // Tacks lower on the map are drawn later and cover those above them.
    std::stable_sort(list.Treasures.begin(), list.Treasures.end(), [&world](int a, int b) {
        return world.Treasures[a].Location.Y < world.Treasures[b].Location.Y;
    });

    // An unloaded multimap has a null size; count it as empty.
    const long long multimapWidth = std::max(0, world.Drawing.MultimapSize.width());
    const long long multimapHeight = std::max(0, world.Drawing.MultimapSize.height());
    long long minX = 2 * multimapWidth;
    long long minY = 2 * multimapHeight;
    long long maxX = 0;
    long long maxY = 0;
    for (int index : list.Treasures) {
        const IntPoint& p = world.Treasures[index].Location;
        minX = std::min<long long>(minX, p.X);
        minY = std::min<long long>(minY, p.Y);
        maxX = std::max<long long>(maxX, p.X);
        maxY = std::max<long long>(maxY, p.Y);
    }
    list.CentreX = Saturate((minX + maxX) / 2);
    list.CentreY = Saturate((minY + maxY) / 2);
    return list;
}

TextMeasurer FontMeasurer(const QFont& font) {
    // GetTextExtentPoint32, which the label layout was made for, gives the sum of the advance
    // widths and the cell height (ascent plus descent); horizontalAdvance() and height() are
    // the same two measures, where boundingRect() would give the tighter ink box instead.
    return [metrics = QFontMetrics(font)](const std::string& text, int& width, int& height) {
        width = metrics.horizontalAdvance(QString::fromStdString(text));
        height = metrics.height();
    };
}

void ComputeLabelGeometry(Treasure& treasure, const TextMeasurer& measure) {
    const long long dx = treasure.LabelOffset.X;
    const long long dy = treasure.LabelOffset.Y;
    if (dx == 0 && dy == 0) {
        treasure.LabelRect = {};
        treasure.LeaderLine = {};
        return;
    }
    // The label hangs off the tack head, in multimap coordinates.
    const long long anchorX = treasure.Location.X / 2 + TackHeadCentre.X;
    const long long anchorY = treasure.Location.Y / 2 + TackHeadCentre.Y;

    const double length = std::sqrt(static_cast<double>(dx) * static_cast<double>(dx) +
                                    static_cast<double>(dy) * static_cast<double>(dy));
    // Truncation toward zero keeps the leader start symmetric for offsets of either sign.
    const long long startX =
        anchorX + static_cast<long long>(std::trunc(LeaderGap * static_cast<double>(dx) / length));
    const long long startY =
        anchorY + static_cast<long long>(std::trunc(LeaderGap * static_cast<double>(dy) / length)) +
        1;
    const long long endX = anchorX + dx / 2;
    const long long endY = anchorY + dy / 2;

    int width = 0;
    int height = 0;
    measure(std::to_string(treasure.Index), width, height);
    const long long left = endX - width / 2;
    const long long top = endY - height / 2;
    treasure.LabelRect = {Saturate(left - LabelInset), Saturate(top - LabelInset),
                          Saturate(left + width + LabelInset), Saturate(top + height + LabelInset)};
    treasure.LeaderLine = {Saturate(startX), Saturate(startY), Saturate(endX), Saturate(endY)};
}

void ComputeAllLabelGeometry(World& world) {
    const TextMeasurer measure = FontMeasurer(world.Drawing.LabelFont);
    for (Treasure& treasure : world.Treasures) {
        if (treasure.Index >= 1) ComputeLabelGeometry(treasure, measure);
    }
}

}  // namespace brix
