#pragma once

#include <QFont>
#include <QRgb>
#include <QString>
#include <cstdint>
#include <span>
#include <string>

#include "core/data/Records.h"
#include "core/map/PanelStyle.h"

class QImage;
class QPaintDevice;
class QPainter;

namespace brix {

struct DrawingResources;
struct MapFilter;
class Session;

// The opaque colour of a colour reference laid out 0x00BBGGRR.
QRgb RgbFromColourRef(std::uint32_t colour);

// The routines below draw with the raster operations copy, AND and OR. A one-bit source stands
// for the painter's pen colour where it is black and its background colour where it is white.
// They are fastest on a painter whose device is a 32-bit QImage and whose transformation is a
// plain translation; other raster painters get the same picture through QPainter. Each call
// leaves the painter's pen, font, background, composition mode and clipping as it found them.

// Punches the mask's black pixels into the surface (AND, white background), then ORs in the
// matching part of the image. Image and mask are a pair made by MakeTransparencyMask.
void DrawTransparent(QPainter& painter, int x, int y, int width, int height, const QImage& image,
                     const QImage& mask, int sourceX, int sourceY);

// A framed panel; the interior is tiled with parchment when `fill` is set, otherwise filled with
// `colour` unless that is automatic, otherwise left untouched.
void DrawPanel(QPainter& painter, const DrawingResources& drawing, PanelStyle style, bool fill,
               std::uint32_t colour, const IntRect& rect);

// A text panel's line as it is drawn: the font, possibly made smaller, the text, possibly cut,
// and how far the ink reaches left of the pen position and how wide it is in all.
struct FittedText {
    QFont Font;
    QString Text;
    int InkLeft = 0;  // <= 0: the ink left of the pen position
    int Width = 0;    // from the leftmost to the rightmost pixel the text may cover
};

// The smallest share of its size a panel's font is scaled down to before the text is cut.
inline constexpr double MinPanelTextScale = 0.6;

// Fits one line into `width` pixels measured on `device` (null: the screen): in `font` when it
// fits; otherwise in the largest pixel size that fits, down to MinPanelTextScale of the font's
// size; below that at that smallest size with the end of the text replaced by "…".
FittedText FitPanelText(const QFont& font, const QString& text, int width,
                        const QPaintDevice* device);

// Room kept free between a text panel's line and each side of its interior, so that a line
// made to fit does not touch the frame.
inline constexpr int PanelTextPadding = 3;

// A panel with one line of text in the label font, centred in the interior; a line wider than
// the interior less PanelTextPadding on each side is made to fit that room by FitPanelText.
void DrawTextPanel(QPainter& painter, const DrawingResources& drawing, PanelStyle style, bool fill,
                   std::uint32_t colour, const IntRect& rect, const std::string& text);

// One tack whose point is at `anchor`; its head takes the display colour for treasures with or
// without maps. In monochrome the tack is a silhouette in the pen colour.
void DrawTack(QPainter& painter, const Session& session, bool hasMaps, bool monochrome,
              IntPoint anchor);

// A panel showing `source` of the multimap with a tack for every listed treasure and, when
// `labels` is set, their leader lines and numbers. Tacks and labels are not clipped to the
// panel.
void DrawMapPanel(QPainter& painter, const Session& session, PanelStyle style, bool fill,
                  std::uint32_t colour, const IntRect& rect, const IntRect& source,
                  std::span<const int> treasures, bool labels, const MapFilter* filter,
                  bool monochrome);

}  // namespace brix
