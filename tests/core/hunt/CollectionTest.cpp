#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <vector>

#include "core/hunt/Collection.h"
#include "support/Records.h"

namespace brix {
namespace {

MapCounts Entry(int treasure, int level, int count) {
    MapCounts entry;
    entry.Index = treasure;
    entry.Counts[static_cast<std::size_t>(level - 1)] = count;
    return entry;
}

// Levels 1, 2, 3 and 5 (no level 4), treasures 1 and 2. Ann holds maps of three levels; Bob
// one of a world level, more of the missing level 4 and of an unknown treasure; Cid more maps
// of one level than an int holds.
class CollectionTest : public ::testing::Test {
protected:
    void SetUp() override {
        test::AddLevels(records_, {1, 2, 3, 5});
        test::AddTreasures(records_, {1, 2});
        characters_.resize(3);
        characters_[0] = {"ann", {Entry(1, 1, 2), Entry(1, 5, 1), Entry(2, 2, 1)}};
        characters_[1] = {"Bob", {Entry(1, 3, 1), Entry(1, 4, 3), Entry(40, 1, 5)}};
        characters_[2] = {"Cid", {Entry(1, 2, INT_MAX), Entry(2, 2, INT_MAX), Entry(2, 1, -4)}};
    }
    std::vector<std::string> Names(const CollectionTable& table) const {
        std::vector<std::string> names;
        for (const CollectionRow& row : table.Rows) names.push_back(row.Name);
        return names;
    }
    GameRecords records_;
    std::vector<Character> characters_;
};

TEST_F(CollectionTest, CountsEveryCharacterPerWorldLevel) {
    const CollectionTable table = BuildCollection(characters_, records_, &characters_[1]);
    ASSERT_EQ(table.Rows.size(), 3u);
    EXPECT_TRUE(table.Rows[1].Current);
    EXPECT_FALSE(table.Rows[0].Current || table.Rows[2].Current);
    EXPECT_EQ(CollectionText(table),
              "Character\tL1\tL2\tL3\tL5\tTotal\r\n"
              "ann\t2\t1\t0\t1\t4\r\n"
              "Bob\t0\t0\t1\t0\t1\r\n"
              "Cid\t0\t4294967294\t0\t0\t4294967294\r\n"
              "Total\t2\t4294967295\t1\t1\t4294967299\r\n");

    const CollectionTable empty = BuildCollection({}, GameRecords(), nullptr);
    EXPECT_EQ(CollectionText(empty), "Character\tTotal\r\nTotal\t0\r\n");
}

TEST_F(CollectionTest, SortsByAnyColumnAndKeepsTheTotalsLast) {
    struct Row {
        int Column;
        bool Descending;
        std::vector<std::string> Names;
    };
    const Row rows[] = {
        {0, true, {"Cid", "Bob", "ann"}},   // names without regard to case
        {1, false, {"Bob", "Cid", "ann"}},  // Bob and Cid tie at 0 and keep name order
        {5, true, {"Cid", "ann", "Bob"}},   // the total
        {6, true, {"Cid", "ann", "Bob"}},   // no such column: as it was
    };
    CollectionTable table = BuildCollection(characters_, records_, &characters_[1]);
    for (const Row& row : rows) {
        SCOPED_TRACE(row.Column);
        SortCollection(table, row.Column, row.Descending);
        EXPECT_EQ(Names(table), row.Names);
        EXPECT_EQ(table.Totals.Name, "Total");
        for (const CollectionRow& line : table.Rows) EXPECT_EQ(line.Current, line.Name == "Bob");
    }
}

}  // namespace
}  // namespace brix
