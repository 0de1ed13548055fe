#pragma once

#include <QFont>
#include <QPointF>
#include <QRgb>
#include <QSize>

#include <vector>

#include "core/base/Geometry.h"

class QPainter;

namespace brix {

struct HuntPlan;

// Where a world point lies on the world canvas: the world's extent in game units is stretched
// over the world bitmap, whatever size the archive's picture has.
QPointF WorldToCanvas(IntPoint world, QSize worldBitmapSize);

// One leg as the world map shows it: a walk from the previous stop, or, for a leg that starts
// with a recall, the walk from the rune spot landed on.
struct RouteOverlayLeg {
    QPointF From;
    QPointF To;
    bool Recall = false;
};

// A plan's route in world-canvas pixels.
struct RouteOverlay {
    std::vector<QPointF> Stops;  // in visiting order; the k-th is numbered k + 1
    std::vector<RouteOverlayLeg> Legs;
};

// The route of the plan on a world bitmap of that size. A first leg that starts without a
// recall (the route starts on its first stop) has no line.
RouteOverlay BuildRouteOverlay(const HuntPlan& plan, QSize worldBitmapSize);

// Colours of the overlay: a dark ink that stands out from every region tint and the sea, on a
// white halo that keeps it apart from dark ground.
inline constexpr QRgb RouteInkColour = 0xFF1A3A8Cu;
inline constexpr QRgb RouteHaloColour = 0xFFFFFFFFu;

// The radius of a stop's dot with that number in the font, in canvas pixels: room for the
// number and a rim.
double RouteDotRadius(const QFont& font, int number);

// Draws the overlay through a painter whose coordinates are world-canvas pixels: the legs
// (walks solid, recalls dashed, with a ring on the rune spot), then the numbered dots above
// them. Line widths and dots follow the font, so the route reads at any scale.
void DrawRouteOverlay(QPainter& painter, const RouteOverlay& overlay, const QFont& font);

}  // namespace brix
