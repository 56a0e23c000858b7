// SPDX-License-Identifier: GPL-3.0-or-later
// Read, write, read again: the second reading must equal the first.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string_view>

#include "rtf/reader.h"
#include "rtf/writer.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view in(reinterpret_cast<const char*>(data), size);
    const equat::rtf::Document first = equat::rtf::ReadRtf(in);
    const std::string written = equat::rtf::WriteRtf(first);
    const equat::rtf::Document second = equat::rtf::ReadRtf(written);
    if (!(first == second)) {
        std::fprintf(stderr, "round trip changed the document; written:\n%s\n", written.c_str());
        std::abort();
    }
    return 0;
}
