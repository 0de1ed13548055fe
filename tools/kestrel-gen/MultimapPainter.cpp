#include "MultimapPainter.h"

#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <cmath>
#include <numbers>

#include "Contours.h"
#include "Random.h"
#include "Terrain.h"

namespace brix::gen {

namespace {

constexpr double Scale = 2.0;  // multimap pixels per map pixel

std::vector<QPointF> ToMultimap(const std::vector<QPointF>& line) {
    std::vector<QPointF> out;
    out.reserve(line.size());
    for (QPointF p : line) out.push_back(p * Scale);
    return out;
}

void DrawLines(QPainter& painter, const std::vector<std::vector<QPointF>>& lines,
               double minLength) {
    for (const std::vector<QPointF>& line : lines) {
        if (line.size() < 2) continue;
        double length = 0.0;
        for (std::size_t i = 1; i < line.size(); ++i)
            length += std::hypot(line[i].x() - line[i - 1].x(), line[i].y() - line[i - 1].y());
        if (length < minLength) continue;
        std::vector<QPointF> m = ToMultimap(line);
        painter.drawPolyline(m.data(), static_cast<int>(m.size()));
    }
}

// Counts black pixels of the finished line work over any rectangle in constant time, so
// that symbols can keep clear of coasts, rivers, roads and towns.
class InkTable {
public:
    explicit InkTable(const QImage& image)
        : w_(image.width() + 1), sums_(static_cast<std::size_t>(w_) * (image.height() + 1), 0) {
        for (int y = 0; y < image.height(); ++y) {
            const QRgb* row = reinterpret_cast<const QRgb*>(image.constScanLine(y));
            std::uint32_t run = 0;
            for (int x = 0; x < image.width(); ++x) {
                run += qRed(row[x]) < 128 ? 1 : 0;
                sums_[static_cast<std::size_t>(y + 1) * w_ + x + 1] =
                    sums_[static_cast<std::size_t>(y) * w_ + x + 1] + run;
            }
        }
        h_ = image.height() + 1;
    }
    bool Clear(QRect r) const {
        r = r.intersected(QRect(0, 0, w_ - 1, h_ - 1));
        if (r.isEmpty()) return false;
        auto at = [&](int x, int y) { return sums_[static_cast<std::size_t>(y) * w_ + x]; };
        std::uint32_t n = at(r.right() + 1, r.bottom() + 1) - at(r.left(), r.bottom() + 1) -
                          at(r.right() + 1, r.top()) + at(r.left(), r.top());
        return n == 0;
    }

private:
    int w_;
    int h_ = 0;
    std::vector<std::uint32_t> sums_;
};

// Rectangles already taken by symbols.
class SymbolSpace {
public:
    SymbolSpace() : taken_(MultimapWidth, MultimapHeight, 0) {}
    bool Clear(QRect r) const {
        r = r.intersected(QRect(0, 0, MultimapWidth, MultimapHeight));
        if (r.isEmpty()) return false;
        for (int y = r.top(); y <= r.bottom(); ++y)
            for (int x = r.left(); x <= r.right(); ++x)
                if (taken_.At(x, y)) return false;
        return true;
    }
    void Take(QRect r) {
        r = r.intersected(QRect(0, 0, MultimapWidth, MultimapHeight));
        for (int y = r.top(); y <= r.bottom(); ++y)
            for (int x = r.left(); x <= r.right(); ++x) taken_.At(x, y) = 1;
    }

private:
    Grid<std::uint8_t> taken_;
};

double ElevationAt(const Terrain& t, double mx, double my) {
    return t.Elevation.Sample(mx / Scale, my / Scale);
}

Ground KindAt(const Terrain& t, double mx, double my) {
    int x = std::clamp(static_cast<int>(mx / Scale), 0, MapWidth - 1);
    int y = std::clamp(static_cast<int>(my / Scale), 0, MapHeight - 1);
    return t.Kind.At(x, y);
}

void DrawWater(const World& world, QPainter& painter) {
    const Terrain& t = world.Land;
    // Offshore ripples follow the coast at two distances, the outer one dotted.
    painter.setPen(QPen(Qt::black, 1.0, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    DrawLines(painter, TraceContours(t.LandDistance, 3.5f), 12.0);
    QPen dotted(Qt::black, 1.0, Qt::CustomDashLine, Qt::FlatCap, Qt::RoundJoin);
    dotted.setDashPattern({2.0, 3.0});
    painter.setPen(dotted);
    DrawLines(painter, TraceContours(t.LandDistance, 8.0f), 20.0);

    Grid<float> coast(MapWidth, MapHeight);
    for (std::size_t i = 0; i < coast.Cells.size(); ++i) {
        float h = t.Elevation.Cells[i];
        coast.Cells[i] =
            t.Kind.Cells[i] == Ground::Sea ? std::min(h, -0.0001f) : std::max(h, 0.0001f);
    }
    painter.setPen(QPen(Qt::black, 2.0, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    DrawLines(painter, TraceContours(coast, 0.0f), 0.0);

    // Lake shores: the ground against the lake's own surface, carried a few pixels out.
    Grid<float> surface(MapWidth, MapHeight, -100.0f);
    std::vector<std::uint8_t> dry(coast.Cells.size());
    for (std::size_t i = 0; i < coast.Cells.size(); ++i) {
        if (t.Kind.Cells[i] == Ground::Lake) surface.Cells[i] = t.WaterLevel.Cells[i];
        dry[i] = t.Kind.Cells[i] != Ground::Lake;
    }
    for (int round = 0; round < 3; ++round) {
        Grid<float> grown = surface;
        for (int y = 1; y < MapHeight - 1; ++y)
            for (int x = 1; x < MapWidth - 1; ++x)
                for (int dy = -1; dy <= 1; ++dy)
                    for (int dx = -1; dx <= 1; ++dx)
                        grown.At(x, y) = std::max(grown.At(x, y), surface.At(x + dx, y + dy));
        surface = grown;
    }
    Grid<float> shore(MapWidth, MapHeight, 1.0f);
    for (std::size_t i = 0; i < shore.Cells.size(); ++i)
        if (surface.Cells[i] > -50.0f) shore.Cells[i] = t.Elevation.Cells[i] - surface.Cells[i];
    painter.setPen(QPen(Qt::black, 2.0, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    DrawLines(painter, TraceContours(shore, -0.006f), 0.0);
    painter.setPen(QPen(Qt::black, 1.0, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    DrawLines(painter, TraceContours(DistanceTo(dry, MapWidth, MapHeight), 3.0f), 14.0);

    // Streams are single lines; broad rivers get two banks with water between them.
    auto widthAt = [](const River& river, std::size_t i) {
        return (river.Width[i] + river.Width[i + 1]) * Scale * 0.5;
    };
    for (const River& river : world.Rivers) {
        for (std::size_t i = 0; i + 1 < river.Points.size(); ++i) {
            double w = widthAt(river, i);
            double pen = w < 2.6 ? 1.0 : (w < 3.9 ? 2.0 : 4.0);
            painter.setPen(QPen(Qt::black, pen, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
            painter.drawLine(river.Points[i] * Scale, river.Points[i + 1] * Scale);
        }
    }
    painter.setPen(QPen(Qt::white, 2.0, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    for (const River& river : world.Rivers) {
        for (std::size_t i = 0; i + 1 < river.Points.size(); ++i) {
            if (widthAt(river, i) < 3.9) continue;
            // Leave the last stretch solid so the mouth still meets the coast line.
            if (i + 3 >= river.Points.size()) continue;
            painter.drawLine(river.Points[i] * Scale, river.Points[i + 1] * Scale);
        }
    }
}

void DrawRoads(const World& world, QPainter& painter) {
    QPen pen(Qt::black, 1.0, Qt::CustomDashLine, Qt::FlatCap, Qt::RoundJoin);
    pen.setDashPattern({5.0, 3.0});
    painter.setPen(pen);
    for (const Road& road : world.Roads) {
        std::vector<QPointF> m = ToMultimap(road.Points);
        painter.drawPolyline(m.data(), static_cast<int>(m.size()));
    }
}

void DrawTowns(const World& world, QPainter& painter) {
    for (const Town& town : world.Towns) {
        Random random(town.Look);
        QPointF c = town.Centre * Scale;
        double r = town.Radius * Scale + 3.0;
        // Clear the ground, then the wall with its towers, then the houses.
        painter.setPen(Qt::NoPen);
        painter.setBrush(Qt::white);
        painter.drawEllipse(c, r + 3.0, r + 3.0);
        const int corners = 9;
        QPolygonF wall;
        double turn = random.Range(0.0, 1.0);
        for (int k = 0; k < corners; ++k) {
            double a = (k + turn) * 2.0 * std::numbers::pi / corners;
            double rr = r * random.Range(0.88, 1.08);
            wall << QPointF(c.x() + rr * std::cos(a), c.y() + rr * std::sin(a));
        }
        painter.setBrush(Qt::NoBrush);
        painter.setPen(QPen(Qt::black, 2.0, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
        painter.drawPolygon(wall);
        painter.setPen(Qt::NoPen);
        painter.setBrush(Qt::black);
        for (int k = 0; k < corners; k += 2)
            painter.drawRect(QRectF(wall[k].x() - 2.0, wall[k].y() - 2.0, 4.0, 4.0));
        int houses = random.Int(5, 8);
        std::vector<QRectF> placed;
        for (int tries = 0; tries < 60 && static_cast<int>(placed.size()) < houses; ++tries) {
            double a = random.Range(0.0, 2.0 * std::numbers::pi);
            double d = random.Range(r * 0.25, r * 0.7);
            QRectF house(std::round(c.x() + d * std::cos(a)) - 1.0,
                         std::round(c.y() + d * std::sin(a)) - 1.0, random.Int(3, 4), 3.0);
            bool clear = true;
            for (const QRectF& other : placed)
                if (house.adjusted(-1, -1, 1, 1).intersects(other)) clear = false;
            if (!clear) continue;
            placed.push_back(house);
            painter.drawRect(house);
        }
        painter.setBrush(Qt::NoBrush);
    }
}

void DrawMountain(QPainter& painter, QPointF base, double halfWidth, double height,
                  Random& random) {
    double lean = random.Range(-0.18, 0.18) * halfWidth;
    QPointF left(base.x() - halfWidth, base.y());
    QPointF right(base.x() + halfWidth, base.y());
    QPointF peak(base.x() + lean, base.y() - height);
    QPointF shoulder =
        peak * 0.55 + right * 0.45 + QPointF(random.Range(0.0, 2.0), random.Range(-2.0, 1.0));
    painter.setPen(Qt::NoPen);
    painter.setBrush(Qt::white);
    painter.drawPolygon(QPolygonF({left, peak, shoulder, right}));
    painter.setBrush(Qt::NoBrush);
    painter.setPen(
        QPen(Qt::black, height > 24 ? 2.0 : 1.0, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.drawPolyline(QPolygonF({left, peak, shoulder, right}));
    // Shadow hatching on the eastern face.
    painter.setPen(QPen(Qt::black, 1.0, Qt::SolidLine, Qt::FlatCap));
    int strokes = std::max(2, static_cast<int>(halfWidth / 3.8));
    QPointF foot(base.x() + lean * 0.5, base.y());
    for (int k = 1; k <= strokes; ++k) {
        double f = static_cast<double>(k) / (strokes + 1);
        QPointF from = f < 0.5 ? peak + (shoulder - peak) * (f * 2.0)
                               : shoulder + (right - shoulder) * (f * 2.0 - 1.0);
        QPointF to = from + (foot - from) * 0.45;
        to.setY(std::min(to.y(), base.y() - 1.0));
        painter.drawLine(from, to);
    }
    // A spur down the sunlit face on larger peaks.
    if (height > 16) {
        QPointF spur = peak + (QPointF(base.x() - halfWidth * 0.3, base.y()) - peak) * 0.45;
        painter.drawLine(peak + (spur - peak) * 0.2, spur);
    }
}

void DrawHill(QPainter& painter, QPointF base, double halfWidth) {
    double height = halfWidth * 0.55;
    QPolygonF arc;
    for (int k = 0; k <= 12; ++k) {
        double a = std::numbers::pi * k / 12.0;
        arc << QPointF(base.x() - halfWidth * std::cos(a), base.y() - height * std::sin(a));
    }
    painter.setPen(Qt::NoPen);
    painter.setBrush(Qt::white);
    painter.drawPolygon(arc);
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(Qt::black, 1.0, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.drawPolyline(arc);
    for (int k = 0; k < 2; ++k) {
        double a = std::numbers::pi * (0.62 + 0.16 * k);
        QPointF from(base.x() - halfWidth * std::cos(a), base.y() - height * std::sin(a) + 1.5);
        painter.drawLine(from, from + QPointF(-1.5, height * 0.45));
    }
}

void DrawTree(QPainter& painter, QPointF base, bool conifer, double size) {
    painter.setBrush(Qt::white);
    painter.setPen(QPen(Qt::black, 1.0, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    if (conifer) {
        QPolygonF crown({QPointF(base.x(), base.y() - size * 2.4),
                         QPointF(base.x() + size, base.y() - 2.0),
                         QPointF(base.x() - size, base.y() - 2.0)});
        painter.drawPolygon(crown);
        painter.drawLine(QPointF(base.x(), base.y() - 2.0), QPointF(base.x(), base.y()));
    } else {
        QPointF centre(base.x(), base.y() - size - 2.5);
        painter.drawEllipse(centre, size, size);
        painter.drawLine(QPointF(base.x(), base.y() - 2.5), QPointF(base.x(), base.y()));
        // A dab of shade on the crown's eastern side.
        painter.drawPoint(QPointF(centre.x() + size * 0.45, centre.y() + size * 0.2));
    }
    painter.setBrush(Qt::NoBrush);
}

void DrawSymbols(const World& world, QPainter& painter, const InkTable& ink) {
    const Terrain& t = world.Land;
    Random random(world.Settings.Seed ^ 0x3A9Dull);
    SymbolSpace space;

    // Mountains, drawn from the back (north) forward so nearer peaks overlap farther ones.
    struct Peak {
        QPointF Base;
        double Half, Height;
    };
    std::vector<Peak> peaks;
    for (double y = 10; y < MultimapHeight - 4; y += 14) {
        for (double x = 10 + std::fmod(y * 0.37, 24.0); x < MultimapWidth - 10; x += 24) {
            QPointF p(x + random.Range(-5.0, 5.0), y + random.Range(-3.0, 3.0));
            double h = ElevationAt(t, p.x(), p.y());
            if (h < 0.55 || KindAt(t, p.x(), p.y()) != Ground::Land) continue;
            double k = SmoothStep(0.55, 0.95, h);
            if (random.Unit() > 0.55 + 0.45 * k) continue;
            double half = 9.0 + 14.0 * k + random.Range(-1.5, 1.5);
            double height = half * random.Range(1.0, 1.3);
            bool crowded = false;
            for (auto it = peaks.rbegin(); it != peaks.rend() && it->Base.y() > p.y() - 40; ++it)
                if (std::fabs(it->Base.x() - p.x()) < (it->Half + half) * 0.7 &&
                    std::fabs(it->Base.y() - p.y()) < 13)
                    crowded = true;
            if (crowded) continue;
            QRect footprint(static_cast<int>(p.x() - half) - 2,
                            static_cast<int>(p.y() - height) - 2, static_cast<int>(2 * half) + 4,
                            static_cast<int>(height) + 4);
            if (!ink.Clear(footprint)) continue;
            peaks.push_back({p, half, height});
        }
    }
    for (const Peak& peak : peaks) {
        DrawMountain(painter, peak.Base, peak.Half, peak.Height, random);
        space.Take(QRect(static_cast<int>(peak.Base.x() - peak.Half),
                         static_cast<int>(peak.Base.y() - peak.Height),
                         static_cast<int>(2 * peak.Half) + 1, static_cast<int>(peak.Height) + 2));
    }

    // Rolling hills.
    for (double y = 10; y < MultimapHeight - 4; y += 15) {
        for (double x = 10 + std::fmod(y * 0.61, 22.0); x < MultimapWidth - 10; x += 22) {
            QPointF p(x + random.Range(-4.0, 4.0), y + random.Range(-3.0, 3.0));
            double h = ElevationAt(t, p.x(), p.y());
            if (h < 0.34 || h >= 0.54 || KindAt(t, p.x(), p.y()) != Ground::Land) continue;
            if (t.Forest.Sample(p.x() / Scale, p.y() / Scale) > 0.45 || random.Unit() > 0.6)
                continue;
            double half = 6.0 + 6.0 * SmoothStep(0.34, 0.54, h);
            QRect footprint(static_cast<int>(p.x() - half) - 2,
                            static_cast<int>(p.y() - half * 0.6) - 2,
                            static_cast<int>(2 * half) + 4, static_cast<int>(half * 0.6) + 4);
            if (!ink.Clear(footprint) || !space.Clear(footprint)) continue;
            DrawHill(painter, p, half);
            space.Take(footprint);
        }
    }

    // Woods: many small trees, pines on the heights.
    for (double y = 6; y < MultimapHeight - 4; y += 8) {
        for (double x = 6 + std::fmod(y * 0.5, 9.0); x < MultimapWidth - 6; x += 9) {
            QPointF p(x + random.Range(-2.5, 2.5), y + random.Range(-2.0, 2.0));
            double f = t.Forest.Sample(p.x() / Scale, p.y() / Scale);
            if (f < 0.3 || random.Unit() > SmoothStep(0.3, 0.75, f)) continue;
            if (KindAt(t, p.x(), p.y()) != Ground::Land) continue;
            double h = ElevationAt(t, p.x(), p.y());
            bool conifer = h > 0.40 || random.Unit() < 0.2;
            double size = random.Range(2.5, 3.6);
            QRect footprint(static_cast<int>(p.x() - size) - 1,
                            static_cast<int>(p.y() - size * 2.5) - 1,
                            static_cast<int>(2 * size) + 3, static_cast<int>(size * 2.5) + 2);
            if (!ink.Clear(footprint.adjusted(-1, -1, 1, 1)) || !space.Clear(footprint)) continue;
            DrawTree(painter, p, conifer, size);
            space.Take(footprint);
        }
    }

    // Tufts of grass on the open lowlands.
    painter.setPen(QPen(Qt::black, 1.0));
    for (double y = 12; y < MultimapHeight - 6; y += 24) {
        for (double x = 12 + std::fmod(y * 0.73, 30.0); x < MultimapWidth - 12; x += 30) {
            QPointF p(x + random.Range(-8.0, 8.0), y + random.Range(-6.0, 6.0));
            double h = ElevationAt(t, p.x(), p.y());
            if (h > 0.33 || KindAt(t, p.x(), p.y()) != Ground::Land || random.Unit() > 0.45)
                continue;
            if (t.Forest.Sample(p.x() / Scale, p.y() / Scale) > 0.15) continue;
            if (t.SeaDistance.Sample(p.x() / Scale, p.y() / Scale) < 5.0) continue;
            QRect footprint(static_cast<int>(p.x()) - 5, static_cast<int>(p.y()) - 5, 11, 7);
            if (!ink.Clear(footprint) || !space.Clear(footprint)) continue;
            QPointF b(std::round(p.x()), std::round(p.y()));
            painter.drawLine(b + QPointF(-3, 0), b + QPointF(-4, -3));
            painter.drawLine(b, b + QPointF(0, -4));
            painter.drawLine(b + QPointF(3, 0), b + QPointF(4, -3));
            space.Take(footprint);
        }
    }

    // Swells out in the open sea.
    for (double y = 40; y < MultimapHeight - 40; y += 70) {
        for (double x = 40 + std::fmod(y * 0.9, 95.0); x < MultimapWidth - 40; x += 95) {
            QPointF p(x + random.Range(-25.0, 25.0), y + random.Range(-18.0, 18.0));
            if (t.LandDistance.Sample(p.x() / Scale, p.y() / Scale) < 22.0 || random.Unit() > 0.3)
                continue;
            QRect footprint(static_cast<int>(p.x()) - 12, static_cast<int>(p.y()) - 6, 25, 10);
            if (!ink.Clear(footprint)) continue;
            QPainterPath wave;
            wave.moveTo(p + QPointF(-10, 0));
            wave.quadTo(p + QPointF(-5, -5), p);
            wave.quadTo(p + QPointF(5, 5), p + QPointF(10, 0));
            painter.setPen(QPen(Qt::black, 1.0));
            painter.drawPath(wave);
        }
    }
}

// The compass rose of the overview, in ink: shaded halves solid black.
void DrawCompass(const World& world, QPainter& painter) {
    double room = 0.0;
    QPointF c = FindOpenSea(world, room) * Scale;
    if (room < 40.0) return;
    const double radius = std::min(42.0, room - 14.0) * Scale;
    painter.setPen(Qt::NoPen);
    painter.setBrush(Qt::white);
    painter.drawEllipse(c, radius + 6.0, radius + 6.0);
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(Qt::black, 1.0));
    painter.drawEllipse(c, radius * 0.62, radius * 0.62);
    painter.drawEllipse(c, radius * 0.56, radius * 0.56);
    for (int k = 0; k < 8; ++k) {
        double a = k * std::numbers::pi / 4.0 - std::numbers::pi / 2.0;
        double length = (k % 2 == 0) ? radius : radius * 0.55;
        double width = (k % 2 == 0) ? radius * 0.16 : radius * 0.12;
        QPointF tip = c + QPointF(std::cos(a), std::sin(a)) * length;
        QPointF side(std::cos(a + std::numbers::pi / 2.0) * width,
                     std::sin(a + std::numbers::pi / 2.0) * width);
        painter.setPen(QPen(Qt::black, 1.0));
        painter.setBrush(Qt::white);
        painter.drawPolygon(QPolygonF({c, c + side, tip}));
        painter.setBrush(Qt::black);
        painter.drawPolygon(QPolygonF({c, c - side, tip}));
    }
    const double s = radius * 0.13;
    QPointF n = c + QPointF(0, -radius - s * 1.9);
    painter.setPen(QPen(Qt::black, 2.0, Qt::SolidLine, Qt::FlatCap, Qt::MiterJoin));
    painter.setBrush(Qt::NoBrush);
    painter.drawPolyline(QPolygonF(
        {n + QPointF(-s, s), n + QPointF(-s, -s), n + QPointF(s, s), n + QPointF(s, -s)}));
}

}  // namespace

QImage DrawMultimap(const World& world) {
    QImage image(MultimapWidth, MultimapHeight, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing, false);
    DrawWater(world, painter);
    DrawRoads(world, painter);
    DrawTowns(world, painter);
    DrawCompass(world, painter);
    painter.end();
    InkTable ink(image);
    painter.begin(&image);
    painter.setRenderHint(QPainter::Antialiasing, false);
    DrawSymbols(world, painter, ink);
    painter.end();
    return image;
}

}  // namespace brix::gen
