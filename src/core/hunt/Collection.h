#pragma once

#include <string>
#include <vector>

#include "core/data/GameRecords.h"

namespace brix {

// One line of the collection: maps held per level column, and their sum.
struct CollectionRow {
    std::string Name;
    std::vector<long long> Counts;  // one per column level
    long long Total = 0;
    bool Current = false;
};

// Maps held by every character, per level. Counts are summed over all treasures of the world;
// sums are wide enough for any number of maps a user data file can hold.
struct CollectionTable {
    std::vector<int> Levels;          // the level columns: the world's levels, rising
    std::vector<CollectionRow> Rows;  // one per character, in list order until sorted
    CollectionRow Totals;             // the sums of the columns, named "Total"
};

// The table for the characters; the row of `current` (a character of that list, or null) is
// marked current. Maps of levels or treasures the world does not hold are not counted.
CollectionTable BuildCollection(const std::vector<Character>& characters,
                                const GameRecords& records, const Character* current);

// The columns by number: 0 the name, 1..Levels.size() the levels, then the total.
int CollectionColumnCount(const CollectionTable& table);

// Sorts the character rows by a column (names in the program's name order, counts by value);
// rows that tie keep name order. The total row stays last. A column out of range changes
// nothing.
void SortCollection(CollectionTable& table, int column, bool descending);

// Tab-separated text with a header row ("Character", "L1".., "Total"), one line per character
// and the total row; CR LF throughout, so it pastes into a spreadsheet.
std::string CollectionText(const CollectionTable& table);

}  // namespace brix
