#include "core/hunt/RoutePlanner.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <limits>

namespace brix {
namespace {

constexpr double Never = std::numeric_limits<double>::infinity();
// Below this a change is rounding noise in the running sums, not an improvement; taking it
// could let two moves undo each other for ever.
constexpr double Gain = 1e-7;
// Candidates per stop for the local search: its nearest stops, and the stops cheapest to
// recall to (those are close to every stop once recalls are cheap).
constexpr int NearestCandidates = 8;
constexpr int RecallCandidates = 5;

double Distance(PlanPoint a, PlanPoint b) {
    const double dx = a.X - b.X;
    const double dy = a.Y - b.Y;
    return std::sqrt(dx * dx + dy * dy);
}

// What a leg costs. Whether a leg may start with a recall does not depend on where the player
// stands, so the cheapest recall into each stop is worked out once.
class LegCosts {
public:
    LegCosts(const std::vector<PlanPoint>& stops, const std::vector<PlanPoint>& runes,
             double recallCost)
        : stops_(stops),
          recallCost_(std::max(recallCost, 0.0)),
          hasRunes_(!runes.empty()),
          arrive_(stops.size(), Never),
          rune_(stops.size(), -1),
          runeWalk_(stops.size(), 0) {
        for (std::size_t s = 0; s < stops.size(); ++s) {
            for (std::size_t r = 0; r < runes.size(); ++r) {
                const double walk = Distance(runes[r], stops[s]);
                if (rune_[s] < 0 || walk < runeWalk_[s]) {
                    rune_[s] = static_cast<int>(r);
                    runeWalk_[s] = walk;
                }
            }
            if (hasRunes_) arrive_[s] = recallCost_ + runeWalk_[s];
        }
    }

    int Size() const { return static_cast<int>(stops_.size()); }
    bool HasRunes() const { return hasRunes_; }
    double RecallCost() const { return recallCost_; }
    double Arrive(int to) const { return arrive_[static_cast<std::size_t>(to)]; }
    double Walk(int from, int to) const {
        return Distance(stops_[static_cast<std::size_t>(from)],
                        stops_[static_cast<std::size_t>(to)]);
    }
    // The first leg, from anywhere.
    double Start(int to) const { return hasRunes_ ? Arrive(to) : 0.0; }
    double Leg(int from, int to) const { return std::min(Walk(from, to), Arrive(to)); }

    RouteLeg MakeLeg(int from, int to) const {
        RouteLeg leg;
        leg.Stop = to;
        const auto slot = static_cast<std::size_t>(to);
        if (from < 0) {
            if (hasRunes_) {
                leg.Rune = rune_[slot];
                leg.Walk = runeWalk_[slot];
            }
            return leg;
        }
        const double walk = Walk(from, to);
        if (hasRunes_ && arrive_[slot] < walk) {
            leg.Rune = rune_[slot];
            leg.Walk = runeWalk_[slot];
        } else {
            leg.Walk = walk;
        }
        return leg;
    }

private:
    const std::vector<PlanPoint>& stops_;
    double recallCost_;
    bool hasRunes_;
    std::vector<double> arrive_;  // recall cost plus the walk from the nearest rune spot
    std::vector<int> rune_;
    std::vector<double> runeWalk_;
};

// The cheapest order by dynamic programming over the sets of stops visited, ending at each stop.
std::vector<int> ExactOrder(const LegCosts& costs) {
    const int n = costs.Size();
    const auto un = static_cast<std::size_t>(n);
    std::vector<double> leg(un * un);
    for (int a = 0; a < n; ++a)
        for (int b = 0; b < n; ++b) leg[static_cast<std::size_t>(a * n + b)] = costs.Leg(a, b);

    const std::size_t sets = std::size_t{1} << un;
    std::vector<double> best(sets * un, Never);
    std::vector<std::int8_t> before(sets * un, -1);
    for (int s = 0; s < n; ++s)
        best[(std::size_t{1} << s) * un + static_cast<std::size_t>(s)] = costs.Start(s);
    for (std::size_t set = 1; set < sets; ++set) {
        for (int last = 0; last < n; ++last) {
            const double sofar = best[set * un + static_cast<std::size_t>(last)];
            if (sofar == Never) continue;
            for (int next = 0; next < n; ++next) {
                const std::size_t bit = std::size_t{1} << next;
                if ((set & bit) != 0) continue;
                const double cost = sofar + leg[static_cast<std::size_t>(last * n + next)];
                const std::size_t slot = (set | bit) * un + static_cast<std::size_t>(next);
                if (cost < best[slot]) {
                    best[slot] = cost;
                    before[slot] = static_cast<std::int8_t>(last);
                }
            }
        }
    }
    std::size_t set = sets - 1;
    int last = 0;
    for (int s = 1; s < n; ++s)
        if (best[set * un + static_cast<std::size_t>(s)] <
            best[set * un + static_cast<std::size_t>(last)])
            last = s;
    std::vector<int> order;
    while (last >= 0) {
        order.push_back(last);
        const int previous = before[set * un + static_cast<std::size_t>(last)];
        set &= ~(std::size_t{1} << last);
        last = previous;
    }
    std::reverse(order.begin(), order.end());
    return order;
}

// A local search over the order: 2-opt and or-opt moves among each stop's candidates, with a
// queue of the stops whose surroundings changed (the others are not looked at again). The tour
// holds the stops behind a "depot" at position 0 that stands for the start anywhere: leaving it
// costs the first leg, returning to it costs nothing (the route ends at its last stop). That
// makes every move a move on a closed tour.
class LocalSearch {
public:
    explicit LocalSearch(const LegCosts& costs)
        : costs_(costs), n_(costs.Size()), depot_(costs.Size()) {
        BuildCandidates();
        NearestNeighbourTour();
    }

