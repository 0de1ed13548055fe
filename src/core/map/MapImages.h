#pragma once

#include <QFont>
#include <QImage>
#include <QPen>
#include <QRgb>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace brix {

class Messages;
struct World;
struct DrawingResources;
class ZipArchive;

// Bounds that keep a damaged or hostile archive from exhausting memory, checked before memory
// is committed: an image wider or taller than MaxBitmapSide is not decoded, nor one whose
// pixels would take more than MaxColourBitmapBytes once made RGB32 (the world picture's form)
// or, for a one-bit image, more than MaxMonoBitmapBytes; a member declared larger than such a
// picture can be is not read. The sample world's world picture (1280 x 1024) takes 5 MB as
// RGB32 and its multimap (2560 x 2048, one bit) 640 KB; the bounds leave room for worlds of
// three times the detail while keeping the start-up's peak memory under 64 MB whatever the
// archive holds.
inline constexpr int MaxBitmapSide = 16384;
inline constexpr std::size_t MaxColourBitmapBytes = 16u * 1024u * 1024u;
inline constexpr std::size_t MaxMonoBitmapBytes = 4u * 1024u * 1024u;
// A member's bound: the largest picture of its form, with room for headers and palette.
inline constexpr std::size_t BitmapHeaderAllowance = 64u * 1024u;
inline constexpr std::size_t MaxBitmapMemberBytes = MaxColourBitmapBytes + BitmapHeaderAllowance;
inline constexpr std::size_t MaxMonoMemberBytes = MaxMonoBitmapBytes + BitmapHeaderAllowance;

// The colour the program's own pictures use for "nothing here".
inline constexpr QRgb TransparencyKey = 0xFF0000FFu;

// The three pictures built into the program: the scroll, the tack and the tack head mask.
struct ProgramPictures {
    QImage Scroll;
    QImage Tack;
    QImage TackHead;
};

// Decodes a BMP member of the archive in memory. A null image when the member is missing,
// unreadable, too large or not a BMP the decoder accepts. Given `notMonochrome`, only a
// one-bit picture is wanted: one whose header says otherwise is not decoded (a null image,
// with *notMonochrome set). A one-bit picture's member is held to MaxMonoMemberBytes.
QImage LoadArchiveBitmap(ZipArchive& archive, const std::string& name,
                         bool* notMonochrome = nullptr);

// True when the image has at least one row and one bit per pixel.
bool IsMonochrome(const QImage& image);

// Turns any image into a one-bit image whose index 1 is white and index 0 black, deciding each
// pixel by its colour (light = white), so a file's palette order never matters.
QImage NormalizeMonochrome(const QImage& image);

// Builds the one-bit mask of the key-coloured pixels (white there, black elsewhere) and paints
// those pixels black in the bitmap, which becomes RGB32. The pair draws with DrawTransparent.
QImage MakeTransparencyMask(QImage& bitmap, QRgb key);

// A one-bit image's pixels as rows of bits, most significant bit first, 1 for white, each row
// padded with zero bits to a multiple of 2 bytes.
std::vector<std::uint8_t> MonochromeRowBits(const QImage& image, int& bytesPerRow);

QPen MakeLeaderPen();

// The label font is "30 pixels high" the way the original program's platform measures a font:
// by its cell, ascent plus descent, not by its em size.
inline constexpr int LabelCellHeight = 30;

// The largest pixel size whose cell height (heightOf) is at most `target`, searched from
// `guess` on the assumption that the height grows with the size. 1 when even size 1 is too tall.
int LargestPixelSizeWithin(int target, int guess, const std::function<int(int)>& heightOf);

// Bold Arial (or what the system gives for it) whose QFontMetrics::height() is
// LabelCellHeight, or the nearest below. The size is measured once per process, which needs a
// QGuiApplication; without one the font has the size Arial would get.
QFont MakeLabelFont();

// The three pictures as built into the program.
ProgramPictures LoadProgramPictures();

// Makes the scroll, tack and head pictures ready to draw (transparency masks, one-bit head)
// and builds the leader pen and label font.
void PrepareProgramPictures(DrawingResources& drawing, const ProgramPictures& pictures);

// The world picture in the canvases' format (RGB32), read through a handle of its own on the
// archive file, so that a worker thread can decode it while start-up goes on. Null when it
// cannot be loaded.
QImage DecodeWorldBitmap(const std::string& archivePath);

// Builds the shared images, pen and font into world.Drawing. Failures are shown through
// `messages` and leave the images that could not be loaded null; the start-up goes on.
void LoadDrawingResources(World& world, ZipArchive& archive, Messages& messages,
                          const ProgramPictures& pictures);
// The two halves of that, for a start-up that decodes the world picture on a worker: everything
// but the world picture, false when the multimap failed (which leaves the world unloaded too);
// then the world picture (a null image shows why it is missing).
bool LoadDrawingResourcesButWorld(World& world, ZipArchive& archive, Messages& messages,
                                  const ProgramPictures& pictures);
void SetWorldBitmap(World& world, Messages& messages, const QImage& picture);
// The same with the pictures built into the program.
void LoadDrawingResources(World& world, ZipArchive& archive, Messages& messages);

// Reads every region's overlay into its mask, in slot order; the first overlay that cannot be
// loaded is reported and leaves it and every later region without a mask.
void LoadRegionMasks(World& world, ZipArchive& archive, Messages& messages);

}  // namespace brix
