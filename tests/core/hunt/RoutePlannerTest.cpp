#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numeric>
#include <random>
#include <vector>

#include "core/hunt/RoutePlanner.h"

namespace brix {
namespace {

double Distance(PlanPoint a, PlanPoint b) {
    return std::hypot(a.X - b.X, a.Y - b.Y);
}

std::vector<PlanPoint> RandomPoints(std::mt19937& random, int count) {
    std::vector<PlanPoint> points;
    for (int i = 0; i < count; ++i)
        points.push_back(
            {static_cast<double>(random() % 5120), static_cast<double>(random() % 4096)});
    return points;
}

// The travel rules, written out plainly: the cheapest arrival at a stop by recall.
double RecallInto(const std::vector<PlanPoint>& runes, double recallCost, PlanPoint stop) {
    double best = INFINITY;
    for (PlanPoint rune : runes) best = std::min(best, recallCost + Distance(rune, stop));
    return best;
}

// The best cost over every order of the stops.
double BruteForceOptimum(const std::vector<PlanPoint>& stops, const std::vector<PlanPoint>& runes,
                         double recallCost) {
    const std::size_t n = stops.size();
    std::vector<double> recall(n);
    std::vector<double> leg(n * n);
    for (std::size_t s = 0; s < n; ++s) {
        recall[s] = RecallInto(runes, recallCost, stops[s]);
        for (std::size_t from = 0; from < n; ++from)
            leg[from * n + s] = std::min(Distance(stops[from], stops[s]), recall[s]);
    }
    std::vector<int> order(n);
    std::iota(order.begin(), order.end(), 0);
    double best = INFINITY;
    do {
        double cost = runes.empty() ? 0.0 : recall[order[0]];
        for (std::size_t k = 1; k < n && cost < best; ++k)
            cost += leg[static_cast<std::size_t>(order[k - 1]) * n +
                        static_cast<std::size_t>(order[k])];
        best = std::min(best, cost);
    } while (std::next_permutation(order.begin(), order.end()));
    return best;
}

// Checks that the legs visit every stop once and travel as they say, that a leg recalls
// exactly when that is cheaper than walking, and that the totals are the legs' sums. Returns
// the cost walked along the legs.
double CheckLegs(const Route& route, const std::vector<PlanPoint>& stops,
                 const std::vector<PlanPoint>& runes, double recallCost) {
    EXPECT_EQ(route.Legs.size(), stops.size());
    std::vector<int> seen(stops.size(), 0);
    double walked = 0;
    int recalls = 0;
    for (std::size_t k = 0; k < route.Legs.size(); ++k) {
        const RouteLeg& leg = route.Legs[k];
        EXPECT_EQ(seen.at(static_cast<std::size_t>(leg.Stop))++, 0) << "stop " << leg.Stop;
        const PlanPoint stop = stops[static_cast<std::size_t>(leg.Stop)];
        const double recall = RecallInto(runes, recallCost, stop);
        if (k == 0) {
            EXPECT_EQ(leg.Rune >= 0, !runes.empty()) << "the first leg recalls when it can";
            if (runes.empty()) {
                EXPECT_EQ(leg.Walk, 0.0);
            }
        } else {
            const double walk =
                Distance(stops[static_cast<std::size_t>(route.Legs[k - 1].Stop)], stop);
            EXPECT_EQ(leg.Rune >= 0, recall < walk) << "leg " << k;
            if (leg.Rune < 0) {
                EXPECT_NEAR(leg.Walk, walk, 1e-9);
            }
        }
        if (leg.Rune >= 0) {
            ++recalls;
            EXPECT_NEAR(leg.Walk, Distance(runes.at(static_cast<std::size_t>(leg.Rune)), stop),
                        1e-9);
            EXPECT_NEAR(recallCost + leg.Walk, recall, 1e-9) << "recalls to the nearest spot";
        }
        walked += leg.Walk;
    }
    EXPECT_EQ(route.Recalls, recalls);
    EXPECT_NEAR(route.WalkDistance, walked, 1e-6);
    EXPECT_NEAR(route.Cost, walked + recalls * recallCost, 1e-6);
    return route.Cost;
}

TEST(RoutePlannerTest, SmallRoutesAreOptimal) {
    std::mt19937 random(2207);
    const double recallCosts[] = {0, 150, 300, 1200};
    for (int round = 0; round < 40; ++round) {
        // Every size up to 8 five times over, and two of 9 stops.
        const int stopCount = round < 2 ? 9 : 1 + round % 8;
        const int runeCount = static_cast<int>(random() % 4);
        const double recallCost = recallCosts[(round / 8) % 4];
        const std::vector<PlanPoint> stops = RandomPoints(random, stopCount);
        const std::vector<PlanPoint> runes = RandomPoints(random, runeCount);
        SCOPED_TRACE(testing::Message() << "round " << round << ": " << stopCount << " stops, "
                                        << runeCount << " runes, recall " << recallCost);
        const Route route = PlanRoute(stops, runes, recallCost);
        EXPECT_NEAR(CheckLegs(route, stops, runes, recallCost),
                    BruteForceOptimum(stops, runes, recallCost), 1e-6);
    }
}

TEST(RoutePlannerTest, ARecallIsTakenExactlyWhenItPays) {
    // Two stops `gap` apart on a line, a rune spot on each: either order starts with a recall,
    // and the second leg recalls only when the recall is cheaper than the walk.
    struct Row {
        double Gap;
        double RecallCost;
        bool WithRunes;
        int Recalls;
        double Cost;
    };
    const Row rows[] = {
        {400, 300, true, 2, 600},                        // 300 < 400: recall
        {300, 300, true, 1, 600},                        // a tie walks
        {299, 300, true, 1, 599},  {50, 0, true, 2, 0},  // free recalls
        {400, -5, true, 2, 0},                           // a negative cost counts as nothing
        {400, 300, false, 0, 400},                       // no runes: a free start, then walk
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(testing::Message() << "gap " << row.Gap << ", recall " << row.RecallCost);
        const std::vector<PlanPoint> stops = {{1000, 1000}, {1000 + row.Gap, 1000}};
        const std::vector<PlanPoint> runes = row.WithRunes ? stops : std::vector<PlanPoint>{};
        const Route route = PlanRoute(stops, runes, row.RecallCost);
        EXPECT_EQ(route.Recalls, row.Recalls);
        EXPECT_DOUBLE_EQ(route.Cost, row.Cost);
        EXPECT_EQ(route.Legs.size(), 2u);
    }
    EXPECT_TRUE(PlanRoute({}, {{1, 1}}, 300).Legs.empty());
}

double NearestNeighbourLength(const std::vector<PlanPoint>& stops) {
    std::vector<char> visited(stops.size(), 0);
    std::size_t at = 0;
    visited[0] = 1;
    double length = 0;
    for (std::size_t step = 1; step < stops.size(); ++step) {
        std::size_t next = stops.size();
        for (std::size_t s = 0; s < stops.size(); ++s)
            if (!visited[s] && (next == stops.size() ||
                                Distance(stops[at], stops[s]) < Distance(stops[at], stops[next])))
                next = s;
        visited[next] = 1;
        length += Distance(stops[at], stops[next]);
        at = next;
    }
    return length;
}

// Prim's algorithm; no route through every stop is shorter than this tree.
double SpanningTreeLength(const std::vector<PlanPoint>& stops) {
    std::vector<double> reach(stops.size(), INFINITY);
    std::vector<char> inTree(stops.size(), 0);
    reach[0] = 0;
    double length = 0;
    for (std::size_t k = 0; k < stops.size(); ++k) {
        std::size_t next = stops.size();
        for (std::size_t s = 0; s < stops.size(); ++s)
            if (!inTree[s] && (next == stops.size() || reach[s] < reach[next])) next = s;
        inTree[next] = 1;
        length += reach[next];
        for (std::size_t s = 0; s < stops.size(); ++s)
            reach[s] = std::min(reach[s], Distance(stops[next], stops[s]));
    }
    return length;
}

TEST(RoutePlannerTest, LongRoutesWithoutRunesBeatNearestNeighbourAndStayNearTheTree) {
    for (unsigned seed : {11u, 12u, 13u}) {
        SCOPED_TRACE(seed);
        std::mt19937 random(seed);
        const std::vector<PlanPoint> stops = RandomPoints(random, 200);
        const Route route = PlanRoute(stops, {}, 300);
        const double length = CheckLegs(route, stops, {}, 300);
        EXPECT_EQ(route.Recalls, 0);
        EXPECT_LE(length, NearestNeighbourLength(stops) + 1e-6);
        EXPECT_LE(length, 1.25 * SpanningTreeLength(stops));
        // The same input gives the same route.
        const Route again = PlanRoute(stops, {}, 300);
        ASSERT_EQ(again.Legs.size(), route.Legs.size());
        for (std::size_t k = 0; k < route.Legs.size(); ++k)
            EXPECT_EQ(again.Legs[k].Stop, route.Legs[k].Stop);
    }
}

}  // namespace
}  // namespace brix
