#include "Treasures.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "Labels.h"
#include "Random.h"
#include "Settlements.h"
#include "Terrain.h"

namespace brix::gen {

namespace {

// The region view shows a 404 × 354 multimap window around the middle of a region's
// treasures; keeping each region's treasures within a smaller box leaves room for labels.
constexpr double SpreadWidth = 170.0;  // map pixels
constexpr double SpreadHeight = 142.0;

std::vector<int> ShareTreasures(const World& world, int count) {
    const int n = static_cast<int>(world.Regions.size());
    long total = 0;
    for (const RegionPlan& r : world.Regions) total += r.DryArea;
    const int floorEach = std::min(3, count / std::max(1, n));
    std::vector<int> quota(n, floorEach);
    int left = count - floorEach * n;
    std::vector<std::pair<double, int>> remainders;
    int given = 0;
    for (int r = 0; r < n; ++r) {
        double share = static_cast<double>(left) * world.Regions[r].DryArea / std::max(1L, total);
        int whole = static_cast<int>(share);
        quota[r] += whole;
        given += whole;
        remainders.push_back({-(share - whole), r});
    }
    std::stable_sort(remainders.begin(), remainders.end());
    for (std::size_t i = 0; given < left; ++i, ++given) quota[remainders[i % n].second] += 1;
    return quota;
}

std::string SettingAt(const World& world, const std::vector<std::uint8_t>& nearRiver, int x,
                      int y) {
    const Terrain& t = world.Land;
    for (const Town& town : world.Towns)
        if (std::hypot(town.Centre.x() - x, town.Centre.y() - y) < town.Radius + 16.0)
            return "town";
    double h = t.Elevation.At(x, y);
    if (h > 0.55) return "mountain";
    bool lake = false;
    for (int dy = -8; dy <= 8 && !lake; dy += 2)
        for (int dx = -8; dx <= 8 && !lake; dx += 2)
            if (t.Kind.Inside(x + dx, y + dy) && t.Kind.At(x + dx, y + dy) == Ground::Lake)
                lake = true;
    if (lake) return "lake";
    if (t.SeaDistance.At(x, y) < 10.0f) return "coast";
    if (nearRiver[y * MapWidth + x]) return "river";
    if (t.Forest.At(x, y) > 0.5f) return "forest";
    if (h > 0.30) return "hills";
    return "field";
}

}  // namespace

void BuryTreasures(World& world, Random& random, int count) {
    const Terrain& t = world.Land;
    std::vector<std::vector<QPointF>> riverLines, roadLines;
    for (const River& r : world.Rivers) riverLines.push_back(r.Points);
    for (const Road& r : world.Roads) roadLines.push_back(r.Points);
    std::vector<std::uint8_t> river = RasterizeLines(riverLines, 3.5);
    std::vector<std::uint8_t> nearRiver = RasterizeLines(riverLines, 8.0);
    std::vector<std::uint8_t> road = RasterizeLines(roadLines, 2.5);

    // Usable ground: dry land two pixels inside its region, off rivers, roads and towns.
    const int n = MapWidth * MapHeight;
    std::vector<std::uint8_t> usable(n, 0);
    for (int y = 3; y < MapHeight - 3; ++y) {
        for (int x = 3; x < MapWidth - 3; ++x) {
            int i = y * MapWidth + x;
            if (t.Kind.Cells[i] != Ground::Land || river[i] || road[i]) continue;
            if (t.SeaDistance.Cells[i] < 3.0f) continue;
            int region = world.RegionOf.Cells[i];
            bool clear = true;
            for (int dy = -3; dy <= 3 && clear; ++dy)
                for (int dx = -3; dx <= 3 && clear; ++dx) {
                    int j = i + dy * MapWidth + dx;
                    if (t.Kind.Cells[j] != Ground::Land || world.RegionOf.Cells[j] != region)
                        clear = false;
                }
            if (clear) usable[i] = 1;
        }
    }
    for (const Town& town : world.Towns) {
        int r = static_cast<int>(town.Radius + 5.0);
        for (int y = static_cast<int>(town.Centre.y()) - r; y <= town.Centre.y() + r; ++y)
            for (int x = static_cast<int>(town.Centre.x()) - r; x <= town.Centre.x() + r; ++x)
                if (t.Kind.Inside(x, y)) usable[y * MapWidth + x] = 0;
    }

    const int regionCount = static_cast<int>(world.Regions.size());
    std::vector<std::vector<QPoint>> candidates(regionCount);
    for (int y = 0; y < MapHeight; ++y) {
        for (int x = 0; x < MapWidth; ++x) {
            int i = y * MapWidth + x;
            if (!usable[i]) continue;
            int r = world.RegionOf.Cells[i] - 1;
            const RegionPlan& plan = world.Regions[r];
            if (std::fabs(x - plan.Centre.x()) > SpreadWidth / 2 ||
                std::fabs(y - plan.Centre.y()) > SpreadHeight / 2)
                continue;
            candidates[r].push_back(QPoint(x, y));
        }
    }
    // A region whose land lies away from its centroid (a crescent, a split island) takes its
    // spread box around the middle of its usable ground instead.
    for (int r = 0; r < regionCount; ++r) {
        if (candidates[r].size() >= 40) continue;
        std::vector<QPoint> all;
        QPointF middle(0, 0);
        for (int i = 0; i < n; ++i)
            if (usable[i] && world.RegionOf.Cells[i] == r + 1) {
                all.push_back(QPoint(i % MapWidth, i / MapWidth));
                middle += QPointF(all.back());
            }
        if (all.empty()) continue;
        middle /= static_cast<double>(all.size());
        candidates[r].clear();
        for (QPoint p : all)
            if (std::fabs(p.x() - middle.x()) <= SpreadWidth / 2 &&
                std::fabs(p.y() - middle.y()) <= SpreadHeight / 2)
                candidates[r].push_back(p);
    }

    std::vector<int> quota = ShareTreasures(world, count);
    std::vector<std::vector<QPoint>> chosen(regionCount);
    auto fill = [&](int r, int want, double spacing) {
        std::vector<QPoint> pool = candidates[r];
        random.Shuffle(pool);
        for (QPoint p : pool) {
            if (static_cast<int>(chosen[r].size()) >= want) break;
            bool clear = true;
            for (QPoint o : chosen[r])
                if (std::hypot(p.x() - o.x(), p.y() - o.y()) < spacing) clear = false;
            if (clear) chosen[r].push_back(p);
        }
    };
    for (int r = 0; r < regionCount; ++r) {
        for (double spacing = 24.0; spacing >= 7.0 && static_cast<int>(chosen[r].size()) < quota[r];
             spacing *= 0.9)
            fill(r, quota[r], spacing);
    }
    // Whatever a cramped region could not take goes to the roomiest regions.
    int missing = count;
    for (int r = 0; r < regionCount; ++r) missing -= static_cast<int>(chosen[r].size());
    std::vector<int> roomy(regionCount);
    for (int r = 0; r < regionCount; ++r) roomy[r] = r;
    std::stable_sort(roomy.begin(), roomy.end(), [&](int a, int b) {
        return candidates[a].size() * 1.0 / (chosen[a].size() + 1) >
               candidates[b].size() * 1.0 / (chosen[b].size() + 1);
    });
    for (std::size_t k = 0; missing > 0 && k < roomy.size() * 4; ++k) {
        int r = roomy[k % roomy.size()];
        std::size_t before = chosen[r].size();
        for (double spacing = 20.0; spacing >= 7.0 && chosen[r].size() == before; spacing *= 0.9)
            fill(r, static_cast<int>(before) + 1, spacing);
        missing -= static_cast<int>(chosen[r].size() - before);
    }

    // Numbers follow a walk through each region from its north-western treasure to the
    // nearest unvisited one, so neighbouring numbers lie near each other.
    for (int r = 0; r < regionCount; ++r) {
        std::vector<QPoint> left = chosen[r];
        if (left.empty()) continue;
        std::size_t start = 0;
        for (std::size_t i = 1; i < left.size(); ++i)
            if (left[i].x() + left[i].y() < left[start].x() + left[start].y()) start = i;
        QPoint at = left[start];
        left.erase(left.begin() + static_cast<long>(start));
        std::vector<QPoint> walk{at};
        while (!left.empty()) {
            std::size_t best = 0;
            for (std::size_t i = 1; i < left.size(); ++i)
                if ((left[i] - at).manhattanLength() < (left[best] - at).manhattanLength())
                    best = i;
            at = left[best];
            left.erase(left.begin() + static_cast<long>(best));
            walk.push_back(at);
        }
        for (QPoint p : walk) {
            TreasurePlan plan;
            plan.Index = static_cast<int>(world.Treasures.size()) + 1;
            plan.Region = r + 1;
            plan.X = p.x() * UnitsPerPixel + random.Int(0, UnitsPerPixel - 1);
            plan.Y = p.y() * UnitsPerPixel + random.Int(0, UnitsPerPixel - 1);
            plan.Setting = SettingAt(world, nearRiver, p.x(), p.y());
            world.Treasures.push_back(plan);
        }
    }
}

namespace {

bool SegmentHitsRect(QPointF a, QPointF b, const QRectF& r) {
    // Liang-Barsky clipping: does any part of a-b lie inside r?
    double t0 = 0.0, t1 = 1.0;
    double dx = b.x() - a.x(), dy = b.y() - a.y();
    const double p[4] = {-dx, dx, -dy, dy};
    const double q[4] = {a.x() - r.left(), r.right() - a.x(), a.y() - r.top(), r.bottom() - a.y()};
    for (int i = 0; i < 4; ++i) {
        if (p[i] == 0.0) {
            if (q[i] < 0.0) return false;
            continue;
        }
        double t = q[i] / p[i];
        if (p[i] < 0.0)
            t0 = std::max(t0, t);
        else
            t1 = std::min(t1, t);
        if (t0 > t1) return false;
    }
    return true;
}

bool SegmentsCross(QPointF a, QPointF b, QPointF c, QPointF d) {
    auto cross = [](QPointF o, QPointF p, QPointF q) {
        return (p.x() - o.x()) * (q.y() - o.y()) - (p.y() - o.y()) * (q.x() - o.x());
    };
    double d1 = cross(c, d, a), d2 = cross(c, d, b), d3 = cross(a, b, c), d4 = cross(a, b, d);
    return ((d1 > 0) != (d2 > 0)) && ((d3 > 0) != (d4 > 0));
}

QRectF Grow(const QRect& r, double by) {
    return QRectF(r.left() - by, r.top() - by, r.width() + 2 * by, r.height() + 2 * by);
}

}  // namespace

namespace {

struct Placement {
    int Dx = 0;
    int Dy = 0;
    double Cost = 0.0;
};

// What a label must keep clear of on one region's map: every tack, and the labels and leaders
// placed so far.
struct RegionMap {
    const std::vector<QRect>& Tacks;
    const std::vector<int>& List;  // the treasure of each tack
    QRect View;
    std::vector<QRect> Labels;
    std::vector<std::pair<QPointF, QPointF>> Leaders;

