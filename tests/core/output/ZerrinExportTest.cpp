#include <gtest/gtest.h>

#include <QDir>
#include <QFileInfo>
#include <QObject>
#include <QTemporaryDir>

#include <string>
#include <vector>

#include "core/base/Strings.h"
#include "core/data/TreasureCatalog.h"
#include "core/output/ZerrinExport.h"
#include "support/RecordingMessages.h"
#include "support/TestFiles.h"

namespace brix {
namespace {

// Treasures 1 and 3 (slot 2 stays empty) and a character with a level-2 map of treasure 3.
class ZerrinExportTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir_.isValid());
        catalog_.Paths.DataDirectory = dir_.path().toStdString() + "/";
        catalog_.Paths.SettingsPath = dir_.filePath("brix-tools.ini").toStdString();
        AddTreasure(1, {10, 20}, "Old Oak");
        AddTreasure(3, {-5, 4000}, "Well");
        Character hunter;
        hunter.Name = "Hunter";
        MapCounts counts;
        counts.Index = 3;
        counts.Counts[1] = 1;
        hunter.Entries.push_back(counts);
        catalog_.Characters.push_back(hunter);
    }

    void AddTreasure(int index, IntPoint at, std::string name) {
        Treasure treasure;
        treasure.Index = index;
        treasure.Region = 1;
        treasure.Location = at;
        treasure.Name = std::move(name);
        catalog_.StoreTreasure(treasure);
    }

    std::string Path(const char* name) const { return dir_.filePath(name).toStdString(); }

    QTemporaryDir dir_;
    TreasureCatalog catalog_;
    test::RecordingMessages messages_;
};

// The file, byte for byte, over the categories, the place type and the private filter.
TEST_F(ZerrinExportTest, WritesThePlaceFile) {
    struct Row {
        const char* Name;
        std::vector<ZerrinCategory> Categories;
        std::string PlaceType;
        bool OnlyWithMaps;
        bool WithCharacter;
        bool OnlyLevelOne;
        std::string Expected;
    };
    const std::string both =
        "3\r\n+treasure: 10 20 0 1 - Old Oak\r\n+treasure: -5 4000 0 3 - Well\r\n";
    const Row rows[] = {
        {"no categories", {}, "treasure", false, true, false, both},
        {"a shop category marks every line",
         {{"Mines", false}, {"Smiths", true}},
         "Smiths",
         false,
         true,
         false,
         "3\r\n-Smiths: 10 20 0 1 - Old Oak\r\n-Smiths: -5 4000 0 3 - Well\r\n"},
        {"a shop spelt otherwise is the same key",
         {{"Smiths", true}},
         "SMITHS",
         false,
         true,
         false,
         "3\r\n-SMITHS: 10 20 0 1 - Old Oak\r\n-SMITHS: -5 4000 0 3 - Well\r\n"},
        {"a category that is no shop",
         {{"Mines", false}},
         "Mines",
         false,
         true,
         false,
         "3\r\n+Mines: 10 20 0 1 - Old Oak\r\n+Mines: -5 4000 0 3 - Well\r\n"},
        {"only with maps, no character", {}, "treasure", true, false, false, "3\r\n"},
        {"only with maps",
         {},
         "treasure",
         true,
         true,
         false,
         "3\r\n+treasure: -5 4000 0 3 - Well\r\n"},
        {"only with maps, the map's level not counted", {}, "treasure", true, true, true, "3\r\n"},
        {"the level filter alone removes nothing", {}, "treasure", false, true, true, both},
    };
    for (const Row& row : rows) {
        catalog_.SetCurrentCharacter(row.WithCharacter ? &catalog_.Characters[0] : nullptr);
        ZerrinExport exporter(catalog_, ZerrinCategories(row.Categories));
        exporter.Filter().OnlyTreasuresWithMaps = row.OnlyWithMaps;
        exporter.Filter().LevelFilterOn = row.OnlyLevelOne;
        exporter.Filter().ShownLevels.fill(0);
        exporter.Filter().ShownLevels[0] = 1;
        const std::string path = Path("out.map");
        ASSERT_TRUE(exporter.Write(path, row.PlaceType, messages_, nullptr)) << row.Name;
        EXPECT_EQ(test::ReadFileBytes(path), row.Expected) << row.Name;
        // The screen's filter is the catalogue's, and the export never touches it.
        EXPECT_FALSE(catalog_.Filter().OnlyTreasuresWithMaps) << row.Name;
        EXPECT_FALSE(catalog_.Filter().LevelFilterOn) << row.Name;
    }
    EXPECT_TRUE(messages_.Shown.empty());
}

