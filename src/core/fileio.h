// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace equat {

struct ReplaceOptions {
    // Data and rename on the disk before returning (slower). Off only for files made again
    // at will, such as preview images: the replacement stays atomic either way.
    bool sync = true;
    // Missing parent folders are made (a first save under the user's configuration folder).
    bool createFolders = false;
};

// A file written beside its target and not yet in place. Stage writes the bytes into an
// exclusively created temporary file with an unpredictable name in the target's folder
// (symbolic links followed, so the link stays; the old file's mode kept); Commit renames it
// over the target and syncs the folder. An uncommitted stage is removed on destruction, so
// a failure leaves the old file as it was and nothing beside it. A target that is a folder,
// not a regular file, or without any write permission is refused.
class StagedFile {
  public:
    StagedFile() = default;
    StagedFile(const StagedFile&) = delete;
    StagedFile& operator=(const StagedFile&) = delete;
    StagedFile(StagedFile&& other) noexcept;
    StagedFile& operator=(StagedFile&& other) noexcept;
    ~StagedFile() { Discard(); }

    // On failure returns false and sets *error to a reason (English, without the path).
    bool Stage(const std::filesystem::path& path, std::string_view bytes, std::string* error,
               ReplaceOptions options = {});
    bool Commit(std::string* error);
    void Discard();

    bool staged() const { return !temp_.empty(); }
    // The file that Commit replaces: the path with its links resolved.
    const std::filesystem::path& target() const { return target_; }

  private:
    std::filesystem::path target_;
    std::filesystem::path temp_;
    bool sync_ = true;
};

// Replaces the file with the bytes atomically (see StagedFile).
bool ReplaceFile(const std::filesystem::path& path, std::string_view bytes, std::string* error,
                 ReplaceOptions options = {});

struct FileContent {
    std::filesystem::path path;
    std::string_view bytes;
};

// Replaces several files as one unit: all are staged first, and only when every one is
// complete are they renamed into place. If a stage fails, no old file is touched. If a
// rename fails (rare once all are staged), the files already replaced get their old
// contents back where the file system allows a hard link. *error names the file.
bool ReplaceFiles(const std::vector<FileContent>& files, std::string* error,
                  ReplaceOptions options = {});

// ReplaceFile with the reason prefixed by "cannot write <path>: ", for the tools' messages.
bool WriteFileAtomically(const std::filesystem::path& path, std::string_view bytes,
                         std::string* error);

// Whole file, or false with *error set.
bool ReadWholeFile(const std::filesystem::path& path, std::string& bytes, std::string* error);

}  // namespace equat
