#pragma once

#include <cstdint>
#include <vector>

namespace brix::gen {

// SplitMix64: small, fast and identical on every platform, so one seed always gives the
// same world. Never seeded from the clock.
class Random {
public:
    explicit Random(std::uint64_t seed) : state_(seed) {}

    std::uint64_t Next() {
        std::uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }

    // Uniform in [0, 1).
    double Unit() { return static_cast<double>(Next() >> 11) * (1.0 / 9007199254740992.0); }

    // Uniform in [lo, hi).
    double Range(double lo, double hi) { return lo + (hi - lo) * Unit(); }

    // Uniform integer in [lo, hi] (both included).
    int Int(int lo, int hi) {
        return lo + static_cast<int>(Next() % static_cast<std::uint64_t>(hi - lo + 1));
    }

    // A new generator whose stream does not overlap this one's in practice.
    Random Fork() { return Random(Next() ^ 0xD1B54A32D192ED03ull); }

    template <typename T>
    void Shuffle(std::vector<T>& items) {
        for (std::size_t i = items.size(); i > 1; --i) {
            std::size_t j = static_cast<std::size_t>(Next() % i);
            std::swap(items[i - 1], items[j]);
        }
    }

    template <typename T>
    const T& Pick(const std::vector<T>& items) {
        return items[static_cast<std::size_t>(Next() % items.size())];
    }

private:
    std::uint64_t state_;
};

}  // namespace brix::gen