    std::vector<int> Run() {
        std::vector<char> queued(static_cast<std::size_t>(n_) + 1, 1);
        queue_.assign(tour_.begin(), tour_.end());
        queued_.swap(queued);
        // Every move saves at least Gain, so the search ends; the bound only caps its time.
        long long movesLeft = 50LL * n_ + 1000;
        while (!queue_.empty() && movesLeft > 0) {
            const int node = queue_.front();
            queue_.pop_front();
            queued_[static_cast<std::size_t>(node)] = 0;
            if (Improve(node)) {
                --movesLeft;
                Wake(node);
            }
        }
        return std::vector<int>(tour_.begin() + 1, tour_.end());
    }

private:
    static std::size_t Slot(int i) { return static_cast<std::size_t>(i); }

    double Cost(int from, int to) const {
        if (to == depot_) return 0.0;
        if (from == depot_) return costs_.Start(to);
        return costs_.Leg(from, to);
    }
    int At(int p) const { return tour_[Slot(p)]; }
    // The node after position p on the closed tour.
    int After(int p) const { return p < n_ ? At(p + 1) : depot_; }

    void BuildCandidates() {
        std::vector<int> byRecall(Slot(n_));
        for (int s = 0; s < n_; ++s) byRecall[Slot(s)] = s;
        const auto cheaperRecall = [this](int a, int b) {
            return costs_.Arrive(a) != costs_.Arrive(b) ? costs_.Arrive(a) < costs_.Arrive(b)
                                                        : a < b;
        };
        const int recallKept = costs_.HasRunes() ? std::min(RecallCandidates, n_) : 0;
        std::partial_sort(byRecall.begin(), byRecall.begin() + recallKept, byRecall.end(),
                          cheaperRecall);
        // Without rune spots every first stop is free, and the moves that pick it come from the
        // stops' own candidates.
        depotCandidates_.assign(byRecall.begin(), byRecall.begin() + recallKept);

        candidates_.assign(Slot(n_), {});
        std::vector<std::pair<double, int>> near;
        for (int a = 0; a < n_; ++a) {
            near.clear();
            for (int b = 0; b < n_; ++b)
                if (b != a) near.emplace_back(costs_.Walk(a, b), b);
            const auto kept = std::min<std::size_t>(NearestCandidates, near.size());
            std::partial_sort(near.begin(), near.begin() + static_cast<std::ptrdiff_t>(kept),
                              near.end());
            std::vector<int>& list = candidates_[Slot(a)];
            for (std::size_t k = 0; k < kept; ++k) list.push_back(near[k].second);
            for (int k = 0; k < recallKept; ++k) {
                const int b = byRecall[Slot(k)];
                if (b != a && std::find(list.begin(), list.end(), b) == list.end())
                    list.push_back(b);
            }
        }
    }

    void NearestNeighbourTour() {
        tour_.assign(1, depot_);
        std::vector<char> visited(Slot(n_), 0);
        int current = depot_;
        for (int step = 0; step < n_; ++step) {
            int best = -1;
            double bestCost = Never;
            for (int b = 0; b < n_; ++b) {
                if (visited[Slot(b)]) continue;
                const double cost = Cost(current, b);
                if (best < 0 || cost < bestCost) {
                    best = b;
                    bestCost = cost;
                }
            }
            visited[Slot(best)] = 1;
            tour_.push_back(best);
            current = best;
        }
        position_.assign(Slot(n_) + 1, 0);
        ahead_.assign(Slot(n_), 0.0);
        back_.assign(Slot(n_), 0.0);
        forward_.assign(Slot(n_) + 1, 0.0);
        backward_.assign(Slot(n_) + 1, 0.0);
        Refresh(0, n_);
    }

    // After the nodes at positions low..high changed: their positions, the legs touching them
    // both ways, and the running sums of the legs, so a reversed stretch is priced without
    // walking it.
    void Refresh(int low, int high) {
        for (int p = low; p <= high; ++p) position_[Slot(At(p))] = p;
        const int firstLeg = std::max(low - 1, 0);
        const int lastLeg = std::min(high, n_ - 1);
        for (int p = firstLeg; p <= lastLeg; ++p) {
            ahead_[Slot(p)] = Cost(At(p), At(p + 1));
            back_[Slot(p)] = Cost(At(p + 1), At(p));
        }
        for (int p = firstLeg; p < n_; ++p) {
            forward_[Slot(p + 1)] = forward_[Slot(p)] + ahead_[Slot(p)];
            backward_[Slot(p + 1)] = backward_[Slot(p)] + back_[Slot(p)];
        }
    }
    double Forward(int from, int to) const { return forward_[Slot(to)] - forward_[Slot(from)]; }
    double Backward(int from, int to) const { return backward_[Slot(to)] - backward_[Slot(from)]; }

