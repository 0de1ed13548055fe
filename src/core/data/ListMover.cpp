#include "core/data/ListMover.h"

#include <algorithm>

namespace brix {

ListMove MoveBetweenLists(std::vector<int>& from, std::vector<int>& to, int position) {
    if (position < 0 || position >= static_cast<int>(from.size())) return {};
    const int number = from[static_cast<std::size_t>(position)];
    from.erase(from.begin() + position);
    // The first higher number, looked for from the start: a book read from a hand-edited file
    // may not be in order, and a binary search would then land anywhere.
    const auto place = std::find_if(to.begin(), to.end(), [number](int n) { return n > number; });
    ListMove move;
    move.Inserted = static_cast<int>(place - to.begin());
    to.insert(place, number);
    const int left = static_cast<int>(from.size());
    move.NextInSource = left == 0 ? -1 : std::min(position, left - 1);
    return move;
}

}  // namespace brix
