#include "core/fileio.h"

#include <cerrno>
#include <cstring>
#include <fstream>
#include <random>

namespace equat {

namespace fs = std::filesystem;

namespace {

std::string Describe(const fs::path& path, std::string_view what) {
    std::string msg = "cannot ";
    msg += what;
    msg += " " + path.string();
    if (errno != 0) {
        msg += ": ";
        msg += std::strerror(errno);
    }
    return msg;
}

}  // namespace

bool WriteFileAtomically(const fs::path& path, std::string_view bytes, std::string* error) {
    std::random_device rd;
    fs::path temp = path;
    temp += ".tmp" + std::to_string(rd() % 1000000);
    errno = 0;
    {
        std::ofstream out(temp, std::ios::binary | std::ios::trunc);
        if (out) out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        if (out) out.flush();
        if (!out) {
            if (error) *error = Describe(path, "write");
            std::error_code ec;
            fs::remove(temp, ec);
            return false;
        }
    }
    std::error_code ec;
    fs::rename(temp, path, ec);
    if (ec) {
        if (error) *error = "cannot write " + path.string() + ": " + ec.message();
        fs::remove(temp, ec);
        return false;
    }
    return true;
}

bool ReadWholeFile(const fs::path& path, std::string& bytes, std::string* error) {
    errno = 0;
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        if (error) *error = Describe(path, "read");
        return false;
    }
    bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    if (in.bad()) {
        if (error) *error = Describe(path, "read");
        return false;
    }
    return true;
}

}  // namespace equat
