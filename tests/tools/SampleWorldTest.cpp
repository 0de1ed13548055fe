// The sample world archive: what the generator writes must load in the program and hold
// together (masks, treasures, labels), and the faulty variants must carry exactly their fault.

#include <gtest/gtest.h>
#include <unzip.h>

#include <QByteArray>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QStringList>
#include <QTemporaryDir>

#include <algorithm>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "data/DataLoader.h"
#include "data/TreasureCatalog.h"
#include "data/ZipArchive.h"
#include "map/MapGeometry.h"
#include "map/MapImages.h"
#include "map/WorldCanvas.h"
#include "support/GuiApp.h"
#include "support/RecordingMessages.h"

namespace {

using brix::test::RecordingMessages;

constexpr int WorldBitmapWidth = 1280;
constexpr int WorldBitmapHeight = 1024;
constexpr int MultimapWidth = 2560;
constexpr int MultimapHeight = 2048;

// Runs the generator; gives its exit code, or -1 when it could not run or did not finish.
int RunGenerator(const QStringList& arguments) {
    brix::test::EnsureGuiApp();
    QProcess process;
    process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    process.start(QStringLiteral(BRIX_KESTREL_GEN), arguments);
    if (!process.waitForStarted(30000)) return -1;
    if (!process.waitForFinished(300000)) {
        process.kill();
        process.waitForFinished();
        return -1;
    }
    return process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
}

// Builds an archive into the temporary folder; empty path on failure.
std::string Generate(const QTemporaryDir& dir, const QString& name, QStringList arguments) {
    const QString path = dir.filePath(name);
    arguments << path;
    if (RunGenerator(arguments) != 0) return {};
    return path.toStdString();
}

std::string FileBytes(const std::string& path) {
    QFile file(QString::fromStdString(path));
    if (!file.open(QIODevice::ReadOnly)) return {};
    QByteArray bytes = file.readAll();
    return std::string(bytes.constData(), static_cast<std::size_t>(bytes.size()));
}

// Every member of a zip archive by its stored name, read with minizip directly.
std::map<std::string, std::string> ReadMembers(const std::string& path) {
    std::map<std::string, std::string> members;
    unzFile zip = unzOpen(path.c_str());
    if (zip == nullptr) return members;
    for (int status = unzGoToFirstFile(zip); status == UNZ_OK; status = unzGoToNextFile(zip)) {
        char name[256];
        unz_file_info info;
        if (unzGetCurrentFileInfo(zip, &info, name, sizeof name, nullptr, 0, nullptr, 0) != UNZ_OK)
            break;
        if (unzOpenCurrentFile(zip) != UNZ_OK) break;
        std::string bytes;
        char piece[65536];
        int n;
        while ((n = unzReadCurrentFile(zip, piece, sizeof piece)) > 0) bytes.append(piece, n);
        unzCloseCurrentFile(zip);
        members[name] = bytes;
    }
    unzClose(zip);
    return members;
}

// Bits per pixel from a BMP header, or 0 when the bytes are no BMP.
int BmpBitsPerPixel(const std::string& bytes) {
    if (bytes.size() < 30 || bytes[0] != 'B' || bytes[1] != 'M') return 0;
    return static_cast<unsigned char>(bytes[28]) | (static_cast<unsigned char>(bytes[29]) << 8);
}

QImage DecodeBmp(const std::string& bytes) {
    return QImage::fromData(QByteArray(bytes.data(), static_cast<qsizetype>(bytes.size())), "BMP");
}

std::string OverlayName(int index) {
    return "world_overlay_" + std::to_string(index) + ".bmp";
}

// The archive as the program sees it at start-up: its data and its region masks.
struct LoadedWorld {
    brix::TreasureCatalog Catalog;
    RecordingMessages Messages;
    bool DataLoaded = false;
    QImage Multimap;
    QImage WorldBitmap;
};

std::unique_ptr<LoadedWorld> LoadWorld(const std::string& path) {
    brix::test::EnsureGuiApp();
    auto world = std::make_unique<LoadedWorld>();
    std::unique_ptr<brix::ZipArchive> archive = brix::ZipArchive::Open(path);
    if (!archive) return world;
    world->DataLoaded = brix::LoadSystemData(world->Catalog, *archive, "data.xml", world->Messages);
    brix::LoadDrawingResources(world->Catalog, *archive, world->Messages, brix::ProgramPictures{});
    brix::LoadRegionMasks(world->Catalog, *archive, world->Messages);
    world->Multimap = world->Catalog.Drawing.MultimapBitmap;
    world->WorldBitmap = world->Catalog.Drawing.WorldBitmap;
    return world;
}

template <typename Record>
int CountRecords(const std::vector<Record>& slots) {
    return static_cast<int>(
        std::count_if(slots.begin(), slots.end(), [](const Record& r) { return r.Index >= 1; }));
}

struct ArchiveKind {
    const char* Name;
    QStringList Arguments;  // empty name and arguments: the archive the build made
    int Regions;
    int Treasures;
    int Levels;
};

const ArchiveKind WellFormedArchives[] = {
    {"the built sample", {}, 48, 500, 8},
    {"another seed", {"--seed", "7"}, 48, 500, 8},
    {"the largest archive", {"--max"}, 100, 1000, 16},
};

std::string PathFor(const QTemporaryDir& dir, const ArchiveKind& kind) {
    if (kind.Arguments.isEmpty()) return BRIX_SAMPLE_ARCHIVE;
    return Generate(dir, QString("%1.zip").arg(kind.Name).replace(' ', '-'), kind.Arguments);
}

// What a region's map shows: every tack and number label of its treasures must lie inside the
// window the region view centres on them, and no label may cover another label or any tack.
// Labels are measured with the program's label font and with a wide fixed estimate, since the
// font differs between systems. Both tack positions (corrected or not) must fit.
void CheckRegionViews(brix::TreasureCatalog& catalog) {
    brix::test::EnsureGuiApp();
    struct Measure {
        const char* Name;
        brix::TextMeasurer Measurer;
    };
    const Measure measures[] = {
        {"label font", brix::FontMeasurer(brix::MakeLabelFont())},
        {"17 pixels a digit, 34 high",
         [](const std::string& text, int& width, int& height) {
             width = 17 * static_cast<int>(text.size());
             height = 34;
         }},
    };
    auto qrect = [](const brix::IntRect& r) {
        return QRect(QPoint(r.Left, r.Top), QPoint(r.Right - 1, r.Bottom - 1));
    };
    auto tack = [](const brix::Treasure& t) {
        return QRect(t.Location.X / 2 - brix::TackHotSpot.X, t.Location.Y / 2 - brix::TackHotSpot.Y,
                     13, 21);
    };
    const QPoint correction(brix::TackCorrection.X, brix::TackCorrection.Y);
    for (const Measure& measure : measures) {
        SCOPED_TRACE(measure.Name);
        for (brix::Treasure& treasure : catalog.Treasures)
            if (treasure.Index >= 1) brix::ComputeLabelGeometry(treasure, measure.Measurer);
        int clashes = 0, cutOff = 0;
        for (const brix::Region& region : catalog.Regions) {
            if (region.Index < 1) continue;
            const brix::RegionTreasureList list =
                brix::BuildRegionTreasureList(catalog, region.Index);
            EXPECT_GE(list.Treasures.size(), 3u) << "region " << region.Index;
            const QRect window =
                qrect(brix::CenterSourceRect(brix::PanelStyle::Scroll, list.CentreX, list.CentreY,
                                             480, 440, MultimapWidth, MultimapHeight));
            for (int a : list.Treasures) {
                const brix::Treasure& ta = *catalog.FindTreasure(a);
                for (QPoint shift : {QPoint(0, 0), correction}) {
                    if (!window.contains(tack(ta).translated(shift))) {
                        ++cutOff;
                        ADD_FAILURE()
                            << "tack " << a << " outside the view of region " << region.Index;
                    }
                }
                if (ta.LabelOffset == brix::IntPoint{0, 0}) continue;
                const QRect label = qrect(ta.LabelRect);
                for (QPoint shift : {QPoint(0, 0), correction}) {
                    if (!window.contains(label.translated(shift))) {
                        ++cutOff;
                        ADD_FAILURE()
                            << "label " << a << " outside the view of region " << region.Index;
                    }
                }
                for (int b : list.Treasures) {
                    const brix::Treasure& tb = *catalog.FindTreasure(b);
                    if (label.intersects(tack(tb))) {
                        ++clashes;
                        ADD_FAILURE() << "label " << a << " covers tack " << b;
                    }
                    if (b == a || tb.LabelOffset == brix::IntPoint{0, 0}) continue;
                    if (label.intersects(qrect(tb.LabelRect))) {
                        ++clashes;
                        ADD_FAILURE() << "labels " << a << " and " << b << " overlap";
                    }
                }
            }
        }
        EXPECT_EQ(clashes, 0);
        EXPECT_EQ(cutOff, 0);
    }
}

TEST(SampleWorld, SameSeedGivesSameBytesAndOtherSeedsDiffer) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const std::string built = FileBytes(BRIX_SAMPLE_ARCHIVE);
    ASSERT_FALSE(built.empty()) << "the build did not make " << BRIX_SAMPLE_ARCHIVE;
    const std::string again = Generate(dir, "again.zip", {});
    ASSERT_FALSE(again.empty());
    EXPECT_TRUE(FileBytes(again) == built) << "a second run with the default seed differs";
    const std::string other = Generate(dir, "other.zip", {"--seed", "7"});
    ASSERT_FALSE(other.empty());
    EXPECT_FALSE(FileBytes(other) == built) << "the seed has no effect";
}

