#include "WorldPainter.h"

#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <cmath>
#include <numbers>

#include "Borders.h"
#include "Noise.h"
#include "Random.h"
#include "Terrain.h"

namespace brix::gen {

namespace {

struct Colour {
    double R, G, B;
};

Colour Mix(Colour a, Colour b, double t) {
    return {a.R + (b.R - a.R) * t, a.G + (b.G - a.G) * t, a.B + (b.B - a.B) * t};
}

Colour Scale(Colour a, double k) {
    return {a.R * k, a.G * k, a.B * k};
}

QRgb ToRgb(Colour c) {
    auto clamp = [](double v) { return std::clamp(static_cast<int>(std::lround(v)), 0, 255); };
    return qRgb(clamp(c.R), clamp(c.G), clamp(c.B));
}

struct Stop {
    double At;
    Colour Value;
};

Colour Ramp(const Stop* stops, int count, double x) {
    if (x <= stops[0].At) return stops[0].Value;
    for (int i = 1; i < count; ++i) {
        if (x <= stops[i].At) {
            double t = (x - stops[i - 1].At) / (stops[i].At - stops[i - 1].At);
            t = t * t * (3 - 2 * t);
            return Mix(stops[i - 1].Value, stops[i].Value, t);
        }
    }
    return stops[count - 1].Value;
}

const Stop LandStops[] = {
    {0.00, {200, 190, 132}}, {0.04, {132, 160, 86}},  {0.18, {146, 166, 90}},
    {0.32, {158, 158, 98}},  {0.46, {150, 134, 96}},  {0.58, {134, 118, 100}},
    {0.70, {148, 138, 130}}, {0.80, {176, 170, 166}},
};

const Colour DeepSea{24, 52, 92};
const Colour OpenSea{36, 84, 128};
const Colour ShelfSea{62, 128, 152};
const Colour Shoal{112, 172, 170};
const Colour LakeWater{58, 112, 146};
const Colour LakeShallow{96, 150, 160};
const Colour Sand{216, 200, 148};
const Colour DryGrass{184, 174, 108};
const Colour Woods{58, 96, 50};
const Colour DeepWoods{38, 72, 40};
const Colour Snow{240, 242, 246};

double Elev(const Terrain& t, int x, int y) {
    x = std::clamp(x, 0, MapWidth - 1);
    y = std::clamp(y, 0, MapHeight - 1);
    return t.Elevation.At(x, y);
}

void PaintGround(const World& world, QImage& image) {
    const Terrain& t = world.Land;
    Random random(world.Settings.Seed ^ 0x5EA5ull);
    Noise grain(random.Next()), wash(random.Next()), canopy(random.Next()), swell(random.Next());
    for (int y = 0; y < MapHeight; ++y) {
        QRgb* row = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < MapWidth; ++x) {
            double h = t.Elevation.At(x, y);
            Ground kind = t.Kind.At(x, y);
            // Relief: light from the north-west, heights exaggerated so hills read.
            double gx = (Elev(t, x + 1, y) - Elev(t, x - 1, y)) * 0.5;
            double gy = (Elev(t, x, y + 1) - Elev(t, x, y - 1)) * 0.5;
            double relief = kind == Ground::Sea ? 0.0 : 1.0;
            double nx = -gx * 90.0 * relief, ny = -gy * 90.0 * relief, nz = 1.0;
            double len = std::sqrt(nx * nx + ny * ny + nz * nz);
            double light = (nx * -0.55 + ny * -0.65 + nz * 0.52) / len;
            double shade = 0.62 + 0.72 * light;  // 1.0 on flat ground

            double texture = 1.0 + 0.022 * grain.At(x / 1.7, y / 1.7) +
                             0.035 * wash.Fractal(x / 45.0, y / 45.0, 3);
            Colour land;
            {
                double e = std::max(h, 0.0);
                land = Ramp(LandStops, 8, e);
                double m = t.Moisture.At(x, y);
                double dry = (1.0 - SmoothStep(0.25, 0.55, m)) * (1.0 - SmoothStep(0.3, 0.45, e));
                land = Mix(land, DryGrass, 0.55 * dry);
                double f = t.Forest.At(x, y);
                if (f > 0.0) {
                    double c = canopy.Fractal(x / 3.2, y / 3.2, 2);
                    Colour trees = Mix(Woods, DeepWoods, SmoothStep(-0.3, 0.5, c));
                    land = Mix(land, trees, f * 0.92);
                    // Woods darken a little along their edges, like a brush stroke's rim.
                    land = Scale(land, 1.0 - 0.35 * f * (1.0 - f));
                }
                double snow = SmoothStep(0.76, 0.86, e + 0.04 * wash.At(x / 9.0, y / 9.0));
                snow *= 1.0 - 0.6 * SmoothStep(0.010, 0.025, std::hypot(gx, gy));
                land = Mix(land, Snow, snow);
                double beach = 1.0 - SmoothStep(1.0, 3.2, t.SeaDistance.At(x, y));
                beach *= 1.0 - SmoothStep(0.05, 0.12, e);
                land = Mix(land, Sand, beach * 0.85);
                land = Scale(land, shade * texture);
            }
            Colour water;
            if (kind == Ground::Lake) {
                double depth = t.WaterLevel.At(x, y) - h;
                water = Mix(LakeShallow, LakeWater, SmoothStep(0.0, 0.05, depth));
                water = Scale(water, 1.0 + 0.02 * grain.At(x / 2.0, y / 2.0));
                row[x] = ToRgb(water);
                continue;
            }
            double d = t.LandDistance.At(x, y);
            double depth = std::max(-h, 0.0);
            water = Mix(OpenSea, DeepSea, SmoothStep(0.05, 0.35, depth));
            water = Mix(water, ShelfSea, std::exp(-d / 18.0) * 0.85);
            water = Mix(water, Shoal, std::exp(-d / 4.0) * 0.75);
            water = Scale(water, 1.0 + 0.025 * swell.Fractal(x / 6.0, y / 2.5, 2) *
                                           (1.0 - std::exp(-d / 6.0)));
            // Two faint rings of surf follow the coast, as a map painter would brush them.
            double ring = 0.16 * std::exp(-(d - 5.0) * (d - 5.0) / 0.9) +
                          0.08 * std::exp(-(d - 10.0) * (d - 10.0) / 1.2);
            water = Mix(water, Colour{196, 226, 222}, ring);
            // The open sea darkens towards the edges of the sheet.
            double edge = std::min({x, y, MapWidth - 1 - x, MapHeight - 1 - y});
            water = Scale(water, 0.9 + 0.1 * SmoothStep(0.0, 90.0, edge));
            // A dark wet edge right against the shore.
            water = Scale(water, 1.0 - 0.28 * std::exp(-(d - 1.0) * (d - 1.0) / 0.5));
            if (kind == Ground::Land) {
                row[x] = ToRgb(land);
            } else {
                // Soft coast: blend by how far the shore line lies inside this pixel.
                double slope = std::max(std::hypot(gx, gy), 1e-4);
                double cover = std::clamp(0.5 + h / slope, 0.0, 1.0);
                row[x] = ToRgb(Mix(water, Mix(Sand, land, 0.3), cover * 0.8));
            }
        }
    }
}

void PaintRivers(const World& world, QPainter& painter) {
    painter.setRenderHint(QPainter::Antialiasing, true);
    for (const River& river : world.Rivers) {
        for (std::size_t i = 0; i + 1 < river.Points.size(); ++i) {
            double w = (river.Width[i] + river.Width[i + 1]) * 0.5;
            QPen pen(QColor(52, 104, 142), w, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
            painter.setPen(pen);
            painter.drawLine(river.Points[i], river.Points[i + 1]);
        }
    }
}

void PaintRoads(const World& world, QPainter& painter) {
    painter.setRenderHint(QPainter::Antialiasing, true);
    for (const Road& road : world.Roads) {
        // A dusty track: a darker verge under a pale crown.
        painter.setPen(
            QPen(QColor(96, 74, 46, 150), 1.9, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        painter.drawPolyline(road.Points.data(), static_cast<int>(road.Points.size()));
        painter.setPen(
            QPen(QColor(214, 190, 140, 210), 0.8, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        painter.drawPolyline(road.Points.data(), static_cast<int>(road.Points.size()));
    }
}

// Trodden ground around each town, on land only.
void PaintTownGround(const World& world, QImage& image) {
    for (const Town& town : world.Towns) {
        QPointF c = town.Centre;
        const double reach = town.Radius + 5.5;
        for (int y = static_cast<int>(c.y() - reach); y <= c.y() + reach; ++y) {
            for (int x = static_cast<int>(c.x() - reach); x <= c.x() + reach; ++x) {
                if (!world.Land.Kind.Inside(x, y) || world.Land.Kind.At(x, y) == Ground::Sea)
                    continue;
                double d = std::hypot(x + 0.5 - c.x(), y + 0.5 - c.y()) / reach;
                if (d >= 1.0) continue;
                double alpha = 0.9 * (1.0 - SmoothStep(0.55, 1.0, d));
                QRgb* pixel = reinterpret_cast<QRgb*>(image.scanLine(y)) + x;
                QRgb old = *pixel;
                *pixel = qRgb(static_cast<int>(qRed(old) + (200 - qRed(old)) * alpha),
                              static_cast<int>(qGreen(old) + (181 - qGreen(old)) * alpha),
                              static_cast<int>(qBlue(old) + (138 - qBlue(old)) * alpha));
            }
        }
    }
}

void PaintTowns(const World& world, QPainter& painter) {
    painter.setRenderHint(QPainter::Antialiasing, true);
    for (const Town& town : world.Towns) {
        Random random(town.Look);
        QPointF c = town.Centre;
        double r = town.Radius + 1.5;
        // A stone wall and red roofs packed inside it.
        painter.setPen(QPen(QColor(62, 52, 44), 2.4));
        painter.drawEllipse(c, r, r);
        painter.setPen(QPen(QColor(226, 218, 198), 1.1));
        painter.drawEllipse(c, r, r);
        int houses = random.Int(8, 13);
        for (int k = 0; k < houses; ++k) {
            double a = random.Range(0.0, 6.2832);
            double d = random.Range(0.0, r * 0.68);
            QPointF p(c.x() + d * std::cos(a), c.y() + d * std::sin(a));
            QColor roof = random.Unit() < 0.7 ? QColor(178, 62, 40) : QColor(120, 96, 84);
            painter.setPen(QPen(QColor(70, 36, 26), 0.6));
            painter.setBrush(roof);
            painter.drawRect(QRectF(p.x() - 1.1, p.y() - 0.9, 2.2, 1.8));
        }
        // The keep or temple at the centre.
        painter.setPen(QPen(QColor(50, 40, 34), 0.7));
        painter.setBrush(QColor(150, 140, 128));
        painter.drawRect(QRectF(c.x() - 1.3, c.y() - 1.3, 2.6, 2.6));
        painter.setBrush(Qt::NoBrush);
    }
}

// An eight-pointed compass rose in the open sea, north up, with its "N" drawn in strokes.
void PaintCompass(const World& world, QPainter& painter) {
    double room = 0.0;
    QPointF c = FindOpenSea(world, room);
    if (room < 40.0) return;
    const double radius = std::min(42.0, room - 14.0);
    painter.setRenderHint(QPainter::Antialiasing, true);
    const QColor light(236, 222, 184, 235), dark(112, 82, 52, 235), ink(58, 42, 28, 220);
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(ink, 1.0));
    painter.drawEllipse(c, radius * 0.62, radius * 0.62);
    painter.drawEllipse(c, radius * 0.56, radius * 0.56);
    for (int k = 0; k < 8; ++k) {
        double a = k * std::numbers::pi / 4.0 - std::numbers::pi / 2.0;
        double length = (k % 2 == 0) ? radius : radius * 0.55;
        double width = (k % 2 == 0) ? radius * 0.16 : radius * 0.12;
        QPointF tip = c + QPointF(std::cos(a), std::sin(a)) * length;
        QPointF side(std::cos(a + std::numbers::pi / 2.0) * width,
                     std::sin(a + std::numbers::pi / 2.0) * width);
        // Each point is split along its spine into a lit half and a shaded half.
        painter.setPen(QPen(ink, 0.8));
        painter.setBrush(light);
        painter.drawPolygon(QPolygonF({c, c + side, tip}));
        painter.setBrush(dark);
        painter.drawPolygon(QPolygonF({c, c - side, tip}));
    }
    painter.setBrush(ink);
    painter.drawEllipse(c, 1.6, 1.6);
    const double s = radius * 0.13;
    QPointF n = c + QPointF(0, -radius - s * 1.9);
    painter.setPen(QPen(ink, 1.4, Qt::SolidLine, Qt::FlatCap, Qt::MiterJoin));
    painter.setBrush(Qt::NoBrush);
    painter.drawPolyline(QPolygonF(
        {n + QPointF(-s, s), n + QPointF(-s, -s), n + QPointF(s, s), n + QPointF(s, -s)}));
}

}  // namespace

QImage PaintWorld(const World& world, bool borders) {
    QImage image(MapWidth, MapHeight, QImage::Format_RGB32);
    PaintGround(world, image);
    PaintTownGround(world, image);
    // Under the rivers and roads, as an atlas prints its borders beneath what they follow.
    if (borders) PaintRegionBorders(world, image);
    QPainter painter(&image);
    PaintRivers(world, painter);
    PaintRoads(world, painter);
    PaintTowns(world, painter);
    PaintCompass(world, painter);
    painter.end();
    return image;
}

}  // namespace brix::gen
