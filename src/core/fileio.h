// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <cstdint>
#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <string_view>
#include <utility>
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
    // syncFolder false leaves the folder's sync to the caller (once for many renames).
    bool Commit(std::string* error, bool syncFolder = true);
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
// complete are they renamed into place. If a stage fails, no old file is touched. A rename
// that fails (rare once all are staged) stops the set there: the files renamed before it
// are already the new ones, and *error names the one that failed.
// Two names of the set that are one file are refused before anything is written. The
// renames hold a lock on each folder of the set, so that parallel runs replacing the same
// files never leave one run's file beside another's. SIGINT, SIGTERM, SIGHUP and SIGQUIT wait while
// the files are replaced: during the staging they stop it (the staged files removed), during the
// renames they wait for the last; the signal is then raised again.
bool ReplaceFiles(const std::vector<FileContent>& files, std::string* error,
                  ReplaceOptions options = {});

// Names of files told apart as files, so that a run writes no file twice nor over its input:
// links followed (the last one too, even when it names no file yet), "." and ".." resolved,
// and two names of one existing regular file (a hard link, a folder that ignores case) known
// as one. One look-up a name, so that a set of thousands of files stays quick.
class FileNameSet {
  public:
    // Adds the name; false, adding nothing, when the set holds its file already.
    bool Insert(const std::filesystem::path& path);
    bool Contains(const std::filesystem::path& path) const;

  private:
    struct Place;
    static Place PlaceOf(const std::filesystem::path& path);
    bool Holds(const Place& place) const;
    std::set<std::string> paths_;
    std::map<std::pair<std::uint64_t, std::uint64_t>, std::filesystem::path> files_;
};

// Files made in memory: name and bytes of each, to be replaced as one set.
using NamedFiles = std::vector<std::pair<std::string, std::string>>;

// Replaces every file as one unit (ReplaceFiles): all are staged before any is replaced, so a
// failure leaves every old file as it was; false with *error then. The names written go to
// *written.
bool WriteAllFiles(const NamedFiles& files, std::vector<std::string>* written, std::string* error);

// ReplaceFiles one file at a time, so that a large set need not be held in memory: Add
// stages a file at once, Commit renames them all (see ReplaceFiles); without Commit
// nothing is replaced and the staged files are removed. Those four signals wait from the
// first Add to the end of Commit or the set's destruction.
class StagedSet {
  public:
    explicit StagedSet(ReplaceOptions options = {});
    StagedSet(const StagedSet&) = delete;
    StagedSet& operator=(const StagedSet&) = delete;
    ~StagedSet();
    // A file the run reads: Add refuses any name of it.
    void Keep(const std::filesystem::path& path);
    // *error names the file.
    bool Add(const std::filesystem::path& path, std::string_view bytes, std::string* error);
    // progress, when given, is told each file renamed (done, total).
    bool Commit(std::string* error,
                const std::function<void(std::size_t, std::size_t)>& progress = {});

  private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

// A regular file of at most limit bytes (a folder, a device or a larger file refused
// without reading it all); false with *error (French, the path in it) otherwise.
bool ReadSmallFile(const std::filesystem::path& path, std::size_t limit, std::string& bytes,
                   std::string* error);

// True when the two paths name one file (links and "." resolved), existing or not.
bool SameFile(const std::filesystem::path& a, const std::filesystem::path& b);

}  // namespace equat
