#include <gtest/gtest.h>

#include <QDir>
#include <QFontMetrics>
#include <QTemporaryDir>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "core/data/Session.h"
#include "core/data/ZipArchive.h"
#include "core/map/MapGeometry.h"
#include "core/map/MapImages.h"
#include "support/GuiApp.h"
#include "support/RecordingMessages.h"
#include "support/TestFiles.h"

namespace brix {
namespace {

constexpr QRgb Black = 0xFF000000u;
constexpr QRgb White = 0xFFFFFFFFu;

using PixelFn = std::function<QRgb(int x, int y)>;

using test::BmpBytes;

// One bit per pixel with the palette in the given order.
std::string MonoBmp(int width, int height, const PixelFn& pixel, bool whiteFirst = false) {
    QImage image(width, height, QImage::Format_Mono);
    image.setColorTable(whiteFirst ? QList<QRgb>{White, Black} : QList<QRgb>{Black, White});
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) image.setPixel(x, y, (pixel(x, y) == White) != whiteFirst);
    return BmpBytes(image);
}

std::string ColourBmp(int width, int height, const PixelFn& pixel) {
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(White);  // without a pixel function: per-pixel drawing is slow on large pictures
    for (int y = 0; pixel && y < height; ++y)
        for (int x = 0; x < width; ++x) image.setPixel(x, y, pixel(x, y));
    return BmpBytes(image);
}

// The same picture stored top row first, as a negative height says.
std::string TopDown(std::string bmp) {
    const auto read = [&](std::size_t at) {
        std::uint32_t v = 0;
        for (int i = 3; i >= 0; --i) v = (v << 8) | static_cast<unsigned char>(bmp[at + i]);
        return v;
    };
    const std::size_t offset = read(10);
    const auto height = static_cast<std::int32_t>(read(22));
    const std::size_t stride = (bmp.size() - offset) / static_cast<std::size_t>(height);
    std::string rows;
    for (std::int32_t y = height - 1; y >= 0; --y)
        rows += bmp.substr(offset + static_cast<std::size_t>(y) * stride, stride);
    bmp.replace(offset, rows.size(), rows);
    const std::uint32_t negative = static_cast<std::uint32_t>(-height);
    for (int i = 0; i < 4; ++i) bmp[22 + i] = static_cast<char>((negative >> (8 * i)) & 0xFF);
    return bmp;
}

// A multimap-like picture: a black diagonal and a black frame on white.
QRgb Lines(int x, int y) {
    return (x == y || x == 0 || y == 0) ? Black : White;
}

// The archive's drawing members and overlays (no data.xml); nothing may be written beside it.
struct ArchiveFixture {
    QTemporaryDir Dir;
    std::unique_ptr<ZipArchive> Archive;

