#include <gtest/gtest.h>

#include <QTemporaryDir>

#include "core/base/IniFile.h"
#include "core/base/Settings.h"
#include "support/TestFiles.h"

namespace brix {
namespace {

class SettingsTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(dir_.isValid()); }
    std::string Path() const { return dir_.filePath("brix-tools.ini").toStdString(); }
    QTemporaryDir dir_;
};

TEST_F(SettingsTest, ReadingNeverCreatesTheFile) {
    Settings settings(Path());
    EXPECT_EQ(settings.ReadDisplaySettings().Margins, (PrintMargins{750, 750, 750, 750}));
    EXPECT_FALSE(settings.WindowPlacement().has_value());
    EXPECT_FALSE(QFileInfo::exists(QString::fromStdString(Path())));
}

TEST_F(SettingsTest, StoredValuesAreScannedAsTheKeysSay) {
    struct Row {
        const char* Line;
        std::function<void(const Settings&)> Check;
    };
    const std::vector<Row> rows = {
        {"WithHighLight=red",
         [](const Settings& s) { EXPECT_EQ(s.WithHighLight(), AutomaticColour); }},
        {"TackWithColor=  65280xyz",
         [](const Settings& s) { EXPECT_EQ(s.TackWithColor(), 65280u); }},
        {"PrintMargins=500 600",
         [](const Settings& s) {
             EXPECT_EQ(s.Margins(), (PrintMargins{500, 600, 750, 750}));
         }},
        {"TacksCorrect=  -3", [](const Settings& s) { EXPECT_TRUE(s.TacksCorrect()); }},
        {"WindowPlacement=10 20 810", [](const Settings& s) { EXPECT_FALSE(s.WindowPlacement()); }},
        {"character=  \"Ann Lee\"  ",
         [](const Settings& s) { EXPECT_EQ(s.Character(), "Ann Lee"); }},
    };
    for (const Row& row : rows) {
        ASSERT_TRUE(
            test::WriteFileBytes(Path(), std::string("[settings]\r\n") + row.Line + "\r\n"));
        SCOPED_TRACE(row.Line);
        row.Check(Settings(Path()));
    }
}

TEST_F(SettingsTest, TextsAreCutToTheBuffer) {
    const std::string longName(300, 'x');
    Settings settings(Path());
    settings.WriteCharacter(longName);
    EXPECT_EQ(settings.Character(), std::string(255, 'x'));

    std::string wide(254, 'a');
    wide += "\xC3\xA9";  // a two-byte character across the 255-byte limit is dropped whole
    settings.WriteCharacter(wide);
    EXPECT_EQ(settings.Character(), std::string(254, 'a'));

    // A path is never cut: the export would be proposed, and written, under a wrong name.
    std::string path = "/home/player";
    while (path.size() < 400) path += "/r\xC3\xA9sum\xC3\xA9 des tr\xC3\xA9sors";
    path += "/carte.map";
    settings.WriteZerrinExportFile(path);
    EXPECT_EQ(settings.ZerrinExportFile(), path);
}

TEST_F(SettingsTest, WritesKeepEverythingElse) {
    ASSERT_TRUE(test::WriteFileBytes(Path(),
                                     "; my notes\r\n[Other]\r\nCharacter=keep me\r\n\r\n"
                                     "[Settings]\r\nStayOnTop=1\r\n; inline comment\r\n"
                                     "Character=Old\r\n\r\n[Tail]\r\nx=1\r\n"));
    Settings settings(Path());
    settings.WriteCharacter("New");
    settings.WriteTBButtons("40002,0,57664");
    settings.WriteZerrinExportFile("/tmp/a\r\nStayOnTop=0\nb.map");  // a line break stays inside
    EXPECT_EQ(test::ReadFileBytes(Path()),
              "; my notes\r\n[Other]\r\nCharacter=keep me\r\n\r\n"
              "[Settings]\r\nStayOnTop=1\r\n; inline comment\r\nCharacter=New\r\n"
              "TBButtons=40002,0,57664\r\nZerrinExportFile=/tmp/a  StayOnTop=0 b.map\r\n\r\n"
              "[Tail]\r\nx=1\r\n");
    EXPECT_EQ(settings.Character(), "New");
    EXPECT_EQ(IniFile(Path()).ReadString("Other", "character", "", 256), "keep me");
}

TEST_F(SettingsTest, RecallCostIsKeptWithinItsBounds) {
    struct Row {
        const char* Line;
        int Cost;
    };
    const Row rows[] = {
        {"", DefaultRecallCost},
        {"RecallCost=-20", MinRecallCost},
        {"RecallCost=99999999999", MaxRecallCost},
    };
    for (const Row& row : rows) {
        ASSERT_TRUE(
            test::WriteFileBytes(Path(), std::string("[Settings]\r\n") + row.Line + "\r\n"));
        EXPECT_EQ(Settings(Path()).RecallCost(), row.Cost) << row.Line;
    }
    Settings settings(Path());
    settings.WriteRecallCost(-1);
    EXPECT_EQ(IniFile(Path()).ReadString(Settings::Section, "RecallCost", "", 16), "0");
}

}  // namespace
}  // namespace brix
