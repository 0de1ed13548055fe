#pragma once

#include <array>
#include <cstdint>

namespace brix::gen {

// Gradient noise on a seeded permutation, roughly in [-1, 1], smooth to the second
// derivative so that hill shading shows no grid artefacts.
class Noise {
public:
    explicit Noise(std::uint64_t seed);

    double At(double x, double y) const;
    // Fractal sum of octaves, each twice the frequency and half the amplitude of the last;
    // normalised so that the result stays roughly in [-1, 1].
    double Fractal(double x, double y, int octaves, double gain = 0.5) const;
    // Sharp crests where the noise crosses zero, in [0, 1]: mountain ridges.
    double Ridged(double x, double y, int octaves) const;

private:
    double Gradient(int hash, double x, double y) const;
    std::array<std::uint8_t, 512> perm_{};
};

}  // namespace brix::gen
