#include <gtest/gtest.h>

#include <QBuffer>
#include <QDir>
#include <QFontMetrics>
#include <QTemporaryDir>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "core/data/Session.h"
#include "core/data/ZipArchive.h"
#include "core/map/MapImages.h"
#include "support/GuiApp.h"
#include "support/RecordingMessages.h"
#include "support/TestFiles.h"

namespace brix {
namespace {

constexpr QRgb Black = 0xFF000000u;
constexpr QRgb White = 0xFFFFFFFFu;
constexpr QRgb Blue = 0xFF0000FFu;

using PixelFn = std::function<QRgb(int x, int y)>;

// A BMP file as Qt writes it: 24 bits for colour, one bit with the palette in the given order.
std::string Bmp(const QImage& image) {
    QByteArray data;
    QBuffer buffer(&data);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "BMP");
    return data.toStdString();
}

std::string MonoBmp(int width, int height, const PixelFn& pixel, bool whiteFirst = false) {
    QImage image(width, height, QImage::Format_Mono);
    image.setColorTable(whiteFirst ? QList<QRgb>{White, Black} : QList<QRgb>{Black, White});
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) image.setPixel(x, y, (pixel(x, y) == White) != whiteFirst);
    return Bmp(image);
}

std::string ColourBmp(int width, int height, const PixelFn& pixel) {
    QImage image(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) image.setPixel(x, y, pixel(x, y));
    return Bmp(image);
}