TEST(SampleWorld, ArchivesLoadAndHoldTogether) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    for (const ArchiveKind& kind : WellFormedArchives) {
        SCOPED_TRACE(kind.Name);
        const std::string path = PathFor(dir, kind);
        ASSERT_FALSE(path.empty());

        // Exactly the members the program reads.
        std::map<std::string, std::string> members = ReadMembers(path);
        std::set<std::string> expected = {"data.xml", "world.bmp", "multimap.bmp"};
        for (int r = 1; r <= kind.Regions; ++r) expected.insert(OverlayName(r));
        std::set<std::string> names;
        for (const auto& [name, bytes] : members) names.insert(name);
        EXPECT_EQ(names, expected);
        EXPECT_EQ(BmpBitsPerPixel(members["world.bmp"]), 24);
        EXPECT_EQ(BmpBitsPerPixel(members["multimap.bmp"]), 1);
        for (int r = 1; r <= kind.Regions; ++r)
            EXPECT_EQ(BmpBitsPerPixel(members[OverlayName(r)]), 1) << OverlayName(r);
        EXPECT_EQ(members["data.xml"].rfind("<?xml version=\"1.0\" encoding=\"UTF-8\"?>", 0), 0u);

        std::unique_ptr<LoadedWorld> world = LoadWorld(path);
        const brix::TreasureCatalog& catalog = world->Catalog;
        ASSERT_TRUE(world->DataLoaded);
        EXPECT_TRUE(world->Messages.Shown.empty())
            << (world->Messages.Shown.empty() ? "" : world->Messages.Shown.front().Text);
        EXPECT_EQ(CountRecords(catalog.Regions), kind.Regions);
        EXPECT_EQ(CountRecords(catalog.Treasures), kind.Treasures);
        EXPECT_EQ(CountRecords(catalog.Levels), kind.Levels);
        EXPECT_EQ(world->WorldBitmap.size(), QSize(WorldBitmapWidth, WorldBitmapHeight));
        EXPECT_EQ(world->Multimap.size(), QSize(MultimapWidth, MultimapHeight));
        EXPECT_TRUE(brix::IsMonochrome(world->Multimap));

        // Levels grow harder and richer.
        for (int l = 2; l <= kind.Levels; ++l) {
            const brix::Level* low = catalog.FindLevel(l - 1);
            const brix::Level* high = catalog.FindLevel(l);
            ASSERT_TRUE(low && high);
            EXPECT_GE(high->Cartography, low->Cartography) << "level " << l;
            EXPECT_GE(high->Lockpicking, low->Lockpicking) << "level " << l;
            EXPECT_GT(high->Gold, low->Gold) << "level " << l;
            EXPECT_FALSE(high->WhatSpawns.empty() || high->WhatDrops.empty()) << "level " << l;
        }
        EXPECT_GT(catalog.FindLevel(kind.Levels)->Cartography, catalog.FindLevel(1)->Cartography);

        // Every region has its own mask, and no pixel belongs to two regions.
        std::vector<int> owner(WorldBitmapWidth * WorldBitmapHeight, 0);
        int overlaps = 0, hitTestRegions = 0, commented = 0;
        for (const brix::Region& region : catalog.Regions) {
            if (region.Index < 1) continue;
            EXPECT_FALSE(region.Name.empty());
            if (!region.Comment.empty()) ++commented;
            ASSERT_TRUE(brix::HasUsableMask(region)) << "region " << region.Index;
            const QRect box = brix::MaskQRect(region);
            ASSERT_TRUE(QRect(0, 0, WorldBitmapWidth, WorldBitmapHeight).contains(box))
                << "region " << region.Index;
            int white = 0;
            for (int y = box.top(); y <= box.bottom(); ++y) {
                for (int x = box.left(); x <= box.right(); ++x) {
                    if (!brix::MaskBitAt(region, QPoint(x, y))) continue;
                    ++white;
                    int& cell = owner[y * WorldBitmapWidth + x];
                    if (cell != 0) ++overlaps;
                    cell = region.Index;
                }
            }
            EXPECT_GT(white, 0) << "region " << region.Index << " has an empty mask";
            if (region.MaskHitTest) ++hitTestRegions;
        }
        EXPECT_EQ(overlaps, 0);
        EXPECT_GE(hitTestRegions, 1);
        EXPECT_GE(commented, 5);
        std::set<std::string> regionNames;
        for (const brix::Region& region : catalog.Regions) {
            if (region.Index < 1) continue;
            EXPECT_TRUE(regionNames.insert(region.Name).second) << "two regions " << region.Name;
            // The loader keeps at most 1023 bytes of a text; advice must end before that.
            EXPECT_LT(region.Comment.size(), 1000u) << "region " << region.Index;
        }

        // A region hit by its rectangle alone must not take clicks from its neighbours.
        for (const brix::Region& region : catalog.Regions) {
            if (region.Index < 1 || !region.MaskHitTest) continue;
            const QRect box = brix::MaskQRect(region);
            for (int y = box.top(); y <= box.bottom(); ++y)
                for (int x = box.left(); x <= box.right(); ++x) {
                    int o = owner[y * WorldBitmapWidth + x];
                    ASSERT_TRUE(o == 0 || o == region.Index)
                        << "region " << region.Index << "'s rectangle covers region " << o;
                }
        }

        // No land left over: outside every mask the overview shows no grass or woods (the
        // sea is blue; a compass rose may be painted on it). The painted coast blends land
        // colours into the sea pixels along it, so pixels beside open water are skipped.
        auto vegetation = [&](int x, int y) {
            QRgb pixel = world->WorldBitmap.pixel(x, y);
            return qGreen(pixel) > qBlue(pixel) + 12 && qGreen(pixel) >= qRed(pixel);
        };
        int uncoveredLand = 0;
        for (int y = 1; y < WorldBitmapHeight - 1; ++y) {
            for (int x = 1; x < WorldBitmapWidth - 1; ++x) {
                if (owner[y * WorldBitmapWidth + x] != 0 || !vegetation(x, y)) continue;
                bool besideWater = false;
                for (int dy = -1; dy <= 1; ++dy)
                    for (int dx = -1; dx <= 1; ++dx)
                        if (owner[(y + dy) * WorldBitmapWidth + x + dx] == 0 &&
                            !vegetation(x + dx, y + dy))
                            besideWater = true;
                if (!besideWater) ++uncoveredLand;
            }
        }
        EXPECT_EQ(uncoveredLand, 0);

        // Treasures: numbered without gaps, inside their own region where the player clicks.
        int unlabelled = 0;
        for (int t = 1; t <= kind.Treasures; ++t) {
            const brix::Treasure* treasure = catalog.FindTreasure(t);
            ASSERT_NE(treasure, nullptr) << "treasure " << t;
            EXPECT_FALSE(treasure->Name.empty());
            ASSERT_NE(catalog.FindRegion(treasure->Region), nullptr) << "treasure " << t;
            const QPoint pixel(treasure->Location.X / 4, treasure->Location.Y / 4);
            EXPECT_EQ(owner[pixel.y() * WorldBitmapWidth + pixel.x()], treasure->Region)
                << "treasure " << t << " lies outside region " << treasure->Region;
            EXPECT_EQ(brix::HitTestRegion(catalog, pixel), treasure->Region) << "treasure " << t;
            if (treasure->LabelOffset == brix::IntPoint{0, 0}) ++unlabelled;
        }
        EXPECT_GE(unlabelled, 1);
        EXPECT_LE(unlabelled, kind.Treasures / 50);
        std::set<std::pair<int, std::string>> treasureNames;
        for (const brix::Treasure& treasure : catalog.Treasures) {
            if (treasure.Index < 1) continue;
            EXPECT_TRUE(treasureNames.insert({treasure.Region, treasure.Name}).second)
                << "two treasures " << treasure.Name << " in region " << treasure.Region;
        }

        CheckRegionViews(world->Catalog);

        // The permanent rune library: a few books of valid treasures.
        ASSERT_EQ(catalog.RuneLibraries.size(), 1u);
        const brix::RuneLibrary& library = catalog.RuneLibraries.front();
        EXPECT_GE(library.RuneBooks.size(), 2u);
        EXPECT_LE(library.RuneBooks.size(), 3u);
        for (const brix::RuneBook& book : library.RuneBooks) {
            EXPECT_FALSE(book.Treasures.empty()) << book.Name;
            EXPECT_LE(book.Treasures.size(), 16u) << book.Name;
            for (int t : book.Treasures) EXPECT_NE(catalog.FindTreasure(t), nullptr) << book.Name;
        }
    }
}

