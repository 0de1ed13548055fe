#include "Borders.h"

#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <cstdint>

namespace brix::gen {

namespace {

// Pixel corners run from (0, 0) to (MapWidth, MapHeight). A horizontal edge (x, y) joins corner
// (x, y) to (x + 1, y) and separates pixel (x, y − 1) from (x, y); a vertical edge (x, y) joins
// (x, y) to (x, y + 1) and separates pixel (x − 1, y) from (x, y).
constexpr int CornerWidth = MapWidth + 1;
constexpr int CornerHeight = MapHeight + 1;

class BorderEdges {
public:
    explicit BorderEdges(const Grid<int>& regionOf)
        : horizontal_(static_cast<std::size_t>(CornerWidth) * CornerHeight, 0),
          vertical_(horizontal_.size(), 0) {
        auto differ = [&](int ax, int ay, int bx, int by) {
            const int a = regionOf.At(ax, ay), b = regionOf.At(bx, by);
            return a != 0 && b != 0 && a != b;
        };
        for (int y = 1; y < MapHeight; ++y)
            for (int x = 0; x < MapWidth; ++x) horizontal_[Id(x, y)] = differ(x, y - 1, x, y);
        for (int y = 0; y < MapHeight; ++y)
            for (int x = 1; x < MapWidth; ++x) vertical_[Id(x, y)] = differ(x - 1, y, x, y);
    }

    static int Id(int x, int y) { return y * CornerWidth + x; }

    // The unused edges at a corner as the corners they lead to.
    int Neighbours(int x, int y, QPoint out[4]) const {
        int n = 0;
        if (x < MapWidth && horizontal_[Id(x, y)] == 1) out[n++] = QPoint(x + 1, y);
        if (x > 0 && horizontal_[Id(x - 1, y)] == 1) out[n++] = QPoint(x - 1, y);
        if (y < MapHeight && vertical_[Id(x, y)] == 1) out[n++] = QPoint(x, y + 1);
        if (y > 0 && vertical_[Id(x, y - 1)] == 1) out[n++] = QPoint(x, y - 1);
        return n;
    }

    // Edges at a corner, used or not.
    int Degree(int x, int y) const {
        int n = 0;
        if (x < MapWidth) n += horizontal_[Id(x, y)] != 0;
        if (x > 0) n += horizontal_[Id(x - 1, y)] != 0;
        if (y < MapHeight) n += vertical_[Id(x, y)] != 0;
        if (y > 0) n += vertical_[Id(x, y - 1)] != 0;
        return n;
    }

    void Use(QPoint a, QPoint b) {
        if (a.y() == b.y())
            horizontal_[Id(std::min(a.x(), b.x()), a.y())] = 2;
        else
            vertical_[Id(a.x(), std::min(a.y(), b.y()))] = 2;
    }

    // Follows unused edges from `start` through corners where exactly two edges meet.
    std::vector<QPoint> Walk(QPoint start) {
        std::vector<QPoint> chain{start};
        QPoint at = start;
        QPoint next[4];
        while (Neighbours(at.x(), at.y(), next) > 0) {
            Use(at, next[0]);
            at = next[0];
            chain.push_back(at);
            if (at == start || Degree(at.x(), at.y()) != 2) break;
        }
        return chain;
    }

private:
    std::vector<std::uint8_t> horizontal_;  // 0 no border, 1 border, 2 already in a chain
    std::vector<std::uint8_t> vertical_;
};

// Two rounds of corner cutting turn pixel steps into slopes; the ends of an open chain stay
// where they are so that chains still meet at junctions and at the coast.
std::vector<QPointF> Smooth(const std::vector<QPoint>& corners) {
    std::vector<QPointF> line(corners.begin(), corners.end());
    const bool closed = line.size() > 3 && line.front() == line.back();
    for (int round = 0; round < 2 && line.size() > 2; ++round) {
        std::vector<QPointF> cut;
        if (!closed) cut.push_back(line.front());
        for (std::size_t i = 0; i + 1 < line.size(); ++i) {
            cut.push_back(line[i] * 0.75 + line[i + 1] * 0.25);
            cut.push_back(line[i] * 0.25 + line[i + 1] * 0.75);
        }
        if (closed)
            cut.push_back(cut.front());
        else
            cut.push_back(line.back());
        line = std::move(cut);
    }
    return line;
}

}  // namespace

std::vector<std::vector<QPointF>> RegionBorderLines(const World& world) {
    BorderEdges edges(world.RegionOf);
    std::vector<std::vector<QPointF>> lines;
    QPoint next[4];
    // Open chains first, from every corner where a chain ends or branches, then the closed
    // loops that are left (a region wholly inside another).
    for (int y = 0; y < CornerHeight; ++y)
        for (int x = 0; x < CornerWidth; ++x) {
            const int degree = edges.Degree(x, y);
            if (degree == 0 || degree == 2) continue;
            while (edges.Neighbours(x, y, next) > 0) lines.push_back(Smooth(edges.Walk({x, y})));
        }
    for (int y = 0; y < CornerHeight; ++y)
        for (int x = 0; x < CornerWidth; ++x)
            while (edges.Neighbours(x, y, next) > 0) lines.push_back(Smooth(edges.Walk({x, y})));
    return lines;
}

void PaintRegionBorders(const World& world, QImage& image) {
    // The dashes are drawn as coverage first, so that each pixel can then be darkened in its
    // own colour and water can be left alone.
    QImage ink(image.size(), QImage::Format_ARGB32_Premultiplied);
    ink.fill(Qt::transparent);
    QPainter painter(&ink);
    painter.setRenderHint(QPainter::Antialiasing, true);
    QPen pen(QColor(0, 0, 0), 1.4, Qt::CustomDashLine, Qt::FlatCap, Qt::RoundJoin);
    // In pen widths: dashes of about 4 pixels, gaps of about 3.
    pen.setDashPattern({3.0, 2.0});
    painter.setPen(pen);
    for (const std::vector<QPointF>& line : RegionBorderLines(world)) {
        if (line.size() < 2) continue;
        QPainterPath path(line.front());
        for (std::size_t i = 1; i < line.size(); ++i) path.lineTo(line[i]);
        painter.drawPath(path);
    }
    painter.end();

    for (int y = 0; y < image.height(); ++y) {
        const QRgb* cover = reinterpret_cast<const QRgb*>(ink.constScanLine(y));
        QRgb* row = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            const int alpha = qAlpha(cover[x]);
            if (alpha == 0 || world.Land.Kind.At(x, y) != Ground::Land) continue;
            // Full cover keeps 40 % of the land's brightness: dark enough to read through the
            // region tint, still the land's own hue.
            const int keep = 255 - alpha * 60 / 100;
            const QRgb old = row[x];
            row[x] =
                qRgb(qRed(old) * keep / 255, qGreen(old) * keep / 255, qBlue(old) * keep / 255);
        }
    }
}

}  // namespace brix::gen
