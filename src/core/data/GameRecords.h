#pragma once

#include <vector>

#include "core/data/Records.h"

namespace brix {

// The read-only world of data.xml: levels, regions and treasures in arrays indexed by their
// Index. Slot k holds the record whose Index is k; slots never stored into hold empty records
// (Index 0), slot 0 included, and every walk skips them.
//
// Pointers handed out by look-ups stay valid only until the next store into the same array.
struct GameRecords {
    std::vector<Level> Levels;
    std::vector<Region> Regions;
    std::vector<Treasure> Treasures;

    // Stores a record at slot Index, growing the array; a later record replaces an earlier one.
    // A record with an Index below 1 is not stored.
    void StoreLevel(const Level& level);
    void StoreRegion(const Region& region);
    void StoreTreasure(const Treasure& treasure);

    const Level* FindLevel(int index) const;
    const Region* FindRegion(int index) const;
    const Treasure* FindTreasure(int index) const;
    Region* FindRegion(int index);
    Treasure* FindTreasure(int index);
};

}  // namespace brix
