// The sample world archive: what the generator writes must load in the program and hold
// together (masks, treasures), and the faulty variants must carry exactly their fault.

#include <gtest/gtest.h>
#include <unzip.h>

#include <QImage>
#include <QProcess>
#include <QTemporaryDir>

#include <algorithm>
#include <cmath>
#include <map>
#include <memory>
#include <set>
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

// Every member of a zip archive by its stored name, read with minizip directly.
std::map<std::string, std::string> ReadMembers(const std::string& path) {
    std::map<std::string, std::string> members;
    unzFile zip = unzOpen(path.c_str());
    if (zip == nullptr) return members;
    for (int status = unzGoToFirstFile(zip); status == UNZ_OK; status = unzGoToNextFile(zip)) {
        char name[256];
        unz_file_info info;
        if (unzGetCurrentFileInfo(zip, &info, name, sizeof name, nullptr, 0, nullptr, 0) !=
                UNZ_OK ||
            unzOpenCurrentFile(zip) != UNZ_OK)
            break;
        std::string& bytes = members[name];
        char piece[65536];
        for (int n; (n = unzReadCurrentFile(zip, piece, sizeof piece)) > 0;) bytes.append(piece, n);
        unzCloseCurrentFile(zip);
    }
    unzClose(zip);
    return members;
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

bool Intersect(const brix::IntRect& a, const brix::IntRect& b) {
    return a.Left < b.Right && b.Left < a.Right && a.Top < b.Bottom && b.Top < a.Bottom;
}

// The tack picture of a treasure in multimap pixels, where its label geometry lives.
brix::IntRect TackRect(const brix::Treasure& treasure) {
    const int x = treasure.Location.X / 2, y = treasure.Location.Y / 2 - 8;
    return {x, y, x + 13, y + 21};
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

template <typename Record>
int CountRecords(const std::vector<Record>& slots) {
    return static_cast<int>(
        std::count_if(slots.begin(), slots.end(), [](const Record& r) { return r.Index >= 1; }));
}

TEST(SampleWorld, ArchivesLoadAndHoldTogether) {
    struct Row {
        QString Name;
        QStringList Arguments;
        int Regions, Treasures, Levels;
    };
    for (const Row& row : {Row{"", {}, 48, 500, 8}, Row{"max", {"--max"}, 100, 1000, 16}}) {
        SCOPED_TRACE(row.Name.toStdString());
        const std::string path = Archive(row.Name, row.Arguments);
        ASSERT_FALSE(path.empty());

        // Exactly the members the program reads (loading refuses a bitmap of the wrong depth).
        std::set<std::string> names, expected = {"data.xml", "world.bmp", "multimap.bmp"};
        for (int r = 1; r <= row.Regions; ++r)
            expected.insert("world_overlay_" + std::to_string(r) + ".bmp");
        for (const auto& member : ReadMembers(path)) names.insert(member.first);
        EXPECT_EQ(names, expected);

        brix::Session session;
        RecordingMessages messages;
        ASSERT_TRUE(Load(path, session, messages));
        EXPECT_TRUE(messages.Shown.empty()) << messages.Shown.front().Text;
        EXPECT_EQ(CountRecords(session.GetWorld().Regions), row.Regions);
        EXPECT_EQ(CountRecords(session.GetWorld().Treasures), row.Treasures);
        EXPECT_EQ(CountRecords(session.GetWorld().Levels), row.Levels);
        EXPECT_EQ(session.GetWorld().Drawing.WorldBitmap.size(), QSize(Width, Height));

        // Every region has a mask with white in it, and no pixel belongs to two regions.
        for (const brix::Region& region : session.GetWorld().Regions) {
            if (region.Index < 1) continue;
            ASSERT_TRUE(brix::HasUsableMask(region)) << "region " << region.Index;
            const QRect box = brix::MaskQRect(region);
            ASSERT_TRUE(QRect(0, 0, Width, Height).contains(box)) << "region " << region.Index;
        }
        int overlaps = 0;
        const std::vector<int> owner = MaskOwners(session, overlaps);
        EXPECT_EQ(overlaps, 0);

        // Each treasure lies on a white pixel of its own region, where the player clicks.
        for (const brix::Treasure& treasure : session.GetWorld().Treasures) {
            if (treasure.Index < 1) continue;
            const QPoint pixel(treasure.Location.X / 4, treasure.Location.Y / 4);
            EXPECT_EQ(owner[pixel.y() * Width + pixel.x()], treasure.Region)
                << "treasure " << treasure.Index;
            EXPECT_EQ(brix::HitTestRegion(session.GetWorld(), pixel), treasure.Region)
                << "treasure " << treasure.Index;
        }

        // On a region's map, measured in the label font as the program measures it, no label
        // covers another label or any tack, its own included, and no leader reads as a minus
        // sign in front of the number.
        brix::ComputeAllLabelGeometry(session.GetWorld());
        std::map<int, std::vector<const brix::Treasure*>> byRegion;
        for (const brix::Treasure& treasure : session.GetWorld().Treasures)
            if (treasure.Index >= 1) byRegion[treasure.Region].push_back(&treasure);
        int labelled = 0;
        for (const auto& [region, treasures] : byRegion) {
            for (const brix::Treasure* t : treasures) {
                if (t->LabelOffset.X == 0 && t->LabelOffset.Y == 0) continue;
                ++labelled;
                EXPECT_FALSE(LeaderReadsAsMinus(*t))
                    << "the leader of " << t->Index << " reads as a minus sign";
                for (const brix::Treasure* other : treasures) {
                    EXPECT_FALSE(Intersect(t->LabelRect, TackRect(*other)))
                        << "label " << t->Index << " covers the tack of " << other->Index;
                    const bool otherLabelled =
                        other->LabelOffset.X != 0 || other->LabelOffset.Y != 0;
                    EXPECT_FALSE(other != t && otherLabelled &&
                                 Intersect(t->LabelRect, other->LabelRect))
                        << "labels " << t->Index << " and " << other->Index << " overlap";
                }
            }
        }
        EXPECT_GT(labelled, row.Treasures * 9 / 10);
    }
}

TEST(SampleWorld, RegionBordersAreDashedOnLandWhereRegionsMeet) {
    const std::string plainPath = Archive("plain", {"--no-borders"});
    ASSERT_FALSE(plainPath.empty());
    std::map<std::string, std::string> bordered = ReadMembers(Archive("")),
                                       plain = ReadMembers(plainPath);
    // The borders are only painted: data and masks are the same.
    ASSERT_EQ(bordered.size(), plain.size());
    for (const auto& [name, bytes] : bordered) {
        if (name != "world.bmp") {
            EXPECT_TRUE(plain[name] == bytes) << name << " differs";
        }
    }

    brix::Session session;
    RecordingMessages messages;
    ASSERT_TRUE(Load(Archive(""), session, messages));
    int overlaps = 0;
    const std::vector<int> owner = MaskOwners(session, overlaps);
    auto ownerAt = [&](int x, int y) {
        return x < 0 || y < 0 || x >= Width || y >= Height ? 0 : owner[y * Width + x];
    };
    // Whether another region's pixel lies within `reach` pixels of (x, y).
    auto nearOtherRegion = [&](int x, int y, int reach) {
        for (int dy = -reach; dy <= reach; ++dy)
            for (int dx = -reach; dx <= reach; ++dx) {
                const int other = ownerAt(x + dx, y + dy);
                if (other != 0 && other != owner[y * Width + x]) return true;
            }
        return false;
    };

    const QImage withBorders = QImage::fromData(QByteArray::fromStdString(bordered["world.bmp"]))
                                   .convertToFormat(QImage::Format_RGB32);
    const QImage without = QImage::fromData(QByteArray::fromStdString(plain["world.bmp"]))
                               .convertToFormat(QImage::Format_RGB32);
    ASSERT_EQ(withBorders.size(), QSize(Width, Height));
    ASSERT_EQ(without.size(), QSize(Width, Height));
    int changed = 0, meeting = 0, offLand = 0, astray = 0, lighter = 0;
    for (int y = 0; y < Height; ++y)
        for (int x = 0; x < Width; ++x) {
            const int here = owner[y * Width + x];
            const int right = ownerAt(x + 1, y), below = ownerAt(x, y + 1);
            meeting +=
                here != 0 && ((right != 0 && right != here) || (below != 0 && below != here));
            const QRgb a = withBorders.pixel(x, y), b = without.pixel(x, y);
            if (a == b) continue;
            ++changed;
            if (owner[y * Width + x] == 0)
                ++offLand;
            else if (!nearOtherRegion(x, y, 2))
                ++astray;
            lighter += qRed(a) > qRed(b) || qGreen(a) > qGreen(b) || qBlue(a) > qBlue(b);
        }
    EXPECT_EQ(offLand, 0) << "border pixels over the sea";
    EXPECT_EQ(astray, 0) << "border pixels away from where two regions meet";
    EXPECT_EQ(lighter, 0) << "border pixels lighter than the land";
    // A good part of the lines where regions meet is drawn, and little besides.
    EXPECT_GT(changed, meeting / 4);
    EXPECT_LT(changed, meeting * 3);
}

}  // namespace
