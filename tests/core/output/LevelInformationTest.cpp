#include <gtest/gtest.h>

#include <utility>

#include "core/output/LevelInformation.h"
#include "support/Records.h"

namespace brix {
namespace {

// Real data has gaps: levels 1, 2 and 5 put level 5 at the third position.
TEST(LevelInformation, ChoosesByNumberNotPosition) {
    GameRecords records;
    EXPECT_EQ(LevelInformation(records, 1).InitialPosition, -1);  // no levels: nothing shown
    EXPECT_EQ(LevelInformation(records).TextOf(1), "");
    test::AddLevels(records, {1, 2, 5});
    const std::pair<int, int> initialPositions[] = {{5, 2}, {3, 0}, {-1, 0}, {17, 0}};
    for (const auto& [initial, position] : initialPositions)
        EXPECT_EQ(LevelInformation(records, initial).InitialPosition, position) << initial;

    EXPECT_EQ(LevelInformation(records).TextOf(3), "");  // a gap
}

}  // namespace
}  // namespace brix
