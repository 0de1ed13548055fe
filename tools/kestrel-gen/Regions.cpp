#include "Regions.h"

#include <algorithm>
#include <climits>
#include <cmath>

#include "Settlements.h"
#include "Terrain.h"

namespace brix::gen {

namespace {

// How many seeds each landmass gets: one for every island big enough to be a region of its
// own, the rest shared out by area with the largest-remainder rule.
std::vector<int> ShareSeeds(const std::vector<int>& areas, int count) {
    std::vector<int> order;
    for (std::size_t i = 0; i < areas.size(); ++i)
        if (areas[i] >= 600) order.push_back(static_cast<int>(i));
    std::stable_sort(order.begin(), order.end(), [&](int a, int b) { return areas[a] > areas[b]; });
    if (static_cast<int>(order.size()) > count) order.resize(count);
    std::vector<int> seeds(areas.size(), 0);
    long total = 0;
    for (int m : order) {
        seeds[m] = 1;
        total += areas[m];
    }
    int left = count - static_cast<int>(order.size());
    std::vector<std::pair<double, int>> remainders;
    int given = 0;
    for (int m : order) {
        double share = static_cast<double>(left) * areas[m] / total;
        int whole = static_cast<int>(share);
        seeds[m] += whole;
        given += whole;
        remainders.push_back({-(share - whole), m});
    }
    std::stable_sort(remainders.begin(), remainders.end());
    for (std::size_t i = 0; given < left; ++i, ++given)
        seeds[remainders[i % remainders.size()].second] += 1;
    return seeds;
}

// Evenly spread seeds over one landmass: farthest-point start, then Lloyd relaxation.
std::vector<QPointF> PlaceSeeds(const std::vector<QPoint>& samples, int k) {
    std::vector<QPointF> seeds;
    QPointF centroid(0, 0);
    for (QPoint p : samples) centroid += QPointF(p);
    centroid /= static_cast<double>(samples.size());
    auto nearestSample = [&](QPointF c) {
        double best = 1e30;
        QPoint at = samples.front();
        for (QPoint p : samples) {
            double d = (p.x() - c.x()) * (p.x() - c.x()) + (p.y() - c.y()) * (p.y() - c.y());
            if (d < best) {
                best = d;
                at = p;
            }
        }
        return QPointF(at);
    };
    seeds.push_back(nearestSample(centroid));
    std::vector<double> gap(samples.size(), 1e30);
    while (static_cast<int>(seeds.size()) < k) {
        std::size_t far = 0;
        for (std::size_t i = 0; i < samples.size(); ++i) {
            QPointF d = QPointF(samples[i]) - seeds.back();
            gap[i] = std::min(gap[i], d.x() * d.x() + d.y() * d.y());
            if (gap[i] > gap[far]) far = i;
        }
        seeds.push_back(QPointF(samples[far]));
    }
    for (int round = 0; round < 12 && k > 1; ++round) {
        std::vector<QPointF> sum(k, QPointF(0, 0));
        std::vector<int> members(k, 0);
        for (QPoint p : samples) {
            int best = 0;
            double bestD = 1e30;
            for (int s = 0; s < k; ++s) {
                double d = (p.x() - seeds[s].x()) * (p.x() - seeds[s].x()) +
                           (p.y() - seeds[s].y()) * (p.y() - seeds[s].y());
                if (d < bestD) {
                    bestD = d;
                    best = s;
                }
            }
            sum[best] += QPointF(p);
            ++members[best];
        }
        for (int s = 0; s < k; ++s) {
            if (members[s] == 0) continue;
            QPointF moved = nearestSample(sum[s] / members[s]);
            // Two seeds on one pixel would leave one region without land.
            bool taken = false;
            for (int o = 0; o < k; ++o)
                if (o != s && seeds[o] == moved) taken = true;
            if (!taken) seeds[s] = moved;
        }
    }
    return seeds;
}

}  // namespace

void CarveRegions(World& world, int count) {
    const Terrain& t = world.Land;
    const int n = MapWidth * MapHeight;
    std::vector<int> seedCount = ShareSeeds(t.LandmassArea, count);

    // Seeds on dry land of each landmass.
    std::vector<std::vector<QPoint>> samples(t.LandmassArea.size());
    for (int y = 1; y < MapHeight; y += 3)
        for (int x = 1; x < MapWidth; x += 3)
            if (t.Kind.At(x, y) == Ground::Land && t.SeaDistance.At(x, y) > 4.0f)
                samples[t.Landmass.At(x, y)].push_back(QPoint(x, y));
    std::vector<QPointF> seeds;
    for (std::size_t m = 0; m < seedCount.size(); ++m) {
        if (seedCount[m] == 0) continue;
        if (samples[m].empty()) {
            for (int y = 0; y < MapHeight; ++y)
                for (int x = 0; x < MapWidth; ++x)
                    if (t.Landmass.At(x, y) == static_cast<int>(m))
                        samples[m].push_back(QPoint(x, y));
        }
        for (QPointF s : PlaceSeeds(samples[m], seedCount[m])) seeds.push_back(s);
    }

    // Region numbers run in bands from north to south, west to east within a band.
    std::vector<int> order(seeds.size());
    for (std::size_t i = 0; i < order.size(); ++i) order[i] = static_cast<int>(i);
    std::stable_sort(order.begin(), order.end(), [&](int a, int b) {
        int bandA = static_cast<int>(seeds[a].y()) / 205,
            bandB = static_cast<int>(seeds[b].y()) / 205;
        if (bandA != bandB) return bandA < bandB;
        return seeds[a].x() < seeds[b].x();
    });

    // Crossing terrain has a price: mountains and rivers make natural borders, the sea is
    // crossed only to claim islets too small to be regions of their own.
    std::vector<std::vector<QPointF>> riverLines;
    for (const River& r : world.Rivers) riverLines.push_back(r.Points);
    std::vector<std::uint8_t> river = RasterizeLines(riverLines, 1.0);
    std::vector<int> weight(n);
    for (int i = 0; i < n; ++i) {
        Ground kind = t.Kind.Cells[i];
        if (kind == Ground::Sea) {
            weight[i] = 40;
        } else if (kind == Ground::Lake) {
            weight[i] = 14;
        } else {
            double h = t.Elevation.Cells[i];
            weight[i] =
                10 + static_cast<int>(28.0 * SmoothStep(0.45, 0.8, h)) + (river[i] ? 40 : 0);
        }
    }
    std::vector<int> owner(n, -1), dist(n, INT_MAX);
    constexpr int Ring = 256;
    std::vector<std::vector<int>> buckets(Ring);
    long pending = 0;
    for (std::size_t r = 0; r < order.size(); ++r) {
        QPointF s = seeds[order[r]];
        int i = static_cast<int>(s.y()) * MapWidth + static_cast<int>(s.x());
        owner[i] = static_cast<int>(r) + 1;
        dist[i] = 0;
        buckets[0].push_back(i);
        ++pending;
    }
    static const int dx[8] = {1, -1, 0, 0, 1, 1, -1, -1};
    static const int dy[8] = {0, 0, 1, -1, 1, -1, 1, -1};
    for (int current = 0; pending > 0; ++current) {
        std::vector<int>& bucket = buckets[current % Ring];
        for (std::size_t k = 0; k < bucket.size(); ++k) {
            int i = bucket[k];
            --pending;
            if (dist[i] != current) continue;
            int x = i % MapWidth, y = i / MapWidth;
            for (int d = 0; d < 8; ++d) {
                int nx = x + dx[d], ny = y + dy[d];
                if (nx < 0 || ny < 0 || nx >= MapWidth || ny >= MapHeight) continue;
                int j = ny * MapWidth + nx;
                int step = (weight[i] + weight[j]) * (d < 4 ? 50 : 71) / 100;
                int next = current + step;
                if (next < dist[j]) {
                    dist[j] = next;
                    owner[j] = owner[i];
                    buckets[next % Ring].push_back(j);
                    ++pending;
                }
            }
        }
        bucket.clear();
    }

    world.RegionOf = Grid<int>(MapWidth, MapHeight, 0);
    const int regionCount = static_cast<int>(order.size());
    world.Regions.assign(regionCount, RegionPlan());
    std::vector<QRect> boxes(regionCount);
    std::vector<double> sumX(regionCount, 0), sumY(regionCount, 0);
    for (int r = 0; r < regionCount; ++r) world.Regions[r].Index = r + 1;
    for (int y = 0; y < MapHeight; ++y) {
        for (int x = 0; x < MapWidth; ++x) {
            int i = y * MapWidth + x;
            if (t.Kind.Cells[i] == Ground::Sea) continue;
            int r = owner[i];
            world.RegionOf.Cells[i] = r;
            RegionPlan& plan = world.Regions[r - 1];
            boxes[r - 1] |= QRect(x, y, 1, 1);
            ++plan.Area;
            sumX[r - 1] += x;
            sumY[r - 1] += y;
            if (t.Kind.Cells[i] == Ground::Lake) {
                plan.Lake += 1;
                continue;
            }
            ++plan.DryArea;
            double h = t.Elevation.Cells[i];
            if (h > 0.55)
                plan.Mountain += 1;
            else if (h > 0.30)
                plan.Hills += 1;
            plan.Forest += t.Forest.Cells[i];
            if (t.SeaDistance.Cells[i] < 10.0f) plan.Coast += 1;
            if (river[i]) plan.River += 1;
        }
    }
    for (int r = 0; r < regionCount; ++r) {
        RegionPlan& plan = world.Regions[r];
        plan.Box = boxes[r];
        plan.Centre = QPointF(sumX[r] / std::max(1, plan.Area), sumY[r] / std::max(1, plan.Area));
        double dry = std::max(1, plan.DryArea);
        plan.Mountain /= dry;
        plan.Hills /= dry;
        plan.Forest /= dry;
        plan.Coast /= dry;
        plan.River /= dry;
        plan.Lake /= std::max(1, plan.Area);
        QPointF s = seeds[order[r]];
        int landmass = t.Landmass.At(static_cast<int>(s.x()), static_cast<int>(s.y()));
        plan.Island = seedCount[landmass] == 1 && t.LandmassArea[landmass] < 20000;
    }

    // Islands alone in their own rectangle can be hit by the rectangle alone; that makes
    // small islands easy to click on the world map.
    std::vector<int> lonely;
    for (int r = 0; r < regionCount; ++r) {
        const QRect& box = world.Regions[r].Box;
        bool alone = true;
        for (int y = box.top(); y <= box.bottom() && alone; ++y)
            for (int x = box.left(); x <= box.right() && alone; ++x) {
                int o = world.RegionOf.At(x, y);
                if (o != 0 && o != r + 1) alone = false;
            }
        if (alone && world.Regions[r].Island) lonely.push_back(r);
    }
    std::stable_sort(lonely.begin(), lonely.end(),
                     [&](int a, int b) { return world.Regions[a].Area < world.Regions[b].Area; });
    for (std::size_t i = 0; i < lonely.size() && i < 3; ++i)
        world.Regions[lonely[i]].MaskHitTest = true;
}

}  // namespace brix::gen
