#include <gtest/gtest.h>

#include <vector>

#include "core/data/Session.h"
#include "core/output/TreasureInfo.h"
#include "support/Records.h"

namespace brix {
namespace {

// Treasures 1 and 10 to 19 on a 2000 × 1600 multimap; slots 2 to 9 stay empty.
class TreasureInfoModelTest : public ::testing::Test {
protected:
    void SetUp() override {
        test::ResetSession(session_);
        session_.GetWorld().Drawing.MultimapSize = QSize(2000, 1600);
        test::AddTreasures(session_.GetWorld(), {1, 10, 11, 12, 13, 14, 15, 16, 17, 18, 19});
        for (Treasure& treasure : session_.GetWorld().Treasures)
            treasure.Location = {100 * treasure.Index, 60 * treasure.Index};
    }
    Session session_;
};

TEST_F(TreasureInfoModelTest, SelectsTheItemOfTheWholeNumber) {
    const struct {
        int Request, Position, Treasure;
    } rows[] = {
        {1, 0, 1},     // not 10, whose text also begins with "1"
        {19, 10, 19},  // the last
        {2, 0, 1},     // an empty slot: the first
        {1000, 0, 1},  // beyond the slots
    };
    TreasureInfoModel model(session_);
    for (const auto& row : rows) {
        model.SelectTreasure(14);  // start elsewhere, so that each row must move the selection
        model.SelectTreasure(row.Request);
        EXPECT_EQ(model.SelectedPosition(), row.Position) << row.Request;
        EXPECT_EQ(model.SelectedTreasure(), row.Treasure) << row.Request;
    }
    // A position picked outside the list selects nothing.
    model.SelectPosition(11);
    EXPECT_EQ(model.SelectedTreasure(), 0);
    EXPECT_EQ(model.SelectedPosition(), -1);

    // Without treasure 1 the first item stands in for it, not the first whose text begins
    // with the digit 1.
    session_.GetWorld().Treasures[1] = Treasure();
    test::AddTreasures(session_.GetWorld(), {5});
    TreasureInfoModel withoutOne(session_);
    withoutOne.SelectTreasure(19);
    withoutOne.SelectTreasure(1);
    EXPECT_EQ(withoutOne.SelectedTreasure(), 5);

    session_.GetWorld().Treasures.clear();
    TreasureInfoModel empty(session_);
    EXPECT_TRUE(empty.Items().empty());
    empty.SelectTreasure(1);
    EXPECT_EQ(empty.SelectedPosition(), -1);
    EXPECT_EQ(empty.CloseUpSource(), IntRect{});
    EXPECT_FALSE(empty.Step(true));
}

// The walk itself is StepTreasure's; the model takes it under the global filter and keeps its
// selection when the walk finds nothing.
TEST_F(TreasureInfoModelTest, StepsUnderTheGlobalFilter) {
    const struct {
        const char* What;
        std::vector<int> Maps;  // treasures the current character holds maps of
        int From;
        int To;  // 0: the step finds nothing and the selection stays
    } rows[] = {
        {"to the next with maps", {12, 15}, 1, 12},
        {"forward at the last with maps", {12, 15}, 15, 0},
    };
    for (const auto& row : rows) {
        SetUp();
        Character* hunter = session_.GetUser().FindOrAddCharacter("Hunter");
        for (int treasure : row.Maps) hunter->Entries.push_back(MapCounts{treasure, {1}});
        session_.SetCurrentCharacter(hunter);
        MapFilter options;
        options.OnlyTreasuresWithMaps = !row.Maps.empty();
        session_.SetFilterOptions(options);
        TreasureInfoModel model(session_);
        model.SelectTreasure(row.From);
        EXPECT_EQ(model.StepTarget(true), row.To) << row.What;
        EXPECT_EQ(model.Step(true), row.To != 0) << row.What;
        EXPECT_EQ(model.SelectedTreasure(), row.To != 0 ? row.To : row.From) << row.What;
    }
}

// The close-up's interior (170 × 176 multimap pixels) is centred on the treasure's multimap
// point, half its world point, and kept inside the multimap.
TEST_F(TreasureInfoModelTest, CloseUpIsCentredOnTheTreasure) {
    const std::pair<IntPoint, IntRect> rows[] = {{{1000, 800}, {415, 312, 585, 488}},
                                                 {{3999, 3199}, {1830, 1424, 2000, 1600}}};
    for (const auto& [location, source] : rows) {
        session_.GetWorld().FindTreasure(12)->Location = location;
        TreasureInfoModel model(session_);
        model.SelectTreasure(12);
        EXPECT_EQ(model.CloseUpSource(), source) << location.X;
    }
}

}  // namespace
}  // namespace brix
