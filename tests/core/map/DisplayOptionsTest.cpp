#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "core/data/Session.h"
#include "core/map/DisplayOptions.h"
#include "support/GuiApp.h"
#include "support/RegionFixture.h"
#include "support/TempSession.h"
#include "support/TestFiles.h"

namespace brix {
namespace {

// The settings file's key lines, in their order.
std::vector<std::string> KeyLines(const std::string& path) {
    std::istringstream in(test::ReadFileBytes(path));
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.find('=') != std::string::npos) lines.push_back(line);
    }
    return lines;
}

// OK writes all seven keys in their order, whatever changed; the catalogue takes the values
// (its margins stay), the label layout is computed again and the views are told once.
TEST(DisplayOptions, OkRewritesAllSevenKeysInOrder) {
    test::EnsureGuiApp();
    test::TempSession temp;
    Session& session = temp.Sess;
    test::FillRegionSession(session);
    session.GetPrefs().Display.Margins = {100, 200, 300, 400};
    session.SettingsFile().WriteLastLevel(3);  // another key is kept where it was

    struct Row {
        const char* change;
        DisplayOptions options;
        std::vector<std::string> lines;
    };
    DisplayOptions tacksOnly;
    tacksOnly.TackWithColor = 255;  // the palette's "Red"
    tacksOnly.TackWithoutColor = ColourRef(0, 0, 255);
    DisplayOptions everything;
    everything.TreasureInfoInd = true;
    everything.BeautyOverSpeed = false;
    everything.TacksCorrect = true;
    everything.WithHighLight = 0;
    everything.WithoutHighLight = ColourRef(1, 2, 3);
    const Row rows[] = {
        {"tack colours only",
         tacksOnly,
         {"LastLevel=3", "TreasureInfoInd=0", "BeautyOverSpeed=1", "TacksCorrect=0",
          "WithHighLight=4278190080", "WithoutHighLight=4278190080", "TackWithColor=255",
          "TackWithoutColor=16711680"}},
        {"everything",
         everything,
         {"LastLevel=3", "TreasureInfoInd=1", "BeautyOverSpeed=0", "TacksCorrect=1",
          "WithHighLight=0", "WithoutHighLight=197121", "TackWithColor=4278190080",
          "TackWithoutColor=4278190080"}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.change);
        temp.Changes.clear();
        Treasure* treasure = session.GetWorld().FindTreasure(22);
        treasure->LabelRect = {};
        ApplyDisplayOptions(session, row.options);
        EXPECT_GT(treasure->LabelRect.Right, treasure->LabelRect.Left);
        EXPECT_EQ(KeyLines(temp.Path("brix-tools.ini")), row.lines);
        EXPECT_EQ(OptionsOf(session.GetPrefs().Display), row.options);
        EXPECT_EQ(OptionsOf(session.SettingsFile().ReadDisplaySettings()), row.options);
        EXPECT_EQ(session.GetPrefs().Display.Margins, (PrintMargins{100, 200, 300, 400}));
        EXPECT_EQ(temp.Changes.size(), 1u);
    }
}

}  // namespace
}  // namespace brix
