#pragma once

namespace brix {

// Rectangles and lines use inclusive-exclusive integer corners: Right and Bottom lie just
// outside. Map geometry and the saved window placement both count this way.
struct IntRect {
    int Left = 0;
    int Top = 0;
    int Right = 0;
    int Bottom = 0;
    bool operator==(const IntRect&) const = default;
};

struct IntPoint {
    int X = 0;
    int Y = 0;
    bool operator==(const IntPoint&) const = default;
};

struct IntLine {
    int X1 = 0;
    int Y1 = 0;
    int X2 = 0;
    int Y2 = 0;
    bool operator==(const IntLine&) const = default;
};

}  // namespace brix
