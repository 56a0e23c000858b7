#pragma once
#include <cstdint>

namespace equat {

// The one random stream of a session. Every exercise draw goes through RandomInt in a
// fixed order, so a seed fully determines a sheet.
class RandomSource {
  public:
    explicit RandomSource(std::uint32_t seed = 0) : seed_(seed) {}

    // 0 .. n-1 (0 for n < 1). Advances the seed by one linear congruential step.
    int RandomInt(int n);

    // Seed from the UTC time of day in milliseconds (0 .. 86,399,999).
    void SeedRandomFromClock();

    std::uint32_t seed() const { return seed_; }
    void setSeed(std::uint32_t seed) { seed_ = seed; }

    // The value SeedRandomFromClock derives from a time of day.
    static std::uint32_t SeedFromTimeOfDay(int hour, int minute, int second, int millisecond);

  private:
    std::uint32_t seed_;
};

}  // namespace equat
