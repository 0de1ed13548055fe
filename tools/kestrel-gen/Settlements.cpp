#include "Settlements.h"

#include <QPainter>

#include <algorithm>
#include <cmath>
#include <queue>

#include "Random.h"
#include "Terrain.h"

namespace brix::gen {

std::vector<std::uint8_t> RasterizeLines(const std::vector<std::vector<QPointF>>& lines,
                                         double reach) {
    QImage scratch(MapWidth, MapHeight, QImage::Format_RGB32);
    scratch.fill(Qt::black);
    QPainter painter(&scratch);
    painter.setPen(
        QPen(Qt::white, std::max(1.0, reach * 2.0), Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    for (const std::vector<QPointF>& line : lines)
        if (line.size() >= 2) painter.drawPolyline(line.data(), static_cast<int>(line.size()));
    painter.end();
    std::vector<std::uint8_t> marked(static_cast<std::size_t>(MapWidth) * MapHeight);
    for (int y = 0; y < MapHeight; ++y) {
        const QRgb* row = reinterpret_cast<const QRgb*>(scratch.constScanLine(y));
        for (int x = 0; x < MapWidth; ++x) marked[y * MapWidth + x] = qRed(row[x]) > 127;
    }
    return marked;
}

namespace {

constexpr int Cell = 4;  // road search grid, in map pixels
constexpr int CellsX = MapWidth / Cell;
constexpr int CellsY = MapHeight / Cell;

std::vector<double> RoadCosts(const World& world, const std::vector<std::uint8_t>& rivers) {
    const Terrain& t = world.Land;
    std::vector<double> cost(CellsX * CellsY, -1.0);
    for (int cy = 0; cy < CellsY; ++cy) {
        for (int cx = 0; cx < CellsX; ++cx) {
            int x = cx * Cell + Cell / 2, y = cy * Cell + Cell / 2;
            if (t.Kind.At(x, y) != Ground::Land || t.SeaDistance.At(x, y) < 2.0f) continue;
            double h = t.Elevation.At(x, y);
            double gx = t.Elevation.At(std::min(x + 2, MapWidth - 1), y) - t.Elevation.At(x - 2, y);
            double gy =
                t.Elevation.At(x, std::min(y + 2, MapHeight - 1)) - t.Elevation.At(x, y - 2);
            double slope = std::hypot(gx, gy) * 0.25;
            double c =
                1.0 + 220.0 * slope + 1.2 * t.Forest.At(x, y) + 6.0 * SmoothStep(0.5, 0.72, h);
            bool river = false;
            for (int dy = 0; dy < Cell && !river; ++dy)
                for (int dx = 0; dx < Cell && !river; ++dx)
                    river = rivers[(cy * Cell + dy) * MapWidth + cx * Cell + dx];
            if (river) c += 10.0;  // bridges are dear: roads cross rivers seldom
            cost[cy * CellsX + cx] = c;
        }
    }
    return cost;
}

std::vector<QPointF> FindRoute(const std::vector<double>& cost, QPointF from, QPointF to) {
    auto cellOf = [](QPointF p) {
        int cx = std::clamp(static_cast<int>(p.x()) / Cell, 0, CellsX - 1);
        int cy = std::clamp(static_cast<int>(p.y()) / Cell, 0, CellsY - 1);
        return cy * CellsX + cx;
    };
    int start = cellOf(from), goal = cellOf(to);
    std::vector<double> best(cost.size(), 1e30);
    std::vector<int> previous(cost.size(), -1);
    using Entry = std::pair<double, int>;
    std::priority_queue<Entry, std::vector<Entry>, std::greater<Entry>> open;
    auto estimate = [&](int c) {
        return std::hypot(c % CellsX - goal % CellsX, c / CellsX - goal / CellsX);
    };
    best[start] = 0.0;
    open.push({estimate(start), start});
    static const int dx[8] = {1, -1, 0, 0, 1, 1, -1, -1};
    static const int dy[8] = {0, 0, 1, -1, 1, -1, 1, -1};
    while (!open.empty()) {
        auto [f, c] = open.top();
        open.pop();
        if (c == goal) break;
        if (f > best[c] + estimate(c) + 1e-9) continue;
        int x = c % CellsX, y = c / CellsX;
        for (int d = 0; d < 8; ++d) {
            int nx = x + dx[d], ny = y + dy[d];
            if (nx < 0 || ny < 0 || nx >= CellsX || ny >= CellsY) continue;
            int n = ny * CellsX + nx;
            // Town cells may sit on awkward ground; let the route reach them anyway.
            double step = cost[n] < 0.0 ? (n == goal ? 1.0 : -1.0) : cost[n];
            if (step < 0.0) continue;
            double g = best[c] + step * (d < 4 ? 1.0 : 1.41421356);
            if (g < best[n]) {
                best[n] = g;
                previous[n] = c;
                open.push({g + estimate(n), n});
            }
        }
    }
    std::vector<QPointF> route;
    if (previous[goal] < 0) return route;
    for (int c = goal; c >= 0; c = previous[c])
        route.push_back(
            QPointF((c % CellsX) * Cell + Cell / 2.0, (c / CellsX) * Cell + Cell / 2.0));
    std::reverse(route.begin(), route.end());
    route.front() = from;
    route.back() = to;
    return route;
}

// Drops points that lie within `tolerance` of the line through their neighbours, which turns
// the search grid's staircase into straight runs at any angle.
void Simplify(const std::vector<QPointF>& points, std::size_t first, std::size_t last,
              double tolerance, std::vector<QPointF>& out) {
    QPointF a = points[first], b = points[last];
    double length = std::hypot(b.x() - a.x(), b.y() - a.y());
    double worst = -1.0;
    std::size_t at = first;
    for (std::size_t i = first + 1; i < last; ++i) {
        QPointF p = points[i];
        double d =
            length > 0.0
                ? std::fabs((b.x() - a.x()) * (a.y() - p.y()) - (a.x() - p.x()) * (b.y() - a.y())) /
                      length
                : std::hypot(p.x() - a.x(), p.y() - a.y());
        if (d > worst) {
            worst = d;
            at = i;
        }
    }
    if (worst > tolerance) {
        Simplify(points, first, at, tolerance, out);
        Simplify(points, at, last, tolerance, out);
    } else {
        out.push_back(b);
    }
}

std::vector<QPointF> Smooth(const std::vector<QPointF>& points, int rounds) {
    std::vector<QPointF> current = points;
    for (int r = 0; r < rounds && current.size() > 2; ++r) {
        std::vector<QPointF> next;
        next.push_back(current.front());
        for (std::size_t i = 0; i + 1 < current.size(); ++i) {
            if (i > 0) next.push_back(current[i] * 0.75 + current[i + 1] * 0.25);
            if (i + 2 < current.size()) next.push_back(current[i] * 0.25 + current[i + 1] * 0.75);
        }
        next.push_back(current.back());
        current.swap(next);
    }
    return current;
}

}  // namespace

void FoundTowns(World& world, Random& random, int count) {
    const Terrain& t = world.Land;
    std::vector<std::vector<QPointF>> riverLines;
    for (const River& r : world.Rivers) riverLines.push_back(r.Points);
    std::vector<std::uint8_t> nearRiver = RasterizeLines(riverLines, 7.0);
    std::vector<std::uint8_t> onRiver = RasterizeLines(riverLines, 3.0);

    struct Site {
        double Score;
        QPoint At;
        bool Port;
    };
    std::vector<Site> sites;
    for (int y = 12; y < MapHeight - 12; y += 5) {
        for (int x = 12; x < MapWidth - 12; x += 5) {
            if (t.Kind.At(x, y) != Ground::Land) continue;
            double h = t.Elevation.At(x, y);
            double sea = t.SeaDistance.At(x, y);
            // Walls and fields stay on dry land, a little back from the shore.
            if (h > 0.30 || sea < 9.0 || t.Forest.At(x, y) > 0.7) continue;
            bool clear = true;
            for (int dy = -8; dy <= 8 && clear; ++dy)
                for (int dx = -8; dx <= 8 && clear; ++dx)
                    if (t.Kind.At(x + dx, y + dy) != Ground::Land ||
                        onRiver[(y + dy) * MapWidth + x + dx])
                        clear = false;
            if (!clear) continue;
            double score = random.Range(0.0, 0.5);
            bool port = sea < 16.0;
            if (port) score += 1.0;
            if (nearRiver[y * MapWidth + x]) score += 0.9;
            score -= 2.0 * h;
            sites.push_back({score, QPoint(x, y), port});
        }
    }
    std::stable_sort(sites.begin(), sites.end(),
                     [](const Site& a, const Site& b) { return a.Score > b.Score; });
    auto take = [&](const Site& s) {
        for (const Town& town : world.Towns)
            if (std::hypot(town.Centre.x() - s.At.x(), town.Centre.y() - s.At.y()) < 115.0)
                return false;
        Town town;
        town.Centre = QPointF(s.At) + QPointF(0.5, 0.5);
        town.Port = s.Port;
        town.Landmass = t.Landmass.At(s.At.x(), s.At.y());
        town.Radius = random.Range(3.5, 5.5);
        town.Look = random.Next();
        world.Towns.push_back(town);
        return true;
    };
    // Every sizeable landmass gets its town first, then the best sites anywhere.
    for (std::size_t m = 0; m < t.LandmassArea.size(); ++m) {
        if (t.LandmassArea[m] < 5000) continue;
        for (const Site& s : sites)
            if (t.Landmass.At(s.At.x(), s.At.y()) == static_cast<int>(m) && take(s)) break;
    }
    for (const Site& s : sites) {
        if (static_cast<int>(world.Towns.size()) >= count) break;
        take(s);
    }

    // Roads: a spanning tree over each landmass's towns, plus a few shortcuts.
    std::vector<double> cost = RoadCosts(world, onRiver);
    const int n = static_cast<int>(world.Towns.size());
    auto distance = [&](int a, int b) {
        QPointF d = world.Towns[a].Centre - world.Towns[b].Centre;
        return std::hypot(d.x(), d.y());
    };
    std::vector<std::pair<int, int>> links;
    std::vector<int> joined(n, 0);
    for (int start = 0; start < n; ++start) {
        if (joined[start]) continue;
        joined[start] = 1;
        for (;;) {
            int bestA = -1, bestB = -1;
            double bestD = 1e30;
            for (int a = 0; a < n; ++a) {
                if (!joined[a]) continue;
                for (int b = 0; b < n; ++b) {
                    if (joined[b] || world.Towns[b].Landmass != world.Towns[a].Landmass) continue;
                    if (distance(a, b) < bestD) {
                        bestD = distance(a, b);
                        bestA = a;
                        bestB = b;
                    }
                }
            }
            if (bestA < 0) break;
            joined[bestB] = 1;
            links.push_back({bestA, bestB});
        }
    }
    for (int a = 0; a < n; ++a) {
        for (int b = a + 1; b < n; ++b) {
            if (world.Towns[a].Landmass != world.Towns[b].Landmass || distance(a, b) > 260.0)
                continue;
            bool have = false;
            for (auto [p, q] : links)
                if ((p == a && q == b) || (p == b && q == a)) have = true;
            if (!have && random.Unit() < 0.35) links.push_back({a, b});
        }
    }
    for (auto [a, b] : links) {
        std::vector<QPointF> route = FindRoute(cost, world.Towns[a].Centre, world.Towns[b].Centre);
        if (route.size() < 2) continue;
        Road road;
        road.From = a;
        road.To = b;
        std::vector<QPointF> straight{route.front()};
        Simplify(route, 0, route.size() - 1, 2.0, straight);
        // Long straight runs get a slight wander, as tracks follow the lie of the land.
        std::vector<QPointF> wandering{straight.front()};
        for (std::size_t i = 1; i < straight.size(); ++i) {
            QPointF a = straight[i - 1], b = straight[i];
            double length = std::hypot(b.x() - a.x(), b.y() - a.y());
            int pieces = std::max(1, static_cast<int>(length / 14.0));
            for (int k = 1; k < pieces; ++k) {
                QPointF p = a + (b - a) * (static_cast<double>(k) / pieces);
                QPointF normal(-(b.y() - a.y()) / length, (b.x() - a.x()) / length);
                wandering.push_back(p + normal * random.Range(-1.6, 1.6));
            }
            wandering.push_back(b);
        }
        road.Points = Smooth(wandering, 3);
        world.Roads.push_back(std::move(road));
    }
}

}  // namespace brix::gen
