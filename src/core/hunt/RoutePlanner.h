#pragma once

#include <vector>

namespace brix {

// A place in world units.
struct PlanPoint {
    double X = 0;
    double Y = 0;
};

// One leg of a route: optionally a recall to a rune spot, then a walk to the stop.
struct RouteLeg {
    int Stop = 0;     // index into the stops
    int Rune = -1;    // index into the rune spots when the leg starts with a recall, else -1
    double Walk = 0;  // from the previous stop, or from the rune spot after a recall
};

struct Route {
    std::vector<RouteLeg> Legs;  // in visiting order, every stop once
    double WalkDistance = 0;
    int Recalls = 0;
    double Cost = 0;  // WalkDistance plus the recalls at their cost
};

// Routes up to this many stops are exact optima; longer ones come from a local search.
inline constexpr int ExactRouteStops = 11;

// An order of the stops and the way to travel each leg that keeps the cost small. Walking costs
// the straight distance; a recall costs `recallCost` and lands on any rune spot. The route may
// start anywhere: its first leg is a recall, or costs nothing when there are no rune spots. A
// leg starts with a recall only when that is strictly cheaper than walking, and recalls to the
// spot nearest the stop (the first listed on a tie). A negative cost counts as 0. The same input
// always gives the same route.
Route PlanRoute(const std::vector<PlanPoint>& stops, const std::vector<PlanPoint>& runes,
                double recallCost);

}  // namespace brix
