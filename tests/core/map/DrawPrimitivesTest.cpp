#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>

#include <cmath>
#include <string>
#include <vector>

#include "core/data/MapFilter.h"
#include "core/data/Session.h"
#include "core/map/DrawPrimitives.h"
#include "core/map/MapImages.h"
#include "support/GuiApp.h"

namespace brix {
namespace {

constexpr QRgb Black = 0xFF000000u;
constexpr QRgb White = 0xFFFFFFFFu;
constexpr QRgb Key = 0xFF0000FFu;
constexpr QRgb Canvas = 0xFF5A5A5Au;
constexpr QRgb Red = 0xFFFF0000u;
constexpr std::uint32_t RedRef = 0x000000FFu;
constexpr std::uint32_t GreenRef = 0x0000FF00u;
constexpr std::uint32_t BlueRef = 0x00FF0000u;
constexpr QRgb HeadRed = 0xFF800000u;
constexpr QRgb BodyGrey = 0xFF646464u;

// Every scroll pixel names its own place, so a drawn pixel tells which piece it came from.
// Two 4 × 4 patches at opposite corners are key blue.
QRgb ScrollPixel(int x, int y) {
    return qRgb(x, y, 7);
}

enum class TackPart { None, Head, Body };

// Head over columns 0–9, rows 0–4 (whole mask bytes), pin down column 10 and pixel (0, 8).
TackPart TackPartAt(int x, int y) {
    if (x <= 9 && y <= 4) return TackPart::Head;
    if ((x == 10 && y >= 5 && y <= 12) || (x == 0 && y == 8)) return TackPart::Body;
    return TackPart::None;
}

// Black on a sparse lattice of dots, on row 50 and on column 120.
bool MultimapBlack(int x, int y) {
    return (x * 7 + y * 3) % 11 == 0 || y == 50 || x == 120;
}

QImage Filled(int width, int height, QRgb colour, QImage::Format format = QImage::Format_RGB32) {
    QImage image(width, height, format);
    image.fill(colour);
    return image;
}

QImage TestMultimap(int width, int height, bool blank = false) {
    QImage map(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            map.setPixel(x, y, !blank && MultimapBlack(x, y) ? Black : White);
    return NormalizeMonochrome(map);
}

// The drawing resources as start-up builds them, from the test pictures.
void Prepare(Session& session, const QImage& multimap) {
    ProgramPictures pictures{QImage(246, 196, QImage::Format_RGB32),
                             QImage(13, 21, QImage::Format_RGB32),
                             QImage(13, 21, QImage::Format_RGB32)};
    for (int y = 0; y < 196; ++y)
        for (int x = 0; x < 246; ++x) {
            const bool key = (x < 4 && y < 4) || (x >= 242 && y >= 192);
            pictures.Scroll.setPixel(x, y, key ? Key : ScrollPixel(x, y));
        }
    for (int y = 0; y < 21; ++y)
        for (int x = 0; x < 13; ++x) {
            const TackPart part = TackPartAt(x, y);
            const QRgb colour = part == TackPart::Head ? HeadRed : BodyGrey;
            pictures.Tack.setPixel(x, y, part == TackPart::None ? Key : colour);
            pictures.TackHead.setPixel(x, y, part == TackPart::Head ? Black : White);
        }
    DrawingResources& d = session.GetWorld().Drawing;
    PrepareProgramPictures(d, pictures);
    d.MultimapBitmap = multimap;
    d.MultimapSize = multimap.size();
}

TEST(DrawPrimitives, ScrollBorderIsTiledBetweenItsCorners) {
    struct Segment {
        int From, To, Source;  // panel offsets [From, To) show scroll coordinates from Source
    };
    struct Row {
        int Width, Height;
        std::vector<Segment> Across, Down;
    };
    // Narrower than two corners: the later corner covers the earlier.
    // 480 × 440: tiles of 170, 170 and 64 across; 110, 110, 110 and 24 down.
    const Row rows[] = {
        {60, 70, {{0, 22, 0}, {22, 60, 208}}, {{0, 22, 0}, {22, 70, 148}}},
        {480,
         440,
         {{0, 38, 0}, {38, 208, 38}, {378, 442, 38}, {442, 480, 208}},
         {{0, 38, 0}, {38, 148, 38}, {368, 392, 38}, {392, 440, 148}}},
    };
    Session session;
    Prepare(session, TestMultimap(8, 8));
    for (const Row& row : rows) {
        SCOPED_TRACE(row.Width);
        QImage canvas = Filled(row.Width + 20, row.Height + 20, Canvas);
        {
            QPainter painter(&canvas);
            DrawPanel(painter, session.GetWorld().Drawing, PanelStyle::Scroll, false,
                      AutomaticColour, IntRect{10, 10, 10 + row.Width, 10 + row.Height});
        }
        const int bottom = row.Height - 48 + 20, right = row.Width - 38 + 15;
        for (const Segment& s : row.Across)
            for (int d = s.From; d < s.To; ++d) {
                ASSERT_EQ(canvas.pixel(10 + d, 15), ScrollPixel(s.Source + d - s.From, 5)) << d;
                ASSERT_EQ(canvas.pixel(10 + d, bottom), ScrollPixel(s.Source + d - s.From, 158));
            }
        for (const Segment& s : row.Down)
            for (int d = s.From; d < s.To; ++d) {
                ASSERT_EQ(canvas.pixel(15, 10 + d), ScrollPixel(5, s.Source + d - s.From)) << d;
                ASSERT_EQ(canvas.pixel(right, 10 + d), ScrollPixel(213, s.Source + d - s.From));
            }
        // Nothing lands outside the panel.
        for (int x = 0; x < canvas.width(); ++x)
            ASSERT_TRUE(canvas.pixel(x, 9) == Canvas && canvas.pixel(x, 10 + row.Height) == Canvas);
        for (int y = 0; y < canvas.height(); ++y)
            ASSERT_TRUE(canvas.pixel(9, y) == Canvas && canvas.pixel(10 + row.Width, y) == Canvas);
    }
}

TEST(DrawPrimitives, PanelInteriorAndColour) {
    struct Row {
        PanelStyle Style;
        bool Fill;
        std::uint32_t Colour;
        int X, Y;  // relative to the panel's top-left corner
        QRgb Expected;
    };
    const QRgb parchment = ScrollPixel(38, 38);
    const auto scroll = PanelStyle::Scroll;
    const auto twoLines = PanelStyle::DoubleLine;
    const std::uint32_t automatic = AutomaticColour;
    const Row rows[] = {
        // No fill, automatic colour: interior and key show what was below.
        {scroll, false, automatic, 441, 391, Canvas},
        // No fill, a colour: interior and key take it, the border stays.
        {scroll, false, RedRef, 478, 438, Red},
        // Parchment: tiles of 170 × 110 from (38, 38); a colour shows only through the border.
        {scroll, true, automatic, 208, 148, parchment},
        {scroll, true, RedRef, 1, 1, Red},
        {twoLines, false, automatic, 478, 438, Black},
        {twoLines, false, RedRef, 2, 2, Red},
        {twoLines, true, automatic, 2, 2, parchment},
    };
    Session session;
    Prepare(session, TestMultimap(8, 8));
    for (const Row& row : rows) {
        SCOPED_TRACE(testing::Message() << int(row.Style) << " " << row.Fill << " " << row.Colour);
        QImage canvas = Filled(500, 460, Canvas);
        {
            QPainter painter(&canvas);
            DrawPanel(painter, session.GetWorld().Drawing, row.Style, row.Fill, row.Colour,
                      {10, 10, 490, 450});
        }
        EXPECT_EQ(canvas.pixel(10 + row.X, 10 + row.Y), row.Expected) << row.X << "," << row.Y;
        EXPECT_EQ(canvas.pixel(9, 9), Canvas);
        EXPECT_EQ(canvas.pixel(490, 450), Canvas);
    }
}

TEST(DrawPrimitives, TackHeadTakesTheColourOfItsMapState) {
    struct Row {
        bool HasMaps, Monochrome, TacksCorrect;
        std::uint32_t WithColour, WithoutColour;
        QRgb Pen;
        IntPoint Anchor;
        QRgb Head, Body;
        IntPoint TopLeft;
    };
    const QRgb pale = qRgb(250, 240, 200), green = qRgb(0, 255, 0), blue = qRgb(0, 0, 255);
    const QRgb and_ = pale & Red;
    const Row rows[] = {
        {true, false, false, GreenRef, BlueRef, Black, {30, 40}, green, BodyGrey, {24, 30}},
        // Monochrome: a silhouette ANDed in the pen colour, the head not recoloured.
        {false, true, false, GreenRef, BlueRef, Red, {30, 40}, and_, and_, {24, 30}},
        // Tacks placed correctly put pixel (0, 8) on the anchor.
        {true, false, true, GreenRef, BlueRef, Black, {30, 40}, green, BodyGrey, {30, 32}},
        // Without maps, partly beyond the top-left edge; partly beyond the bottom-right edge.
        {false, false, false, GreenRef, BlueRef, Black, {3, 5}, blue, BodyGrey, {-3, -5}},
        {true, true, true, GreenRef, BlueRef, Black, {55, 60}, Black, Black, {55, 52}},
    };
    for (std::size_t i = 0; i < std::size(rows); ++i) {
        SCOPED_TRACE(i);
        const Row& row = rows[i];
        Session session;
        Prepare(session, TestMultimap(8, 8));
        session.GetPrefs().Display.TackWithColor = row.WithColour;
        session.GetPrefs().Display.TackWithoutColor = row.WithoutColour;
        session.GetPrefs().Display.TacksCorrect = row.TacksCorrect;
        QImage canvas = Filled(64, 64, pale);
        {
            QPainter painter(&canvas);
            painter.setPen(QColor::fromRgb(row.Pen));
            DrawTack(painter, session, row.HasMaps, row.Monochrome, row.Anchor);
        }
        for (int y = 0; y < 64; ++y)
            for (int x = 0; x < 64; ++x) {
                const int tx = x - row.TopLeft.X, ty = y - row.TopLeft.Y;
                const bool inside = tx >= 0 && tx < 13 && ty >= 0 && ty < 21;
                const TackPart part = inside ? TackPartAt(tx, ty) : TackPart::None;
                const QRgb expected = part == TackPart::Head   ? row.Head
                                      : part == TackPart::Body ? row.Body
                                                               : pale;
                ASSERT_EQ(canvas.pixel(x, y), expected) << x << "," << y;
            }
    }
}

// Drawn past the multimap's right and bottom edges: only lines inside both are darkened.
TEST(DrawPrimitives, MapPanelDarkensExactlyTheMultimapLines) {
    const IntRect rect{5, 7, 125, 97}, source{250, 150, 370, 240};
    Session session;
    Prepare(session, TestMultimap(300, 200));
    QImage before(500, 460, QImage::Format_RGB32);
    for (int y = 0; y < before.height(); ++y)
        for (int x = 0; x < before.width(); ++x) before.setPixel(x, y, qRgb(x % 256, y % 256, 77));
    QImage after = before;
    {
        QPainter painter(&before);
        DrawPanel(painter, session.GetWorld().Drawing, PanelStyle::None, false, AutomaticColour,
                  rect);
    }
    {
        QPainter painter(&after);
        DrawMapPanel(painter, session, PanelStyle::None, false, AutomaticColour, rect, source, {},
                     true, nullptr, false);
    }
    int darkened = 0;
    for (int y = 0; y < after.height(); ++y)
        for (int x = 0; x < after.width(); ++x) {
            const int sx = source.Left + x - rect.Left, sy = source.Top + y - rect.Top;
            const bool line = sx >= source.Left && sx < source.Right && sy >= source.Top &&
                              sy < source.Bottom && sx < 300 && sy < 200 && MultimapBlack(sx, sy);
            darkened += line;
            ASSERT_EQ(after.pixel(x, y), line ? Black : before.pixel(x, y)) << x << "," << y;
        }
    EXPECT_GT(darkened, 100);
}

TEST(DrawPrimitives, MapPanelLabelsFollowTheFilterAndTheLabelOffset) {
    test::EnsureGuiApp();
    enum class Filter { None, AllLabels, OnlyWithMaps };
    struct Row {
        const char* Name;
        bool Labels;
        Filter Kind;
        bool HasMap, ShortFlags, NoLabel, TacksCorrect, ExpectLabel;
        QRgb Head;
    };
    const QRgb green = qRgb(0, 255, 0), blue = qRgb(0, 0, 255), magenta = qRgb(255, 0, 255);
    const Row rows[] = {
        {"labels off", false, Filter::None, false, false, false, false, false, blue},
        {"with maps, no map", true, Filter::OnlyWithMaps, false, false, false, false, false, blue},
        {"with maps, map", true, Filter::OnlyWithMaps, true, false, false, false, true, green},
        {"Index past the flags", true, Filter::OnlyWithMaps, true, true, false, false, false, blue},
        {"label offset (0, 0)", true, Filter::None, false, false, true, false, false, blue},
        {"tacks correct move labels", true, Filter::None, false, false, false, true, true, blue},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.Name);
        Session session;
        Prepare(session, TestMultimap(600, 600, true));
        session.GetPrefs().Display.TackWithColor = GreenRef;
        session.GetPrefs().Display.TackWithoutColor = BlueRef;
        session.GetPrefs().Display.TacksCorrect = row.TacksCorrect;
        Treasure treasure;
        treasure.Index = 5;
        treasure.Location = {200, 300};  // multimap (100, 150)
        if (!row.NoLabel) {
            treasure.LabelRect = {170, 40, 210, 80};
            treasure.LeaderLine = {130, 120, 160, 90};
        }
        session.GetWorld().StoreTreasure(treasure);
        MapFilter filter;
        filter.TreasureHasMap.assign(row.ShortFlags ? 5 : 6, 0);
        if (row.HasMap) filter.TreasureHasMap.back() = 1;
        filter.OnlyLabelsWithMaps = row.Kind == Filter::OnlyWithMaps;
        auto draw = [&](bool labels) {
            QImage canvas = Filled(400, 300, White);
            QPainter painter(&canvas);
            painter.setPen(QColor(Qt::black));
            painter.setBackground(QColor::fromRgb(magenta));
            const int list[] = {5};
            DrawMapPanel(painter, session, PanelStyle::None, false, AutomaticColour,
                         {0, 0, 400, 300}, {0, 0, 400, 300}, list, labels,
                         row.Kind == Filter::None ? nullptr : &filter, false);
            return canvas;
        };
        const QImage canvas = draw(row.Labels);
        // A skipped label leaves no trace at all: no box, no line, no number.
        EXPECT_EQ(canvas == draw(false), !row.ExpectLabel);
        const int sx = row.TacksCorrect ? 0 : -6, sy = row.TacksCorrect ? 0 : -2;
        EXPECT_EQ(canvas.pixel(100 + sx + 3, 150 - 8 + sy + 2), row.Head);
        if (!row.ExpectLabel) continue;
        EXPECT_EQ(canvas.pixel(170 + sx, 40 + sy), magenta);
        EXPECT_NE(canvas.pixel(169 + sx, 39 + sy), magenta);
        EXPECT_EQ(canvas.pixel(145 + sx, 105 + sy), Black);
        int ink = 0;  // the number, inside the box in the pen colour
        for (int y = 40; y < 80; ++y)
            for (int x = 170; x < 210; ++x) ink += qGray(canvas.pixel(x + sx, y + sy)) < 60;
        EXPECT_GT(ink, 20);
    }
}

TEST(DrawPrimitives, PanelTextFitsItsInterior) {
    test::EnsureGuiApp();
    Session session;
    Prepare(session, TestMultimap(10, 10));
    const QFont font = session.GetWorld().Drawing.LabelFont;
    const int fullSize = font.pixelSize();
    enum class Fit { Full, Scaled, Cut };
    struct Row {
        const char* Text;
        int Interior;  // width of the panel's interior
        qreal Ratio;   // device pixel ratio of the canvas
        Fit Expected;
    };
    const Row rows[] = {
        {"57 - Oak", 207, 1, Fit::Full},
        {"505 - Hunter's Blind", 207, 1, Fit::Scaled},
        {"999 - The Long Forgotten Smugglers' Cave under Windmill Hill", 207, 1, Fit::Cut},
        {"999 - The Long Forgotten Smugglers' Cave under Windmill Hill", 207, 2, Fit::Cut},
        {"WWWWWWWWWW", 12, 1, Fit::Cut},  // not even the ellipsis fits: nothing is drawn
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(std::string(row.Text) + " in " + std::to_string(row.Interior) + " at " +
                     std::to_string(row.Ratio));
        const QString text = QString::fromUtf8(row.Text);
        QImage canvas = Filled(static_cast<int>((row.Interior + 44) * row.Ratio),
                               static_cast<int>(90 * row.Ratio), White);
        canvas.setDevicePixelRatio(row.Ratio);

        const FittedText fitted = FitPanelText(font, text, row.Interior, &canvas);
        EXPECT_LE(fitted.Width, row.Interior);
        const int size = fitted.Font.pixelSize();
        EXPECT_GE(size, fullSize * MinPanelTextScale);
        switch (row.Expected) {
            case Fit::Full:
                EXPECT_EQ(size, fullSize);
                EXPECT_EQ(fitted.Text, text);
                break;
            case Fit::Scaled: {
                EXPECT_LT(size, fullSize);
                EXPECT_EQ(fitted.Text, text);
                // Just enough: one pixel larger would not fit.
                QFont next = font;
                next.setPixelSize(size + 1);
                EXPECT_GT(FitPanelText(next, text, 100000, &canvas).Width, row.Interior);
                break;
            }
            case Fit::Cut:
                EXPECT_EQ(size, static_cast<int>(std::ceil(fullSize * MinPanelTextScale)));
                if (row.Interior > 50) {
                    EXPECT_TRUE(fitted.Text.endsWith(QChar(0x2026))) << fitted.Text.toStdString();
                    EXPECT_TRUE(text.startsWith(fitted.Text.chopped(1)));
                    EXPECT_GT(fitted.Text.size(), 8);
                } else {
                    EXPECT_TRUE(fitted.Text.isEmpty()) << fitted.Text.toStdString();
                }
                break;
        }

        // Drawn red in a framed panel on white: no ink outside the interior less its padding,
        // some inside.
        const IntRect panel{20, 20, 20 + row.Interior + 4, 70};
        const QRect interior((22 + PanelTextPadding) * row.Ratio, 22 * row.Ratio,
                             (row.Interior - 2 * PanelTextPadding) * row.Ratio, 46 * row.Ratio);
        QPainter painter(&canvas);
        painter.setPen(QColor(Red));
        DrawTextPanel(painter, session.GetWorld().Drawing, PanelStyle::DoubleLine, false,
                      0x00FFFFFFu, panel, row.Text);
        painter.end();
        int inside = 0, outside = 0;
        for (int y = 0; y < canvas.height(); ++y)
            for (int x = 0; x < canvas.width(); ++x) {
                const QRgb pixel = canvas.pixel(x, y);
                if (pixel == White || pixel == Black) continue;
                (interior.contains(x, y) ? inside : outside) += 1;
            }
        EXPECT_EQ(outside, 0);
        EXPECT_EQ(inside > 0, row.Interior > 50);
    }
}

TEST(DrawPrimitives, PainterStateIsRestored) {
    test::EnsureGuiApp();
    Session session;
    Prepare(session, TestMultimap(300, 200));
    Treasure t;
    t.Index = 1;
    t.Location = {200, 200};
    t.LabelRect = {120, 60, 150, 95};
    t.LeaderLine = {104, 96, 130, 80};
    session.GetWorld().StoreTreasure(t);
    const int list[] = {1};
    QImage canvas = Filled(420, 320, Canvas);
    QPainter painter(&canvas);
    painter.scale(2, 2);
    const QPen pen(QColor(10, 200, 30), 2, Qt::DashLine);
    painter.setPen(pen);
    painter.setClipRect(1, 1, 180, 140);
    const QTransform transform = painter.transform();
    auto expectUnchanged = [&](const char* call) {
        SCOPED_TRACE(call);
        EXPECT_EQ(painter.pen(), pen);
        EXPECT_EQ(painter.transform(), transform);
        EXPECT_EQ(painter.clipBoundingRect(), QRectF(1, 1, 180, 140));
    };
    DrawTextPanel(painter, session.GetWorld().Drawing, PanelStyle::DoubleLine, false, RedRef,
                  {0, 0, 200, 150}, "17");
    expectUnchanged("DrawTextPanel");
    DrawTack(painter, session, true, false, IntPoint{4, 4});
    expectUnchanged("DrawTack");
    DrawMapPanel(painter, session, PanelStyle::Scroll, true, RedRef, {0, 0, 200, 150},
                 {0, 0, 124, 64}, list, true, nullptr, false);
    expectUnchanged("DrawMapPanel");
}

}  // namespace
}  // namespace brix
