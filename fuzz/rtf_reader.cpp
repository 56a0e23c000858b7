// SPDX-License-Identifier: GPL-3.0-or-later
// Any bytes through the reader and the plain-text extraction.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "rtf/reader.h"
#include "rtf/writer.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view in(reinterpret_cast<const char*>(data), size);
    const equat::rtf::Document d = equat::rtf::ReadRtf(in);
    (void)equat::rtf::PlainTextUtf8(d);
    (void)equat::rtf::PlainTextCp1252(d);
    return 0;
}
