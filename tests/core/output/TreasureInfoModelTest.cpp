#include <gtest/gtest.h>

#include <string>
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
        session_.GetWorld().Drawing.MultimapSize = QSize(2000, 1600);
        test::AddTreasures(session_.GetWorld(), {1, 10, 11, 12, 13, 14, 15, 16, 17, 18, 19});
        for (Treasure& treasure : session_.GetWorld().Treasures)
            treasure.Location = {100 * treasure.Index, 60 * treasure.Index};
    }

    // The current character (made when there is none) holds one map of each treasure.
    void GiveMaps(const std::vector<int>& treasures) {
        if (session_.GetCurrentCharacter() == nullptr)
            session_.SetCurrentCharacter(session_.GetUser().FindOrAddCharacter("Hunter"));
        for (int treasure : treasures)
            session_.GetCurrentCharacter()->Entries.push_back(MapCounts{treasure, {1}});
        session_.RecomputeFilter();
    }

    Session session_;
};

TEST_F(TreasureInfoModelTest, SelectsTheItemOfTheWholeNumber) {
    struct Row {
        int Request;
        int Position;
        int Treasure;
    };
    const Row rows[] = {
        {0, 0, 1},     // no particular treasure: the first
        {1, 0, 1},     // not 10, whose text also begins with "1"
        {19, 10, 19},  // the last
        {2, 0, 1},     // an empty slot: the first
        {1000, 0, 1},  // beyond the slots
    };
    TreasureInfoModel model(session_);
    for (const Row& row : rows) {
        model.SelectTreasure(14);  // start elsewhere, so that each row must move the selection
        model.SelectTreasure(row.Request);
        EXPECT_EQ(model.SelectedPosition(), row.Position) << row.Request;
        EXPECT_EQ(model.SelectedTreasure(), row.Treasure) << row.Request;
    }
    // Without treasure 1 the first item stands in for it, not the first whose text begins
    // with the digit 1.
    session_.GetWorld().Treasures[1] = Treasure();
    Treasure five;
    five.Index = 5;
    session_.GetWorld().StoreTreasure(five);
    TreasureInfoModel withoutOne(session_);
    withoutOne.SelectTreasure(19);
    withoutOne.SelectTreasure(1);
    EXPECT_EQ(withoutOne.SelectedTreasure(), 5);

    // A position picked outside the list selects nothing.
    model.SelectPosition(11);
    EXPECT_EQ(model.SelectedTreasure(), 0);
    EXPECT_EQ(model.SelectedPosition(), -1);
}

// The walk itself is StepTreasure's; the model takes it under the global filter and keeps its
// selection when the walk finds nothing.
TEST_F(TreasureInfoModelTest, StepsUnderTheGlobalFilter) {
    struct Row {
        const char* What;
        std::vector<int> Maps;  // treasures the current character holds maps of
        bool OnlyWithMaps;
        int From;
        bool Forward;
        int To;  // 0: the step finds nothing and the selection stays
    };
    const std::vector<Row> rows = {
        {"over the empty slots", {}, false, 1, true, 10},
        {"to the next with maps", {12, 15}, true, 1, true, 12},
        {"forward at the last with maps", {12, 15}, true, 15, true, 0},
    };
    for (const Row& row : rows) {
        test::ResetSession(session_);
        SetUp();
        GiveMaps(row.Maps);
        MapFilter options;
        options.OnlyTreasuresWithMaps = row.OnlyWithMaps;
        session_.SetFilterOptions(options);
        TreasureInfoModel model(session_);
        model.SelectTreasure(row.From);
        EXPECT_EQ(model.StepTarget(row.Forward), row.To) << row.What;
        EXPECT_EQ(model.Step(row.Forward), row.To != 0) << row.What;
        EXPECT_EQ(model.SelectedTreasure(), row.To != 0 ? row.To : row.From) << row.What;
    }
}

TEST(TreasureInfoModel, NothingToShowWithoutTreasures) {
    Session session;
    session.GetWorld().Drawing.MultimapSize = QSize(2000, 1600);
    TreasureInfoModel model(session);
    EXPECT_TRUE(model.Items().empty());
    model.SelectTreasure(1);
    EXPECT_EQ(model.SelectedPosition(), -1);
    EXPECT_EQ(model.CloseUpSource(), IntRect{});
    EXPECT_FALSE(model.Step(true));
}

// The close-up's interior (170 × 176 multimap pixels) is centred on the treasure's multimap
// point, half its world point, and kept inside the multimap.
TEST_F(TreasureInfoModelTest, CloseUpIsCentredOnTheTreasure) {
    struct Row {
        IntPoint Location;
        IntRect Source;
    };
    const Row rows[] = {
        {{1000, 800}, {415, 312, 585, 488}},
        {{3999, 3199}, {1830, 1424, 2000, 1600}},
    };
    for (const Row& row : rows) {
        session_.GetWorld().FindTreasure(12)->Location = row.Location;
        TreasureInfoModel model(session_);
        model.SelectTreasure(12);
        EXPECT_EQ(model.CloseUpSource(), row.Source) << row.Location.X;
    }
}

}  // namespace
}  // namespace brix
