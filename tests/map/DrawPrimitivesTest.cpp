#include <gtest/gtest.h>

#include <QFontMetrics>
#include <QImage>
#include <QPainter>

#include <functional>
#include <string>
#include <vector>

#include "data/TreasureCatalog.h"
#include "frame/MapFilter.h"
#include "map/DrawPrimitives.h"
#include "map/MapImages.h"
#include "support/GuiApp.h"

namespace brix {
namespace {

constexpr QRgb Black = 0xFF000000u;
constexpr QRgb White = 0xFFFFFFFFu;
constexpr QRgb Key = 0xFF0000FFu;
constexpr QRgb Canvas = 0xFF5A5A5Au;  // grey (90, 90, 90)
constexpr QRgb Red = 0xFFFF0000u;
constexpr std::uint32_t RedRef = 0x000000FFu;
constexpr std::uint32_t GreenRef = 0x0000FF00u;
constexpr std::uint32_t BlueRef = 0x00FF0000u;
constexpr QRgb HeadRed = 0xFF800000u;   // the test tack's own head colour
constexpr QRgb BodyGrey = 0xFF646464u;  // the test tack's pin

// Every pixel of the test scroll names its own place in the picture, so a drawn pixel tells
// which piece of the scroll it came from. Two 4 × 4 patches at opposite corners are key blue.
QRgb ScrollPixel(int x, int y) {
    return qRgb(x, y, 7);
}
bool ScrollKey(int x, int y) {
    return (x < 4 && y < 4) || (x >= 242 && y >= 192);
}

enum class TackPart { None, Head, Body };

// The test tack: a head over columns 0–9, rows 0–4 (wider than the real one, so that whole
// bytes of its mask are head), and a pin down column 10 ending in pixel (0, 8).
TackPart TackPartAt(int x, int y) {
    if (x <= 9 && y <= 4) return TackPart::Head;
    if (x == 10 && y >= 5 && y <= 12) return TackPart::Body;
    if (x == 0 && y == 8) return TackPart::Body;
    return TackPart::None;
}

QImage TestScroll() {
    QImage scroll(246, 196, QImage::Format_RGB32);
    for (int y = 0; y < 196; ++y)
        for (int x = 0; x < 246; ++x)
            scroll.setPixel(x, y, ScrollKey(x, y) ? Key : ScrollPixel(x, y));
    return scroll;
}

ProgramPictures TestPictures() {
    ProgramPictures pictures;
    pictures.Scroll = TestScroll();
    pictures.Tack = QImage(13, 21, QImage::Format_RGB32);
    pictures.TackHead = QImage(13, 21, QImage::Format_RGB32);
    for (int y = 0; y < 21; ++y) {
        for (int x = 0; x < 13; ++x) {
            const TackPart part = TackPartAt(x, y);
            pictures.Tack.setPixel(x, y,
                                   part == TackPart::Head   ? HeadRed
                                   : part == TackPart::Body ? BodyGrey
                                                            : Key);
            pictures.TackHead.setPixel(x, y, part == TackPart::Head ? Black : White);
        }
    }
    return pictures;
}

// A line drawing: black on a sparse lattice of dots, on row 50 and on column 120.
bool MultimapBlack(int x, int y) {
    return (x * 7 + y * 3) % 11 == 0 || y == 50 || x == 120;
}

QImage TestMultimap(int width, int height, bool blank = false) {
    QImage map(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            map.setPixel(x, y, !blank && MultimapBlack(x, y) ? Black : White);
    return NormalizeMonochrome(map);
}

// The resources as start-up builds them, from the test pictures.
void Prepare(TreasureCatalog& catalog, const QImage& multimap) {
    const ProgramPictures pictures = TestPictures();
    DrawingResources& d = catalog.Drawing;
    d.ScrollBitmap = pictures.Scroll;
    d.ScrollMask = MakeTransparencyMask(d.ScrollBitmap, TransparencyKey);
    d.ScrollSize = d.ScrollBitmap.size();
    d.TackBitmap = pictures.Tack;
    d.TackMask = MakeTransparencyMask(d.TackBitmap, TransparencyKey);
    d.TackHeadMask = NormalizeMonochrome(pictures.TackHead);
    d.TackSize = d.TackBitmap.size();
    d.LeaderPen = MakeLeaderPen();
    d.LabelFont = MakeLabelFont();
    d.MultimapBitmap = multimap;
    d.MultimapSize = multimap.size();
}

QImage Filled(int width, int height, QRgb colour, QImage::Format format = QImage::Format_RGB32) {
    QImage image(width, height, format);
    image.fill(colour);
    return image;
}

TEST(DrawPrimitives, ScrollBorderIsTiledBetweenItsCorners) {
    struct Segment {
        int From;    // offset from the panel's edge, inclusive
        int To;      // exclusive
        int Source;  // scroll coordinate shown at From
    };
    struct Row {
        const char* Name;
        int Width;
        int Height;
        std::vector<Segment> Across;  // along the top and bottom edges
        std::vector<Segment> Down;    // along the left and right edges
    };
    const Row rows[] = {
        {"76 wide: corners only", 76, 86, {{0, 38, 0}, {38, 76, 208}}, {{0, 38, 0}, {38, 86, 148}}},
        {"77 wide: one pixel of edge",
         77,
         87,
         {{0, 38, 0}, {38, 39, 38}, {39, 77, 208}},
         {{0, 38, 0}, {38, 39, 38}, {39, 87, 148}}},
        {"narrower than two corners: the later corner covers the earlier",
         60,
         70,
         {{0, 22, 0}, {22, 60, 208}},
         {{0, 22, 0}, {22, 70, 148}}},
        {"480 × 440: tiles of 170, 170 and 64 across, 110, 110, 110 and 24 down",
         480,
         440,
         {{0, 38, 0}, {38, 208, 38}, {208, 378, 38}, {378, 442, 38}, {442, 480, 208}},
         {{0, 38, 0},
          {38, 148, 38},
          {148, 258, 38},
          {258, 368, 38},
          {368, 392, 38},
          {392, 440, 148}}},
    };
    TreasureCatalog catalog;
    Prepare(catalog, TestMultimap(8, 8));
    for (const Row& row : rows) {
        SCOPED_TRACE(row.Name);
        QImage canvas = Filled(row.Width + 20, row.Height + 20, Canvas);
        {
            QPainter painter(&canvas);
            DrawPanel(painter, catalog.Drawing, PanelStyle::Scroll, false, AutomaticColour,
                      IntRect{10, 10, 10 + row.Width, 10 + row.Height});
        }
        // Probe rows and columns 5 pixels into each edge, clear of the key patches.
        const int top = 10 + 5;
        const int bottom = 10 + row.Height - 48 + 10;
        const int left = 10 + 5;
        const int right = 10 + row.Width - 38 + 5;
        for (const Segment& s : row.Across) {
            for (int d = s.From; d < s.To; ++d) {
                ASSERT_EQ(canvas.pixel(10 + d, top), ScrollPixel(s.Source + d - s.From, 5)) << d;
                ASSERT_EQ(canvas.pixel(10 + d, bottom), ScrollPixel(s.Source + d - s.From, 158))
                    << d;
            }
        }
        for (const Segment& s : row.Down) {
            for (int d = s.From; d < s.To; ++d) {
                ASSERT_EQ(canvas.pixel(left, 10 + d), ScrollPixel(5, s.Source + d - s.From)) << d;
                ASSERT_EQ(canvas.pixel(right, 10 + d), ScrollPixel(213, s.Source + d - s.From))
                    << d;
            }
        }
        // Nothing lands outside the panel.
        for (int x = 0; x < canvas.width(); ++x) {
            ASSERT_EQ(canvas.pixel(x, 9), Canvas) << x;
            ASSERT_EQ(canvas.pixel(x, 10 + row.Height), Canvas) << x;
        }
        for (int y = 0; y < canvas.height(); ++y) {
            ASSERT_EQ(canvas.pixel(9, y), Canvas) << y;
            ASSERT_EQ(canvas.pixel(10 + row.Width, y), Canvas) << y;
        }
    }
}

TEST(DrawPrimitives, PanelInteriorAndColour) {
    struct Probe {
        int X;  // relative to the panel's top-left corner
        int Y;
        QRgb Expected;
    };
    struct Row {
        const char* Name;
        PanelStyle Style;
        bool Fill;
        std::uint32_t Colour;
        std::vector<Probe> Probes;
    };
    const QRgb parchment = ScrollPixel(38, 38);
    const Row rows[] = {
        {"scroll, no fill, automatic: interior and key show what was below",
         PanelStyle::Scroll,
         false,
         AutomaticColour,
         {{38, 38, Canvas},
          {200, 300, Canvas},
          {441, 391, Canvas},
          {1, 1, Canvas},
          {478, 438, Canvas}}},
        {"scroll, no fill, colour: interior and key take the colour",
         PanelStyle::Scroll,
         false,
         RedRef,
         {{38, 38, Red},
          {441, 391, Red},
          {1, 1, Red},
          {478, 438, Red},
          {100, 5, ScrollPixel(100, 5)}}},
        {"scroll, parchment: tiles of 170 × 110 from (38, 38)",
         PanelStyle::Scroll,
         true,
         AutomaticColour,
         {{38, 38, parchment},
          {38 + 169, 38 + 109, ScrollPixel(207, 147)},
          {38 + 170, 38 + 110, parchment},
          {38 + 171, 38 + 1, ScrollPixel(39, 39)},
          {441, 391, ScrollPixel(101, 61)},
          {1, 1, Canvas}}},
        {"scroll, parchment and colour: the colour shows only through the border",
         PanelStyle::Scroll,
         true,
         RedRef,
         {{38, 38, parchment}, {1, 1, Red}, {478, 438, Red}}},
        {"no frame, no fill, automatic",
         PanelStyle::None,
         false,
         AutomaticColour,
         {{0, 0, Canvas}, {479, 439, Canvas}}},
        {"no frame, colour", PanelStyle::None, false, RedRef, {{0, 0, Red}, {479, 439, Red}}},
        {"no frame, parchment",
         PanelStyle::None,
         true,
         RedRef,
         {{0, 0, parchment}, {170, 110, parchment}, {479, 439, ScrollPixel(177, 147)}}},
        {"double line, no fill",
         PanelStyle::DoubleLine,
         false,
         AutomaticColour,
         {{0, 0, Black},
          {1, 1, Black},
          {2, 2, Canvas},
          {240, 0, Black},
          {240, 1, Black},
          {240, 2, Canvas},
          {479, 439, Black},
          {478, 438, Black},
          {477, 437, Canvas},
          {0, 200, Black},
          {1, 200, Black},
          {2, 200, Canvas}}},
        {"double line, colour",
         PanelStyle::DoubleLine,
         false,
         RedRef,
         {{1, 1, Black}, {2, 2, Red}, {477, 437, Red}}},
        {"double line, parchment",
         PanelStyle::DoubleLine,
         true,
         AutomaticColour,
         {{1, 1, Black}, {2, 2, parchment}}},
    };
    TreasureCatalog catalog;
    Prepare(catalog, TestMultimap(8, 8));
    for (const Row& row : rows) {
        SCOPED_TRACE(row.Name);
        QImage canvas = Filled(500, 460, Canvas);
        {
            QPainter painter(&canvas);
            DrawPanel(painter, catalog.Drawing, row.Style, row.Fill, row.Colour,
                      IntRect{10, 10, 490, 450});
        }
        for (const Probe& p : row.Probes)
            EXPECT_EQ(canvas.pixel(10 + p.X, 10 + p.Y), p.Expected) << p.X << "," << p.Y;
        EXPECT_EQ(canvas.pixel(9, 9), Canvas);
        EXPECT_EQ(canvas.pixel(490, 450), Canvas);
    }
}

TEST(DrawPrimitives, TackHeadTakesTheColourOfItsMapState) {
    struct Row {
        const char* Name;
        bool HasMaps;
        bool Monochrome;
        std::uint32_t WithColour;
        std::uint32_t WithoutColour;
        bool TacksCorrect;
        QRgb Pen;
        IntPoint Anchor;
        QRgb Head;
        QRgb Body;
        IntPoint TopLeft;
    };
    const QRgb pale = qRgb(250, 240, 200);
    const Row rows[] = {
        {"with maps: TackWithColor",
         true,
         false,
         GreenRef,
         BlueRef,
         false,
         Black,
         {30, 40},
         qRgb(0, 255, 0),
         BodyGrey,
         {24, 30}},
        {"without maps: TackWithoutColor",
         false,
         false,
         GreenRef,
         BlueRef,
         false,
         Black,
         {30, 40},
         qRgb(0, 0, 255),
         BodyGrey,
         {24, 30}},
        {"automatic keeps the picture's colours",
         true,
         false,
         AutomaticColour,
         GreenRef,
         false,
         Black,
         {30, 40},
         HeadRed,
         BodyGrey,
         {24, 30}},
        {"automatic without maps looks the same",
         false,
         false,
         GreenRef,
         AutomaticColour,
         false,
         Black,
         {30, 40},
         HeadRed,
         BodyGrey,
         {24, 30}},
        {"monochrome: black silhouette, head not coloured",
         true,
         true,
         GreenRef,
         BlueRef,
         false,
         Black,
         {30, 40},
         Black,
         Black,
         {24, 30}},
        {"monochrome silhouette is ANDed in the pen colour",
         false,
         true,
         GreenRef,
         BlueRef,
         false,
         Red,
         {30, 40},
         pale & Red,
         pale & Red,
         {24, 30}},
        {"tacks placed correctly: pixel (0, 8) on the anchor",
         true,
         false,
         GreenRef,
         BlueRef,
         true,
         Black,
         {30, 40},
         qRgb(0, 255, 0),
         BodyGrey,
         {30, 32}},
        {"partly beyond the top-left edge",
         true,
         false,
         GreenRef,
         BlueRef,
         false,
         Black,
         {3, 5},
         qRgb(0, 255, 0),
         BodyGrey,
         {-3, -5}},
        {"partly beyond the bottom-right edge",
         true,
         true,
         GreenRef,
         BlueRef,
         true,
         Black,
         {55, 60},
         Black,
         Black,
         {55, 52}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.Name);
        TreasureCatalog catalog;
        Prepare(catalog, TestMultimap(8, 8));
        catalog.Display.TackWithColor = row.WithColour;
        catalog.Display.TackWithoutColor = row.WithoutColour;
        catalog.Display.TacksCorrect = row.TacksCorrect;
        QImage canvas = Filled(64, 64, pale);
        {
            QPainter painter(&canvas);
            painter.setPen(QColor::fromRgb(row.Pen));
            DrawTack(painter, catalog, row.HasMaps, row.Monochrome, row.Anchor);
        }
        for (int y = 0; y < canvas.height(); ++y) {
            for (int x = 0; x < canvas.width(); ++x) {
                const int tx = x - row.TopLeft.X;
                const int ty = y - row.TopLeft.Y;
                TackPart part = TackPart::None;
                if (tx >= 0 && tx < 13 && ty >= 0 && ty < 21) part = TackPartAt(tx, ty);
                const QRgb expected = part == TackPart::Head   ? row.Head
                                      : part == TackPart::Body ? row.Body
                                                               : pale;
                ASSERT_EQ(canvas.pixel(x, y), expected) << x << "," << y;
            }
        }
    }
}

TEST(DrawPrimitives, MapPanelDarkensExactlyTheMultimapLines) {
    struct Row {
        const char* Name;
        PanelStyle Style;
        bool Fill;
        IntRect Rect;
        IntRect Source;
    };
    const Row rows[] = {
        {"plain panel", PanelStyle::None, false, {5, 7, 125, 97}, {100, 30, 220, 120}},
        {"source reaching past the multimap",
         PanelStyle::None,
         false,
         {5, 7, 125, 97},
         {250, 150, 370, 240}},
        {"scroll with parchment", PanelStyle::Scroll, true, {0, 0, 480, 440}, {10, 20, 414, 374}},
        {"double line, scrolled to the origin",
         PanelStyle::DoubleLine,
         false,
         {3, 3, 200, 150},
         {0, 0, 195, 145}},
    };
    TreasureCatalog catalog;
    Prepare(catalog, TestMultimap(300, 200));
    for (const Row& row : rows) {
        SCOPED_TRACE(row.Name);
        QImage before(500, 460, QImage::Format_RGB32);
        for (int y = 0; y < before.height(); ++y)
            for (int x = 0; x < before.width(); ++x)
                before.setPixel(x, y, qRgb(x % 256, y % 256, 77));
        QImage after = before;
        {
            QPainter painter(&before);
            DrawPanel(painter, catalog.Drawing, row.Style, row.Fill, AutomaticColour, row.Rect);
        }
        {
            QPainter painter(&after);
            DrawMapPanel(painter, catalog, row.Style, row.Fill, AutomaticColour, row.Rect,
                         row.Source, {}, true, nullptr, false);
        }
        const PanelMargins m = MarginsOf(row.Style);
        int darkened = 0;
        for (int y = 0; y < after.height(); ++y) {
            for (int x = 0; x < after.width(); ++x) {
                const int sx = row.Source.Left + x - (row.Rect.Left + m.Left);
                const int sy = row.Source.Top + y - (row.Rect.Top + m.Top);
                const bool inSource = sx >= row.Source.Left && sx < row.Source.Right &&
                                      sy >= row.Source.Top && sy < row.Source.Bottom;
                const bool line = inSource && sx < 300 && sy < 200 && MultimapBlack(sx, sy);
                darkened += line;
                ASSERT_EQ(after.pixel(x, y), line ? Black : before.pixel(x, y)) << x << "," << y;
            }
        }
        EXPECT_GT(darkened, 100);
    }
}

TEST(DrawPrimitives, MapPanelLabelsFollowTheFilterAndTheLabelOffset) {
    test::EnsureGuiApp();
    enum class FilterKind { None, AllLabels, OnlyLabelsWithMaps };
    struct Row {
        const char* Name;
        bool Labels;
        FilterKind Filter;
        bool HasMap;
        bool ShortFlags;  // the filter's flag array ends before the treasure's Index
        bool NoLabel;     // the treasure's label offset is (0, 0)
        bool TacksCorrect;
        bool ExpectLabel;
        QRgb Head;
    };
    const QRgb green = qRgb(0, 255, 0);
    const QRgb blue = qRgb(0, 0, 255);
    const Row rows[] = {
        {"no filter", true, FilterKind::None, false, false, false, false, true, blue},
        {"labels off", false, FilterKind::None, false, false, false, false, false, blue},
        {"all labels, no map", true, FilterKind::AllLabels, false, false, false, false, true, blue},
        {"only labels with maps, no map", true, FilterKind::OnlyLabelsWithMaps, false, false, false,
         false, false, blue},
        {"only labels with maps, map", true, FilterKind::OnlyLabelsWithMaps, true, false, false,
         false, true, green},
        {"only labels with maps, Index beyond the flags", true, FilterKind::OnlyLabelsWithMaps,
         true, true, false, false, false, blue},
        {"label offset (0, 0)", true, FilterKind::None, false, false, true, false, false, blue},
        {"tacks placed correctly move the labels too", true, FilterKind::None, false, false, false,
         true, true, blue},
    };
    const QRgb magenta = qRgb(255, 0, 255);
    for (const Row& row : rows) {
        SCOPED_TRACE(row.Name);
        TreasureCatalog catalog;
        Prepare(catalog, TestMultimap(600, 600, true));
        catalog.Display.TackWithColor = GreenRef;
        catalog.Display.TackWithoutColor = BlueRef;
        catalog.Display.TacksCorrect = row.TacksCorrect;
        Treasure treasure;
        treasure.Index = 5;
        treasure.Location = {200, 300};  // multimap (100, 150)
        if (!row.NoLabel) {
            treasure.LabelRect = {170, 40, 210, 80};
            treasure.LeaderLine = {130, 120, 160, 90};
        }
        catalog.StoreTreasure(treasure);
        MapFilter filter;
        filter.TreasureHasMap.assign(row.ShortFlags ? 5 : 6, 0);
        if (row.HasMap) filter.TreasureHasMap.back() = 1;
        filter.OnlyLabelsWithMaps = row.Filter == FilterKind::OnlyLabelsWithMaps;

        auto draw = [&](bool labels) {
            QImage canvas = Filled(400, 300, White);
            QPainter painter(&canvas);
            painter.setPen(QColor(Qt::black));
            painter.setBackground(QColor::fromRgb(magenta));
            const int list[] = {5};
            DrawMapPanel(painter, catalog, PanelStyle::None, false, AutomaticColour,
                         {0, 0, 400, 300}, {0, 0, 400, 300}, list, labels,
                         row.Filter == FilterKind::None ? nullptr : &filter, false);
            return canvas;
        };
        const QImage canvas = draw(row.Labels);
        // A skipped label leaves no trace at all: no box, no line, no number.
        EXPECT_EQ(canvas == draw(false), !row.ExpectLabel);
        const IntPoint shift = row.TacksCorrect ? IntPoint{0, 0} : IntPoint{-6, -2};
        // The tack stands in every case, its head in the colour of its map state.
        EXPECT_EQ(canvas.pixel(100 + shift.X + 3, 150 - 8 + shift.Y + 2), row.Head);
        int magentaPixels = 0;
        for (int y = 0; y < canvas.height(); ++y)
            for (int x = 0; x < canvas.width(); ++x) magentaPixels += canvas.pixel(x, y) == magenta;
        const QRgb lineMiddle = canvas.pixel(145 + shift.X, 105 + shift.Y);
        if (row.ExpectLabel) {
            EXPECT_EQ(canvas.pixel(170 + shift.X, 40 + shift.Y), magenta);
            EXPECT_EQ(canvas.pixel(209 + shift.X, 79 + shift.Y), magenta);
            EXPECT_NE(canvas.pixel(169 + shift.X, 39 + shift.Y), magenta);
            EXPECT_NE(canvas.pixel(210 + shift.X, 80 + shift.Y), magenta);
            EXPECT_EQ(lineMiddle, Black);
            // The number is written inside the box in the pen colour.
            int ink = 0;
            for (int y = 40; y < 80; ++y)
                for (int x = 170; x < 210; ++x)
                    ink += qGray(canvas.pixel(x + shift.X, y + shift.Y)) < 60;
            EXPECT_GT(ink, 20);
        } else {
            EXPECT_EQ(magentaPixels, 0);
            EXPECT_EQ(lineMiddle, White);
        }
    }
}

TEST(DrawPrimitives, TextPanelCentresOneLine) {
    test::EnsureGuiApp();
    struct Row {
        const char* Name;
        std::string Text;
        IntRect Rect;
        bool ExpectInk;
        bool ExpectOverflow;
    };
    const Row rows[] = {
        {"number in a wide panel", "42", {20, 20, 220, 120}, true, false},
        {"empty text", "", {20, 20, 220, 120}, false, false},
        {"text wider than the panel is not cut", "1234567890", {100, 20, 140, 120}, true, true},
    };
    TreasureCatalog catalog;
    Prepare(catalog, TestMultimap(8, 8));
    const QFontMetrics metrics(catalog.Drawing.LabelFont);
    for (const Row& row : rows) {
        SCOPED_TRACE(row.Name);
        QImage canvas = Filled(300, 150, White);
        {
            QPainter painter(&canvas);
            painter.setPen(QColor(Qt::black));
            DrawTextPanel(painter, catalog.Drawing, PanelStyle::None, false, AutomaticColour,
                          row.Rect, row.Text);
        }
        int left = 1 << 30, right = -1, top = 1 << 30, bottom = -1;
        for (int y = 0; y < canvas.height(); ++y) {
            for (int x = 0; x < canvas.width(); ++x) {
                if (canvas.pixel(x, y) == White) continue;
                left = std::min(left, x);
                right = std::max(right, x);
                top = std::min(top, y);
                bottom = std::max(bottom, y);
            }
        }
        if (!row.ExpectInk) {
            EXPECT_EQ(right, -1);
            continue;
        }
        ASSERT_GE(right, 0);
        const int centreX = (row.Rect.Left + row.Rect.Right) / 2;
        EXPECT_NEAR((left + right) / 2.0, centreX, 3.0);
        const int cellTop = row.Rect.Top + (row.Rect.Bottom - row.Rect.Top - metrics.height()) / 2;
        EXPECT_GE(top, cellTop);
        EXPECT_LT(bottom, cellTop + metrics.height());
        EXPECT_EQ(left < row.Rect.Left && right >= row.Rect.Right, row.ExpectOverflow);
    }
}

// A scene that uses every raster operation: a scroll panel with parchment and colour, the
// multimap, tacks with and without maps, and tacks hanging over the canvas edges.
void DrawScene(QPainter& painter, const TreasureCatalog& catalog, const MapFilter& filter, int dx,
               int dy) {
    const int list[] = {1, 2, 3};
    DrawMapPanel(painter, catalog, PanelStyle::Scroll, true, RedRef,
                 IntRect{dx - 20, dy + 10, dx + 230, dy + 250}, IntRect{40, 30, 214, 232}, list,
                 false, &filter, false);
    DrawTack(painter, catalog, true, false, IntPoint{dx + 2, dy + 3});
    DrawTack(painter, catalog, false, true, IntPoint{dx + 255, dy + 205});
    // A pair not made by MakeTransparencyMask: the image is not black where the mask is white,
    // so the OR shows there too. The mask has wide white and black runs.
    static const QImage image = [] {
        QImage i(80, 40, QImage::Format_RGB32);
        for (int y = 0; y < 40; ++y)
            for (int x = 0; x < 80; ++x) i.setPixel(x, y, qRgb(x * 3, y * 6, 100));
        return i;
    }();
    static const QImage mask = [] {
        QImage m(80, 40, QImage::Format_RGB32);
        for (int y = 0; y < 40; ++y)
            for (int x = 0; x < 80; ++x) m.setPixel(x, y, (x / 16 + y / 5) % 2 ? White : Black);
        return NormalizeMonochrome(m);
    }();
    DrawTransparent(painter, dx + 150, dy + 140, 70, 35, image, mask, 5, 3);
}

TEST(DrawPrimitives, EverySurfaceGetsTheSamePicture) {
    TreasureCatalog catalog;
    Prepare(catalog, TestMultimap(300, 200));
    catalog.Display.TackWithColor = GreenRef;
    for (int i = 1; i <= 3; ++i) {
        Treasure t;
        t.Index = i;
        t.Location = {100 + 90 * i, 80 + 70 * i};
        catalog.StoreTreasure(t);
    }
    MapFilter filter;
    filter.TreasureHasMap = {0, 0, 1, 0};

    auto reference = [&](int dx, int dy) {
        QImage canvas = Filled(260, 210, Canvas);
        QPainter painter(&canvas);
        DrawScene(painter, catalog, filter, dx, dy);
        return canvas;
    };
    struct Row {
        const char* Name;
        std::function<QImage()> Actual;
        std::function<QImage()> Expected;
    };
    const Row rows[] = {
        {"translated painter",
         [&] {
             QImage canvas = Filled(260, 210, Canvas);
             QPainter painter(&canvas);
             painter.translate(13, -7);
             DrawScene(painter, catalog, filter, 0, 0);
             return canvas;
         },
         [&] { return reference(13, -7); }},
        {"clipped painter",
         [&] {
             QImage canvas = Filled(260, 210, Canvas);
             QPainter painter(&canvas);
             painter.setClipRect(40, 30, 150, 100);
             DrawScene(painter, catalog, filter, 0, 0);
             return canvas;
         },
         [&] {
             QImage full = reference(0, 0);
             QImage canvas = Filled(260, 210, Canvas);
             QPainter painter(&canvas);
             painter.drawImage(QPoint(40, 30), full, QRect(40, 30, 150, 100));
             return canvas;
         }},
        {"scaled painter",
         [&] {
             QImage canvas = Filled(520, 420, Canvas);
             QPainter painter(&canvas);
             painter.scale(2, 2);
             DrawScene(painter, catalog, filter, 0, 0);
             return canvas;
         },
         [&] {
             return reference(0, 0).scaled(520, 420, Qt::IgnoreAspectRatio, Qt::FastTransformation);
         }},
        {"image with a device pixel ratio of 2",
         [&] {
             QImage canvas = Filled(520, 420, Canvas);
             canvas.setDevicePixelRatio(2);
             {
                 QPainter painter(&canvas);
                 DrawScene(painter, catalog, filter, 0, 0);
             }
             canvas.setDevicePixelRatio(1);
             return canvas;
         },
         [&] {
             return reference(0, 0).scaled(520, 420, Qt::IgnoreAspectRatio, Qt::FastTransformation);
         }},
        {"24-bit image",
         [&] {
             QImage canvas = Filled(260, 210, Canvas, QImage::Format_RGB888);
             {
                 QPainter painter(&canvas);
                 DrawScene(painter, catalog, filter, 0, 0);
             }
             return canvas.convertToFormat(QImage::Format_RGB32);
         },
         [&] { return reference(0, 0); }},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.Name);
        const QImage actual = row.Actual();
        const QImage expected = row.Expected();
        ASSERT_EQ(actual.size(), expected.size());
        for (int y = 0; y < actual.height(); ++y)
            for (int x = 0; x < actual.width(); ++x)
                ASSERT_EQ(actual.pixel(x, y), expected.pixel(x, y)) << x << "," << y;
    }
}

TEST(DrawPrimitives, PainterStateIsRestored) {
    test::EnsureGuiApp();
    TreasureCatalog catalog;
    Prepare(catalog, TestMultimap(300, 200));
    catalog.Display.TackWithColor = GreenRef;
    Treasure t;
    t.Index = 1;
    t.Location = {200, 200};
    t.LabelRect = {120, 60, 150, 95};
    t.LeaderLine = {104, 96, 130, 80};
    catalog.StoreTreasure(t);
    const QImage image = catalog.Drawing.TackBitmap;
    const QImage mask = catalog.Drawing.TackMask;
    struct Row {
        const char* Name;
        std::function<void(QPainter&)> Draw;
    };
    const int list[] = {1};
    const Row rows[] = {
        {"DrawTransparent",
         [&](QPainter& p) { DrawTransparent(p, 5, 5, 13, 21, image, mask, 0, 0); }},
        {"DrawPanel",
         [&](QPainter& p) {
             DrawPanel(p, catalog.Drawing, PanelStyle::Scroll, true, RedRef, {0, 0, 200, 150});
         }},
        {"DrawTextPanel",
         [&](QPainter& p) {
             DrawTextPanel(p, catalog.Drawing, PanelStyle::DoubleLine, false, RedRef,
                           {0, 0, 200, 150}, "17");
         }},
        {"DrawTack",
         [&](QPainter& p) {
             DrawTack(p, catalog, true, false, {40, 40});
         }},
        {"DrawMapPanel",
         [&](QPainter& p) {
             DrawMapPanel(p, catalog, PanelStyle::Scroll, true, RedRef, {0, 0, 200, 150},
                          {0, 0, 124, 64}, list, true, nullptr, false);
         }},
    };
    for (const Row& row : rows) {
        for (const bool scaled : {false, true}) {
            SCOPED_TRACE(std::string(row.Name) + (scaled ? ", scaled" : ""));
            QImage canvas = Filled(420, 320, Canvas);
            QPainter painter(&canvas);
            if (scaled) painter.scale(2, 2);
            const QPen pen(QColor(10, 200, 30), 2, Qt::DashLine);
            const QFont font(QStringLiteral("Courier"), 11);
            const QBrush background(QColor(0, 200, 200));
            painter.setPen(pen);
            painter.setFont(font);
            painter.setBackground(background);
            painter.setBackgroundMode(Qt::OpaqueMode);
            painter.setCompositionMode(QPainter::CompositionMode_Multiply);
            painter.setClipRect(1, 1, 180, 140);
            const QTransform transform = painter.transform();
            row.Draw(painter);
            EXPECT_EQ(painter.pen(), pen);
            EXPECT_EQ(painter.font(), font);
            EXPECT_EQ(painter.background(), background);
            EXPECT_EQ(painter.backgroundMode(), Qt::OpaqueMode);
            EXPECT_EQ(painter.compositionMode(), QPainter::CompositionMode_Multiply);
            EXPECT_EQ(painter.transform(), transform);
            EXPECT_EQ(painter.clipBoundingRect(), QRectF(1, 1, 180, 140));
        }
    }
}

}  // namespace
}  // namespace brix
