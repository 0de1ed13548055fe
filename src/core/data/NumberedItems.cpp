#include "core/data/NumberedItems.h"

#include "core/base/Strings.h"

namespace brix {
namespace {

template <typename Record>
std::vector<NumberedItem> ItemsOf(const std::vector<Record>& records) {
    std::vector<NumberedItem> items;
    for (const Record& record : records)
        if (record.Index >= 1) items.push_back({record.Index, record.Name});
    return items;
}

}  // namespace

std::vector<NumberedItem> LevelItems(const GameRecords& records) {
    return ItemsOf(records.Levels);
}

std::vector<NumberedItem> TreasureItems(const GameRecords& records) {
    return ItemsOf(records.Treasures);
}

std::string NumberedItemText(const NumberedItem& item) {
    return FormatText("%d - %s", {item.Number, item.Name});
}

int PositionOfNumber(const std::vector<NumberedItem>& items, int number) {
    if (items.empty()) return -1;
    for (std::size_t i = 0; i < items.size(); ++i)
        if (items[i].Number == number) return static_cast<int>(i);
    return 0;
}

}  // namespace brix
