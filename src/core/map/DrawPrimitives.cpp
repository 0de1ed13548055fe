#include "core/map/DrawPrimitives.h"

#include <QFontInfo>
#include <QFontMetrics>
#include <QImage>
#include <QPainter>
#include <QRegion>
#include <QString>
#include <QTransform>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>
#include <vector>

#include "core/data/DrawingResources.h"
#include "core/data/MapFilter.h"
#include "core/data/Session.h"
#include "core/map/MapGeometry.h"

namespace brix {
namespace {

constexpr QRgb Black = 0xFF000000u;
constexpr QRgb White = 0xFFFFFFFFu;

// Where the pieces of the scroll border lie in the scroll picture.
constexpr int ScrollSide = 38;          // width of the corners and side edges
constexpr int ScrollTopHeight = 38;     // height of the top corners and edge
constexpr int ScrollBottomHeight = 48;  // height of the bottom corners and edge
constexpr int ScrollRightX = 208;       // left of the right-hand corners and edge
constexpr int ScrollBottomY = 148;      // top of the bottom corners and edge
constexpr int ScrollTileWidth = 170;
constexpr int ScrollTileHeight = 110;

enum class RasterOp { Copy, And, Or };

int Clamp(long long value) {
    return static_cast<int>(std::clamp<long long>(value, std::numeric_limits<int>::min(),
                                                  std::numeric_limits<int>::max()));
}

bool IsAutomatic(std::uint32_t colour) {
    return colour == AutomaticColour;
}

bool IsLight(QRgb colour) {
    return qGray(colour) >= 128;
}

bool Is32Bit(QImage::Format format) {
    return format == QImage::Format_RGB32 || format == QImage::Format_ARGB32 ||
           format == QImage::Format_ARGB32_Premultiplied;
}

template <RasterOp Op>
inline void Combine(QRgb& target, QRgb value) {
    if constexpr (Op == RasterOp::Copy)
        target = value;
    else if constexpr (Op == RasterOp::And)
        target = (target & value) | Black;
    else
        target = target | value | Black;
}

// One-bit source pixels that leave the target unchanged under the operation can be skipped a
// whole byte at a time; most of the multimap is such blank space.
bool LeavesUnchanged(RasterOp op, QRgb value) {
    return (op == RasterOp::And && (value | Black) == White) ||
           (op == RasterOp::Or && (value & ~Black) == 0);
}

// A drawing surface for the raster operations. On a 32-bit image under a whole-pixel
// translation it works on the pixels directly, inside the painter's clip; on anything else it
// builds the operand as an image and lets QPainter combine it.
class RasterSurface {
public:
    explicit RasterSurface(QPainter& painter) : painter_(painter) {
        QPaintDevice* device = painter.device();
        if (device == nullptr || device->devType() != QInternal::Image) return;
        auto* image = static_cast<QImage*>(device);
        if (!Is32Bit(image->format())) return;
        // The device transform includes the image's device pixel ratio, which the world
        // transform leaves out.
        const QTransform transform = painter.deviceTransform();
        if (transform.type() > QTransform::TxTranslate) return;
        const int dx = static_cast<int>(transform.dx());
        const int dy = static_cast<int>(transform.dy());
        if (dx != transform.dx() || dy != transform.dy()) return;
        QRegion visible(image->rect());
        if (painter.hasClipping()) visible &= painter.clipRegion().translated(dx, dy);
        clip_.assign(visible.begin(), visible.end());
        image_ = image;
        bits_ = image->bits();
        bytesPerLine_ = image->bytesPerLine();
        dx_ = dx;
        dy_ = dy;
    }

    // Combines `source` (part of a colour image) with the surface at (x, y).
    void Colour(RasterOp op, int x, int y, const QImage& image, QRect source) {
        if (image.isNull() || !ClipSource(image, x, y, source)) return;
        const QImage colour =
            Is32Bit(image.format()) ? image : image.convertToFormat(QImage::Format_RGB32);
        if (image_ == nullptr) {
            Fallback(op, x, y, colour.copy(source));
            return;
        }
        switch (op) {
            case RasterOp::Copy:
                Direct<RasterOp::Copy>(x, y, colour, source);
                break;
            case RasterOp::And:
                Direct<RasterOp::And>(x, y, colour, source);
                break;
            case RasterOp::Or:
                Direct<RasterOp::Or>(x, y, colour, source);
                break;
        }
    }

