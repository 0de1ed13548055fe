#include "Terrain.h"

#include <algorithm>
#include <cmath>

#include "Noise.h"
#include "Random.h"

namespace brix::gen {

double SmoothStep(double edge0, double edge1, double x) {
    double t = std::clamp((x - edge0) / (edge1 - edge0), 0.0, 1.0);
    return t * t * (3.0 - 2.0 * t);
}

namespace {

// One row or column of the squared-distance transform: the lower envelope of parabolas
// rooted at every cell. Cells far from any feature hold a large finite value.
void DistanceLine(const double* f, double* d, int n, std::vector<int>& v, std::vector<double>& z) {
    constexpr double Huge = 1e30;
    int k = 0;
    v[0] = 0;
    z[0] = -Huge;
    z[1] = Huge;
    for (int q = 1; q < n; ++q) {
        double s = ((f[q] + double(q) * q) - (f[v[k]] + double(v[k]) * v[k])) / (2.0 * (q - v[k]));
        while (s <= z[k]) {
            --k;
            s = ((f[q] + double(q) * q) - (f[v[k]] + double(v[k]) * v[k])) / (2.0 * (q - v[k]));
        }
        ++k;
        v[k] = q;
        z[k] = s;
        z[k + 1] = Huge;
    }
    k = 0;
    for (int q = 0; q < n; ++q) {
        while (z[k + 1] < q) ++k;
        double dq = q - v[k];
        d[q] = dq * dq + f[v[k]];
    }
}

struct Blob {
    double X, Y, Rx, Ry, Angle, Amp;
    double Cos = 1.0, Sin = 0.0;
};

struct Spine {
    std::vector<QPointF> Points;
    double Width;
};

struct Layout {
    std::vector<Blob> Blobs;
    std::vector<Spine> Spines;
};

// The world's large shapes are laid out by hand and only nudged by the seed, so that every
// seed gives two continents, a northern isle, a southern island chain and a few lonely
// islets in the open sea; the noise then makes the coasts.
Layout MakeLayout(Random& random) {
    Layout layout;
    auto jitter = [&](double s) { return random.Range(-s, s); };
    auto group = [&](double cx, double cy, std::initializer_list<Blob> blobs, double spread) {
        double ox = jitter(spread), oy = jitter(spread);
        for (Blob b : blobs) {
            b.X += cx + ox + jitter(spread * 0.4);
            b.Y += cy + oy + jitter(spread * 0.4);
            b.Rx *= random.Range(0.9, 1.1);
            b.Ry *= random.Range(0.9, 1.1);
            b.Angle += jitter(0.3);
            layout.Blobs.push_back(b);
        }
        return QPointF(cx + ox, cy + oy);
    };
    // The western continent: long, bent, with a south-western peninsula.
    QPointF west = group(360, 450,
                         {{-10, -170, 150, 120, 0.4, 0.62},
                          {-40, 10, 150, 170, 0.0, 0.62},
                          {70, 170, 140, 110, -0.5, 0.6},
                          {-140, 230, 95, 60, 0.7, 0.55},
                          {140, -40, 90, 120, 0.2, 0.55},
                          {-120, -60, 70, 90, 0.0, 0.5},
                          // A deep bay on the east coast and a sound in the south.
                          {175, 40, 50, 34, 0.3, -0.55},
                          {-30, 250, 40, 28, 0.5, -0.45}},
                         25);
    // The eastern continent: broad, with a northern cape and a bay to the south-west.
    QPointF east = group(920, 500,
                         {{-40, -110, 170, 120, 0.3, 0.62},
                          {50, 70, 160, 140, -0.2, 0.62},
                          {140, -150, 110, 80, -0.6, 0.55},
                          {-80, 210, 100, 70, 0.4, 0.55},
                          {170, 190, 80, 90, 0.0, 0.5},
                          // A long gulf reaching in from the south and a northern firth.
                          {10, 210, 36, 95, 0.15, -0.7},
                          {-10, -250, 45, 30, 0.0, -0.45}},
                         25);
    QPointF north = group(700, 140, {{0, 0, 120, 60, -0.15, 0.58}, {90, 15, 60, 40, 0.3, 0.5}}, 20);
    // A chain of islands along the southern sea.
    const double chain[5][3] = {
        {440, 870, 60}, {575, 915, 42}, {700, 880, 64}, {830, 920, 38}, {950, 870, 52}};
    for (const auto& c : chain) group(c[0], c[1], {{0, 0, c[2], c[2] * 0.7, 0.4, 0.56}}, 12);
    group(640, 470, {{0, 0, 34, 26, 0.0, 0.52}}, 12);
    // Lonely islets, each far enough from everything else to form a region of its own.
    group(120, 120, {{0, 0, 34, 26, 0.2, 0.55}}, 10);
    group(1170, 120, {{0, 0, 32, 26, -0.3, 0.55}}, 10);
    group(1175, 905, {{0, 0, 36, 28, 0.5, 0.55}}, 10);
    group(105, 910, {{0, 0, 30, 24, 0.0, 0.55}}, 10);

    // Mountain ranges run along the continents.
    auto spine = [&](QPointF base, std::initializer_list<QPointF> points, double width) {
        Spine s;
        s.Width = width;
        for (QPointF p : points) s.Points.push_back(base + p + QPointF(jitter(15), jitter(15)));
        layout.Spines.push_back(s);
    };
    spine(west, {{-60, -250}, {-20, -120}, {40, 10}, {60, 150}, {0, 240}}, 48);
    spine(west, {{-150, 200}, {-200, 250}}, 30);
    spine(east, {{-120, -170}, {0, -90}, {120, -60}, {210, -170}}, 46);
    spine(east, {{60, 60}, {130, 150}, {200, 210}}, 36);
    spine(north, {{-80, -5}, {0, 5}, {70, 0}}, 26);
    for (Blob& b : layout.Blobs) {
        b.Cos = std::cos(b.Angle);
        b.Sin = std::sin(b.Angle);
    }
    return layout;
}

double BlobValue(const Blob& b, double x, double y) {
    // The visible island is roughly the inner half of the bump; widen so that the layout's
    // radii read as island radii.
    double c = b.Cos, s = b.Sin;
    double dx = x - b.X, dy = y - b.Y;
    double reach = std::max(b.Rx, b.Ry) * 1.8;
    if (std::fabs(dx) > reach || std::fabs(dy) > reach) return 0.0;
    double u = (dx * c + dy * s) / (b.Rx * 1.8);
    double v = (-dx * s + dy * c) / (b.Ry * 1.8);
    double d2 = u * u + v * v;
    if (d2 >= 1.0) return 0.0;
    double t = 1.0 - d2;
    return b.Amp * t * t;
}

// Largest value of a Gaussian ridge around each range's centre line.
Grid<float> SpineField(const Layout& layout) {
    Grid<float> field(MapWidth, MapHeight, 0.0f);
    for (const Spine& spine : layout.Spines) {
        for (std::size_t i = 0; i + 1 < spine.Points.size(); ++i) {
            QPointF a = spine.Points[i], b = spine.Points[i + 1];
            double reach = spine.Width * 3.0;
            int x0 = std::max(0, static_cast<int>(std::min(a.x(), b.x()) - reach));
            int x1 = std::min(MapWidth - 1, static_cast<int>(std::max(a.x(), b.x()) + reach));
            int y0 = std::max(0, static_cast<int>(std::min(a.y(), b.y()) - reach));
            int y1 = std::min(MapHeight - 1, static_cast<int>(std::max(a.y(), b.y()) + reach));
            QPointF ab = b - a;
            double len2 = QPointF::dotProduct(ab, ab);
            for (int y = y0; y <= y1; ++y) {
                for (int x = x0; x <= x1; ++x) {
                    QPointF p(x, y);
                    double t = std::clamp(QPointF::dotProduct(p - a, ab) / len2, 0.0, 1.0);
                    QPointF q = a + ab * t - p;
                    double d2 = QPointF::dotProduct(q, q) / (spine.Width * spine.Width);
                    float value = static_cast<float>(std::exp(-d2));
                    float& cell = field.At(x, y);
                    if (value > cell) cell = value;
                }
            }
        }
    }
    return field;
}

void ShapeElevation(World& world, Random& random) {
    Layout layout = MakeLayout(random);
    Grid<float> spines = SpineField(layout);
    Noise warpX(random.Next()), warpY(random.Next()), coast(random.Next()), relief(random.Next()),
        ridges(random.Next()), hills(random.Next());
    Grid<float>& h = world.Land.Elevation;
    h = Grid<float>(MapWidth, MapHeight, 0.0f);
    for (int y = 0; y < MapHeight; ++y) {
        for (int x = 0; x < MapWidth; ++x) {
            double wx = x + 80.0 * warpX.At(x / 420.0, y / 420.0) +
                        28.0 * warpX.Fractal(x / 110.0 + 40.0, y / 110.0, 3);
            double wy = y + 80.0 * warpY.At(x / 420.0, y / 420.0) +
                        28.0 * warpY.Fractal(x / 110.0 + 40.0, y / 110.0, 3);
            double continental = 0.0;
            for (const Blob& b : layout.Blobs) continental += BlobValue(b, wx, wy);
            continental = std::clamp(continental, -0.3, 0.85);
            double base =
                continental + 0.36 * coast.Fractal(wx / 120.0, wy / 120.0, 7, 0.55) - 0.31;
            double edge = std::min({x, y, MapWidth - 1 - x, MapHeight - 1 - y});
            base -= 0.45 * (1.0 - SmoothStep(0.0, 50.0, edge));
            double value;
            if (base <= 0.0) {
                value = base;
            } else {
                double inland = SmoothStep(0.0, 0.10, base);
                // Lowlands rise quickly from the shore and level off into rolling country.
                value = 0.40 * (1.0 - std::exp(-base * 3.2));
                value += 0.07 * inland * hills.Fractal(x / 50.0, y / 50.0, 4);
                double range = spines.At(x, y);
                if (range > 0.02) {
                    double crest = ridges.Ridged(wx / 65.0, wy / 65.0, 5);
                    value += inland * range * (0.12 + 0.72 * crest) *
                             (0.8 + 0.2 * relief.At(x / 90.0, y / 90.0));
                }
                value = std::max(value, 0.002);
            }
            h.At(x, y) = static_cast<float>(value);
        }
    }
}

// Sinks specks of land and fills puddles so that coasts read as clean shapes.
void CleanSpecks(Grid<float>& h) {
    const int n = MapWidth * MapHeight;
    std::vector<std::uint8_t> land(n), water(n);
    for (int i = 0; i < n; ++i) {
        land[i] = h.Cells[i] > 0.0f;
        water[i] = !land[i];
    }
    std::vector<int> labels;
    std::vector<int> sizes = LabelGroups(land, MapWidth, MapHeight, labels);
    for (int i = 0; i < n; ++i)
        if (labels[i] >= 0 && sizes[labels[i]] < 60) h.Cells[i] = -0.01f;
    sizes = LabelGroups(water, MapWidth, MapHeight, labels);
    for (int i = 0; i < n; ++i)
        if (labels[i] >= 0 && sizes[labels[i]] < 40) h.Cells[i] = 0.004f;
}

void ClassifySea(World& world) {
    Terrain& t = world.Land;
    const int n = MapWidth * MapHeight;
    t.Kind = Grid<Ground>(MapWidth, MapHeight, Ground::Land);
    std::vector<int> stack;
    auto visit = [&](int x, int y) {
        if (!t.Kind.Inside(x, y)) return;
        if (t.Kind.At(x, y) == Ground::Sea || t.Elevation.At(x, y) > 0.0f) return;
        t.Kind.At(x, y) = Ground::Sea;
        stack.push_back(y * MapWidth + x);
    };
    for (int x = 0; x < MapWidth; ++x) {
        visit(x, 0);
        visit(x, MapHeight - 1);
    }
    for (int y = 0; y < MapHeight; ++y) {
        visit(0, y);
        visit(MapWidth - 1, y);
    }
    while (!stack.empty()) {
        int i = stack.back();
        stack.pop_back();
        int x = i % MapWidth, y = i / MapWidth;
        visit(x + 1, y);
        visit(x - 1, y);
        visit(x, y + 1);
        visit(x, y - 1);
    }
    std::vector<std::uint8_t> sea(n), land(n);
    for (int i = 0; i < n; ++i) {
        sea[i] = t.Kind.Cells[i] == Ground::Sea;
        land[i] = !sea[i];
    }
    t.SeaDistance = DistanceTo(sea, MapWidth, MapHeight);
    t.LandDistance = DistanceTo(land, MapWidth, MapHeight);
}

// Presses a few bowls into the uplands; filling them later makes lakes with natural shores.
void CarveLakeBasins(World& world, Random& random, const Noise& shape) {
    Terrain& t = world.Land;
    std::vector<QPoint> candidates;
    for (int y = 20; y < MapHeight - 20; y += 7) {
        for (int x = 20; x < MapWidth - 20; x += 7) {
            float h = t.Elevation.At(x, y);
            if (t.Kind.At(x, y) == Ground::Land && t.SeaDistance.At(x, y) > 40 && h > 0.10f &&
                h < 0.36f)
                candidates.push_back(QPoint(x, y));
        }
    }
    random.Shuffle(candidates);
    std::vector<QPoint> chosen;
    for (QPoint c : candidates) {
        if (chosen.size() >= 6) break;
        bool clear = true;
        for (QPoint o : chosen)
            if ((c - o).manhattanLength() < 220) clear = false;
        if (clear) chosen.push_back(c);
    }
    for (QPoint c : chosen) {
        double radius = random.Range(14.0, 26.0);
        double depth = random.Range(0.12, 0.18);
        int reach = static_cast<int>(radius * 1.8);
        for (int y = c.y() - reach; y <= c.y() + reach; ++y) {
            for (int x = c.x() - reach; x <= c.x() + reach; ++x) {
                if (!t.Elevation.Inside(x, y)) continue;
                double d = std::hypot(x - c.x(), y - c.y()) / radius +
                           0.35 * shape.Fractal(x / 14.0, y / 14.0, 3);
                if (d >= 1.6) continue;
                double k = 1.0 - (d / 1.6) * (d / 1.6);
                t.Elevation.At(x, y) -= static_cast<float>(depth * k * k);
                t.Elevation.At(x, y) = std::max(t.Elevation.At(x, y), 0.002f);
            }
        }
    }
}

// Fills every basin up to its spill point, working inwards from the coast. The order in which
// cells leave the queue runs from the sea upstream, and each cell remembers the cell that
// reached it: that is where its water flows.
void FloodFromSea(World& world, std::vector<int>& downstream, std::vector<int>& order) {
    Terrain& t = world.Land;
    const int n = MapWidth * MapHeight;
    t.WaterLevel = t.Elevation;
    downstream.assign(n, -1);
    order.clear();
    order.reserve(n);
    constexpr double Low = -1.0, Scale = 20000.0;
    constexpr int BucketCount = static_cast<int>(3.0 * Scale) + 1;
    std::vector<std::vector<int>> buckets(BucketCount);
    auto bucketOf = [&](float level) {
        return std::clamp(static_cast<int>((level - Low) * Scale), 0, BucketCount - 1);
    };
    std::vector<std::uint8_t> done(n, 0);
    for (int i = 0; i < n; ++i) {
        if (t.Kind.Cells[i] != Ground::Sea) continue;
        done[i] = 1;
        int x = i % MapWidth, y = i / MapWidth;
        bool shore = false;
        if (x > 0 && t.Kind.Cells[i - 1] != Ground::Sea) shore = true;
        if (x < MapWidth - 1 && t.Kind.Cells[i + 1] != Ground::Sea) shore = true;
        if (y > 0 && t.Kind.Cells[i - MapWidth] != Ground::Sea) shore = true;
        if (y < MapHeight - 1 && t.Kind.Cells[i + MapWidth] != Ground::Sea) shore = true;
        if (shore) buckets[bucketOf(t.Elevation.Cells[i])].push_back(i);
    }
    static const int dx[8] = {1, -1, 0, 0, 1, 1, -1, -1};
    static const int dy[8] = {0, 0, 1, -1, 1, -1, 1, -1};
    for (int b = 0; b < BucketCount; ++b) {
        for (std::size_t k = 0; k < buckets[b].size(); ++k) {
            int i = buckets[b][k];
            if (t.Kind.Cells[i] != Ground::Sea) order.push_back(i);
            int x = i % MapWidth, y = i / MapWidth;
            float level = t.WaterLevel.Cells[i];
            for (int d = 0; d < 8; ++d) {
                int nx = x + dx[d], ny = y + dy[d];
                if (nx < 0 || ny < 0 || nx >= MapWidth || ny >= MapHeight) continue;
                int j = ny * MapWidth + nx;
                if (done[j]) continue;
                done[j] = 1;
                downstream[j] = i;
                float filled = std::max(t.Elevation.Cells[j], level);
                t.WaterLevel.Cells[j] = filled;
                buckets[std::max(b, bucketOf(filled))].push_back(j);
            }
        }
        std::vector<int>().swap(buckets[b]);
    }
}

void MarkLakes(World& world) {
    Terrain& t = world.Land;
    const int n = MapWidth * MapHeight;
    std::vector<std::uint8_t> deep(n);
    for (int i = 0; i < n; ++i)
        deep[i] =
            t.Kind.Cells[i] != Ground::Sea && t.WaterLevel.Cells[i] - t.Elevation.Cells[i] > 0.006f;
    std::vector<int> labels;
    std::vector<int> sizes = LabelGroups(deep, MapWidth, MapHeight, labels);
    for (int i = 0; i < n; ++i) {
        if (t.Kind.Cells[i] == Ground::Sea) continue;
        if (labels[i] >= 0 && sizes[labels[i]] >= 70) {
            t.Kind.Cells[i] = Ground::Lake;
        } else {
            // Too small to show as water: the ground is simply flat there.
            t.Elevation.Cells[i] = std::max(t.Elevation.Cells[i], 0.002f);
            t.WaterLevel.Cells[i] = t.Elevation.Cells[i];
        }
    }
}

void ShapeClimate(World& world, Random& random) {
    Terrain& t = world.Land;
    Noise wet(random.Next()), grove(random.Next());
    t.Moisture = Grid<float>(MapWidth, MapHeight, 0.0f);
    t.Forest = Grid<float>(MapWidth, MapHeight, 0.0f);
    for (int y = 0; y < MapHeight; ++y) {
        for (int x = 0; x < MapWidth; ++x) {
            if (t.Kind.At(x, y) != Ground::Land) continue;
            double h = t.Elevation.At(x, y);
            double m = 0.5 + 0.55 * wet.Fractal(x / 210.0, y / 210.0, 4) +
                       0.18 * std::exp(-t.SeaDistance.At(x, y) / 60.0) -
                       0.35 * SmoothStep(0.45, 0.85, h);
            m = std::clamp(m, 0.0, 1.0);
            t.Moisture.At(x, y) = static_cast<float>(m);
            double f = SmoothStep(0.56, 0.66, m + 0.10 * grove.Fractal(x / 30.0, y / 30.0, 3)) *
                       (1.0 - SmoothStep(0.50, 0.64, h)) * SmoothStep(0.01, 0.05, h) *
                       SmoothStep(2.0, 6.0, t.SeaDistance.At(x, y));
            t.Forest.At(x, y) = static_cast<float>(f);
        }
    }
}

std::vector<QPointF> Chaikin(const std::vector<QPointF>& points, int rounds) {
    std::vector<QPointF> current = points;
    for (int r = 0; r < rounds && current.size() > 2; ++r) {
        std::vector<QPointF> next;
        next.reserve(current.size() * 2);
        next.push_back(current.front());
        for (std::size_t i = 0; i + 1 < current.size(); ++i) {
            QPointF a = current[i], b = current[i + 1];
            if (i > 0) next.push_back(a * 0.75 + b * 0.25);
            if (i + 2 < current.size()) next.push_back(a * 0.25 + b * 0.75);
        }
        next.push_back(current.back());
        current.swap(next);
    }
    return current;
}

void TraceRivers(World& world, Random& random, const std::vector<int>& downstream,
                 const std::vector<int>& order) {
    Terrain& t = world.Land;
    const int n = MapWidth * MapHeight;
    std::vector<float> flow(n, 0.0f);
    for (int i : order)
        flow[i] = 0.6f + t.Moisture.Cells[i] + (t.Kind.Cells[i] == Ground::Lake ? 1.0f : 0.0f);
    for (auto it = order.rbegin(); it != order.rend(); ++it) {
        int d = downstream[*it];
        if (d >= 0 && t.Kind.Cells[d] != Ground::Sea) flow[d] += flow[*it];
    }
    const float threshold = 1100.0f;
    std::vector<std::uint8_t> wet(n, 0);
    std::vector<int> feeders(n, 0);
    for (int i : order) {
        if (flow[i] < threshold) continue;
        wet[i] = 1;
        int d = downstream[i];
        if (d >= 0) ++feeders[d];
    }
    // Longest courses first, so that a main river is one line and its tributaries end on it.
    std::vector<std::pair<int, int>> heads;
    for (int i : order) {
        if (!wet[i] || feeders[i] != 0) continue;
        int length = 0;
        for (int j = i; j >= 0 && t.Kind.Cells[j] != Ground::Sea; j = downstream[j]) ++length;
        heads.push_back({-length, i});
    }
    std::stable_sort(heads.begin(), heads.end());
    std::vector<std::uint8_t> taken(n, 0);
    Noise meander(random.Next());
    for (auto [negLength, head] : heads) {
        std::vector<int> course;
        int j = head;
        for (;;) {
            course.push_back(j);
            if (t.Kind.Cells[j] == Ground::Sea || taken[j]) break;
            taken[j] = 1;
            int d = downstream[j];
            if (d < 0) break;
            j = d;
        }
        if (course.size() < 24) continue;
        // Split where the course crosses a lake: the lake itself is the water there.
        std::vector<std::vector<int>> pieces(1);
        for (std::size_t k = 0; k < course.size(); ++k) {
            int c = course[k];
            bool lake = t.Kind.Cells[c] == Ground::Lake;
            if (lake) {
                if (!pieces.back().empty()) {
                    pieces.back().push_back(c);
                    pieces.emplace_back();
                }
                // The outlet starts at the last lake cell before dry land.
                if (k + 1 < course.size() && t.Kind.Cells[course[k + 1]] != Ground::Lake)
                    pieces.back().push_back(c);
                continue;
            }
            pieces.back().push_back(c);
        }
        for (const std::vector<int>& piece : pieces) {
            if (piece.size() < 6) continue;
            std::vector<QPointF> raw;
            for (int c : piece) raw.push_back(QPointF(c % MapWidth + 0.5, c / MapWidth + 0.5));
            std::vector<QPointF> smooth = Chaikin(raw, 3);
            River river;
            double along = 0.0;
            for (std::size_t k = 0; k < smooth.size(); ++k) {
                QPointF p = smooth[k];
                if (k > 0)
                    along += std::hypot(p.x() - smooth[k - 1].x(), p.y() - smooth[k - 1].y());
                // Gentle meanders across the course, none at the ends so joins stay joined.
                if (k > 2 && k + 3 < smooth.size()) {
                    QPointF dir = smooth[k + 1] - smooth[k - 1];
                    double len = std::hypot(dir.x(), dir.y());
                    if (len > 0) {
                        QPointF normal(-dir.y() / len, dir.x() / len);
                        p += normal * (2.2 * meander.At(along / 26.0, head * 0.001));
                    }
                }
                int cell = piece[std::min(piece.size() - 1, k * piece.size() / smooth.size())];
                double w = 0.75 + 0.5 * std::log2(std::max(1.0, double(flow[cell]) / threshold));
                river.Points.push_back(p);
                river.Width.push_back(static_cast<float>(std::min(w, 2.6)));
            }
            world.Rivers.push_back(std::move(river));
        }
    }
}

void LabelLandmasses(World& world) {
    Terrain& t = world.Land;
    const int n = MapWidth * MapHeight;
    std::vector<std::uint8_t> land(n);
    for (int i = 0; i < n; ++i) land[i] = t.Kind.Cells[i] != Ground::Sea;
    t.Landmass = Grid<int>(MapWidth, MapHeight, -1);
    t.LandmassArea = LabelGroups(land, MapWidth, MapHeight, t.Landmass.Cells);
}

}  // namespace

Grid<float> DistanceTo(const std::vector<std::uint8_t>& feature, int width, int height) {
    constexpr double Far = 1e12;
    const int longest = std::max(width, height);
    std::vector<double> squared(static_cast<std::size_t>(width) * height);
    std::vector<double> line(longest), result(longest);
    std::vector<int> v(longest + 1);
    std::vector<double> z(longest + 2);
    for (int i = 0; i < width * height; ++i) squared[i] = feature[i] ? 0.0 : Far;
    for (int x = 0; x < width; ++x) {
        for (int y = 0; y < height; ++y) line[y] = squared[static_cast<std::size_t>(y) * width + x];
        DistanceLine(line.data(), result.data(), height, v, z);
        for (int y = 0; y < height; ++y)
            squared[static_cast<std::size_t>(y) * width + x] = result[y];
    }
    Grid<float> out(width, height, 0.0f);
    for (int y = 0; y < height; ++y) {
        const double* row = &squared[static_cast<std::size_t>(y) * width];
        DistanceLine(row, result.data(), width, v, z);
        for (int x = 0; x < width; ++x) out.At(x, y) = static_cast<float>(std::sqrt(result[x]));
    }
    return out;
}

std::vector<int> LabelGroups(const std::vector<std::uint8_t>& marked, int width, int height,
                             std::vector<int>& labels) {
    labels.assign(marked.size(), -1);
    std::vector<int> sizes;
    std::vector<int> stack;
    for (int start = 0; start < width * height; ++start) {
        if (!marked[start] || labels[start] >= 0) continue;
        int id = static_cast<int>(sizes.size());
        int size = 0;
        labels[start] = id;
        stack.push_back(start);
        while (!stack.empty()) {
            int i = stack.back();
            stack.pop_back();
            ++size;
            int x = i % width, y = i / width;
            int next[4] = {x > 0 ? i - 1 : -1, x < width - 1 ? i + 1 : -1, y > 0 ? i - width : -1,
                           y < height - 1 ? i + width : -1};
            for (int j : next) {
                if (j >= 0 && marked[j] && labels[j] < 0) {
                    labels[j] = id;
                    stack.push_back(j);
                }
            }
        }
        sizes.push_back(size);
    }
    return sizes;
}

QPointF FindOpenSea(const World& world, double& room) {
    const Terrain& t = world.Land;
    room = 0.0;
    QPointF best(MapWidth / 2.0, MapHeight / 2.0);
    for (int y = 0; y < MapHeight; y += 4) {
        for (int x = 0; x < MapWidth; x += 4) {
            double edge = std::min({x, y, MapWidth - 1 - x, MapHeight - 1 - y}) - 12.0;
            double space = std::min<double>(t.LandDistance.At(x, y), edge);
            if (space > room) {
                room = space;
                best = QPointF(x + 0.5, y + 0.5);
            }
        }
    }
    return best;
}

void BuildTerrain(World& world, Random& random) {
    ShapeElevation(world, random);
    CleanSpecks(world.Land.Elevation);
    ClassifySea(world);
    Noise basin(random.Next());
    CarveLakeBasins(world, random, basin);
    std::vector<int> downstream, order;
    FloodFromSea(world, downstream, order);
    MarkLakes(world);
    ShapeClimate(world, random);
    TraceRivers(world, random, downstream, order);
    LabelLandmasses(world);
}

}  // namespace brix::gen
