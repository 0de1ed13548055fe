#include "core/data/RecordNaming.h"

#include <QString>

#include <algorithm>
#include <numeric>

#include "core/base/Text.h"

namespace brix {

std::string TrimName(std::string_view typed) {
    return QString::fromUtf8(typed.data(), static_cast<qsizetype>(typed.size()))
        .trimmed()
        .toStdString();
}

int NameRefusal(std::string_view name, const std::vector<std::string_view>& names, int self,
                const NameRefusals& texts) {
    if (name.empty()) return texts.Empty;
    if (!IsValidRecordName(name)) return texts.Invalid;
    for (int position = 0; position < static_cast<int>(names.size()); ++position) {
        if (position != self && NamesEqual(names[static_cast<std::size_t>(position)], name))
            return texts.Duplicate;
    }
    return 0;
}

std::vector<int> SortedNamePositions(const std::vector<std::string_view>& names) {
    std::vector<int> rows(names.size());
    std::iota(rows.begin(), rows.end(), 0);
    std::stable_sort(rows.begin(), rows.end(), [&names](int a, int b) {
        return CompareNames(names[static_cast<std::size_t>(a)],
                            names[static_cast<std::size_t>(b)]) < 0;
    });
    return rows;
}

int RowOfPosition(const std::vector<int>& rows, int position) {
    const auto found = std::find(rows.begin(), rows.end(), position);
    return found == rows.end() ? -1 : static_cast<int>(found - rows.begin());
}

}  // namespace brix
