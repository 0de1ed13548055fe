#pragma once

#include <QImage>
#include <QSize>
#include <QString>

class QIODevice;

namespace brix {

// Limits on a picture to identify. A picture whose header claims more than MaxPictureSide on a
// side or MaxPicturePixels in all is refused before anything is decoded (a screenshot of four
// 4K screens has 33 million); one smaller than MinPictureSide on a side shows too little
// drawing to compare. A picture longer than MaxWorkingSide is scaled down while it is read:
// that keeps the memory small and still leaves the map at least half its size in any
// screenshot of a single screen.
inline constexpr int MaxPictureSide = 16384;
inline constexpr long long MaxPicturePixels = 40LL * 1000 * 1000;
inline constexpr int MinPictureSide = 24;
inline constexpr int MaxWorkingSide = 2048;

enum class PictureStatus {
    Ready,       // Image holds the picture, scaled down where it was larger than needed
    Unreadable,  // no picture, or one the image readers fail on
    TooLarge,    // refused by its claimed size (ClaimedSize), nothing decoded
    TooSmall,    // read, but too small to compare
};

struct MapPicture {
    PictureStatus Status = PictureStatus::Unreadable;
    QImage Image;
    QSize ClaimedSize;
};

// Reads a picture in any format Qt's image readers know, judging its size first.
MapPicture ReadMapPicture(QIODevice& device);
MapPicture ReadMapPictureFile(const QString& path);
// The same checks for a picture that is already decoded (pasted from the clipboard).
MapPicture TakeMapPicture(const QImage& image);

}  // namespace brix
