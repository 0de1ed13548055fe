#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "core/data/DataLoader.h"
#include "core/data/TreasureCatalog.h"
#include "core/data/ZipArchive.h"
#include "core/map/MapGeometry.h"
#include "core/map/SextantReading.h"
#include "core/map/TreasureSearch.h"
#include "support/GuiApp.h"
#include "support/RecordingMessages.h"

namespace brix {
namespace {

#define DEG "\xC2\xB0"

TEST(SextantReading, ParsesWhatPlayersType) {
    struct Row {
        const char* Text;
        std::optional<SextantReading> Expected;  // latitude (south +), longitude (east +)
    };
    const SextantReading place{-(44 * 60 + 54), 41 * 60 + 3};
    const Row rows[] = {
        {"44" DEG "54'N 41" DEG "3'E", place},
        {"44 54 N 41 3 E", place},
        {"44.54N 41.03E", place},
        {"44.54n, 41.3e", place},
        {"41" DEG "3'E 44" DEG "54'N", place},
        {"  44\xC2\xBA 54\xE2\x80\xB2 N ; 41\xC2\xBA"
         "3\xE2\x80\xB2"
         "E  ",
         place},
        {"44N 41W", SextantReading{-44 * 60, -41 * 60}},
        {"0" DEG "0'S 0" DEG "0'E", SextantReading{0, 0}},
        {"0" DEG "0'N 0" DEG "0'W", SextantReading{0, 0}},
        {"180" DEG "0'S 180" DEG "0'W", SextantReading{10800, -10800}},
        // Malformed: no result, whatever the input.
        {"", std::nullopt},
        {"57", std::nullopt},
        {"44N", std::nullopt},
        {"44N 41N", std::nullopt},
        {"41E 44W", std::nullopt},
        {"44" DEG "60'N 41E", std::nullopt},
        {"180" DEG "1'N 41E", std::nullopt},
        {"1234N 41E", std::nullopt},
        {"44.N 41E", std::nullopt},
        {"44.543N 41E", std::nullopt},
        {"44 54 12 N 41 E", std::nullopt},
        {"N44 E41", std::nullopt},
        {"-44N 41E", std::nullopt},
        {"44NN 41E", std::nullopt},
        {"44N 41E 5", std::nullopt},
        {"44N,, 41E", std::nullopt},
        {"44" DEG, std::nullopt},
        {"\xFF\xFE\xC2", std::nullopt},
        {"Under the lone oak", std::nullopt},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(ParseSextantReading(row.Text), row.Expected) << row.Text;
    }
}

// The program's own text reads back as the reading of the point, and the inversion leads back
// to the point: across a whole row and a whole column of the world, the 180° lines and the
// wrapped parts included.
TEST(SextantReading, InvertsTheCoordinateRule) {
    struct Probe {
        int X, Y;
    };
    std::vector<Probe> probes;
    for (int x = 0; x < SextantWorldWidth; ++x) probes.push_back({x, 1000});
    for (int y = 0; y < SextantWorldHeight; ++y) probes.push_back({2000, y});
    for (const Probe& p : probes) {
        const SextantReading reading = SextantReadingOf(p.X, p.Y);
        const std::optional<SextantReading> parsed = ParseSextantReading(SextantText(p.X, p.Y));
        ASSERT_TRUE(parsed.has_value()) << SextantText(p.X, p.Y);
        ASSERT_TRUE(SameReading(*parsed, reading)) << p.X << ", " << p.Y;
        const WorldPoint back = ReadingWorldPoint(reading);
        ASSERT_LT(std::abs(back.X - p.X), 0.5) << p.X << ", " << p.Y;
        ASSERT_LT(std::abs(back.Y - p.Y), 0.5) << p.X << ", " << p.Y;
        ASSERT_LT(ReadingDistance(reading, p.X, p.Y), 1.0) << p.X << ", " << p.Y;
    }
}

TEST(SextantReading, DistanceGoesAroundTheWorld) {
    struct Row {
        const char* What;
        int FromX, FromY;  // the point read
        int X, Y;          // the point measured
        double Minutes;
    };
    const Row rows[] = {
        {"100 units east of the origin", SextantOriginX, SextantOriginY, SextantOriginX + 100,
         SextantOriginY, 100 * 21600.0 / 5120},
        {"across the world's left and right edges", 5119, 2000, 0, 2000, 21600.0 / 5120},
        {"across the top and bottom edges", 2000, 4095, 2000, 0, 21600.0 / 4096},
    };
    for (const Row& row : rows) {
        const double d = ReadingDistance(SextantReadingOf(row.FromX, row.FromY), row.X, row.Y);
        // The reading stands for the middle of a minute, so allow one minute either way.
        EXPECT_NEAR(d, row.Minutes, 1.0) << row.What;
    }
}

GameRecords SmallWorld() {
    GameRecords records;
    const struct {
        int Index;
        const char* Name;
        IntPoint Location;
    } treasures[] = {
        {5, "Under the lone oak", {1000, 1000}},
        {7, "Oakheart Hollow", {1004, 1000}},
        {12, "Cloaked Stones", {3000, 3000}},
        {50, "Mile 57 marker", {500, 2000}},
        {57,
         "\xC3\x89"
         "boulis du ch\xC3\xA2teau",
         {2000, 1000}},
        {570, "<b>Smugglers</b> & \"Sons\"", {5100, 1000}},
        {571, "Tom's 'rock'", {10, 1000}},
    };
    for (const auto& t : treasures) {
        Treasure treasure;
        treasure.Index = t.Index;
        treasure.Region = 1;
        treasure.Name = t.Name;
        treasure.Location = t.Location;
        records.StoreTreasure(treasure);
    }
    return records;
}

std::vector<int> Numbers(const std::vector<SearchHit>& hits) {
    std::vector<int> numbers;
    for (const SearchHit& hit : hits) numbers.push_back(hit.Treasure);
    return numbers;
}

TEST(TreasureSearch, RanksNumbersNamesAndReadings) {
    const GameRecords records = SmallWorld();
    const TreasureSearch search(records);
    struct Row {
        std::string Query;
        std::vector<int> Expected;
        std::size_t MaxHits = TreasureSearch::DefaultMaxHits;
    };
    const std::string sextant57 = SextantText(2000, 1000);
    const Row rows[] = {
        {"57", {57, 570, 571, 50}},  // the number, numbers beginning so, then names
        {" #5 ", {5, 50, 57, 570, 571}},
        {"999", {}},
        {"oak", {7, 5, 12}},  // name start, word start, elsewhere
        {"OAK", {7, 5, 12}},
        {"eboulis", {57}},
        {"CHATEAU", {57}},
        {"ch\xC3\xA2te", {57}},
        {"<b>", {570}},
        {"& \"sons\"", {570}},
        {"'rock'", {571}},
        {"</", {570}},
        {"o", {7, 5, 12, 57, 570, 571}},
        {"o", {7, 5}, 2},
        {"   ", {}},
        {"\xCC\x81", {}},
        {"zzz", {}},
        // A reading: the treasure reading exactly so first, then the nearest; the edge of the
        // world is no wall (570 lies at the right edge, 571 at the left).
        {sextant57, {57, 7, 5}, 3},
        {SextantText(5100, 1000), {570, 571}, 2},
        {SextantText(10, 1000), {571, 570}, 2},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(Numbers(search.Find(row.Query, row.MaxHits)), row.Expected) << row.Query;
    }
    const std::vector<SearchHit> near = search.Find(sextant57, 2);
    ASSERT_EQ(near.size(), 2u);
    EXPECT_EQ(near[0].Match, SearchMatch::ExactReading);
    EXPECT_LT(near[0].Distance, 1.0);
    EXPECT_EQ(near[1].Match, SearchMatch::NearReading);
    EXPECT_NEAR(near[1].Distance, 996 * 21600.0 / 5120, 1.0);
    EXPECT_EQ(search.Find("oak")[1].Match, SearchMatch::WordStart);
    EXPECT_EQ(search.Find("57")[3].Match, SearchMatch::WordStart);
}

#ifdef BRIX_SAMPLE_ARCHIVE
// Every treasure of the sample world is found first by its number and by the coordinate text
// the program shows for it.
TEST(TreasureSearch, SampleWorldRoundTrip) {
    test::EnsureGuiApp();
    TreasureCatalog catalog;
    test::RecordingMessages messages;
    std::unique_ptr<ZipArchive> archive = ZipArchive::Open(BRIX_SAMPLE_ARCHIVE);
    ASSERT_TRUE(archive);
    ASSERT_TRUE(LoadSystemData(catalog, catalog, *archive, "data.xml", messages));
    const TreasureSearch search(catalog);
    int checked = 0;
    for (const Treasure& treasure : catalog.Treasures) {
        if (treasure.Index < 1) continue;
        ++checked;
        const std::string text = SextantText(treasure.Location.X, treasure.Location.Y);
        const std::vector<SearchHit> byReading = search.Find(text, 1);
        ASSERT_EQ(byReading.size(), 1u) << text;
        EXPECT_EQ(byReading[0].Treasure, treasure.Index) << text;
        EXPECT_EQ(byReading[0].Match, SearchMatch::ExactReading) << text;
        const std::vector<SearchHit> byNumber = search.Find(std::to_string(treasure.Index), 1);
        ASSERT_EQ(byNumber.size(), 1u);
        EXPECT_EQ(byNumber[0].Treasure, treasure.Index);
        const std::vector<SearchHit> byName = search.Find(treasure.Name);
        EXPECT_TRUE(std::any_of(byName.begin(), byName.end(), [&](const SearchHit& h) {
            return h.Treasure == treasure.Index;
        })) << treasure.Name;
    }
    EXPECT_EQ(checked, 500);
}
#endif

}  // namespace
}  // namespace brix