    bool Build(const test::WorldMembers& members) {
        const std::string path = Dir.filePath("kestrel.zip").toStdString();
        Archive = test::WriteWorldArchive(path, members) ? ZipArchive::Open(path) : nullptr;
        return Archive != nullptr;
    }
    QStringList Files() const { return QDir(Dir.path()).entryList(QDir::Files | QDir::Hidden); }
};

std::vector<std::string> Texts(const test::RecordingMessages& messages) {
    std::vector<std::string> texts;
    for (const auto& entry : messages.Shown) texts.push_back(entry.Text);
    return texts;
}

std::string NotLoaded(const std::string& member) {
    return "Unable to load \"" + member + "\" from the zip file.";
}

std::string NotMonochrome(const std::string& member) {
    return "The bitmap \"" + member + "\" must be monochrome.";
}

TEST(MapImages, DrawingResourcesStopAtTheFirstUnusableImage) {
    struct Row {
        const char* Name;
        std::string Multimap, World;
        std::vector<std::string> Messages;
        QSize MultimapSize, WorldSize;  // invalid: none loaded
    };
    const std::string multimap = MonoBmp(40, 30, Lines), colourMultimap = ColourBmp(40, 30, Lines);
    const PixelFn place = [](int x, int y) { return qRgb(x, y, 9); };
    const std::string world = ColourBmp(20, 10, place);
    // Rows of 21 pixels take 63 bytes and one byte of padding.
    const std::string oddWorld = ColourBmp(21, 10, place);
    const std::string noPadding = oddWorld.substr(0, oddWorld.size() - 1),
                      noPixel = oddWorld.substr(0, oddWorld.size() - 2);
    const int max = MaxBitmapSide;
    // max x 2048 one-bit pixels take exactly MaxMonoBitmapBytes; 2049 x 2048 pixels take more
    // than MaxColourBitmapBytes as RGB32.
    const std::string atBound = test::WhiteMonoBmp(max, 2048),
                      pastBound = test::WhiteMonoBmp(max, 2049),
                      tooWide = test::WhiteMonoBmp(max + 1, 1),
                      colourPastBound = ColourBmp(2049, 2048, {});
    const std::string noMultimap = NotLoaded("multimap.bmp"), noWorld = NotLoaded("world.bmp");
    const QSize mm(40, 30), wm(20, 10);
    const Row rows[] = {
        {"both present", multimap, world, {}, mm, wm},
        {"name differs in case", "", world, {noMultimap}, {}, {}},
        {"24-bit multimap", colourMultimap, world, {NotMonochrome("multimap.bmp")}, {}, {}},
        {"too wide", tooWide, world, {noMultimap}, {}, {}},
        {"one-bit at its memory bound", atBound, world, {}, {max, 2048}, wm},
        {"one-bit past its memory bound", pastBound, world, {noMultimap}, {}, {}},
        {"colour past its memory bound", multimap, colourPastBound, {noWorld}, mm, {}},
        {"both stored top row first", TopDown(multimap), TopDown(world), {}, mm, wm},
        {"world lacking its last padding byte", multimap, noPadding, {}, mm, {21, 10}},
        {"world lacking a pixel byte", multimap, noPixel, {noWorld}, mm, {}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.Name);
        test::WorldMembers members;
        members.Multimap = row.Multimap;
        members.World = row.World;
        if (row.Multimap.empty()) members.Others = {{"Multimap.bmp", multimap}};
        ArchiveFixture fixture;
        ASSERT_TRUE(fixture.Build(members));
        Session session;
        test::RecordingMessages messages;
        LoadDrawingResources(session.GetWorld(), *fixture.Archive, messages, ProgramPictures{});

        EXPECT_EQ(Texts(messages), row.Messages);
        const DrawingResources& d = session.GetWorld().Drawing;
        EXPECT_EQ(d.MultimapBitmap.isNull() ? QSize() : d.MultimapSize, row.MultimapSize);
        EXPECT_EQ(d.WorldBitmap.isNull() ? QSize() : d.WorldBitmapSize, row.WorldSize);
        if (row.WorldSize.isValid()) {
            EXPECT_EQ(d.WorldBitmap.pixel(13, 7), qRgb(13, 7, 9));
        }
        EXPECT_EQ(fixture.Files(), QStringList{"kestrel.zip"});
    }
}

TEST(MapImages, RegionMasksStopAtTheFirstUnusableOverlay) {
    struct Row {
        const char* Name;
        std::vector<int> Regions;
        int Missing;    // overlay left out of the archive, 0 for none
        int Coloured;   // overlay stored as a 24-bit picture, 0 for none
        int Oversized;  // overlay too tall to be decoded, 0 for none
        std::vector<int> WithMasks;
        std::vector<std::string> Messages;
    };
    const std::vector<int> eight = {1, 2, 3, 4, 5, 6, 7, 8};
    const Row rows[] = {
        {"7 missing", eight, 7, 0, 0, {1, 2, 3, 4, 5, 6}, {NotLoaded("world_overlay_7.bmp")}},
        {"3 in colour", eight, 0, 3, 0, {1, 2}, {NotMonochrome("world_overlay_3.bmp")}},
        {"1 too tall", {1, 2, 3}, 0, 0, 1, {}, {NotLoaded("world_overlay_1.bmp")}},
        {"empty slots and their overlays are passed over", {1, 3, 9}, 2, 0, 0, {1, 3, 9}, {}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.Name);
        test::WorldMembers members;
        Session session;
        for (int index : row.Regions) {
            Region region;
            region.Index = index;
            region.MaskOffset = {index * 10, index * 5};
            session.GetWorld().StoreRegion(region);
        }
        for (int index = 1; index <= 9; ++index) {
            const int width = 8 + index;
            members.Overlays[index] = index == row.Missing    ? ""
                                      : index == row.Coloured ? ColourBmp(width, 4, Lines)
                                      : index == row.Oversized
                                          ? test::WhiteMonoBmp(1, MaxBitmapSide + 1)
                                          : MonoBmp(width, 4, Lines, index == 9);
        }
        ArchiveFixture fixture;
        ASSERT_TRUE(fixture.Build(members));
        test::RecordingMessages messages;
        LoadRegionMasks(session.GetWorld(), *fixture.Archive, messages);

        EXPECT_EQ(Texts(messages), row.Messages);
        std::vector<int> withMasks;
        for (const Region& region : session.GetWorld().Regions) {
            if (region.MaskBits.empty()) continue;
            withMasks.push_back(region.Index);
            const int x = region.Index * 10, y = region.Index * 5;
            EXPECT_EQ(region.MaskRect, (IntRect{x, y, x + 8 + region.Index, y + 4}));
        }
        EXPECT_EQ(withMasks, row.WithMasks);
        // Region 9 (palette white first, 17 wide): white pixels are set bits, rows padded to
        // two bytes; its first two rows.
        if (row.Regions.back() == 9) {
            const std::vector<std::uint8_t>& bits = session.GetWorld().Regions[9].MaskBits;
            EXPECT_EQ(std::vector(bits.begin(), bits.begin() + 8),
                      (std::vector<std::uint8_t>{0, 0, 0, 0, 0x3F, 0xFF, 0x80, 0}));
        }
    }
}

TEST(MapImages, LabelFontIsThirtyPixelsFromAscentToDescent) {
    struct Row {
        const char* Name;
        std::function<int(int)> Height;
        int Guess, Expected;
    };
    const auto arialLike = [](int size) { return (size * 115 + 50) / 100 - (size == 27 ? 1 : 0); };
    const Row rows[] = {
        // Two sizes share the cell height 30 (26 and 27): the larger is the closer match.
        {"two sizes fit, guess below", arialLike, 20, 27},
        // No size gives 30 exactly: the nearest below, never the one above.
        {"no exact size", [](int size) { return size * 4 / 3 + (size % 2); }, 27, 22},
        {"guess out of range", [](int size) { return size; }, -5, 30},
        // A font too tall at every size, or not growing at all, still ends.
        {"always too tall", [](int) { return 99; }, 27, 1},
        {"never grows", [](int) { return 10; }, 27, 120},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(LargestPixelSizeWithin(30, row.Guess, row.Height), row.Expected) << row.Name;
    }

    test::EnsureGuiApp();
    const QFont font = MakeLabelFont();
    EXPECT_LE(QFontMetrics(font).height(), LabelCellHeight);
    QFont larger = font;
    larger.setPixelSize(font.pixelSize() + 1);
    EXPECT_GT(QFontMetrics(larger).height(), LabelCellHeight);

    // Every label is measured in that font: one digit against four, and the cell height plus
    // the inset above and below. An empty slot is left alone.
    World world;
    world.Drawing.LabelFont = font;
    for (int index : {7, 1000}) {
        Treasure treasure;
        treasure.Index = index;
        treasure.Location = {1000, 600};
        treasure.LabelOffset = {0, 40};
        world.StoreTreasure(treasure);
    }
    world.Treasures[3].LabelRect = {1, 1, 9, 9};
    ComputeAllLabelGeometry(world);
    const IntRect &one = world.Treasures[7].LabelRect, &four = world.Treasures[1000].LabelRect;
    EXPECT_GT(four.Right - four.Left, one.Right - one.Left + 2 * 10);
    EXPECT_EQ(one.Bottom - one.Top, 2 + QFontMetrics(font).height());
    EXPECT_EQ(world.Treasures[3].LabelRect, (IntRect{1, 1, 9, 9}));
}

}  // namespace
}  // namespace brix
