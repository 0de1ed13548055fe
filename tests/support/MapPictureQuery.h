#pragma once

#include <QByteArray>
#include <QImage>

#include <cstdint>

namespace brix {
class Session;
}

namespace brix::test {

// How a player's picture of a close-up differs from the close-up itself.
struct PictureChanges {
    double ShiftX = 0;  // the spot's distance from the centre, in shares of the close-up's size
    double ShiftY = 0;
    bool Tack = true;       // the close-up shows the treasure's tack
    double Scale = 1;       // size of the picture relative to the close-up
    double Rotation = 0;    // degrees
    int BlurPasses = 0;     // [1 2 1] blurs across and down
    double Brightness = 0;  // added to every channel, -255..255
    double Contrast = 1;    // around mid-grey
    double Tint = 0;        // 0..1: how far the colours go towards a warm parchment
    int JpegQuality = -1;   // saved and read back as JPEG of this quality; -1: not
};

// Uniform numbers in [low, high) from a fixed linear congruential stream, the same on every
// platform (the standard distributions are not).
class Draws {
public:
    explicit Draws(std::uint64_t seed) : state_(seed) {}
    double Uniform(double low, double high);

private:
    std::uint64_t state_;
};

// Changes a player's picture may show: scale 0.7x to 1.4x, the spot up to 10 % off centre, up
// to 3 degrees of rotation, a blur, JPEG quality 60, brightness and contrast, a warm tint.
PictureChanges RandomChanges(Draws& draws, bool tack);

// The Treasure Information window's close-up of the treasure (DrawMapPanel on the scroll, as
// that window draws it), with the spot moved off centre as `changes` says, then changed.
QImage PictureOfCloseUp(const Session& session, int treasure, const PictureChanges& changes);

// The picture as JPEG bytes of that quality.
QByteArray JpegBytes(const QImage& picture, int quality);

}  // namespace brix::test
