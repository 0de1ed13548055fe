#include <gtest/gtest.h>

#include <vector>

#include "core/data/ListMover.h"

namespace brix {
namespace {

TEST(ListMover, KeepsTheTargetAscendingAndSelectsTheNextSourceItem) {
    using V = std::vector<int>;
    struct Row {
        const char* What;
        V From, To;
        int Position;
        V NewFrom, NewTo;
        int Inserted, Next;
    };
    const Row rows[] = {
        {"first item: its follower takes the place", {1, 4, 9}, {}, 0, {4, 9}, {1}, 0, 0},
        {"last item: the one before", {1, 4, 9}, {16}, 2, {1, 4}, {9, 16}, 0, 1},
        {"an equal number goes after it", {4}, {4, 8}, 0, {}, {4, 4, 8}, 1, -1},
        {"an unsorted target: before the first higher", {6}, {9, 2}, 0, {}, {6, 9, 2}, 0, -1},
        {"no position moves nothing", {1, 2}, {3}, -1, {1, 2}, {3}, -1, -1},
        {"a position past the end moves nothing", {1, 2}, {3}, 2, {1, 2}, {3}, -1, -1},
    };
    for (const Row& row : rows) {
        V from = row.From;
        V to = row.To;
        const ListMove move = MoveBetweenLists(from, to, row.Position);
        EXPECT_EQ(from, row.NewFrom) << row.What;
        EXPECT_EQ(to, row.NewTo) << row.What;
        EXPECT_EQ(move.Inserted, row.Inserted) << row.What;
        EXPECT_EQ(move.NextInSource, row.Next) << row.What;
    }
}

}  // namespace
}  // namespace brix