TEST(SampleWorld, BrokenArchivesCarryTheirFault) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    struct Case {
        const char* Kind;
        const char* Member;   // the member the fault is in
        const char* Message;  // what the program reports at start-up, "" for none
    };
    const Case cases[] = {
        {"multimap24", "multimap.bmp", "The bitmap \"multimap.bmp\" must be monochrome."},
        {"missing-overlay", "world_overlay_7.bmp",
         "Unable to load \"world_overlay_7.bmp\" from the zip file."},
        {"upper-data", "data.xml", "Unable to locate \"data.xml\" in the zip file."},
        {"not-bitmap", "world.bmp", "Unable to load \"world.bmp\" from the zip file."},
    };
    const std::map<std::string, std::string> good = ReadMembers(BRIX_SAMPLE_ARCHIVE);
    ASSERT_FALSE(good.empty());
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Kind);
        const std::string path = Generate(dir, QString(c.Kind) + ".zip", {"--broken", c.Kind});
        ASSERT_FALSE(path.empty());
        std::map<std::string, std::string> members = ReadMembers(path);
        const std::string kind = c.Kind;
        // Everything but the faulty member is the sound archive's.
        for (const auto& [name, bytes] : good) {
            if (name == c.Member) continue;
            auto it = members.find(name);
            ASSERT_NE(it, members.end()) << name << " is missing";
            EXPECT_TRUE(it->second == bytes) << name << " differs";
        }
        if (kind == "multimap24") {
            EXPECT_EQ(BmpBitsPerPixel(members["multimap.bmp"]), 24);
            EXPECT_EQ(DecodeBmp(members["multimap.bmp"]).size(),
                      QSize(MultimapWidth, MultimapHeight));
        } else if (kind == "missing-overlay") {
            EXPECT_EQ(members.count("world_overlay_7.bmp"), 0u);
            EXPECT_EQ(members.size(), good.size() - 1);
        } else if (kind == "upper-data") {
            EXPECT_EQ(members.count("data.xml"), 0u);
            EXPECT_TRUE(members["DATA.XML"] == good.at("data.xml"));
        } else if (kind == "not-bitmap") {
            EXPECT_EQ(BmpBitsPerPixel(members["world.bmp"]), 0);
            EXPECT_TRUE(DecodeBmp(members["world.bmp"]).isNull());
        }

        // The program notices the fault and says so.
        brix::TreasureCatalog catalog;
        RecordingMessages messages;
        std::unique_ptr<brix::ZipArchive> archive = brix::ZipArchive::Open(path);
        ASSERT_TRUE(archive);
        const bool loaded = brix::LoadSystemData(catalog, *archive, "data.xml", messages);
        EXPECT_EQ(loaded, kind != "upper-data");
        if (loaded) {
            brix::LoadDrawingResources(catalog, *archive, messages, brix::ProgramPictures{});
            brix::LoadRegionMasks(catalog, *archive, messages);
        }
        std::vector<std::string> texts;
        for (const auto& entry : messages.Shown) texts.push_back(entry.Text);
        EXPECT_NE(std::find(texts.begin(), texts.end(), c.Message), texts.end())
            << "messages: " << ::testing::PrintToString(texts);
    }
}

TEST(SampleWorld, GeneratorRefusesBadArguments) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString out = dir.filePath("never.zip");
    const QStringList rows[] = {
        {},                                          // no output
        {"--broken", "sideways", out},               // unknown fault
        {"--seed", "twelve", out},                   // seed not a number
        {"--seed"},                                  // seed missing
        {"--colour", out},                           // unknown option
        {out, dir.filePath("two.zip")},              // two outputs
        {"--seed", "99999999999999999999999", out},  // seed beyond 64 bits
    };
    for (const QStringList& arguments : rows) {
        SCOPED_TRACE(arguments.join(' ').toStdString());
        EXPECT_EQ(RunGenerator(arguments), 2);
        EXPECT_FALSE(QFile::exists(out));
    }
    // An output folder that does not exist is a failure, and leaves nothing behind.
    const QString unreachable = dir.filePath("no/such/folder/kestrel.zip");
    EXPECT_EQ(RunGenerator({unreachable}), 1);
    EXPECT_FALSE(QFile::exists(unreachable));
}

}  // namespace
