#pragma once
#include <filesystem>
#include <string>
#include <string_view>

namespace equat {

// Replaces the file with the bytes: written beside it under a temporary name, then renamed
// over it, so a failure leaves the old file intact and no partial file behind.
// On failure returns false and sets *error to an English message naming the file.
bool WriteFileAtomically(const std::filesystem::path& path, std::string_view bytes,
                         std::string* error);

// Whole file, or false with *error set.
bool ReadWholeFile(const std::filesystem::path& path, std::string& bytes, std::string* error);

}  // namespace equat
