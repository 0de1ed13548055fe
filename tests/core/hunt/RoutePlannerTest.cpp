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
    std::vector<int> order(stops.size());
    std::iota(order.begin(), order.end(), 0);
    double best = INFINITY;
    do {
        double cost = runes.empty() ? 0.0 : RecallInto(runes, recallCost, stops[order[0]]);
        for (std::size_t k = 1; k < order.size() && cost < best; ++k)
            cost += std::min(Distance(stops[order[k - 1]], stops[order[k]]),
                             RecallInto(runes, recallCost, stops[order[k]]));
        best = std::min(best, cost);
    } while (std::next_permutation(order.begin(), order.end()));
    return best;
}

// Checks that the legs visit every stop once and travel as they say (a recall lands on the spot
// nearest its stop, a walk comes from the stop before) and add up to the cost. Returns the cost.
double CheckLegs(const Route& route, const std::vector<PlanPoint>& stops,
                 const std::vector<PlanPoint>& runes, double recallCost) {
    std::vector<int> seen(stops.size(), 0);
    double cost = 0;
    for (std::size_t k = 0; k < route.Legs.size(); ++k) {
        const RouteLeg& leg = route.Legs[k];
        const PlanPoint stop = stops.at(static_cast<std::size_t>(leg.Stop));
        ++seen[static_cast<std::size_t>(leg.Stop)];
        double walk = k == 0 ? 0.0 : Distance(stops[route.Legs[k - 1].Stop], stop);
        if (leg.Rune >= 0) {
            walk = Distance(runes.at(static_cast<std::size_t>(leg.Rune)), stop);
            EXPECT_NEAR(recallCost + walk, RecallInto(runes, recallCost, stop), 1e-9) << k;
            cost += recallCost;
        }
        EXPECT_NEAR(leg.Walk, walk, 1e-9) << "leg " << k;
        cost += walk;
    }
    EXPECT_EQ(seen, std::vector<int>(stops.size(), 1));
    EXPECT_NEAR(route.Cost, cost, 1e-6);
    return route.Cost;
}

// Every size up to 8 five times over and two of 9 stops, with up to three rune spots: a leg
// that recalls or walks when the other is cheaper, or any worse order, costs more than the best.
TEST(RoutePlannerTest, SmallRoutesAreOptimal) {
    std::mt19937 random(2207);
    const double recallCosts[] = {0, 150, 300, 1200};
    for (int round = 0; round < 40; ++round) {
        const int stopCount = round < 2 ? 9 : 1 + round % 8;
        const int runeCount = static_cast<int>(random() % 4);
        const double recallCost = recallCosts[(round / 8) % 4];
        const std::vector<PlanPoint> stops = RandomPoints(random, stopCount);
        const std::vector<PlanPoint> runes = RandomPoints(random, runeCount);
        SCOPED_TRACE(testing::Message() << "round " << round << ": " << stopCount << " stops, "
                                        << runeCount << " runes, recall " << recallCost);
        EXPECT_NEAR(CheckLegs(PlanRoute(stops, runes, recallCost), stops, runes, recallCost),
                    BruteForceOptimum(stops, runes, recallCost), 1e-6);
    }
}

TEST(RoutePlannerTest, ARecallIsTakenExactlyWhenItPays) {
    // Two stops `gap` apart on a line, a rune spot on each: either order starts with a recall,
    // and the second leg recalls only when the recall is cheaper than the walk.
    const struct {
        double Gap;
        double RecallCost;
        bool WithRunes;
        int Recalls;
        double Cost;
    } rows[] = {
        {300, 300, true, 1, 600},   // a tie walks
        {301, 300, true, 2, 600},   // a recall a unit cheaper
        {400, -5, true, 2, 0},      // a negative cost counts as nothing
        {400, 300, false, 0, 400},  // no runes: a free start, then walk
    };
    for (const auto& row : rows) {
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

TEST(RoutePlannerTest, LongRoutesWithoutRunesStayNearTheSpanningTree) {
    for (unsigned seed : {11u, 12u, 13u}) {
        SCOPED_TRACE(seed);
        std::mt19937 random(seed);
        const std::vector<PlanPoint> stops = RandomPoints(random, 200);
        const Route route = PlanRoute(stops, {}, 300);
        EXPECT_LE(CheckLegs(route, stops, {}, 300), 1.25 * SpanningTreeLength(stops));
        // The same input gives the same route.
        const Route again = PlanRoute(stops, {}, 300);
        ASSERT_EQ(again.Legs.size(), route.Legs.size());
        for (std::size_t k = 0; k < route.Legs.size(); ++k)
            EXPECT_EQ(again.Legs[k].Stop, route.Legs[k].Stop);
    }
}

}  // namespace
}  // namespace brix
