#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>

#include <cmath>
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
    MapPictureMatcher& matcher = SampleMatcher();
    test::Draws draws(20261207);
    int total = 0, first = 0, firstThree = 0, matched = 0;
    double lowestTrue = 1;
    for (const Treasure& treasure : world.GetWorld().Treasures) {
        if (treasure.Index < 1) continue;
        const test::PictureChanges changes = test::RandomChanges(draws, treasure.Index % 2 == 0);
        const QImage picture = test::PictureOfCloseUp(world, treasure.Index, changes);
        const std::vector<MapMatch> found = matcher.Identify(picture);
        ++total;
        for (std::size_t rank = 0; rank < found.size() && rank < 3; ++rank) {
            if (found[rank].Treasure != treasure.Index) continue;
            firstThree += 1;
            first += rank == 0 ? 1 : 0;
            lowestTrue = std::min(lowestTrue, found[rank].Score);
            if (rank == 0 && MapPictureMatcher::Matches(found)) ++matched;
        }
        if (found.empty() || found.front().Treasure != treasure.Index)
            std::printf("treasure %d: first %d (%.3f) scale %.2f shift %.2f %.2f tack %d\n",
                        treasure.Index, found.empty() ? 0 : found.front().Treasure,
                        found.empty() ? 0.0 : found.front().Score, changes.Scale, changes.ShiftX,
                        changes.ShiftY, changes.Tack ? 1 : 0);
    }
    std::printf(
        "identified %d of %d first (%.1f %%), %d among the first three (%.1f %%), "
        "%d first and above the threshold; lowest true score %.3f\n",
        first, total, 100.0 * first / total, firstThree, 100.0 * firstThree / total, matched,
        lowestTrue);
    ASSERT_GT(total, 0);
    EXPECT_GE(first * 100, total * 95);
    EXPECT_GE(firstThree * 100, total * 99);
    EXPECT_GE(matched * 100, total * 95);
}

// Pictures of something else find no match: the world map, a photograph-like picture, a blank
// or single-colour picture; the last two give no candidates at all.
TEST_F(MapPictureMatcherTest, PicturesOfSomethingElseDoNotMatch) {
    const Session& world = SampleWorld();
    MapPictureMatcher& matcher = SampleMatcher();

    QImage photo(320, 240, QImage::Format_RGB32);
    test::Draws draws(7);
    for (int y = 0; y < photo.height(); ++y)
        for (int x = 0; x < photo.width(); ++x) {
            const double sky = 120 + 100 * std::sin(x / 37.0) * std::cos(y / 23.0);
            const int noise = static_cast<int>(draws.Uniform(-30, 30));
            const int v = std::clamp(static_cast<int>(sky) + noise, 0, 255);
            photo.setPixel(x, y, qRgb(v, std::clamp(v + 20, 0, 255), 255 - v / 2));
        }
    QImage blank(300, 300, QImage::Format_RGB32);
    blank.fill(qRgb(233, 214, 170));

    struct Row {
        const char* What;
        QImage Picture;
        bool AnyCandidates;
    } rows[] = {
        {"world map", world.GetWorld().Drawing.WorldBitmap.copy(400, 300, 360, 300), true},
        {"photograph", photo, true},
        {"blank parchment", blank, false},
        {"null", QImage(), false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.What);
        const std::vector<MapMatch> found = matcher.Identify(row.Picture);
        EXPECT_FALSE(MapPictureMatcher::Matches(found))
            << (found.empty() ? 0.0 : found.front().Score);
        EXPECT_EQ(!found.empty(), row.AnyCandidates);
    }
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
