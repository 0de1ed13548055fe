// The sample world archive: the same seed gives the same bytes, and what the generator writes
// holds together (masks, treasures, labels, borders) once loaded as the program loads it.

#include <gtest/gtest.h>

#include <QImage>
#include <QProcess>
#include <QTemporaryDir>

#include <algorithm>
#include <cmath>
#include <memory>
#include <string>
#include <vector>

#include "core/data/DataLoader.h"
#include "core/data/Session.h"
#include "core/data/ZipArchive.h"
#include "core/map/MapGeometry.h"
#include "core/map/MapImages.h"
#include "core/map/WorldCanvas.h"
#include "support/GuiApp.h"
#include "support/RecordingMessages.h"
#include "support/TestFiles.h"

namespace {

using brix::test::RecordingMessages;

constexpr int Width = 1280, Height = 1024;  // the world bitmap

// Runs the generator; gives its exit code, or -1 when it could not run or did not finish.
int RunGenerator(const QStringList& arguments) {
    brix::test::EnsureGuiApp();
    QProcess process;
    process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    process.start(QStringLiteral(BRIX_KESTREL_GEN), arguments);
    if (!process.waitForStarted(30000) || !process.waitForFinished(300000)) {
        process.kill();
        process.waitForFinished();
        return -1;
    }
    return process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
}

// Generates an archive with the arguments; "" names the archive the build made. Empty path when
// the generator failed.
std::string Archive(const QString& name, const QStringList& arguments = {}) {
    static QTemporaryDir dir;
    if (name.isEmpty()) return BRIX_SAMPLE_ARCHIVE;
    const QString path = dir.filePath(name + ".zip");
    return RunGenerator(QStringList(arguments) << path) == 0 ? path.toStdString() : "";
}

// Loads an archive as the program does at start-up; false when data.xml did not load.
bool Load(const std::string& path, brix::Session& session, RecordingMessages& messages) {
    brix::test::EnsureGuiApp();
    std::unique_ptr<brix::ZipArchive> archive = brix::ZipArchive::Open(path);
    if (!archive || !brix::LoadSystemData(session.GetWorld(), session.GetUser(), *archive,
                                          "data.xml", messages))
        return false;
    brix::LoadDrawingResources(session.GetWorld(), *archive, messages, brix::ProgramPictures{});
    brix::LoadRegionMasks(session.GetWorld(), *archive, messages);
    return true;
}

// The region that owns each world-bitmap pixel by the masks, 0 for none; counts in `overlaps`
// the pixels that more than one mask claims.
std::vector<int> MaskOwners(const brix::Session& session, int& overlaps) {
    std::vector<int> owner(Width * Height, 0);
    overlaps = 0;
    for (const brix::Region& region : session.GetWorld().Regions) {
        if (region.Index < 1 || !brix::HasUsableMask(region)) continue;
        const QRect box = brix::MaskQRect(region) & QRect(0, 0, Width, Height);
        for (int y = box.top(); y <= box.bottom(); ++y) {
            for (int x = box.left(); x <= box.right(); ++x) {
                if (!brix::MaskBitAt(region, QPoint(x, y))) continue;
                overlaps += owner[y * Width + x] != 0;
                owner[y * Width + x] = region.Index;
            }
        }
    }
    return owner;
}

// Whether the part of a treasure's leader that shows beside its label lies within 30 degrees of
// horizontal and is shorter than the label is high, so that it reads as a minus sign.
bool LeaderReadsAsMinus(const brix::Treasure& treasure) {
    const brix::IntLine& line = treasure.LeaderLine;
    const brix::IntRect& label = treasure.LabelRect;
    const double dx = line.X2 - line.X1, dy = line.Y2 - line.Y1;
    if (dy * dy * 3.0 > dx * dx) return false;
    double shown = 0.0;  // the fraction of the line before it enters the label
    if (line.X1 < label.Left) shown = std::max(shown, (label.Left - line.X1) / dx);
    if (line.X1 > label.Right) shown = std::max(shown, (label.Right - line.X1) / dx);
    if (line.Y1 < label.Top) shown = std::max(shown, (label.Top - line.Y1) / dy);
    if (line.Y1 > label.Bottom) shown = std::max(shown, (label.Bottom - line.Y1) / dy);
    return shown * std::hypot(dx, dy) < label.Bottom - label.Top;
}

TEST(SampleWorld, TheSameSeedGivesTheSameBytes) {
    const std::string again = Archive("again", {"--seed", "6"});
    ASSERT_FALSE(again.empty());
    const std::string built = brix::test::ReadFileBytes(Archive(""));
    EXPECT_TRUE(brix::test::ReadFileBytes(again) == built);  // EXPECT_EQ would print megabytes
}

// Masks are disjoint and every treasure lies on its own region; the borders are only painted
// on land where two regions meet, darker than the land.
TEST(SampleWorld, RegionsTreasuresAndBordersHoldTogether) {
    brix::Session session;
    RecordingMessages messages;
    ASSERT_TRUE(Load(Archive(""), session, messages));
    EXPECT_TRUE(messages.Shown.empty()) << messages.Shown.front().Text;
    for (const brix::Region& region : session.GetWorld().Regions) {
        ASSERT_TRUE(region.Index < 1 || brix::HasUsableMask(region)) << region.Index;
    }
    int overlaps = 0;
    const std::vector<int> owner = MaskOwners(session, overlaps);
    EXPECT_EQ(overlaps, 0);
    auto ownerAt = [&](int x, int y) {
        return x < 0 || y < 0 || x >= Width || y >= Height ? 0 : owner[y * Width + x];
    };

    // Where the player clicks, and no label's leader reads as a minus sign before its number.
    brix::ComputeAllLabelGeometry(session.GetWorld());
    int treasures = 0;
    for (const brix::Treasure& treasure : session.GetWorld().Treasures) {
        if (treasure.Index < 1) continue;
        ++treasures;
        const QPoint pixel(treasure.Location.X / 4, treasure.Location.Y / 4);
        EXPECT_EQ(ownerAt(pixel.x(), pixel.y()), treasure.Region) << treasure.Index;
        if (treasure.LabelOffset.X != 0 || treasure.LabelOffset.Y != 0) {
            EXPECT_FALSE(LeaderReadsAsMinus(treasure)) << treasure.Index;
        }
    }
    EXPECT_EQ(treasures, 500);

    const std::string plainPath = Archive("plain", {"--no-borders"});
    ASSERT_FALSE(plainPath.empty());
    const auto picture = [](const std::string& path) {
        std::string bytes;
        brix::ZipArchive::Open(path)->ReadMemberBytes("world.bmp", bytes, 1 << 24);
        return QImage::fromData(QByteArray::fromStdString(bytes))
            .convertToFormat(QImage::Format_RGB32);
    };
    const QImage withBorders = picture(Archive("")), without = picture(plainPath);
    ASSERT_EQ(withBorders.size(), QSize(Width, Height));
    ASSERT_EQ(without.size(), QSize(Width, Height));

    // Whether another region's pixel lies within two pixels of (x, y).
    auto nearOtherRegion = [&](int x, int y) {
        for (int dy = -2; dy <= 2; ++dy)
            for (int dx = -2; dx <= 2; ++dx) {
                const int other = ownerAt(x + dx, y + dy);
                if (other != 0 && other != ownerAt(x, y)) return true;
            }
        return false;
    };
    int changed = 0, meeting = 0, astray = 0, lighter = 0;
    for (int y = 0; y < Height; ++y)
        for (int x = 0; x < Width; ++x) {
            const int here = ownerAt(x, y), right = ownerAt(x + 1, y), below = ownerAt(x, y + 1);
            meeting +=
                here != 0 && ((right != 0 && right != here) || (below != 0 && below != here));
            const QRgb a = withBorders.pixel(x, y), b = without.pixel(x, y);
            if (a == b) continue;
            ++changed;
            astray += here == 0 || !nearOtherRegion(x, y);  // over the sea, or inside a region
            lighter += qRed(a) > qRed(b) || qGreen(a) > qGreen(b) || qBlue(a) > qBlue(b);
        }
    EXPECT_EQ(astray, 0);
    EXPECT_EQ(lighter, 0);
    // A good part of the lines where regions meet is drawn, and little besides.
    EXPECT_GT(changed, meeting / 4);
    EXPECT_LT(changed, meeting * 3);
}

}  // namespace
