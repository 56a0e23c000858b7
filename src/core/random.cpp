#include "core/random.h"

#include <chrono>

namespace equat {

int RandomSource::RandomInt(int n) {
    seed_ = seed_ * 134775813u + 1u;  // modulo 2^32 by unsigned wrap-around
    if (n < 1) return 0;
    return static_cast<int>((static_cast<std::uint64_t>(seed_) * static_cast<std::uint64_t>(n)) >>
                            32);
}

std::uint32_t RandomSource::SeedFromTimeOfDay(int hour, int minute, int second, int millisecond) {
    return static_cast<std::uint32_t>(((hour * 60 + minute) * 60 + second) * 1000 + millisecond);
}

void RandomSource::SeedRandomFromClock() {
    using namespace std::chrono;
    const auto now = system_clock::now();
    const auto sinceMidnight = now - floor<days>(now);
    seed_ = static_cast<std::uint32_t>(duration_cast<milliseconds>(sinceMidnight).count());
}

}  // namespace equat