    // Combines `source` (part of a one-bit image) with the surface at (x, y), its black pixels
    // standing for `black` and its white ones for `white`.
    void Mono(RasterOp op, int x, int y, const QImage& image, QRect source, QRgb black,
              QRgb white) {
        if (image.isNull() || image.depth() != 1 || !ClipSource(image, x, y, source)) return;
        const QImage mono = image.format() == QImage::Format_Mono
                                ? image
                                : image.convertToFormat(QImage::Format_Mono);
        const QRgb values[2] = {
            IsLight(mono.colorCount() > 0 ? mono.color(0) : Black) ? white : black,
            IsLight(mono.colorCount() > 1 ? mono.color(1) : Black) ? white : black};
        if (image_ == nullptr) {
            QImage operand(source.size(), QImage::Format_RGB32);
            for (int row = 0; row < source.height(); ++row) {
                const uchar* in = mono.constScanLine(source.y() + row);
                QRgb* out = reinterpret_cast<QRgb*>(operand.scanLine(row));
                for (int col = 0; col < source.width(); ++col) {
                    const int sx = source.x() + col;
                    out[col] = values[(in[sx >> 3] >> (7 - (sx & 7))) & 1] | Black;
                }
            }
            Fallback(op, x, y, operand);
            return;
        }
        switch (op) {
            case RasterOp::Copy:
                DirectMono<RasterOp::Copy>(x, y, mono, source, values);
                break;
            case RasterOp::And:
                DirectMono<RasterOp::And>(x, y, mono, source, values);
                break;
            case RasterOp::Or:
                DirectMono<RasterOp::Or>(x, y, mono, source, values);
                break;
        }
    }

    // Punches the mask into the surface (AND, its black pixels standing for `black`, its white
    // ones for white), then ORs in the image: a transparent copy.
    void Transparent(int x, int y, const QImage& image, const QImage& mask, QRect source,
                     QRgb black) {
        if (image.isNull() || mask.isNull()) return;
        const bool pair = image_ != nullptr && image.size() == mask.size() &&
                          Is32Bit(image.format()) && mask.format() == QImage::Format_Mono;
        if (!pair) {
            Mono(RasterOp::And, x, y, mask, source, black, White);
            Colour(RasterOp::Or, x, y, image, source);
            return;
        }
        if (!ClipSource(mask, x, y, source)) return;
        const QRgb values[2] = {
            IsLight(mask.colorCount() > 0 ? mask.color(0) : Black) ? White : black,
            IsLight(mask.colorCount() > 1 ? mask.color(1) : Black) ? White : black};
        DirectTransparent(x, y, image, mask, source, values);
    }

private:
    // Cuts the source rectangle to the image, moving the target point along with its left and
    // top edges. False when nothing is left.
    static bool ClipSource(const QImage& image, int& x, int& y, QRect& source) {
        if (source.width() <= 0 || source.height() <= 0) return false;
        const QRect clipped = source & image.rect();
        if (clipped.isEmpty()) return false;
        x = Clamp(static_cast<long long>(x) + (clipped.x() - source.x()));
        y = Clamp(static_cast<long long>(y) + (clipped.y() - source.y()));
        source = clipped;
        return true;
    }

    // The parts of the target rectangle at logical (x, y) that lie inside the clip, each with
    // the source point that lands on its top-left corner.
    template <class Visit>
    void ForEachVisible(int x, int y, const QRect& source, Visit visit) const {
        const long long left = static_cast<long long>(x) + dx_;
        const long long top = static_cast<long long>(y) + dy_;
        for (const QRect& clip : clip_) {
            const long long l = std::max<long long>(left, clip.left());
            const long long t = std::max<long long>(top, clip.top());
            const long long r = std::min<long long>(left + source.width(), clip.right() + 1LL);
            const long long b = std::min<long long>(top + source.height(), clip.bottom() + 1LL);
            if (l >= r || t >= b) continue;
            visit(static_cast<int>(l), static_cast<int>(t), static_cast<int>(r - l),
                  static_cast<int>(b - t), source.x() + static_cast<int>(l - left),
                  source.y() + static_cast<int>(t - top));
        }
    }

