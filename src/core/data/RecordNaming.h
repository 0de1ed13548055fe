#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace brix {

// How many characters the name fields of characters, rune libraries and rune books take.
inline constexpr int TypedNameLimit = 32;

// The texts that refuse a typed name of one kind of record (string ids).
struct NameRefusals {
    int Empty;
    int Invalid;
    int Duplicate;
};

// The typed text without its leading and trailing white space.
std::string TrimName(std::string_view typed);

// Why a trimmed name cannot be given to the record at position `self` of `names` (-1 for a
// new record): the string id of the refusal, or 0 when the name may be used. A name must not
// be empty (an empty key means "no record" to the settings file and the map inventory refuses
// it), must pass IsValidRecordName and must not be held by another record without regard to
// case; the record itself may keep its name in other letters.
int NameRefusal(std::string_view name, const std::vector<std::string_view>& names, int self,
                const NameRefusals& texts);

// The names of a list of records, for NameRefusal.
template <typename Record>
std::vector<std::string_view> NamesOf(const std::vector<Record>& records) {
    std::vector<std::string_view> names;
    names.reserve(records.size());
    for (const Record& record : records) names.push_back(record.Name);
    return names;
}

// The rows of a list showing records by name: the records' positions in the program's name
// order, ties in list order. A row stands for its record by position, never by its text, so
// two names that differ only in case stay two records.
std::vector<int> SortedNamePositions(const std::vector<std::string_view>& names);
template <typename Record>
std::vector<int> SortedPositions(const std::vector<Record>& records) {
    return SortedNamePositions(NamesOf(records));
}

// The row showing the record at `position`, or -1.
int RowOfPosition(const std::vector<int>& rows, int position);

}  // namespace brix
