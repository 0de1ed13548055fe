#include "Noise.h"

#include <algorithm>
#include <cmath>

#include "Random.h"

namespace brix::gen {

namespace {

double Fade(double t) {
    return t * t * t * (t * (t * 6.0 - 15.0) + 10.0);
}

double Lerp(double a, double b, double t) {
    return a + (b - a) * t;
}

}  // namespace

Noise::Noise(std::uint64_t seed) {
    std::array<std::uint8_t, 256> p{};
    for (int i = 0; i < 256; ++i) p[i] = static_cast<std::uint8_t>(i);
    Random random(seed);
    for (int i = 255; i > 0; --i) {
        int j = static_cast<int>(random.Next() % static_cast<std::uint64_t>(i + 1));
        std::swap(p[i], p[j]);
    }
    for (int i = 0; i < 512; ++i) perm_[i] = p[i & 255];
}

double Noise::Gradient(int hash, double x, double y) const {
    // Eight directions, the diagonals scaled to unit length.
    switch (hash & 7) {
        case 0:
            return x;
        case 1:
            return -x;
        case 2:
            return y;
        case 3:
            return -y;
        case 4:
            return (x + y) * 0.70710678;
        case 5:
            return (x - y) * 0.70710678;
        case 6:
            return (-x + y) * 0.70710678;
        default:
            return (-x - y) * 0.70710678;
    }
}

double Noise::At(double x, double y) const {
    double fx = std::floor(x);
    double fy = std::floor(y);
    int xi = static_cast<int>(fx) & 255;
    int yi = static_cast<int>(fy) & 255;
    double dx = x - fx;
    double dy = y - fy;
    double u = Fade(dx);
    double v = Fade(dy);
    int aa = perm_[perm_[xi] + yi];
    int ab = perm_[perm_[xi] + yi + 1];
    int ba = perm_[perm_[xi + 1] + yi];
    int bb = perm_[perm_[xi + 1] + yi + 1];
    double x1 = Lerp(Gradient(aa, dx, dy), Gradient(ba, dx - 1.0, dy), u);
    double x2 = Lerp(Gradient(ab, dx, dy - 1.0), Gradient(bb, dx - 1.0, dy - 1.0), u);
    return Lerp(x1, x2, v) * 1.4;
}

double Noise::Fractal(double x, double y, int octaves, double gain) const {
    double sum = 0.0;
    double amplitude = 1.0;
    double total = 0.0;
    for (int i = 0; i < octaves; ++i) {
        // Each octave is shifted so that lattice points of the octaves do not line up.
        sum += amplitude * At(x + 17.31 * i, y - 9.77 * i);
        total += amplitude;
        amplitude *= gain;
        x *= 2.03;
        y *= 2.03;
    }
    return sum / total;
}

double Noise::Ridged(double x, double y, int octaves) const {
    double sum = 0.0;
    double amplitude = 1.0;
    double total = 0.0;
    double weight = 1.0;
    for (int i = 0; i < octaves; ++i) {
        double n = 1.0 - std::fabs(At(x + 31.7 * i, y + 5.3 * i));
        n *= n;
        // Finer crests grow only on top of coarser ones, which keeps valleys smooth.
        n *= weight;
        weight = std::clamp(n * 1.6, 0.0, 1.0);
        sum += amplitude * n;
        total += amplitude;
        amplitude *= 0.5;
        x *= 2.1;
        y *= 2.1;
    }
    return sum / total;
}

}  // namespace brix::gen
