#include "core/data/GameRecords.h"

namespace brix {
namespace {

template <typename Record>
void StoreAt(std::vector<Record>& array, const Record& record) {
    if (record.Index < 1) return;
    const auto slot = static_cast<std::size_t>(record.Index);
    if (array.size() < slot + 1) array.resize(slot + 1);
    array[slot] = record;
}

template <typename Array>
auto FindAt(Array& array, int index) -> decltype(&array[0]) {
    if (index < 1 || static_cast<std::size_t>(index) >= array.size()) return nullptr;
    auto& record = array[static_cast<std::size_t>(index)];
    return record.Index >= 1 ? &record : nullptr;
}

}  // namespace

void GameRecords::StoreLevel(const Level& level) {
    StoreAt(Levels, level);
}
void GameRecords::StoreRegion(const Region& region) {
    StoreAt(Regions, region);
}
void GameRecords::StoreTreasure(const Treasure& treasure) {
    StoreAt(Treasures, treasure);
}

const Level* GameRecords::FindLevel(int index) const {
    return FindAt(Levels, index);
}
const Region* GameRecords::FindRegion(int index) const {
    return FindAt(Regions, index);
}
const Treasure* GameRecords::FindTreasure(int index) const {
    return FindAt(Treasures, index);
}
Region* GameRecords::FindRegion(int index) {
    return FindAt(Regions, index);
}
Treasure* GameRecords::FindTreasure(int index) {
    return FindAt(Treasures, index);
}

}  // namespace brix