    QRgb* TargetRow(int y) const {
        return reinterpret_cast<QRgb*>(bits_ + static_cast<qsizetype>(y) * bytesPerLine_);
    }

    template <RasterOp Op>
    void Direct(int x, int y, const QImage& image, const QRect& source) {
        ForEachVisible(x, y, source, [&](int tx, int ty, int w, int h, int sx, int sy) {
            for (int row = 0; row < h; ++row) {
                const QRgb* in = reinterpret_cast<const QRgb*>(image.constScanLine(sy + row)) + sx;
                QRgb* out = TargetRow(ty + row) + tx;
                if constexpr (Op == RasterOp::Copy) {
                    std::memcpy(out, in, static_cast<std::size_t>(w) * sizeof(QRgb));
                } else {
                    for (int col = 0; col < w; ++col) Combine<Op>(out[col], in[col]);
                }
            }
        });
    }

    template <RasterOp Op>
    void DirectMono(int x, int y, const QImage& mono, const QRect& source, const QRgb values[2]) {
        // Whole source bytes that change nothing are passed over at once; most of the multimap
        // is blank.
        const int blankByte = LeavesUnchanged(Op, values[1])   ? 0xFF
                              : LeavesUnchanged(Op, values[0]) ? 0x00
                                                               : -1;
        ForEachVisible(x, y, source, [&](int tx, int ty, int w, int h, int sx, int sy) {
            for (int row = 0; row < h; ++row) {
                const uchar* in = mono.constScanLine(sy + row);
                QRgb* out = TargetRow(ty + row) + tx;
                ForEachSourceByte(
                    sx, w, in,
                    [&](int col, uchar byte, int first, int count) {
                        for (int k = 0; k < count; ++k)
                            Combine<Op>(out[col + k], values[(byte >> (7 - first - k)) & 1]);
                    },
                    [&](int col, uchar byte) {
                        if (byte == blankByte) return;
                        for (int k = 0; k < 8; ++k)
                            Combine<Op>(out[col + k], values[(byte >> (7 - k)) & 1]);
                    });
            }
        });
    }

    // Walks the source bytes under a run of w pixels that starts at source bit sx: partial(column,
    // byte, first bit, bit count) for a first or last byte that is not wholly inside the run,
    // whole(column, byte) for every other byte.
    template <class Partial, class Whole>
    static void ForEachSourceByte(int sx, int w, const uchar* in, Partial partial, Whole whole) {
        int col = 0;
        const int lead = (8 - (sx & 7)) & 7;
        if (lead > 0) {
            const int count = std::min(lead, w);
            partial(0, in[sx >> 3], sx & 7, count);
            col = count;
        }
        const uchar* byte = in + ((sx + col) >> 3);
        for (; col + 8 <= w; col += 8, ++byte) whole(col, *byte);
        if (col < w) partial(col, *byte, 0, w - col);
    }

    // The mask's AND and the image's OR in one pass over the target.
    void DirectTransparent(int x, int y, const QImage& image, const QImage& mask,
                           const QRect& source, const QRgb values[2]) {
        const bool plainWhite = (values[1] | Black) == White;
        const bool plainBlack = (values[0] & ~Black) == 0;
        ForEachVisible(x, y, source, [&](int tx, int ty, int w, int h, int sx, int sy) {
            for (int row = 0; row < h; ++row) {
                const uchar* bits = mask.constScanLine(sy + row);
                const QRgb* in = reinterpret_cast<const QRgb*>(image.constScanLine(sy + row)) + sx;
                QRgb* out = TargetRow(ty + row) + tx;
                auto partial = [&](int col, uchar byte, int first, int count) {
                    for (int k = 0; k < count; ++k) {
                        const QRgb m = values[(byte >> (7 - first - k)) & 1];
                        out[col + k] = (out[col + k] & m) | in[col + k] | Black;
                    }
                };
                ForEachSourceByte(sx, w, bits, partial, [&](int col, uchar byte) {
                    if (byte == 0x00 && plainBlack) {
                        // Opaque: the image replaces the target.
                        for (int k = 0; k < 8; ++k) out[col + k] = in[col + k] | Black;
                    } else if (byte == 0xFF && plainWhite) {
                        for (int k = 0; k < 8; ++k) out[col + k] |= in[col + k] | Black;
                    } else {
                        partial(col, byte, 0, 8);
                    }
                });
            }
        });
    }

