// The markup converter takes what teachers type: any bytes must convert without fault,
// and its output never holds a control character.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "core/markup.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view in(reinterpret_cast<const char*>(data), size);
    const auto out = equat::MarkupToRtf(in);
    for (unsigned char c : out)
        if (c < 32) std::abort();
    return 0;
}
