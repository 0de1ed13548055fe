#include <gtest/gtest.h>

#include <QDir>
#include <QFileInfo>

#include <string>
#include <vector>

#include "core/output/ZerrinExport.h"
#include "support/TempSession.h"
#include "support/TestFiles.h"

namespace brix {
namespace {

// Treasures 1 and 3 (slot 2 stays empty) and a character with a level-2 map of treasure 3.
class ZerrinExportTest : public ::testing::Test {
protected:
    void SetUp() override {
        AddTreasure(1, {10, 20}, "Old Oak");
        AddTreasure(3, {-5, 4000}, "Well");
        session_.GetUser().Characters.push_back({"Hunter", {{3, {0, 1}}}});
    }

    void AddTreasure(int index, IntPoint at, std::string name) {
        Treasure treasure;
        treasure.Index = index;
        treasure.Region = 1;
        treasure.Location = at;
        treasure.Name = std::move(name);
        session_.GetWorld().StoreTreasure(treasure);
    }

    // The bytes an export of the session to `name` wrote.
    std::string Written(ZerrinExport& exporter, const char* name, const std::string& placeType) {
        EXPECT_TRUE(exporter.Write(temp_.Path(name), placeType, temp_.Messages, nullptr));
        return test::ReadFileBytes(temp_.Path(name));
    }

    test::TempSession temp_;
    Session& session_ = temp_.Sess;
};

// The file, byte for byte, over the categories, the place type and the private filter.
TEST_F(ZerrinExportTest, WritesThePlaceFile) {
    enum Filter { All, WithMaps, WithMapsNoCharacter, WithMapsLevelOne };
    const struct {
        std::vector<ZerrinCategory> Categories;
        std::string PlaceType;
        Filter Only;
        std::string Expected;
    } rows[] = {
        {{},
         "treasure",
         All,
         "3\r\n+treasure: 10 20 0 1 - Old Oak\r\n+treasure: -5 4000 0 3 - Well\r\n"},
        {{{"Smiths", true}},
         "SMITHS",
         All,  // a shop spelt otherwise is the same key
         "3\r\n-SMITHS: 10 20 0 1 - Old Oak\r\n-SMITHS: -5 4000 0 3 - Well\r\n"},
        {{}, "treasure", WithMaps, "3\r\n+treasure: -5 4000 0 3 - Well\r\n"},
        {{}, "treasure", WithMapsNoCharacter, "3\r\n"},
        {{}, "treasure", WithMapsLevelOne, "3\r\n"},  // the map is of level 2
    };
    for (const auto& row : rows) {
        session_.SetCurrentCharacter(
            row.Only == WithMapsNoCharacter ? nullptr : &session_.GetUser().Characters[0]);
        ZerrinExport exporter(session_, ZerrinCategories(row.Categories));
        exporter.Filter().OnlyTreasuresWithMaps = row.Only != All;
        exporter.Filter().LevelFilterOn = row.Only == WithMapsLevelOne;
        exporter.Filter().ShownLevels.fill(0);
        exporter.Filter().ShownLevels[0] = 1;
        EXPECT_EQ(Written(exporter, "out.map", row.PlaceType), row.Expected) << row.Only;
    }
}

// A name is cut to 255 bytes, backing off to the start of a character cut in two, and control
// characters (a line break kept by the XML) become spaces instead of starting a new place.
TEST_F(ZerrinExportTest, WritesNamesOnOneLine) {
    const std::string e = "\xC3\xA9";         // 2 bytes
    const std::string euro = "\xE2\x82\xAC";  // 3 bytes
    const struct {
        std::string Name;
        std::string Written;
    } rows[] = {
        {std::string(255, 'a'), std::string(255, 'a')},
        {std::string(253, 'a') + e + "b", std::string(253, 'a') + e},  // ends on byte 255
        {std::string(254, 'a') + e, std::string(254, 'a')},            // byte 255 is a lead
        {std::string(253, 'a') + euro, std::string(253, 'a')},         // byte 255 inside
        {"Cave\r\n+treasure: 9 9 0 99 - Fake", "Cave  +treasure: 9 9 0 99 - Fake"},
        {"Tab\there" + e + "\x7F", "Tab here" + e + " "},
    };
    for (const auto& row : rows) {
        session_.GetWorld().Treasures.clear();
        AddTreasure(7, {1, 2}, row.Name);
        ZerrinExport exporter(session_, {});
        EXPECT_EQ(Written(exporter, "cut.map", "tre\nasure"),
                  "3\r\n+tre asure: 1 2 0 7 - " + row.Written + "\r\n")
            << row.Name.size();
    }
}

// The list Zerrin's categories give, and the one preselected.
TEST(ZerrinPlaceTypes, SortsAndPreselects) {
    using S = std::vector<std::string>;
    const struct {
        S Categories;
        std::string Stored;
        S Types;
        int Selected;
    } rows[] = {
        {{}, "treasure", {"treasure"}, 0},
        {{"zeta", "Alpha", "mid"}, "MID", {"Alpha", "mid", "zeta"}, 1},
        {{"zeta", "Alpha", "mid"}, "gone", {"Alpha", "mid", "zeta"}, 0},
        {{"\xC3\xA9t\xC3\xA9", "Ete", "b"},
         "\xC3\x89T\xC3\x89",
         {"b", "Ete", "\xC3\xA9t\xC3\xA9"},
         2},
    };
    for (const auto& row : rows) {
        std::vector<ZerrinCategory> categories;
        for (const std::string& name : row.Categories) categories.push_back({name, false});
        const PlaceTypeChoice choice = ChoosePlaceTypes(ZerrinCategories(categories), row.Stored);
        EXPECT_EQ(choice.Types, row.Types) << row.Stored;
        EXPECT_EQ(choice.Selected, row.Selected) << row.Stored;
    }
}

// The first export is proposed beside the archive, unless the archive's folder is not the
// user's (an installed copy): then in the user's own documents, never in the installed folder.
TEST_F(ZerrinExportTest, FirstExportGoesWhereTheUserCanWrite) {
    EXPECT_EQ(ZerrinExport(session_, {}).InitialPath(), temp_.Path("brix.map"));
    session_.GetPrefs().Paths.UserDirectoryIsPerUser = true;
    const std::string proposed = ZerrinExport(session_, {}).InitialPath();
    EXPECT_NE(proposed.rfind(session_.GetPrefs().Paths.DataDirectory, 0), 0u) << proposed;
    EXPECT_TRUE(QFileInfo(QFileInfo(QString::fromStdString(proposed)).path()).isDir()) << proposed;
}

// A file that cannot be written (a folder of that name) is reported with its name.
TEST_F(ZerrinExportTest, ReportsAFailedWrite) {
    QDir(temp_.Dir.path()).mkdir("folder.map");
    EXPECT_FALSE(ZerrinExport(session_, {})
                     .Write(temp_.Path("folder.map"), "treasure", temp_.Messages, nullptr));
    ASSERT_EQ(temp_.Messages.Shown.size(), 1u);
    EXPECT_EQ(temp_.Messages.Shown[0].Text, "Unable to open the Zerrin map file \"folder.map\".");
}

}  // namespace
}  // namespace brix