    void Fallback(RasterOp op, int x, int y, const QImage& operand) {
        painter_.save();
        painter_.setOpacity(1.0);
        painter_.setCompositionMode(op == RasterOp::Copy  ? QPainter::CompositionMode_Source
                                    : op == RasterOp::And ? QPainter::RasterOp_SourceAndDestination
                                                          : QPainter::RasterOp_SourceOrDestination);
        painter_.drawImage(QPoint(x, y), operand);
        painter_.restore();
    }

    QPainter& painter_;
    QImage* image_ = nullptr;
    uchar* bits_ = nullptr;
    qsizetype bytesPerLine_ = 0;
    int dx_ = 0;
    int dy_ = 0;
    std::vector<QRect> clip_;  // device coordinates
};

QRect ToQRect(const IntRect& rect) {
    return QRect(QPoint(rect.Left, rect.Top),
                 QSize(rect.Right - rect.Left, rect.Bottom - rect.Top));
}

void FillRect(QPainter& painter, int left, int top, int right, int bottom, QRgb colour) {
    if (right <= left || bottom <= top) return;
    painter.fillRect(QRect(left, top, right - left, bottom - top), QColor::fromRgb(colour));
}

void Transparent(RasterSurface& surface, QPainter& painter, int x, int y, int width, int height,
                 const QImage& image, const QImage& mask, int sourceX, int sourceY) {
    if (image.isNull() || mask.isNull()) return;
    const QRect source(sourceX, sourceY, width, height);
    surface.Transparent(x, y, image, mask, source, painter.pen().color().rgb());
}

void Panel(RasterSurface& surface, QPainter& painter, const DrawingResources& drawing,
           PanelStyle style, bool fill, std::uint32_t colour, const IntRect& rect) {
    IntRect r = rect;
    if (style == PanelStyle::DoubleLine) {
        for (int ring = 0; ring < 2; ++ring) {
            FillRect(painter, r.Left, r.Top, r.Right, r.Top + 1, Black);
            FillRect(painter, r.Left, r.Bottom - 1, r.Right, r.Bottom, Black);
            FillRect(painter, r.Left, r.Top, r.Left + 1, r.Bottom, Black);
            FillRect(painter, r.Right - 1, r.Top, r.Right, r.Bottom, Black);
            r = IntRect{r.Left + 1, r.Top + 1, r.Right - 1, r.Bottom - 1};
        }
    } else if (style == PanelStyle::Scroll) {
        if (!IsAutomatic(colour)) {
            // This colour shows through the transparent parts of the border.
            const QRgb rgb = RgbFromColourRef(colour);
            FillRect(painter, r.Left, r.Top, r.Left + ScrollSide, r.Bottom, rgb);
            FillRect(painter, r.Right - ScrollSide, r.Top, r.Right, r.Bottom, rgb);
            FillRect(painter, r.Left + ScrollSide, r.Top, r.Right - ScrollSide,
                     r.Top + ScrollTopHeight, rgb);
            FillRect(painter, r.Left + ScrollSide, r.Bottom - ScrollBottomHeight,
                     r.Right - ScrollSide, r.Bottom, rgb);
        }
        const QImage& scroll = drawing.ScrollBitmap;
        const QImage& mask = drawing.ScrollMask;
        auto piece = [&](int x, int y, int w, int h, int sx, int sy) {
            Transparent(surface, painter, x, y, w, h, scroll, mask, sx, sy);
        };
        piece(r.Left, r.Top, ScrollSide, ScrollTopHeight, 0, 0);
        piece(r.Right - ScrollSide, r.Top, ScrollSide, ScrollTopHeight, ScrollRightX, 0);
        piece(r.Left, r.Bottom - ScrollBottomHeight, ScrollSide, ScrollBottomHeight, 0,
              ScrollBottomY);
        piece(r.Right - ScrollSide, r.Bottom - ScrollBottomHeight, ScrollSide, ScrollBottomHeight,
              ScrollRightX, ScrollBottomY);
        for (int x = r.Left + ScrollSide; x < r.Right - ScrollSide; x += ScrollTileWidth) {
            const int w = std::min(ScrollTileWidth, (r.Right - ScrollSide) - x);
            piece(x, r.Top, w, ScrollTopHeight, ScrollSide, 0);
            piece(x, r.Bottom - ScrollBottomHeight, w, ScrollBottomHeight, ScrollSide,
                  ScrollBottomY);
        }
        for (int y = r.Top + ScrollTopHeight; y < r.Bottom - ScrollBottomHeight;
             y += ScrollTileHeight) {
            const int h = std::min(ScrollTileHeight, (r.Bottom - ScrollBottomHeight) - y);
            piece(r.Left, y, ScrollSide, h, 0, ScrollTopHeight);
            piece(r.Right - ScrollSide, y, ScrollSide, h, ScrollRightX, ScrollTopHeight);
        }
        const PanelMargins m = MarginsOf(PanelStyle::Scroll);
        r = IntRect{r.Left + m.Left, r.Top + m.Top, r.Right - m.Right, r.Bottom - m.Bottom};
    }

    if (fill) {
        if (drawing.ScrollBitmap.isNull()) return;
        for (int x = r.Left; x < r.Right; x += ScrollTileWidth) {
            for (int y = r.Top; y < r.Bottom; y += ScrollTileHeight) {
                const QRect tile(ScrollSide, ScrollTopHeight,
                                 std::min(ScrollTileWidth, r.Right - x),
                                 std::min(ScrollTileHeight, r.Bottom - y));
                surface.Colour(RasterOp::Copy, x, y, drawing.ScrollBitmap, tile);
            }
        }
    } else if (!IsAutomatic(colour)) {
        FillRect(painter, r.Left, r.Top, r.Right, r.Bottom, RgbFromColourRef(colour));
    }
}

void Tack(RasterSurface& surface, QPainter& painter, const Session& session, bool hasMaps,
          bool monochrome, IntPoint anchor) {
    const DrawingResources& drawing = session.GetWorld().Drawing;
    const IntPoint p =
        ApplyTackCorrection(IntPoint{anchor.X, Clamp(static_cast<long long>(anchor.Y) - 8)},
                            session.GetPrefs().Display.TacksCorrect);
    const QRect tack(QPoint(0, 0), drawing.TackSize);
    if (monochrome) {
        surface.Mono(RasterOp::And, p.X, p.Y, drawing.TackMask, tack, painter.pen().color().rgb(),
                     White);
        return;
    }
    Transparent(surface, painter, p.X, p.Y, tack.width(), tack.height(), drawing.TackBitmap,
                drawing.TackMask, 0, 0);
    const std::uint32_t colour = hasMaps ? session.GetPrefs().Display.TackWithColor
                                         : session.GetPrefs().Display.TackWithoutColor;
    if (IsAutomatic(colour)) return;
    // The head mask is black on the head: first cut the head out, then fill it with the colour.
    surface.Mono(RasterOp::And, p.X, p.Y, drawing.TackHeadMask, tack, Black, White);
    surface.Mono(RasterOp::Or, p.X, p.Y, drawing.TackHeadMask, tack, RgbFromColourRef(colour),
                 Black);
}

// The horizontal reach of a line in a font: the leftmost ink left of the pen position (<= 0) and
// the width from there to whichever lies further right, the ink or the advance.
void MeasureLine(const QFontMetrics& metrics, const QString& text, int& inkLeft, int& width) {
    const QRect ink = metrics.boundingRect(text);
    inkLeft = std::min(0, ink.left());
    width = std::max(metrics.horizontalAdvance(text), ink.right() + 1) - inkLeft;
}

FittedText Measured(const QFont& font, const QString& text, const QPaintDevice* device) {
    FittedText fitted{font, text, 0, 0};
    const QFontMetrics metrics =
        device != nullptr ? QFontMetrics(font, device) : QFontMetrics(font);
    MeasureLine(metrics, text, fitted.InkLeft, fitted.Width);
    return fitted;
}

QFont WithPixelSize(const QFont& font, int size) {
    QFont scaled(font);
    scaled.setPixelSize(size);
    return scaled;
}

bool HasMap(const MapFilter* filter, int index) {
    return filter != nullptr && filter->TreasureFlag(index);
}

}  // namespace

FittedText FitPanelText(const QFont& font, const QString& text, int width,
                        const QPaintDevice* device) {
    FittedText full = Measured(font, text, device);
    if (full.Width <= width || text.isEmpty()) return full;

    const int size = font.pixelSize() > 0 ? font.pixelSize() : QFontInfo(font).pixelSize();
    const int smallest = std::max(1, static_cast<int>(std::ceil(size * MinPanelTextScale)));
    auto at = [&](int pixels) { return Measured(WithPixelSize(font, pixels), text, device); };
    FittedText fitted = full;
    if (smallest < size) {
        // Widths grow almost in proportion to the size: start from that estimate, then step to
        // the largest size that fits.
        int guess =
            static_cast<int>(static_cast<long long>(size) * std::max(width, 0) / full.Width);
        guess = std::clamp(guess, smallest, size - 1);
        fitted = at(guess);
        while (guess > smallest && fitted.Width > width) fitted = at(--guess);
        while (guess + 1 < size) {
            FittedText larger = at(guess + 1);
            if (larger.Width > width) break;
            fitted = larger;
            ++guess;
        }
        if (fitted.Width <= width) return fitted;
    }

    // Even the smallest size is too wide: cut the end. elidedText() counts advances only, so
    // an overhanging last glyph may need a second, tighter cut.
    const QFontMetrics metrics =
        device != nullptr ? QFontMetrics(fitted.Font, device) : QFontMetrics(fitted.Font);
    int room = width;
    for (int attempt = 0; attempt < 4; ++attempt) {
        fitted.Text = metrics.elidedText(text, Qt::ElideRight, std::max(room, 0));
        MeasureLine(metrics, fitted.Text, fitted.InkLeft, fitted.Width);
        if (fitted.Width <= width || fitted.Text.isEmpty()) break;
        room -= fitted.Width - width;
    }
    return fitted;
}

QRgb RgbFromColourRef(std::uint32_t colour) {
    return qRgb(static_cast<int>(colour & 0xFF), static_cast<int>((colour >> 8) & 0xFF),
                static_cast<int>((colour >> 16) & 0xFF));
}

void DrawTransparent(QPainter& painter, int x, int y, int width, int height, const QImage& image,
                     const QImage& mask, int sourceX, int sourceY) {
    RasterSurface surface(painter);
    Transparent(surface, painter, x, y, width, height, image, mask, sourceX, sourceY);
}

void DrawPanel(QPainter& painter, const DrawingResources& drawing, PanelStyle style, bool fill,
               std::uint32_t colour, const IntRect& rect) {
    painter.save();
    painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
    painter.setOpacity(1.0);
    RasterSurface surface(painter);
    Panel(surface, painter, drawing, style, fill, colour, rect);
    painter.restore();
}

void DrawTextPanel(QPainter& painter, const DrawingResources& drawing, PanelStyle style, bool fill,
                   std::uint32_t colour, const IntRect& rect, const std::string& text) {
    painter.save();
    painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
    painter.setOpacity(1.0);
    RasterSurface surface(painter);
    Panel(surface, painter, drawing, style, fill, colour, rect);
    if (!text.empty()) {
        const PanelMargins m = MarginsOf(style);
        const IntRect r{rect.Left + m.Left, rect.Top + m.Top, rect.Right - m.Right,
                        rect.Bottom - m.Bottom};
        const FittedText line =
            FitPanelText(drawing.LabelFont, QString::fromStdString(text),
                         r.Right - r.Left - 2 * PanelTextPadding, painter.device());
        painter.setFont(line.Font);
        const QFontMetrics metrics = painter.fontMetrics();
        const int cy = metrics.height();
        // Centred by everything the line may cover, so ink that overhangs its advance stays
        // inside as well.
        const int left = r.Left + (r.Right - r.Left - line.Width) / 2 - line.InkLeft;
        const int top = r.Top + (r.Bottom - r.Top - cy) / 2;
        painter.drawText(QPoint(left, top + metrics.ascent()), line.Text);
    }
    painter.restore();
}

void DrawTack(QPainter& painter, const Session& session, bool hasMaps, bool monochrome,
              IntPoint anchor) {
    RasterSurface surface(painter);
    Tack(surface, painter, session, hasMaps, monochrome, anchor);
}

void DrawMapPanel(QPainter& painter, const Session& session, PanelStyle style, bool fill,
                  std::uint32_t colour, const IntRect& rect, const IntRect& source,
                  std::span<const int> treasures, bool labels, const MapFilter* filter,
                  bool monochrome) {
    painter.save();
    painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
    painter.setOpacity(1.0);
    RasterSurface surface(painter);
    const DrawingResources& drawing = session.GetWorld().Drawing;
    Panel(surface, painter, drawing, style, fill, colour, rect);
    const PanelMargins m = MarginsOf(style);
    const int innerLeft = rect.Left + m.Left;
    const int innerTop = rect.Top + m.Top;

    // Black lines of the multimap darken what lies below; white leaves it.
    surface.Mono(RasterOp::And, innerLeft, innerTop, drawing.MultimapBitmap, ToQRect(source),
                 painter.pen().color().rgb(), White);

    const long long offsetX = static_cast<long long>(innerLeft) - source.Left;
    const long long offsetY = static_cast<long long>(innerTop) - source.Top;
    for (const int index : treasures) {
        const Treasure* treasure = session.GetWorld().FindTreasure(index);
        if (treasure == nullptr) continue;
        const IntPoint anchor{Clamp(offsetX + treasure->Location.X / 2),
                              Clamp(offsetY + treasure->Location.Y / 2)};
        Tack(surface, painter, session, HasMap(filter, index), monochrome, anchor);
    }

    if (labels) {
        const IntPoint o = ApplyTackCorrection(IntPoint{Clamp(offsetX), Clamp(offsetY)},
                                               session.GetPrefs().Display.TacksCorrect);
        const QPen textPen = painter.pen();
        const QColor background = painter.background().color();
        painter.setFont(drawing.LabelFont);
        const QFontMetrics metrics = painter.fontMetrics();
        for (const int index : treasures) {
            const Treasure* treasure = session.GetWorld().FindTreasure(index);
            if (treasure == nullptr) continue;
            if (filter != nullptr && filter->OnlyLabelsWithMaps && !filter->TreasureFlag(index))
                continue;
            const IntLine& line = treasure->LeaderLine;
            if (line.X1 == 0 && line.Y1 == 0) continue;
            auto shiftX = [&](int v) { return Clamp(static_cast<long long>(v) + o.X); };
            auto shiftY = [&](int v) { return Clamp(static_cast<long long>(v) + o.Y); };
            painter.setPen(drawing.LeaderPen);
            painter.drawLine(QPoint(shiftX(line.X1), shiftY(line.Y1)),
                             QPoint(shiftX(line.X2), shiftY(line.Y2)));
            painter.setPen(textPen);
            const IntRect& box = treasure->LabelRect;
            const int left = shiftX(box.Left);
            const int top = shiftY(box.Top);
            FillRect(painter, left, top, shiftX(box.Right), shiftY(box.Bottom), background.rgb());
            painter.drawText(QPoint(left + 1, top + 1 + metrics.ascent()),
                             QString::number(treasure->Index));
        }
    }
    painter.restore();
}

}  // namespace brix
