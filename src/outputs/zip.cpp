// SPDX-License-Identifier: GPL-3.0-or-later
#include "outputs/zip.h"

#include <zlib.h>

#include <cstdint>
#include <limits>

namespace equat {

namespace {

constexpr uint16_t kVersion = 20;        // 2.0: deflate
constexpr uint16_t kUtf8Names = 0x0800;  // names are UTF-8
constexpr uint16_t kDosTime = 0;
constexpr uint16_t kDosDate = (2000 - 1980) << 9 | 1 << 5 | 1;  // 2000-01-01

void Put16(std::string& s, uint32_t v) {
    s += static_cast<char>(v & 0xFF);
    s += static_cast<char>(v >> 8 & 0xFF);
}
void Put32(std::string& s, uint32_t v) {
    Put16(s, v & 0xFFFF);
    Put16(s, v >> 16);
}

// Raw deflate (no zlib header), as a zip holds it; the parts are small: the best level.
bool Deflate(const std::string& data, std::string* out) {
    z_stream z{};
    if (deflateInit2(&z, Z_BEST_COMPRESSION, Z_DEFLATED, -15, 8, Z_DEFAULT_STRATEGY) != Z_OK)
        return false;
    out->resize(deflateBound(&z, static_cast<uLong>(data.size())));
    z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(data.data()));
    z.avail_in = static_cast<uInt>(data.size());
    z.next_out = reinterpret_cast<Bytef*>(out->data());
    z.avail_out = static_cast<uInt>(out->size());
    const bool ok = deflate(&z, Z_FINISH) == Z_STREAM_END;
    out->resize(z.total_out);
    deflateEnd(&z);
    return ok;
}

struct Entry {
    uint16_t method = 0;
    uint32_t crc = 0, packed = 0, size = 0, offset = 0;
};

// The fields a local header and its central record share, from "version needed" on.
void Common(std::string& s, const std::string& name, const Entry& e) {
    Put16(s, kVersion);
    Put16(s, kUtf8Names);
    Put16(s, e.method);
    Put16(s, kDosTime);
    Put16(s, kDosDate);
    Put32(s, e.crc);
    Put32(s, e.packed);
    Put32(s, e.size);
    Put16(s, static_cast<uint32_t>(name.size()));
    Put16(s, 0);  // no extra field
}

}  // namespace

bool ZipArchive(const std::vector<std::pair<std::string, std::string>>& parts, std::string* bytes,
                std::string* error) {
    constexpr std::size_t kMost = std::numeric_limits<uint32_t>::max();
    std::string out, directory, packed;
    for (std::size_t k = 0; k < parts.size(); ++k) {
        const auto& [name, data] = parts[k];
        if (data.size() > kMost || name.size() > 0xFFFF || out.size() > kMost) {
            *error = "archive : partie trop grande";
            return false;
        }
        Entry e;
        e.method = k == 0 ? 0 : Z_DEFLATED;
        e.crc = static_cast<uint32_t>(
            crc32_z(0, reinterpret_cast<const Bytef*>(data.data()), data.size()));
        e.size = static_cast<uint32_t>(data.size());
        e.offset = static_cast<uint32_t>(out.size());
        if (e.method && !Deflate(data, &packed)) {
            *error = "archive : compression impossible";
            return false;
        }
        const std::string& body = e.method ? packed : data;
        e.packed = static_cast<uint32_t>(body.size());
        Put32(out, 0x04034b50);
        Common(out, name, e);
        out += name;
        out += body;
        Put32(directory, 0x02014b50);
        Put16(directory, kVersion);  // made by: version 2.0, MS-DOS attributes
        Common(directory, name, e);
        for (int field : {0, 0, 0}) Put16(directory, field);  // comment, disk, internal
        Put32(directory, 0);                                  // external attributes
        Put32(directory, e.offset);
        directory += name;
    }
    if (out.size() > kMost || parts.size() > 0xFFFF) {
        *error = "archive : trop grande";
        return false;
    }
    const auto start = static_cast<uint32_t>(out.size());
    out += directory;
    Put32(out, 0x06054b50);
    Put16(out, 0);
    Put16(out, 0);
    Put16(out, static_cast<uint32_t>(parts.size()));
    Put16(out, static_cast<uint32_t>(parts.size()));
    Put32(out, static_cast<uint32_t>(directory.size()));
    Put32(out, start);
    Put16(out, 0);  // no comment
    *bytes = std::move(out);
    return true;
}

}  // namespace equat
