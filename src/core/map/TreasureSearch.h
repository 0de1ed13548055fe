#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "core/data/GameRecords.h"

namespace brix {

// How a treasure answered a search, the better kinds first.
enum class SearchMatch {
    Number,        // its number is the number asked for
    NumberStart,   // its number begins with the digits asked for
    ExactReading,  // it reads exactly as the sextant reading asked for
    NearReading,   // it lies near the sextant reading asked for
    NameStart,     // its name begins with the text asked for
    WordStart,     // a word of its name begins with the text asked for
    NameContains,  // its name holds the text asked for elsewhere
    RegionName,    // the name of its region holds the text asked for
};

struct SearchHit {
    int Treasure = 0;
    SearchMatch Match = SearchMatch::NameContains;
    double Distance = -1;  // minutes of arc from the reading asked for; -1 for other matches

    bool operator==(const SearchHit&) const = default;
};

// The texts of one found treasure as the find box lists them: its number, name, region name,
// coordinate text and, for a hit near a sextant reading, the distance in minutes of arc
// ("12.5'"); empty texts where the records hold nothing.
struct SearchHitTexts {
    std::string Number;
    std::string Name;
    std::string Region;
    std::string Coordinates;
    std::string Distance;
};
SearchHitTexts DescribeHit(const GameRecords& records, const SearchHit& hit);

// A text as the search compares it, in UTF-8: compatibility-decomposed, combining marks
// dropped and case folded, so "Éboulis" and "eboulis" compare equal.
std::string FoldForSearch(std::string_view text);

// Finds treasures by number, part of a name or sextant reading, best match first. Made once
// over the treasures (their names are folded then) and asked again at every keystroke.
class TreasureSearch {
public:
    static constexpr std::size_t DefaultMaxHits = 100;

    explicit TreasureSearch(const GameRecords& records);

    // Up to maxHits treasures answering the query (blanks around it do not count):
    // - digits, optionally after "#": the treasure with that number, then those whose number
    //   begins with the digits, then names holding them;
    // - a sextant reading (see ParseSextantReading): the treasures reading exactly so, then
    //   the others, nearest first;
    // - any other text: names holding it, those beginning with it first, then those with a
    //   word beginning with it; then the other treasures of every region whose name holds it.
    // Ties keep number order. A blank query, or one that folds to nothing, finds nothing.
    std::vector<SearchHit> Find(std::string_view query, std::size_t maxHits = DefaultMaxHits) const;

private:
    struct Entry {
        int Index = 0;
        IntPoint Location;
        std::string Number;      // the index in decimal
        std::string Name;        // folded
        std::size_t Region = 0;  // position in regionNames_
    };

    std::vector<SearchHit> FindNumber(std::string_view digits, std::size_t maxHits) const;
    std::vector<SearchHit> FindName(std::string_view folded, std::size_t maxHits) const;

    std::vector<Entry> entries_;  // in number order
    // Folded region names by Index; the first, for treasures of no known region, is empty.
    std::vector<std::string> regionNames_;
};

}  // namespace brix
