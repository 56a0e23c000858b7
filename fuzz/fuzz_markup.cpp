// SPDX-License-Identifier: GPL-3.0-or-later
// The markup converter takes what teachers type: any bytes must convert without fault.
// Text without tags comes back unchanged but for its control characters.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "core/markup.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view in(reinterpret_cast<const char*>(data), size);
    const auto out = equat::MarkupToRtf(in);
    if (in.find('<') == std::string_view::npos) {
        std::string expected;
        for (unsigned char c : in) {
            if (c == 0) break;
            if (c >= 32) expected += static_cast<char>(c);
        }
        if (out != expected) std::abort();
    }
    return 0;
}
