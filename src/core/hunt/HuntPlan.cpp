#include "core/hunt/HuntPlan.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <map>

#include "core/base/Strings.h"
#include "core/data/NumberedItems.h"
#include "core/data/UserRecords.h"
#include "core/map/MapGeometry.h"

namespace brix {
namespace {

PlanPoint PointOf(IntPoint location) {
    return {static_cast<double>(location.X), static_cast<double>(location.Y)};
}

}  // namespace

std::vector<HuntStop> GatherStops(const GameRecords& records, const Character* character,
                                  const MapFilter& shown) {
    std::vector<HuntStop> stops;
    if (character == nullptr) return stops;
    // A hand-edited file may list a treasure twice; its maps are still dug on one visit. Keyed
    // by treasure, so the stops come in treasure order whatever order the maps were recorded in,
    // and the same holdings always give the same plan.
    std::map<int, MapCounts> held;
    for (const MapCounts& entry : character->Entries) {
        if (records.FindTreasure(entry.Index) == nullptr) continue;
        MapCounts& sum = held.try_emplace(entry.Index, MapCounts{entry.Index, {}}).first->second;
        for (std::size_t n = 0; n < MaxLevels; ++n) {
            const long long total =
                static_cast<long long>(sum.Counts[n]) + std::max(entry.Counts[n], 0);
            sum.Counts[n] =
                static_cast<int>(std::min<long long>(total, std::numeric_limits<int>::max()));
        }
    }
    for (const auto& [index, entry] : held) {
        if (!shown.EntryCounts(entry)) continue;
        stops.push_back(
            {index, records.FindTreasure(index)->Location, MapCountsList(entry, &shown)});
    }
    return stops;
}

std::vector<RecallSpot> GatherRecallSpots(const GameRecords& records, const RuneLibrary* library) {
    std::vector<RecallSpot> spots;
    if (library == nullptr) return spots;
    for (const RuneBook& book : library->RuneBooks) {
        for (std::size_t k = 0; k < book.Treasures.size(); ++k) {
            const Treasure* treasure = records.FindTreasure(book.Treasures[k]);
            if (treasure == nullptr) continue;
            spots.push_back(
                {book.Name, static_cast<int>(k) + 1, treasure->Index, treasure->Location});
        }
    }
    return spots;
}

HuntPlan MakeHuntPlan(const GameRecords& records, const Character* character,
                      const MapFilter& shown, const RuneLibrary* library, int recallCost) {
    HuntPlan plan;
    if (character != nullptr) plan.CharacterName = character->Name;
    plan.Stops = GatherStops(records, character, shown);
    plan.Recalls = GatherRecallSpots(records, library);

    std::vector<PlanPoint> stops;
    for (const HuntStop& stop : plan.Stops) stops.push_back(PointOf(stop.Location));
    std::vector<PlanPoint> runes;
    for (const RecallSpot& spot : plan.Recalls) runes.push_back(PointOf(spot.Location));
    plan.Travel = PlanRoute(stops, runes, recallCost);

    for (const RouteLeg& leg : plan.Travel.Legs) {
        const HuntStop& stop = plan.Stops[static_cast<std::size_t>(leg.Stop)];
        const Treasure& treasure = *records.FindTreasure(stop.Treasure);
        HuntPlanRow row;
        row.Step = static_cast<int>(plan.Rows.size()) + 1;
        row.Treasure = stop.Treasure;
        row.Recall = leg.Rune;
        if (leg.Rune >= 0) {
            const RecallSpot& spot = plan.Recalls[static_cast<std::size_t>(leg.Rune)];
            row.Travel = FormatText(
                LoadString(StringId::HuntPlanRecall),
                {spot.Book, spot.Rune, spot.Treasure, records.FindTreasure(spot.Treasure)->Name});
            ++plan.RecallCount;
        }
        const long long walk = std::llround(leg.Walk);
        plan.WalkDistance += walk;
        row.Walk = FormatText(LoadString(StringId::HuntPlanWalk), {walk});
        row.TreasureText = NumberedItemText({treasure.Index, treasure.Name});
        const Region* region = records.FindRegion(treasure.Region);
        row.Region = region != nullptr ? region->Name : LoadString(StringId::NoneText);
        row.Sextant = SextantText(treasure.Location.X, treasure.Location.Y);
        row.Counts = stop.Counts;
        plan.Rows.push_back(std::move(row));
    }
    plan.Total =
        FormatText(LoadString(StringId::HuntPlanTotal), {plan.WalkDistance, plan.RecallCount});
    return plan;
}

std::string HuntPlanText(const HuntPlan& plan) {
    std::string text = FormatText(LoadString(StringId::HuntPlanHeading), {plan.CharacterName});
    for (const HuntPlanRow& row : plan.Rows) {
        const std::string travel =
            row.Travel.empty()
                ? row.Walk
                : FormatText(LoadString(StringId::HuntPlanTravel), {row.Travel, row.Walk});
        text +=
            FormatText(LoadString(StringId::HuntPlanLine),
                       {row.Step, travel, row.TreasureText, row.Region, row.Sextant, row.Counts});
    }
    text += plan.Total;
    text += "\r\n";
    return text;
}

int CompletedLevel(const Character& character, int treasure, const MapFilter& shown) {
    const MapCounts* entry = FindMapCounts(character, treasure);
    if (entry == nullptr) return 0;
    for (int level = 1; level <= MaxLevels; ++level)
        if (entry->Counts[static_cast<std::size_t>(level - 1)] > 0 && shown.LevelShown(level))
            return level;
    return 0;
}

}  // namespace brix
