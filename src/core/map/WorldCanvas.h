#pragma once

#include <QImage>
#include <QPoint>
#include <QRect>
#include <QRgb>
#include <cstdint>
#include <vector>

#include "core/data/Records.h"

class QPainter;

namespace brix {

class Session;
struct World;

// Strength of a region's tint, out of 255: the region under the pointer stands out.
inline constexpr int HoverTintWeight = 159;
inline constexpr int RegionTintWeight = 95;

// Tints used while the display colours are automatic, as colour references (0x00BBGGRR):
// red for regions where the character holds maps, yellow-orange for the others.
inline constexpr std::uint32_t AutomaticWithMapTint = 0x000000FFu;
inline constexpr std::uint32_t AutomaticWithoutMapTint = 0x0000E0FFu;

// The region's mask rectangle in world-bitmap pixels; empty while no mask is loaded.
QRect MaskQRect(const Region& region);

// True when the region has a rectangle and bits enough to cover it.
bool HasUsableMask(const Region& region);

// The mask bit at a world-bitmap pixel; false outside the rectangle or without a mask.
bool MaskBitAt(const Region& region, QPoint point);

// The Index of the first region, in slot order, under a world-bitmap pixel, or 0. A region
// with MaskHitTest set reacts anywhere inside its rectangle.
int HitTestRegion(const World& world, QPoint point);

// The colour a region is tinted with (opaque QRgb), chosen by whether the current character
// holds maps for it and by the display settings.
QRgb RegionTintColour(const Session& session, int regionIndex);

// What the canvas shows beyond the world bitmap: the bitmap's top-left colour, or white when
// there is no world bitmap.
QRgb WorldBackgroundColour(const World& world);

// The forms of the region tint blend. Fastest is the quickest form built in that the processor
// runs; the others each name one form, so that every form can be measured and tested on any
// machine whose processor runs it.
enum class TintBlend { Fastest, Portable, Sse2, Avx2 };

// The forms built into this program, Portable first.
std::vector<TintBlend> BuiltTintBlends();

// True when the form is built in and the processor has its instructions. A form asked for that
// does not run here is replaced by Fastest.
bool ProcessorRuns(TintBlend blend);

// Blends colour (opaque QRgb) at weight out of 255 over the pixels of target that lie under the
// region's mask and inside canvasBox; target's pixel (0, 0) stands for canvasBox's top-left
// corner, as in DrawWorldCanvas. Only 32-bit targets (RGB32, ARGB32, premultiplied) are tinted.
void TintRegion(QImage& target, QRect canvasBox, const Region& region, QRgb colour, int weight,
                TintBlend blend = TintBlend::Fastest);

// Draws the part of the world canvas inside canvasBox (world-bitmap pixels) into target, whose
// pixel (0, 0) stands for canvasBox's top-left corner: the world bitmap, every region tinted in
// slot order (the hovered one more strongly) and the background beyond the bitmap. Parts of
// the box that do not fit into target are left out.
void DrawWorldCanvas(QImage& target, QRect canvasBox, const Session& session, int hoverRegion,
                     TintBlend blend = TintBlend::Fastest);

// The same picture drawn through a painter whose coordinates are canvas coordinates, without a
// picture of the whole box: it goes out in bands of a few rows.
void DrawWorldCanvas(QPainter& painter, QRect canvasBox, const Session& session, int hoverRegion);

}  // namespace brix
