// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/random.h"

#include <chrono>

namespace equat {

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