// A large picture of one colour (per-pixel drawing would be slow at these sizes).
std::string FilledBmp(int width, int height, QImage::Format format) {
    QImage image(width, height, format);
    if (format == QImage::Format_Mono) image.setColorTable({Black, White});
    image.fill(format == QImage::Format_Mono ? 1u : White);
    return Bmp(image);
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

QRgb AllWhite(int, int) {
    return White;
}

// A multimap-like picture: a black diagonal and a black frame on white.
QRgb Lines(int x, int y) {
    return (x == y || x == 0 || y == 0) ? Black : White;
}

ProgramPictures SmallPictures() {
    QImage scroll(246, 196, QImage::Format_RGB32), tack(13, 21, QImage::Format_RGB32);
    QImage head(13, 21, QImage::Format_RGB32);
    scroll.fill(qRgb(200, 180, 120));
    tack.fill(Blue);
    head.fill(White);
    return {scroll, tack, head};
}

struct ArchiveFixture {
    QTemporaryDir Dir;
    std::unique_ptr<ZipArchive> Archive;

    bool Build(const std::vector<test::ZipMember>& members) {
        const std::string path = Dir.filePath("kestrel.zip").toStdString();
        if (!test::WriteZip(path, members)) return false;
        Archive = ZipArchive::Open(path);
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
        std::vector<test::ZipMember> Members;
        std::vector<std::string> Messages;
        QSize Multimap, World;  // invalid: none loaded
    };
    const std::string multimap = MonoBmp(40, 30, Lines);
    auto both = [](const std::string& multimap, const std::string& world) {
        return std::vector<test::ZipMember>{{"multimap.bmp", multimap}, {"world.bmp", world}};
    };
    const PixelFn place = [](int x, int y) { return qRgb(x, y, 9); };
    const std::string world = ColourBmp(20, 10, place);
    // Rows of 21 pixels take 63 bytes and one byte of padding.
    const std::string oddWorld = ColourBmp(21, 10, place);
    const std::string noMultimap = NotLoaded("multimap.bmp"), noWorld = NotLoaded("world.bmp");
    const auto worldLacking = [&](std::size_t bytes) {
        return both(multimap, oddWorld.substr(0, oddWorld.size() - bytes));
    };
    const int max = MaxBitmapSide;
    const auto upperCase =
        std::vector<test::ZipMember>{{"Multimap.bmp", multimap}, {"world.bmp", world}};
    const std::string notMono = NotMonochrome("multimap.bmp");
    const Row rows[] = {
        {"both present", both(multimap, world), {}, {40, 30}, {20, 10}},
        {"name differs in case", upperCase, {noMultimap}, {}, {}},
        {"24-bit multimap", both(ColourBmp(40, 30, Lines), world), {notMono}, {}, {}},
        {"too wide", both(MonoBmp(max + 1, 1, AllWhite), world), {noMultimap}, {}, {}},
        // 16384 x 2048 one-bit pixels take exactly MaxMonoBitmapBytes.
        {"one-bit at its memory bound",
         both(FilledBmp(max, 2048, QImage::Format_Mono), world),
         {},
         {max, 2048},
         {20, 10}},
        {"one-bit past its memory bound",
         both(FilledBmp(max, 2049, QImage::Format_Mono), world),
         {noMultimap},
         {},
         {}},
        // 2049 x 2048 pixels take more than MaxColourBitmapBytes as RGB32.
        {"colour past its memory bound",
         both(multimap, FilledBmp(2049, 2048, QImage::Format_RGB32)),
         {noWorld},
         {40, 30},
         {}},
        {"both stored top row first",
         both(TopDown(multimap), TopDown(world)),
         {},
         {40, 30},
         {20, 10}},
        {"world lacking its last padding byte", worldLacking(1), {}, {40, 30}, {21, 10}},
        {"world lacking a pixel byte", worldLacking(2), {noWorld}, {40, 30}, {}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.Name);
        ArchiveFixture fixture;
        ASSERT_TRUE(fixture.Build(row.Members));
        Session session;
        test::RecordingMessages messages;
        LoadDrawingResources(session.GetWorld(), *fixture.Archive, messages, SmallPictures());

        EXPECT_EQ(Texts(messages), row.Messages);
        const DrawingResources& d = session.GetWorld().Drawing;
        EXPECT_EQ(d.MultimapBitmap.isNull(), !row.Multimap.isValid());
        EXPECT_EQ(d.WorldBitmap.isNull(), !row.World.isValid());
        if (row.Multimap.isValid()) {
            EXPECT_EQ(d.MultimapSize, row.Multimap);
        }
        if (row.World.isValid()) {
            EXPECT_EQ(d.WorldBitmapSize, row.World);
            EXPECT_EQ(d.WorldBitmap.pixel(13, 7), qRgb(13, 7, 9));
        }
        // Nothing is written beside the archive while loading.
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
        {"all present", eight, 0, 0, 0, eight, {}},
        {"7 missing", eight, 7, 0, 0, {1, 2, 3, 4, 5, 6}, {NotLoaded("world_overlay_7.bmp")}},
        {"3 in colour", eight, 0, 3, 0, {1, 2}, {NotMonochrome("world_overlay_3.bmp")}},
        {"1 too tall", {1, 2, 3}, 0, 0, 1, {}, {NotLoaded("world_overlay_1.bmp")}},
        {"empty slots and their overlays are passed over", {1, 3, 9}, 2, 0, 0, {1, 3, 9}, {}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.Name);
        std::vector<test::ZipMember> members;
        Session session;
        for (int index : row.Regions) {
            Region region;
            region.Index = index;
            region.MaskOffset = {index * 10, index * 5};
            session.GetWorld().StoreRegion(region);
        }
        for (int index = 1; index <= 9; ++index) {
            if (index == row.Missing) continue;
            const std::string name = "world_overlay_" + std::to_string(index) + ".bmp";
            const int width = 8 + index;
            if (index == row.Coloured)
                members.push_back({name, ColourBmp(width, 4, Lines)});
            else if (index == row.Oversized)
                members.push_back({name, MonoBmp(1, MaxBitmapSide + 1, AllWhite)});
            else
                members.push_back({name, MonoBmp(width, 4, Lines)});
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
            const int width = 8 + region.Index;
            EXPECT_EQ(region.MaskRect, (IntRect{region.Index * 10, region.Index * 5,
                                                region.Index * 10 + width, region.Index * 5 + 4}));
        }
        EXPECT_EQ(withMasks, row.WithMasks);
        EXPECT_EQ(fixture.Files(), QStringList{"kestrel.zip"});
    }
}

TEST(MapImages, MaskBitsAreRowsOfWhiteBitsPaddedToTwoBytes) {
    struct Row {
        const char* Name;
        int Width;
        int Height;
        PixelFn Pixel;
        bool WhiteFirst;
        int BytesPerRow;
        std::vector<std::uint8_t> Bits;  // empty: check every bit against the pixels only
    };
    auto firstAndNinth = [](int x, int y) { return y == 0 && (x == 0 || x == 8) ? White : Black; };
    auto scattered = [](int x, int y) { return (x * 7 + y * 3) % 5 == 0 ? White : Black; };
    const Row rows[] = {
        {"nine wide, palette white first", 9, 2, firstAndNinth, true, 2, {0x80, 0x80, 0x00, 0x00}},
        {"seventeen wide pads to four bytes", 17, 1, AllWhite, false, 4, {0xFF, 0xFF, 0x80, 0x00}},
        {"wide scattered pixels", 77, 9, scattered, true, 10, {}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.Name);
        Session session;
        Region region;
        region.Index = 1;
        region.MaskOffset = {300, 200};
        session.GetWorld().StoreRegion(region);
        ArchiveFixture fixture;
        ASSERT_TRUE(fixture.Build(
            {{"world_overlay_1.bmp", MonoBmp(row.Width, row.Height, row.Pixel, row.WhiteFirst)}}));
        test::RecordingMessages messages;
        LoadRegionMasks(session.GetWorld(), *fixture.Archive, messages);
        ASSERT_TRUE(messages.Shown.empty());
        const Region& loaded = session.GetWorld().Regions[1];
        EXPECT_EQ(loaded.MaskRect, (IntRect{300, 200, 300 + row.Width, 200 + row.Height}));
        ASSERT_EQ(loaded.MaskBytesPerRow, row.BytesPerRow);
        ASSERT_EQ(loaded.MaskBits.size(),
                  static_cast<std::size_t>(row.BytesPerRow) * static_cast<std::size_t>(row.Height));
        if (!row.Bits.empty()) {
            EXPECT_EQ(loaded.MaskBits, row.Bits);
        }
        // The bit of each pixel sits where the world view looks it up.
        for (int dy = 0; dy < row.Height; ++dy)
            for (int dx = 0; dx < row.Width; ++dx) {
                const std::size_t byte = std::size_t(dy * loaded.MaskBytesPerRow + dx / 8);
                const bool bit = (loaded.MaskBits[byte] & (0x80 >> (dx % 8))) != 0;
                ASSERT_EQ(bit, row.Pixel(dx, dy) == White) << dx << "," << dy;
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
}

}  // namespace
}  // namespace brix
