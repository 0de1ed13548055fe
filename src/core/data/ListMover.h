#pragma once

#include <vector>

namespace brix {

// Where a move between two numbered lists left things: the moved number's place in the target
// list, and the place in the source list to select next (-1 when the source is now empty).
struct ListMove {
    int Inserted = -1;
    int NextInSource = -1;
};

// Moves the number at `position` of `from` into `to`, which stays ascending: the number goes
// before the first higher one. The source selects the item that took the moved one's place, or
// the one before when the moved item was the last. A position outside `from` moves nothing and
// gives {-1, -1}. Shared by the filter's level lists and the rune book's treasure lists.
ListMove MoveBetweenLists(std::vector<int>& from, std::vector<int>& to, int position);

}  // namespace brix
