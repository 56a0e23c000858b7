// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/rotate.h"

namespace equat {

unsigned char RotateChar(unsigned char c, int n) {
    const int r = n % 8;  // truncated toward zero: the sign of n
    const unsigned v = c;
    if (r < 0) return static_cast<unsigned char>(((v << -r) | (v >> (8 + r))) & 0xFF);
    if (r > 0) return static_cast<unsigned char>(((v >> r) | (v << (8 - r))) & 0xFF);
    return c;
}

std::string RotateText(std::string_view text, std::string_view key, bool invert) {
    long long sum = 0;
    for (unsigned char k : key) sum += k;
    const long long d = invert ? -1 : 1;
    std::string out(text);
    std::size_t j = 0;
    for (std::size_t p = 1; p <= out.size(); ++p) {
        const long long k =
            key.empty() ? static_cast<long long>(p) : static_cast<unsigned char>(key[j]);
        const long long amount = (p % 2 == 1) ? (k + sum) * -d : (k + sum) * d;
        out[p - 1] = static_cast<char>(
            RotateChar(static_cast<unsigned char>(out[p - 1]), static_cast<int>(amount % 8)));
        if (!key.empty() && ++j >= key.size()) j = 0;
    }
    return out;
}

std::string RevealText(std::string_view text, std::string_view key) {
    return RotateText(text, key, false);
}

}  // namespace equat
