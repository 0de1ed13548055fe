#include "core/map/TreasureSearch.h"

#include <QString>

#include <algorithm>
#include <array>
#include <optional>

#include "core/base/Strings.h"
#include "core/map/MapGeometry.h"
#include "core/map/SextantReading.h"

namespace brix {
namespace {

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

std::string_view Trimmed(std::string_view text) {
    while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
    while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
    return text;
}

bool AllDigits(std::string_view text) {
    return !text.empty() &&
           std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// A word begins after anything but a letter or digit; bytes of other scripts count as letters.
bool StartsWord(std::string_view name, std::size_t pos) {
    if (pos == 0) return true;
    const auto before = static_cast<unsigned char>(name[pos - 1]);
    const bool letterOrDigit = (before >= 'a' && before <= 'z') ||
                               (before >= 'A' && before <= 'Z') ||
                               (before >= '0' && before <= '9') || before >= 0x80;
    return !letterOrDigit;
}

// How a folded name holds the folded text, or nothing.
std::optional<SearchMatch> NameMatch(std::string_view name, std::string_view text) {
    std::size_t pos = name.find(text);
    if (pos == std::string_view::npos) return std::nullopt;
    if (pos == 0) return SearchMatch::NameStart;
    for (; pos != std::string_view::npos; pos = name.find(text, pos + 1))
        if (StartsWord(name, pos)) return SearchMatch::WordStart;
    return SearchMatch::NameContains;
}

}  // namespace

std::string FoldForSearch(std::string_view text) {
    const QString decomposed = QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()))
                                   .normalized(QString::NormalizationForm_KD);
    QString bare;
    bare.reserve(decomposed.size());
    for (const QChar c : decomposed) {
        switch (c.category()) {
            case QChar::Mark_NonSpacing:
            case QChar::Mark_SpacingCombining:
            case QChar::Mark_Enclosing:
                break;
            default:
                bare.append(c);
        }
    }
    return bare.toCaseFolded().toStdString();
}

SearchHitTexts DescribeHit(const GameRecords& records, const SearchHit& hit) {
    SearchHitTexts texts;
    texts.Number = std::to_string(hit.Treasure);
    const Treasure* treasure = records.FindTreasure(hit.Treasure);
    if (treasure == nullptr) return texts;
    texts.Name = treasure->Name;
    if (const Region* region = records.FindRegion(treasure->Region)) texts.Region = region->Name;
    texts.Coordinates = SextantText(treasure->Location.X, treasure->Location.Y);
    if (hit.Distance >= 0)
        texts.Distance = FormatText(LoadString(StringId::FindDistanceFormat),
                                    {QString::number(hit.Distance, 'f', 1).toStdString()});
    return texts;
}

TreasureSearch::TreasureSearch(const GameRecords& records) {
    regionNames_.emplace_back();
    for (const Treasure& treasure : records.Treasures) {
        if (treasure.Index < 1) continue;
        std::size_t region = 0;
        if (const Region* record = records.FindRegion(treasure.Region); record != nullptr) {
            region = static_cast<std::size_t>(record->Index);
            if (region >= regionNames_.size()) regionNames_.resize(region + 1);
            if (regionNames_[region].empty()) regionNames_[region] = FoldForSearch(record->Name);
        }
        entries_.push_back({treasure.Index, treasure.Location, std::to_string(treasure.Index),
                            FoldForSearch(treasure.Name), region});
    }
}

std::vector<SearchHit> TreasureSearch::Find(std::string_view query, std::size_t maxHits) const {
    query = Trimmed(query);
    if (query.empty() || maxHits == 0) return {};
    if (query.front() == '#' && AllDigits(query.substr(1))) query.remove_prefix(1);
    if (AllDigits(query)) return FindNumber(query, maxHits);

    if (const std::optional<SextantReading> reading = ParseSextantReading(query)) {
        std::vector<SearchHit> hits;
        hits.reserve(entries_.size());
        for (const Entry& entry : entries_) {
            const bool exact =
                SameReading(SextantReadingOf(entry.Location.X, entry.Location.Y), *reading);
            hits.push_back({entry.Index,
                            exact ? SearchMatch::ExactReading : SearchMatch::NearReading,
                            ReadingDistance(*reading, entry.Location.X, entry.Location.Y)});
        }
        const auto better = [](const SearchHit& a, const SearchHit& b) {
            if (a.Match != b.Match) return a.Match < b.Match;
            if (a.Distance != b.Distance) return a.Distance < b.Distance;
            return a.Treasure < b.Treasure;
        };
        const std::size_t kept = std::min(maxHits, hits.size());
        std::partial_sort(hits.begin(), hits.begin() + static_cast<std::ptrdiff_t>(kept),
                          hits.end(), better);
        hits.resize(kept);
        return hits;
    }

    const std::string folded = FoldForSearch(query);
    if (folded.empty()) return {};
    return FindName(folded, maxHits);
}

std::vector<SearchHit> TreasureSearch::FindNumber(std::string_view digits,
                                                  std::size_t maxHits) const {
    std::vector<SearchHit> exact, start;
    for (const Entry& entry : entries_) {
        if (entry.Number == digits)
            exact.push_back({entry.Index, SearchMatch::Number});
        else if (entry.Number.starts_with(digits))
            start.push_back({entry.Index, SearchMatch::NumberStart});
    }
    exact.insert(exact.end(), start.begin(), start.end());
    if (exact.size() < maxHits) {
        // Digits in names ("Mile 12") come after every number.
        for (const SearchHit& hit : FindName(digits, maxHits - exact.size()))
            if (std::none_of(exact.begin(), exact.end(),
                             [&hit](const SearchHit& e) { return e.Treasure == hit.Treasure; }))
                exact.push_back(hit);
    }
    if (exact.size() > maxHits) exact.resize(maxHits);
    return exact;
}

std::vector<SearchHit> TreasureSearch::FindName(std::string_view folded,
                                                std::size_t maxHits) const {
    // Each region name is looked at once, not once per treasure.
    std::vector<bool> regionMatches(regionNames_.size());
    for (std::size_t region = 1; region < regionNames_.size(); ++region)
        regionMatches[region] = regionNames_[region].find(folded) != std::string::npos;
    // One list per kind of match, each filled in number order: no sorting needed.
    std::array<std::vector<SearchHit>, 4> kinds;
    for (const Entry& entry : entries_) {
        std::optional<SearchMatch> match = NameMatch(entry.Name, folded);
        if (!match && regionMatches[entry.Region]) match = SearchMatch::RegionName;
        if (!match) continue;
        const auto kind =
            static_cast<std::size_t>(*match) - static_cast<std::size_t>(SearchMatch::NameStart);
        kinds[kind].push_back({entry.Index, *match});
    }
    std::vector<SearchHit> hits = std::move(kinds[0]);
    for (std::size_t k = 1; k < kinds.size() && hits.size() < maxHits; ++k)
        hits.insert(hits.end(), kinds[k].begin(), kinds[k].end());
    if (hits.size() > maxHits) hits.resize(maxHits);
    return hits;
}

}  // namespace brix
