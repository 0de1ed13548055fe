#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>

#include <cstdio>
#include <memory>

#include "core/data/Session.h"
#include "core/hunt/MapPictureMatcher.h"
#include "support/GuiApp.h"
#include "support/MapPictureQuery.h"
#include "support/WorldArchive.h"

namespace brix {
namespace {

#ifdef BRIX_SAMPLE_ARCHIVE
const Session& SampleWorld() {
    return test::SharedWorldArchive(BRIX_SAMPLE_ARCHIVE);
}

MapPictureMatcher& SampleMatcher() {
    static MapPictureMatcher matcher(SampleWorld().GetWorld(),
                                     SampleWorld().GetWorld().Drawing.MultimapBitmap);
    return matcher;
}
#endif

class MapPictureMatcherTest : public ::testing::Test {
protected:
    void SetUp() override {
#ifndef BRIX_SAMPLE_ARCHIVE
        GTEST_SKIP() << "no sample world in this build";
#else
        ASSERT_FALSE(SampleWorld().GetWorld().Drawing.MultimapBitmap.isNull());
        ASSERT_GT(SampleWorld().GetWorld().Treasures.size(), 400u);
#endif
    }
};

#ifdef BRIX_SAMPLE_ARCHIVE

// Every treasure of the sample world, from its close-up as a player would capture it: scaled,
// shifted, turned, blurred, tinted, lightened or darkened, saved as JPEG; every other one
// with its tack.
TEST_F(MapPictureMatcherTest, FindsEveryTreasureOfTheSampleWorldFromItsCloseUp) {
    const Session& world = SampleWorld();
    test::Draws draws(20261207);
    int total = 0, first = 0, firstThree = 0, matched = 0;
    for (const Treasure& treasure : world.GetWorld().Treasures) {
        if (treasure.Index < 1) continue;
        const test::PictureChanges changes = test::RandomChanges(draws, treasure.Index % 2 == 0);
        const std::vector<MapMatch> found =
            SampleMatcher().Identify(test::PictureOfCloseUp(world, treasure.Index, changes));
        ++total;
        for (std::size_t rank = 0; rank < found.size() && rank < 3; ++rank) {
            if (found[rank].Treasure != treasure.Index) continue;
            firstThree += 1;
            first += rank == 0 ? 1 : 0;
            matched += rank == 0 && MapPictureMatcher::Matches(found) ? 1 : 0;
        }
    }
    std::printf("identified %d of %d first, %d among the first three, %d above the threshold\n",
                first, total, firstThree, matched);
    ASSERT_GT(total, 0);
    EXPECT_GE(first * 100, total * 95);
    EXPECT_GE(firstThree * 100, total * 99);
    EXPECT_GE(matched * 100, total * 95);
}

// A picture of the world map is no close-up.
TEST_F(MapPictureMatcherTest, TheWorldMapDoesNotMatch) {
    const QImage picture = SampleWorld().GetWorld().Drawing.WorldBitmap.copy(400, 300, 360, 300);
    const std::vector<MapMatch> found = SampleMatcher().Identify(picture);
    EXPECT_FALSE(MapPictureMatcher::Matches(found)) << (found.empty() ? 0.0 : found.front().Score);
}

#endif

// A world without a multimap or treasures has nothing to offer.
TEST(MapPictureMatcherEmpty, NoMultimapOrNoTreasuresGivesNoCandidates) {
    GameRecords records;
    QImage multimap(512, 512, QImage::Format_Mono);
    multimap.fill(1);
    QImage picture(200, 200, QImage::Format_RGB32);
    picture.fill(Qt::white);
    QPainter(&picture).drawLine(10, 10, 190, 150);
    EXPECT_TRUE(MapPictureMatcher(records, multimap).Identify(picture).empty());
    Treasure treasure;
    treasure.Index = 1;
    treasure.Location = {400, 400};
    records.StoreTreasure(treasure);
    EXPECT_TRUE(MapPictureMatcher(records, QImage()).Identify(picture).empty());
    // The same spot on a blank multimap: a candidate, but no match.
    const std::vector<MapMatch> found = MapPictureMatcher(records, multimap).Identify(picture);
    EXPECT_FALSE(MapPictureMatcher::Matches(found));
}

}  // namespace
}  // namespace brix