    void Wake(int node) {
        if (queued_[Slot(node)]) return;
        queued_[Slot(node)] = 1;
        queue_.push_back(node);
    }

    // Reverses positions i+1..j when that saves.
    bool TryReverse(int i, int j) {
        if (i < 0 || j > n_ || i + 1 >= j) return false;
        const int a = At(i);
        const int b = At(i + 1);
        const int c = At(j);
        const int d = After(j);
        const double delta = Cost(a, c) + Cost(b, d) + Backward(i + 1, j) - Cost(a, b) -
                             Cost(c, d) - Forward(i + 1, j);
        if (delta > -Gain) return false;
        std::reverse(tour_.begin() + i + 1, tour_.begin() + j + 1);
        Refresh(i + 1, j);
        for (int node : {a, b, c, d}) Wake(node);
        return true;
    }

    // Moves positions s..s+length-1 to just after position k, turned round or not, when that
    // saves.
    bool TryMove(int s, int length, int k) {
        const int e = s + length - 1;
        if (s < 1 || e > n_ || k < 0 || k > n_ || (k >= s - 1 && k <= e)) return false;
        const int first = At(s);
        const int last = At(e);
        const int before = At(s - 1);
        const int after = After(e);
        const int u = At(k);
        const int v = After(k);
        const double removed = Cost(before, first) + Cost(last, after) - Cost(before, after);
        const double kept = Cost(u, first) + Cost(last, v) - Cost(u, v);
        const double turned =
            Cost(u, last) + Cost(first, v) - Cost(u, v) + Backward(s, e) - Forward(s, e);
        const bool turn = turned < kept;
        if (std::min(kept, turned) - removed > -Gain) return false;
        const std::vector<int> segment(tour_.begin() + s, tour_.begin() + e + 1);
        tour_.erase(tour_.begin() + s, tour_.begin() + e + 1);
        const int insertAt = k < s ? k + 1 : k + 1 - length;
        if (turn)
            tour_.insert(tour_.begin() + insertAt, segment.rbegin(), segment.rend());
        else
            tour_.insert(tour_.begin() + insertAt, segment.begin(), segment.end());
        Refresh(std::min(s, insertAt), std::max(e, insertAt + length - 1));
        for (int node : {first, last, before, after, u, v}) Wake(node);
        return true;
    }

    bool TryMoveNear(int s, int length) {
        if (TryMove(s, length, 0) || TryMove(s, length, n_)) return true;
        for (int end : {At(s), At(s + length - 1)}) {
            for (int w : candidates_[Slot(end)]) {
                const int q = position_[Slot(w)];
                if (TryMove(s, length, q) || TryMove(s, length, q - 1)) return true;
            }
        }
        return false;
    }

    // One improving move around the node, if there is one.
    bool Improve(int node) {
        const int p = position_[Slot(node)];
        const std::vector<int>& list = node == depot_ ? depotCandidates_ : candidates_[Slot(node)];
        for (int other : list) {
            const int q = position_[Slot(other)];
            const int low = std::min(p, q);
            const int high = std::max(p, q);
            if (TryReverse(low, high) || TryReverse(low - 1, high - 1)) return true;
        }
        if (node == depot_) return false;
        for (int length = 1; length <= 3; ++length) {
            if (p + length - 1 <= n_ && TryMoveNear(p, length)) return true;
            if (length > 1 && p - length + 1 >= 1 && TryMoveNear(p - length + 1, length))
                return true;
        }
        return false;
    }

    const LegCosts& costs_;
    int n_;
    int depot_;
    std::vector<std::vector<int>> candidates_;
    std::vector<int> depotCandidates_;
    std::vector<int> tour_;  // depot first
    std::vector<int> position_;
    std::vector<double> ahead_;  // leg p: from position p to p + 1
    std::vector<double> back_;   // the same two stops the other way
    std::vector<double> forward_;
    std::vector<double> backward_;
    std::deque<int> queue_;
    std::vector<char> queued_;
};

}  // namespace

Route PlanRoute(const std::vector<PlanPoint>& stops, const std::vector<PlanPoint>& runes,
                double recallCost) {
    Route route;
    if (stops.empty()) return route;
    const LegCosts costs(stops, runes, recallCost);
    const std::vector<int> order =
        costs.Size() <= ExactRouteStops ? ExactOrder(costs) : LocalSearch(costs).Run();
    int from = -1;
    for (int stop : order) {
        const RouteLeg leg = costs.MakeLeg(from, stop);
        route.WalkDistance += leg.Walk;
        if (leg.Rune >= 0) ++route.Recalls;
        route.Legs.push_back(leg);
        from = stop;
    }
    route.Cost = route.WalkDistance + route.Recalls * costs.RecallCost();
    return route;
}

}  // namespace brix
