#include "core/hunt/Collection.h"

#include <algorithm>

#include "core/base/Strings.h"
#include "core/base/Text.h"

namespace brix {
namespace {

constexpr const char* Tab = "\t";
constexpr const char* LineEnd = "\r\n";

// Cells are appended one by one: `Tab + text` trips a false -Wrestrict in GCC 12 release
// builds.
void AppendCell(std::string& text, const std::string& cell) {
    text += Tab;
    text += cell;
}

std::string RowText(const CollectionRow& row) {
    std::string text = row.Name;
    for (long long count : row.Counts) AppendCell(text, std::to_string(count));
    AppendCell(text, std::to_string(row.Total));
    return text + LineEnd;
}

}  // namespace

CollectionTable BuildCollection(const std::vector<Character>& characters,
                                const GameRecords& records, const Character* current) {
    CollectionTable table;
    std::vector<int> column(MaxLevels, -1);  // level slot -> column, -1: not a world level
    for (int level = 1; level <= MaxLevels; ++level) {
        if (records.FindLevel(level) == nullptr) continue;
        column[static_cast<std::size_t>(level - 1)] = static_cast<int>(table.Levels.size());
        table.Levels.push_back(level);
    }
    table.Totals.Name = LoadString(StringId::CollectionTotalHeading);
    table.Totals.Counts.assign(table.Levels.size(), 0);
    for (const Character& character : characters) {
        CollectionRow row;
        row.Name = character.Name;
        row.Current = &character == current;
        row.Counts.assign(table.Levels.size(), 0);
        for (const MapCounts& entry : character.Entries) {
            if (records.FindTreasure(entry.Index) == nullptr) continue;
            for (std::size_t n = 0; n < MaxLevels; ++n) {
                if (column[n] < 0 || entry.Counts[n] <= 0) continue;
                row.Counts[static_cast<std::size_t>(column[n])] += entry.Counts[n];
                row.Total += entry.Counts[n];
            }
        }
        for (std::size_t c = 0; c < row.Counts.size(); ++c) table.Totals.Counts[c] += row.Counts[c];
        table.Totals.Total += row.Total;
        table.Rows.push_back(std::move(row));
    }
    return table;
}

int CollectionColumnCount(const CollectionTable& table) {
    return static_cast<int>(table.Levels.size()) + 2;
}

void SortCollection(CollectionTable& table, int column, bool descending) {
    const int columns = CollectionColumnCount(table);
    if (column < 0 || column >= columns) return;
    const auto value = [&](const CollectionRow& row) {
        return column == columns - 1 ? row.Total : row.Counts[static_cast<std::size_t>(column - 1)];
    };
    std::stable_sort(table.Rows.begin(), table.Rows.end(),
                     [&](const CollectionRow& a, const CollectionRow& b) {
                         const int byName = CompareNames(a.Name, b.Name);
                         if (column != 0 && value(a) != value(b))
                             return descending ? value(a) > value(b) : value(a) < value(b);
                         if (column == 0 && descending) return byName > 0;
                         return byName < 0;
                     });
}

std::string CollectionText(const CollectionTable& table) {
    std::string text = LoadString(StringId::CollectionCharacterHeading);
    for (int level : table.Levels)
        AppendCell(text, FormatText(LoadString(StringId::CollectionLevelHeading), {level}));
    AppendCell(text, LoadString(StringId::CollectionTotalHeading));
    text += LineEnd;
    for (const CollectionRow& row : table.Rows) text += RowText(row);
    return text + RowText(table.Totals);
}

}  // namespace brix