// A name is cut to 255 bytes, backing off to the start of a character cut in two.
TEST_F(ZerrinExportTest, CutsLongNames) {
    const std::string e = "\xC3\xA9";         // 2 bytes
    const std::string euro = "\xE2\x82\xAC";  // 3 bytes
    struct Row {
        std::string Name;
        std::string Written;
    };
    const Row rows[] = {
        {std::string(255, 'a'), std::string(255, 'a')},
        {std::string(300, 'a'), std::string(255, 'a')},
        {std::string(253, 'a') + e + "b", std::string(253, 'a') + e},  // ends on byte 255
        {std::string(254, 'a') + e, std::string(254, 'a')},            // byte 255 is a lead
        {std::string(253, 'a') + euro, std::string(253, 'a')},         // byte 255 inside
        {std::string(252, 'a') + euro + "x", std::string(252, 'a') + euro},
    };
    for (const Row& row : rows) {
        catalog_.Treasures.clear();
        AddTreasure(7, {1, 2}, row.Name);
        ZerrinExport exporter(catalog_, {});
        ASSERT_TRUE(exporter.Write(Path("cut.map"), "treasure", messages_, nullptr));
        EXPECT_EQ(test::ReadFileBytes(Path("cut.map")),
                  "3\r\n+treasure: 1 2 0 7 - " + row.Written + "\r\n")
            << row.Name.size();
    }
}

// The list Zerrin's categories give, and the one preselected.
TEST(ZerrinPlaceTypes, SortsAndPreselects) {
    struct Row {
        std::vector<std::string> Categories;
        std::string Stored;
        std::vector<std::string> Types;
        int Selected;
    };
    using S = std::vector<std::string>;
    const Row rows[] = {
        {{}, "treasure", {"treasure"}, 0},
        {{}, "Smiths", {"treasure"}, 0},
        {{"zeta", "Alpha", "mid"}, "MID", {"Alpha", "mid", "zeta"}, 1},
        {{"zeta", "Alpha", "mid"}, "zeta", {"Alpha", "mid", "zeta"}, 2},
        {{"zeta", "Alpha", "mid"}, "gone", {"Alpha", "mid", "zeta"}, 0},
        {{"zeta", "Alpha"}, "", {"Alpha", "zeta"}, 0},
        {{"\xC3\xA9t\xC3\xA9", "Ete", "b"},
         "\xC3\x89T\xC3\x89",
         S{"b", "Ete", "\xC3\xA9t\xC3\xA9"},
         2},
    };
    for (const Row& row : rows) {
        std::vector<ZerrinCategory> categories;
        for (const std::string& name : row.Categories) categories.push_back({name, false});
        const PlaceTypeChoice choice = ChoosePlaceTypes(ZerrinCategories(categories), row.Stored);
        EXPECT_EQ(choice.Types, row.Types) << row.Stored;
        EXPECT_EQ(choice.Selected, row.Selected) << row.Stored;
    }
}

// The second export starts where the first ended; a type Zerrin dropped falls back to the
// first of the list.
TEST_F(ZerrinExportTest, RemembersTheLastExport) {
    const std::vector<ZerrinCategory> zerrin = {{"Smiths", true}, {"Mines", false}};
    {
        ZerrinExport first(catalog_, ZerrinCategories(zerrin));
        EXPECT_EQ(first.InitialPath(), catalog_.Paths.DataDirectory + "brix.map");
        EXPECT_EQ(first.PlaceTypes().Types, (std::vector<std::string>{"Mines", "Smiths"}));
        EXPECT_EQ(first.PlaceTypes().Selected, 0);  // "treasure" is not listed
        ASSERT_TRUE(first.Write(Path("hunt.map"), "Smiths", messages_, nullptr));
    }
    ZerrinExport second(catalog_, ZerrinCategories(zerrin));
    EXPECT_EQ(second.InitialPath(), Path("hunt.map"));
    EXPECT_EQ(second.PlaceTypes().Selected, 1);

    ZerrinExport dropped(catalog_, ZerrinCategories({{"Mines", false}, {"Caves", false}}));
    EXPECT_EQ(dropped.PlaceTypes().Types, (std::vector<std::string>{"Caves", "Mines"}));
    EXPECT_EQ(dropped.PlaceTypes().Selected, 0);
}

// A file that cannot be written is reported with its name, leaves no file and no settings.
TEST_F(ZerrinExportTest, ReportsAFailedWrite) {
    QDir(dir_.path()).mkdir("folder.map");
    const struct {
        const char* Name;
        std::string Path;
        std::string Title;
    } rows[] = {
        {"missing folder", Path("missing/hunt.map"), "hunt.map"},
        {"a folder of that name", Path("folder.map"), "folder.map"},
    };
    QObject owner;
    QObject* ownerObject = &owner;
    const Settings settings = catalog_.SettingsFile();
    settings.WriteZerrinExportFile("/earlier/brix.map");
    settings.WriteZerrinExportPlaceType("Mines");
    for (const auto& row : rows) {
        messages_.Shown.clear();
        ZerrinExport exporter(catalog_, {});
        EXPECT_FALSE(exporter.Write(row.Path, "treasure", messages_, ownerObject)) << row.Name;
        ASSERT_EQ(messages_.Shown.size(), 1u) << row.Name;
        EXPECT_EQ(messages_.Shown[0].Text,
                  "Unable to open the Zerrin map file \"" + row.Title + "\".");
        EXPECT_EQ(messages_.Shown[0].Icon, MessageIcon::None);
        EXPECT_EQ(messages_.Shown[0].Owner, ownerObject);
        EXPECT_FALSE(QFileInfo(QString::fromStdString(row.Path)).isFile()) << row.Name;
        EXPECT_EQ(settings.ZerrinExportFile(), "/earlier/brix.map") << row.Name;
        EXPECT_EQ(settings.ZerrinExportPlaceType(), "Mines") << row.Name;
    }
}

}  // namespace
}  // namespace brix
