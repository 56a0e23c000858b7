// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <cstdint>

namespace equat {

// The one random stream of a session. Every exercise draw goes through RandomInt in a
// fixed order, so a seed fully determines a sheet.
class RandomSource {
  public:
    explicit RandomSource(std::uint32_t seed = 0) : seed_(seed) {}

    // 0 .. n-1 (0 for n < 1). Advances the seed by one linear congruential step.
    int RandomInt(int n) {
        seed_ = seed_ * 134775813u + 1u;  // modulo 2^32 by unsigned wrap-around
        if (n < 1) return 0;
        return static_cast<int>(
            (static_cast<std::uint64_t>(seed_) * static_cast<std::uint64_t>(n)) >> 32);
    }

    // Seed from the UTC time of day in milliseconds (0 .. 86,399,999).
    void SeedRandomFromClock();

    std::uint32_t seed() const { return seed_; }
    void setSeed(std::uint32_t seed) { seed_ = seed; }

    // The value SeedRandomFromClock derives from a time of day.
    static std::uint32_t SeedFromTimeOfDay(int hour, int minute, int second, int millisecond);

  private:
    std::uint32_t seed_;
};

// R(p) - R(q), R(p) drawn first: the draw order the sheets' distributions rest on.
inline int DrawDiff(RandomSource& rng, int p, int q) {
    const int first = rng.RandomInt(p);
    return first - rng.RandomInt(q);
}

// The same, drawn again while it is 0.
inline int DrawNonZeroDiff(RandomSource& rng, int p, int q) {
    int v;
    do v = DrawDiff(rng, p, q);
    while (v == 0);
    return v;
}

}  // namespace equat
