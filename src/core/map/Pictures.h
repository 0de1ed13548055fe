#pragma once

#include <QImage>
#include <QPoint>

namespace brix {

// Number of icons in each command icon strip; icons 1 and 14 belong to no command.
constexpr int CommandIconCount = 20;

// Registers the pictures compiled into the program. Safe to call more than once; every
// loader below calls it, so only code that opens ":/..." paths itself needs to.
void InitResources();

// The scroll border, 246 × 196, in 24-bit colours; pure blue (0, 0, 255) outside the scroll.
QImage LoadScrollBitmap();

// The tack, 13 × 21, palettised (Format_Indexed8); pure blue around the pin. Its pixel
// (6, 10) is the needle's point, where a tack drawn with the usual correction meets its treasure.
QImage LoadTackBitmap();

// One bit per pixel (Format_Mono), 13 × 21: black on the tack's head, white elsewhere.
QImage LoadTackHeadMask();

// The magnifying glass shown over selectable regions and treasures, 32 × 32 with alpha.
QImage LoadSelectCursorImage();
QPoint SelectCursorHotSpot();

// The command icons side by side, CommandIconCount × iconSize wide and iconSize high, on a
// transparent background (Format_ARGB32). A null image for a size below 1.
QImage RenderIconStrip(int iconSize);

// The application icon, size × size, transparent background; null for a size below 1.
QImage RenderAppIcon(int size);

}  // namespace brix
