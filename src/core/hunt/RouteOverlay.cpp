#include "core/hunt/RouteOverlay.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QPen>

#include <algorithm>

#include "core/hunt/HuntPlan.h"
#include "core/map/MapGeometry.h"

namespace brix {
namespace {

QFont NumberFont(const QFont& font) {
    QFont bold = font;
    bold.setBold(true);
    return bold;
}

// The ink's width: a sixth of a line of text, never thinner than two pixels.
double InkWidth(const QFont& font) {
    return std::max(2.0, QFontMetricsF(font).height() / 6.0);
}

}  // namespace

QPointF WorldToCanvas(IntPoint world, QSize worldBitmapSize) {
    return {static_cast<double>(world.X) * worldBitmapSize.width() / SextantWorldWidth,
            static_cast<double>(world.Y) * worldBitmapSize.height() / SextantWorldHeight};
}

RouteOverlay BuildRouteOverlay(const HuntPlan& plan, QSize worldBitmapSize) {
    RouteOverlay overlay;
    const auto stops = static_cast<int>(plan.Stops.size());
    const auto runes = static_cast<int>(plan.Recalls.size());
    for (const RouteLeg& leg : plan.Travel.Legs) {
        if (leg.Stop < 0 || leg.Stop >= stops) continue;
        const QPointF at = WorldToCanvas(plan.Stops[leg.Stop].Location, worldBitmapSize);
        if (leg.Rune >= 0 && leg.Rune < runes)
            overlay.Legs.push_back(
                {WorldToCanvas(plan.Recalls[leg.Rune].Location, worldBitmapSize), at, true});
        else if (!overlay.Stops.empty())
            overlay.Legs.push_back({overlay.Stops.back(), at, false});
        overlay.Stops.push_back(at);
    }
    return overlay;
}

double RouteDotRadius(const QFont& font, int number) {
    const QFontMetricsF metrics(NumberFont(font));
    const double text = metrics.horizontalAdvance(QString::number(number));
    return std::max(metrics.ascent() * 0.5, text * 0.5) + InkWidth(font);
}

void DrawRouteOverlay(QPainter& painter, const RouteOverlay& overlay, const QFont& font) {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    const double ink = InkWidth(font);
    const QColor inkColour = QColor::fromRgb(RouteInkColour);
    const QColor haloColour = QColor::fromRgb(RouteHaloColour);

    // The halo goes under every line first, so a line crossing another keeps its ink whole.
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(haloColour, ink * 2.5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    for (const RouteOverlayLeg& leg : overlay.Legs) {
        if (leg.Recall) painter.drawEllipse(leg.From, ink * 2.5, ink * 2.5);
        painter.drawLine(leg.From, leg.To);
    }
    for (const RouteOverlayLeg& leg : overlay.Legs) {
        QPen pen(inkColour, ink, leg.Recall ? Qt::DashLine : Qt::SolidLine, Qt::FlatCap,
                 Qt::RoundJoin);
        painter.setPen(pen);
        painter.drawLine(leg.From, leg.To);
        if (leg.Recall) {
            pen.setStyle(Qt::SolidLine);
            painter.setPen(pen);
            painter.drawEllipse(leg.From, ink * 2.5, ink * 2.5);
        }
    }

    const QFont numberFont = NumberFont(font);
    painter.setFont(numberFont);
    for (std::size_t i = 0; i < overlay.Stops.size(); ++i) {
        const int number = static_cast<int>(i) + 1;
        const double radius = RouteDotRadius(font, number);
        const QPointF centre = overlay.Stops[i];
        painter.setPen(QPen(haloColour, std::max(1.0, ink / 2)));
        painter.setBrush(inkColour);
        painter.drawEllipse(centre, radius, radius);
        painter.setPen(haloColour);
        const QRectF box(centre.x() - radius, centre.y() - radius, radius * 2, radius * 2);
        painter.drawText(box, Qt::AlignCenter, QString::number(number));
    }
    painter.restore();
}

}  // namespace brix
