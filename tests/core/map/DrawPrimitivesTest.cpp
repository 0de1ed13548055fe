#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>

#include <cmath>

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

// Black on a sparse lattice of dots.
bool MultimapBlack(int x, int y) {
    return (x * 7 + y * 3) % 11 == 0;
}

QImage Filled(int width, int height, QRgb colour) {
    QImage image(width, height, QImage::Format_RGB32);
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

// Spot pixels at the seams of the scroll border's tiles and in the interior of every kind of
// panel, drawn at (10, 10) on a canvas 10 pixels larger all round: nothing lands outside it.
TEST(DrawPrimitives, PanelBorderTilesAndInterior) {
    Session session;
    Prepare(session, TestMultimap(300, 200));
    auto draw = [&session](PanelStyle style, bool fill, std::uint32_t colour, int w, int h) {
        QImage canvas = Filled(w + 20, h + 20, Canvas);
        {
            QPainter painter(&canvas);
            DrawPanel(painter, session.GetWorld().Drawing, style, fill, colour,
                      IntRect{10, 10, 10 + w, 10 + h});
        }
        for (int x = 0; x < canvas.width(); ++x)
            EXPECT_TRUE(canvas.pixel(x, 9) == Canvas && canvas.pixel(x, 10 + h) == Canvas) << x;
        for (int y = 0; y < canvas.height(); ++y)
            EXPECT_TRUE(canvas.pixel(9, y) == Canvas && canvas.pixel(10 + w, y) == Canvas) << y;
        return canvas;
    };
    struct Seam {
        int Width, Height, X, Y, SourceX, SourceY;  // panel pixel (X, Y) shows scroll pixel
    };
    // 60 × 70 is narrower than two corners: the later corner covers the earlier. 480 × 440:
    // corners of 38 (48 at the bottom), tiles of 170 × 110 from (38, 38), the last ones cut to
    // 64 across and 24 down.
    const Seam seams[] = {{60, 70, 21, 5, 21, 5},         {60, 70, 22, 5, 208, 5},
                          {60, 70, 5, 22, 5, 148},        {480, 440, 37, 5, 37, 5},
                          {480, 440, 207, 5, 207, 5},     {480, 440, 208, 5, 38, 5},
                          {480, 440, 441, 5, 101, 5},     {480, 440, 442, 5, 208, 5},
                          {480, 440, 479, 397, 245, 153}, {480, 440, 5, 148, 5, 38}};
    for (const Seam& seam : seams) {
        SCOPED_TRACE(testing::Message() << seam.Width << " at " << seam.X << "," << seam.Y);
        EXPECT_EQ(draw(PanelStyle::Scroll, false, AutomaticColour, seam.Width, seam.Height)
                      .pixel(10 + seam.X, 10 + seam.Y),
                  ScrollPixel(seam.SourceX, seam.SourceY));
    }

    struct Row {
        PanelStyle Style;
        bool Fill;
        std::uint32_t Colour;
        int X, Y;  // in a 480 × 440 panel
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
        // Parchment: tiled like the border; a colour shows only through the border's key.
        {scroll, true, automatic, 208, 148, parchment},
        {scroll, true, RedRef, 1, 1, Red},
        {twoLines, false, automatic, 478, 438, Black},
        {twoLines, false, RedRef, 2, 2, Red},
        {twoLines, true, automatic, 2, 2, parchment},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(testing::Message() << int(row.Style) << " " << row.Fill << " " << row.Colour);
        EXPECT_EQ(draw(row.Style, row.Fill, row.Colour, 480, 440).pixel(10 + row.X, 10 + row.Y),
                  row.Expected);
    }

    // A map panel drawn past the multimap's right and bottom edges darkens only the lines
    // inside both.
    QImage canvas = Filled(140, 110, Canvas);
    {
        QPainter painter(&canvas);
        DrawMapPanel(painter, session, PanelStyle::None, false, AutomaticColour, {5, 7, 125, 97},
                     {250, 150, 370, 240}, {}, true, nullptr, false);
    }
    struct Spot {
        int X, Y;  // on the canvas; the multimap pixel it shows is in the comment
        QRgb Expected;
    };
    const Spot spots[] = {
        {5, 7, Black},     // (250, 150), the panel's corner
        {6, 7, Canvas},    // (251, 150), no line
        {54, 10, Black},   // (299, 153), the multimap's last column
        {6, 56, Black},    // (251, 199), its last row
        {55, 15, Canvas},  // (300, 158) would be a line beyond the right edge
        {15, 57, Canvas},  // (260, 200) would be one beyond the bottom edge
        {4, 13, Canvas},   // (249, 156) would be one left of the panel
        {7, 6, Canvas},    // (252, 149) would be one above it
    };
    for (const Spot& spot : spots)
        EXPECT_EQ(canvas.pixel(spot.X, spot.Y), spot.Expected) << spot.X << "," << spot.Y;
}

TEST(DrawPrimitives, TackHeadTakesTheColourOfItsMapState) {
    struct Row {
        bool HasMaps, Monochrome, TacksCorrect;
        QRgb Pen;
        IntPoint Anchor;
        QRgb Head, Body;
        IntPoint TopLeft;
    };
    const QRgb pale = qRgb(250, 240, 200), green = qRgb(0, 255, 0), blue = qRgb(0, 0, 255);
    const QRgb and_ = pale & Red;
    const Row rows[] = {
        // Monochrome: a silhouette ANDed in the pen colour, the head not recoloured.
        {false, true, false, Red, {30, 40}, and_, and_, {24, 30}},
        // Tacks placed correctly put pixel (0, 8) on the anchor.
        {true, false, true, Black, {30, 40}, green, BodyGrey, {30, 32}},
        // Without maps, partly beyond the top-left edge; partly beyond the bottom-right edge.
        {false, false, false, Black, {3, 5}, blue, BodyGrey, {-3, -5}},
        {true, true, true, Black, {55, 60}, Black, Black, {55, 52}},
    };
    // Tack pixels at the edges of the head, the pin and the picture, and just beside them.
    const IntPoint spots[] = {{0, 0},   {8, 0}, {9, 4}, {10, 4}, {10, 5}, {10, 12},
                              {10, 13}, {0, 8}, {1, 8}, {-1, 0}, {12, 20}};
    for (std::size_t i = 0; i < std::size(rows); ++i) {
        SCOPED_TRACE(i);
        const Row& row = rows[i];
        Session session;
        Prepare(session, TestMultimap(8, 8));
        session.GetPrefs().Display.TackWithColor = GreenRef;
        session.GetPrefs().Display.TackWithoutColor = BlueRef;
        session.GetPrefs().Display.TacksCorrect = row.TacksCorrect;
        QImage canvas = Filled(64, 64, pale);
        {
            QPainter painter(&canvas);
            painter.setPen(QColor::fromRgb(row.Pen));
            DrawTack(painter, session, row.HasMaps, row.Monochrome, row.Anchor);
        }
        for (const IntPoint& spot : spots) {
            const int x = row.TopLeft.X + spot.X, y = row.TopLeft.Y + spot.Y;
            if (!canvas.rect().contains(x, y)) continue;
            const TackPart part = spot.X < 0 ? TackPart::None : TackPartAt(spot.X, spot.Y);
            EXPECT_EQ(canvas.pixel(x, y), part == TackPart::Head   ? row.Head
                                          : part == TackPart::Body ? row.Body
                                                                   : pale)
                << spot.X << "," << spot.Y;
        }
    }
}

TEST(DrawPrimitives, MapPanelLabelsFollowTheFilterAndTheLabelOffset) {
    test::EnsureGuiApp();
    enum class Filter { None, AllLabels, OnlyWithMaps };
    struct Row {
        const char* Name;
        Filter Kind;
        bool HasMap, ShortFlags, NoLabel, TacksCorrect, ExpectLabel;
        QRgb Head;
    };
    const QRgb green = qRgb(0, 255, 0), blue = qRgb(0, 0, 255), magenta = qRgb(255, 0, 255);
    const Row rows[] = {
        {"with maps, no map", Filter::OnlyWithMaps, false, false, false, false, false, blue},
        {"with maps, map", Filter::OnlyWithMaps, true, false, false, false, true, green},
        {"Index past the flags", Filter::OnlyWithMaps, true, true, false, false, false, blue},
        {"label offset (0, 0)", Filter::None, false, false, true, false, false, blue},
        {"tacks correct move labels", Filter::None, false, false, false, true, true, blue},
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
        const QImage canvas = draw(true);
        // A skipped label leaves no trace at all: no box, no line, no number; drawn without
        // labels, none is ever there.
        EXPECT_EQ(canvas == draw(false), !row.ExpectLabel);
        const int sx = row.TacksCorrect ? 0 : -6, sy = row.TacksCorrect ? 0 : -2;
        EXPECT_EQ(canvas.pixel(100 + sx + 3, 150 - 8 + sy + 2), row.Head);
        if (!row.ExpectLabel) continue;
        EXPECT_EQ(canvas.pixel(170 + sx, 40 + sy), magenta);
        EXPECT_NE(canvas.pixel(169 + sx, 39 + sy), magenta);
        EXPECT_EQ(canvas.pixel(145 + sx, 105 + sy), Black);
    }
}

TEST(DrawPrimitives, PanelTextFitsItsInterior) {
    test::EnsureGuiApp();
    Session session;
    Prepare(session, TestMultimap(10, 10));
    const QFont font = session.GetWorld().Drawing.LabelFont;
    const int full = font.pixelSize(), least = int(std::ceil(full * MinPanelTextScale));
    enum class Fit { Full, Scaled, Cut, Nothing };
    struct Row {
        const char* Text;
        int Interior;  // width of the panel's interior
        qreal Ratio;   // device pixel ratio of the canvas
        Fit Expected;
    };
    const Row rows[] = {
        {"57 - Oak", 207, 1, Fit::Full},
        {"505 - Hunter's Blind", 207, 1, Fit::Scaled},
        {"999 - The Long Forgotten Smugglers' Cave under Windmill Hill", 207, 2, Fit::Cut},
        {"WWWWWWWWWW", 12, 1, Fit::Nothing},  // not even the ellipsis fits
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(testing::Message()
                     << row.Text << " in " << row.Interior << " at " << row.Ratio);
        const QString text = QString::fromUtf8(row.Text);
        QImage canvas = Filled(int((row.Interior + 44) * row.Ratio), int(90 * row.Ratio), White);
        canvas.setDevicePixelRatio(row.Ratio);
        const FittedText fitted = FitPanelText(font, text, row.Interior, &canvas);
        const int size = fitted.Font.pixelSize();
        EXPECT_LE(fitted.Width, row.Interior);
        EXPECT_EQ(size == full, row.Expected == Fit::Full) << size;
        EXPECT_EQ(size == least, row.Expected >= Fit::Cut) << size;
        EXPECT_GE(size, least);
        EXPECT_EQ(fitted.Text == text, row.Expected <= Fit::Scaled) << fitted.Text.toStdString();
        EXPECT_EQ(fitted.Text.isEmpty(), row.Expected == Fit::Nothing);
        if (row.Expected == Fit::Scaled) {  // just enough: one pixel larger would not fit
            QFont next = font;
            next.setPixelSize(size + 1);
            EXPECT_GT(FitPanelText(next, text, 100000, &canvas).Width, row.Interior);
        }
        if (row.Expected == Fit::Cut) {
            EXPECT_TRUE(fitted.Text.endsWith(QChar(0x2026))) << fitted.Text.toStdString();
            EXPECT_TRUE(text.startsWith(fitted.Text.chopped(1)));
            EXPECT_GT(fitted.Text.size(), 8);
        }

        // Drawn red in a framed panel on white: no ink outside the interior less its padding,
        // some inside.
        const QRect interior((22 + PanelTextPadding) * row.Ratio, 22 * row.Ratio,
                             (row.Interior - 2 * PanelTextPadding) * row.Ratio, 46 * row.Ratio);
        QPainter painter(&canvas);
        painter.setPen(QColor(Red));
        DrawTextPanel(painter, session.GetWorld().Drawing, PanelStyle::DoubleLine, false,
                      0x00FFFFFFu, {20, 20, 20 + row.Interior + 4, 70}, row.Text);
        painter.end();
        int inside = 0, outside = 0;
        for (int y = 0; y < canvas.height(); ++y)
            for (int x = 0; x < canvas.width(); ++x) {
                const QRgb pixel = canvas.pixel(x, y);
                if (pixel != White && pixel != Black)
                    ++(interior.contains(x, y) ? inside : outside);
            }
        EXPECT_EQ(outside, 0);
        EXPECT_EQ(inside > 0, row.Expected != Fit::Nothing);
    }
}

}  // namespace
}  // namespace brix