    void Add(const TreasurePlan& t, int dx, int dy) {
        Labels.push_back(LabelRectFor(t.X, t.Y, dx, dy, t.Index));
        Leaders.push_back(
            {QPointF(LeaderStartFor(t.X, t.Y, dx, dy)), QPointF(LeaderEndFor(t.X, t.Y, dx, dy))});
    }
};

// The cheapest free spot for the label of treasure `self`, or a zero offset when there is
// none. With `shunMinus`, spots whose leader reads as a minus sign are passed over.
Placement BestSpot(const TreasurePlan& t, int self, const RegionMap& map, bool shunMinus) {
    Placement best;
    best.Cost = 1e30;
    for (int distance : {30, 36, 44, 54, 66, 80, 96, 116, 140, 166}) {
        for (int a = 0; a < 32; ++a) {
            double angle = -std::numbers::pi / 4.0 + a * (2.0 * std::numbers::pi / 32.0);
            int dx = 2 * static_cast<int>(std::lround(distance * std::cos(angle)));
            int dy = 2 * static_cast<int>(std::lround(distance * std::sin(angle)));
            if (dx == 0 && dy == 0) continue;
            QRect rect = LabelRectFor(t.X, t.Y, dx, dy, t.Index);
            if (rect.left() < 0 || rect.top() < 0 || rect.right() >= MultimapWidth ||
                rect.bottom() >= MultimapHeight)
                continue;
            QRectF padded = Grow(rect, 2.0);
            bool blocked = false;
            for (const QRect& other : map.Labels)
                if (padded.intersects(QRectF(other))) blocked = true;
            for (const QRect& tack : map.Tacks)
                if (padded.intersects(QRectF(tack))) blocked = true;
            if (blocked) continue;
            QPoint s = LeaderStartFor(t.X, t.Y, dx, dy);
            QPoint e = LeaderEndFor(t.X, t.Y, dx, dy);
            if (shunMinus && ReadsAsMinus(s, e, rect)) continue;
            for (const QRect& other : map.Labels)
                if (SegmentHitsRect(s, e, Grow(other, 1.0))) blocked = true;
            for (std::size_t k = 0; k < map.Tacks.size() && !blocked; ++k)
                if (map.List[k] != self && SegmentHitsRect(s, e, Grow(map.Tacks[k], 0.0)))
                    blocked = true;
            if (blocked) continue;
            double cost = distance;
            for (const auto& [ls, le] : map.Leaders)
                if (SegmentsCross(s, e, ls, le)) cost += 70.0;
            // A label cut off by the edge of the region view is a last resort.
            if (!map.View.contains(rect)) cost += 10000.0;
            cost += 6.0 * (1.0 - std::cos(angle + std::numbers::pi / 5.0));
            if (cost < best.Cost) best = {dx, dy, cost};
        }
    }
    return best.Cost >= 1e30 ? Placement{} : best;
}

// Places the labels of one region's treasures greedily in the given order; a treasure that
// finds no free spot gets no label. Returns the offsets by position in `order`.
std::vector<Placement> PlaceRegionLabels(const World& world, const std::vector<int>& order,
                                         const std::vector<QRect>& tacks,
                                         const std::vector<int>& list, const QRect& view) {
    std::vector<Placement> result(order.size());
    RegionMap map{tacks, list, view, {}, {}};
    for (std::size_t n = 0; n < order.size(); ++n) {
        const TreasurePlan& t = world.Treasures[order[n]];
        const Placement best = BestSpot(t, order[n], map, false);
        if (best.Dx == 0 && best.Dy == 0) continue;
        result[n] = best;
        map.Add(t, best.Dx, best.Dy);
    }
    return result;
}

// Moves every label whose leader reads as a minus sign to the best spot that does not, the
// other labels staying where they are (players know them there); one with no such spot loses
// its label.
void MoveMinusLabels(World& world, const std::vector<int>& list, const std::vector<QRect>& tacks,
                     const QRect& view) {
    auto labelled = [](const TreasurePlan& t) { return t.LabelDx != 0 || t.LabelDy != 0; };
    for (int i : list) {
        TreasurePlan& t = world.Treasures[i];
        if (!labelled(t) || !ReadsAsMinus(LeaderStartFor(t.X, t.Y, t.LabelDx, t.LabelDy),
                                          LeaderEndFor(t.X, t.Y, t.LabelDx, t.LabelDy),
                                          LabelRectFor(t.X, t.Y, t.LabelDx, t.LabelDy, t.Index)))
            continue;
        RegionMap map{tacks, list, view, {}, {}};
        for (int j : list)
            if (j != i && labelled(world.Treasures[j]))
                map.Add(world.Treasures[j], world.Treasures[j].LabelDx, world.Treasures[j].LabelDy);
        const Placement spot = BestSpot(t, i, map, true);
        t.LabelDx = spot.Dx;
        t.LabelDy = spot.Dy;
    }
}

}  // namespace

void PlaceLabels(World& world, int unlabelled) {
    const int regionCount = static_cast<int>(world.Regions.size());
    std::vector<std::vector<int>> members(regionCount);
    for (const TreasurePlan& t : world.Treasures) members[t.Region - 1].push_back(t.Index - 1);
    std::vector<std::pair<double, int>> awkward;  // (-cost, treasure) of placed labels
    struct RegionArea {
        std::vector<int> List;
        std::vector<QRect> Tacks;
        QRect View;
    };
    std::vector<RegionArea> areas;

    for (int r = 0; r < regionCount; ++r) {
        const std::vector<int>& list = members[r];
        if (list.empty()) continue;
        // The window the region view will show: the middle of the treasures' bounding box.
        int minX = 1 << 30, minY = 1 << 30, maxX = 0, maxY = 0;
        for (int i : list) {
            minX = std::min(minX, world.Treasures[i].X);
            maxX = std::max(maxX, world.Treasures[i].X);
            minY = std::min(minY, world.Treasures[i].Y);
            maxY = std::max(maxY, world.Treasures[i].Y);
        }
        QRect view(QPoint((minX + maxX) / 2 / 2 - 202, (minY + maxY) / 2 / 2 - 177),
                   QSize(404, 354));
        if (view.left() < 0) view.moveLeft(0);
        if (view.top() < 0) view.moveTop(0);
        if (view.right() >= MultimapWidth) view.moveRight(MultimapWidth - 1);
        if (view.bottom() >= MultimapHeight) view.moveBottom(MultimapHeight - 1);
        // Tacks and labels are drawn 6 pixels left and 2 up unless the user corrects them;
        // keep the labels inside the window either way.
        view.adjust(6, 2, 0, 0);

        std::vector<QRect> tacks;
        for (int i : list) tacks.push_back(TackRectFor(world.Treasures[i].X, world.Treasures[i].Y));
        areas.push_back({list, tacks, view});
        // Most crowded treasures choose first, while there is still room around them.
        std::vector<std::pair<int, int>> crowding;
        for (int i : list) {
            int crowd = 0;
            for (int j : list) {
                double d = std::hypot(world.Treasures[i].X - world.Treasures[j].X,
                                      world.Treasures[i].Y - world.Treasures[j].Y);
                if (j != i && d < 200.0) ++crowd;
            }
            crowding.push_back({-crowd, i});
        }
        std::stable_sort(crowding.begin(), crowding.end());
        std::vector<int> order;
        for (auto [negCrowd, i] : crowding) order.push_back(i);

        // Greedy placement can box a label in; retry with the stranded treasures first.
        std::vector<int> bestOrder = order;
        std::vector<Placement> best;
        int bestMissing = 1 << 30;
        for (int attempt = 0; attempt < 8; ++attempt) {
            std::vector<Placement> placed = PlaceRegionLabels(world, order, tacks, list, view);
            std::vector<int> stranded, rest;
            for (std::size_t n = 0; n < order.size(); ++n)
                (placed[n].Dx == 0 && placed[n].Dy == 0 ? stranded : rest).push_back(order[n]);
            if (static_cast<int>(stranded.size()) < bestMissing) {
                bestMissing = static_cast<int>(stranded.size());
                best = placed;
                bestOrder = order;
            }
            if (stranded.empty()) break;
            order = stranded;
            order.insert(order.end(), rest.begin(), rest.end());
        }
        for (std::size_t n = 0; n < bestOrder.size(); ++n) {
            TreasurePlan& t = world.Treasures[bestOrder[n]];
            t.LabelDx = best[n].Dx;
            t.LabelDy = best[n].Dy;
            if (t.LabelDx != 0 || t.LabelDy != 0) awkward.push_back({-best[n].Cost, bestOrder[n]});
        }
    }
    int without = 0;
    for (const TreasurePlan& t : world.Treasures)
        if (t.LabelDx == 0 && t.LabelDy == 0) ++without;
    // A few treasures carry no label at all, as on the game's own maps; take the ones whose
    // labels had to sit furthest away.
    std::stable_sort(awkward.begin(), awkward.end());
    for (std::size_t k = 0; k < awkward.size() && without < unlabelled; ++k, ++without) {
        world.Treasures[awkward[k].second].LabelDx = 0;
        world.Treasures[awkward[k].second].LabelDy = 0;
    }
    // Last, so that no other label moves.
    for (const RegionArea& area : areas) MoveMinusLabels(world, area.List, area.Tacks, area.View);
}

}  // namespace brix::gen
