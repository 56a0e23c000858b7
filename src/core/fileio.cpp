// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/fileio.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <map>
#include <mutex>
#include <optional>
#include <random>
#include <set>
#include <utility>

#ifndef _WIN32
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace equat {

namespace fs = std::filesystem;

namespace {

std::string ErrnoText(std::string_view what, int err) {
    std::string s(what);
    s += ": ";
    s += std::strerror(err);
    return s;
}

bool Fail(std::string* error, std::string text) {
    if (error) *error = std::move(text);
    return false;
}

// Unpredictable, so that another program cannot prepare a file or link under the name.
std::string RandomSuffix() {
    std::random_device rd;
    const unsigned long long n = (static_cast<unsigned long long>(rd()) << 32) ^ rd();
    char text[17];
    std::snprintf(text, sizeof text, "%016llx", n);
    return text;
}

// Follows symbolic links so that a save replaces the file they name, not the link.
bool ResolveLinks(fs::path& path, std::string* error) {
    std::error_code ec;
    for (int hops = 0; fs::is_symlink(fs::symlink_status(path, ec)); ++hops) {
        if (hops == 40) return Fail(error, "too many levels of symbolic links");
        fs::path target = fs::read_symlink(path, ec);
        if (ec) return Fail(error, "read link: " + ec.message());
        path = target.is_absolute() ? target : path.parent_path() / target;
    }
    return true;
}

// The system calls, one small set per platform.
#ifndef _WIN32

struct TargetInfo {
    bool exists = false;
    unsigned mode = 0;
};

bool InspectTarget(const fs::path& target, TargetInfo& info, std::string* error) {
    struct stat st {};
    if (::stat(target.c_str(), &st) != 0) {
        if (errno == ENOENT) return true;
        return Fail(error, ErrnoText("inspect", errno));
    }
    if (S_ISDIR(st.st_mode)) return Fail(error, "the path is a folder");
    if (!S_ISREG(st.st_mode)) return Fail(error, "not a regular file");
    // Root may write anything: the permission bits still say read-only.
    if ((st.st_mode & 0222) == 0 || ::access(target.c_str(), W_OK) != 0)
        return Fail(error, "the file is read-only");
    info.exists = true;
    info.mode = st.st_mode & 07777;
    return true;
}

bool WriteAll(int fd, std::string_view data) {
    while (!data.empty()) {
        const ssize_t n = ::write(fd, data.data(), data.size());
        if (n < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        if (n == 0) {
            errno = ENOSPC;
            return false;
        }
        data.remove_prefix(static_cast<std::size_t>(n));
    }
    return true;
}

// Creates temp exclusively and fills it; on failure nothing is left.
bool WriteTemporary(const fs::path& temp, std::string_view bytes, const TargetInfo& info, bool sync,
                    std::string* error, bool& nameTaken) {
    nameTaken = false;
    const int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0) {
        nameTaken = errno == EEXIST;
        return Fail(error, ErrnoText("create", errno));
    }
    // The first step that fails names the error; close runs in any case.
    const char* what = nullptr;
    int err = 0;
    auto failed = [&](const char* step) {
        what = step;
        err = errno;
    };
    if (info.exists && ::fchmod(fd, info.mode) != 0) failed("keep mode");
    if (!what && !WriteAll(fd, bytes)) failed("write");
    if (!what && sync && ::fsync(fd) != 0) failed("sync");
    if (::close(fd) != 0 && !what) failed("close");
    if (!what) return true;
    ::unlink(temp.c_str());
    return Fail(error, ErrnoText(what, err));
}

bool RenameOver(const fs::path& from, const fs::path& to, std::string* error) {
    if (::rename(from.c_str(), to.c_str()) == 0) return true;
    return Fail(error, ErrnoText("rename", errno));
}

// Makes a rename durable; a failure here leaves a complete file either way.
void SyncFolder(const fs::path& dir) {
    const int fd = ::open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    (void)::fsync(fd);
    ::close(fd);
}

void RemoveFile(const fs::path& path) {
    ::unlink(path.c_str());
}

// The signals that end a run from the terminal (Ctrl+C, Ctrl+\\, the terminal closed) or from
// the system, noted, not acted on, while files are replaced; the last holder puts the old
// actions back and raises what came meanwhile.
constexpr int kHeldSignals[] = {SIGINT, SIGTERM, SIGHUP, SIGQUIT};
std::atomic<int> gPendingSignal{0};

extern "C" void NoteSignal(int signo) {
    gPendingSignal.store(signo);
}

class SignalHold {
  public:
    SignalHold() {
        const std::lock_guard lock(mutex_);
        if (holders_++ > 0) return;
        struct sigaction sa {};
        sa.sa_handler = NoteSignal;
        sigemptyset(&sa.sa_mask);
        // Without SA_RESTART a wait for a lock ends at the signal.
        sa.sa_flags = 0;
        for (std::size_t k = 0; k < std::size(kHeldSignals); ++k)
            ::sigaction(kHeldSignals[k], &sa, &old_[k]);
    }
    SignalHold(const SignalHold&) = delete;
    SignalHold& operator=(const SignalHold&) = delete;
    ~SignalHold() {
        const std::lock_guard lock(mutex_);
        if (--holders_ > 0) return;
        for (std::size_t k = 0; k < std::size(kHeldSignals); ++k)
            ::sigaction(kHeldSignals[k], &old_[k], nullptr);
        if (const int signo = gPendingSignal.exchange(0)) ::raise(signo);
    }
    static bool Signalled() { return gPendingSignal.load() != 0; }

  private:
    static inline std::mutex mutex_;
    static inline int holders_ = 0;
    static inline struct sigaction old_[std::size(kHeldSignals)]{};
};

// Exclusive locks on folders, taken in one order so that two runs never wait on each other.
class FolderLocks {
  public:
    FolderLocks() = default;
    FolderLocks(const FolderLocks&) = delete;
    FolderLocks& operator=(const FolderLocks&) = delete;
    ~FolderLocks() {
        for (int fd : fds_) ::close(fd);
    }
    bool Lock(const std::set<std::string>& folders, std::string* error) {
        for (const auto& dir : folders) {
            const int fd = ::open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
            if (fd < 0) return Fail(error, ErrnoText("open folder", errno));
            fds_.push_back(fd);
            while (::flock(fd, LOCK_EX) != 0) {
                if (errno != EINTR) return Fail(error, ErrnoText("lock folder", errno));
                if (SignalHold::Signalled()) return Fail(error, "interrupted");
            }
        }
        return true;
    }

  private:
    std::vector<int> fds_;
};

// A regular file's identity, to find two names of one file (a hard link, a folder that
// ignores case).
std::optional<std::pair<dev_t, ino_t>> FileIdentity(const fs::path& path) {
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) return std::nullopt;
    return std::pair(st.st_dev, st.st_ino);
}

// Whether a and b are one file now: a is held open while b is looked at, so that its number
// cannot pass to another file meanwhile (a parallel run replacing a and making b).
bool StillOneFile(const fs::path& a, const fs::path& b) {
    const int fd = ::open(a.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    struct stat sa {
    }, sb{};
    const bool ok = fd >= 0 ? ::fstat(fd, &sa) == 0 : ::stat(a.c_str(), &sa) == 0;
    const bool same = ok && S_ISREG(sa.st_mode) && ::stat(b.c_str(), &sb) == 0 &&
                      sa.st_dev == sb.st_dev && sa.st_ino == sb.st_ino;
    if (fd >= 0) ::close(fd);
    return same;
}

#else
// The Windows part, to be written with the port: InspectTarget with GetFileAttributesW
// (FILE_ATTRIBUTE_READONLY, FILE_ATTRIBUTE_DIRECTORY), WriteTemporary with
// CreateFileW(CREATE_NEW) then WriteFile and FlushFileBuffers, RenameOver with
// MoveFileExW(MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH), SyncFolder empty (the
// write-through move covers it), RemoveFile with DeleteFileW.
#error "core/fileio: the Windows file calls are not written yet"
#endif

}  // namespace

StagedFile::StagedFile(StagedFile&& other) noexcept
    : target_(std::move(other.target_)),
      temp_(std::exchange(other.temp_, {})),
      sync_(other.sync_) {}

StagedFile& StagedFile::operator=(StagedFile&& other) noexcept {
    if (this != &other) {
        Discard();
        target_ = std::move(other.target_);
        temp_ = std::exchange(other.temp_, {});
        sync_ = other.sync_;
    }
    return *this;
}

bool StagedFile::Stage(const fs::path& path, std::string_view bytes, std::string* error,
                       ReplaceOptions options) {
    Discard();
    sync_ = options.sync;
    target_ = path;
    if (target_.empty()) return Fail(error, "empty file name");
    if (!ResolveLinks(target_, error)) return false;
    fs::path dir = target_.parent_path();
    if (dir.empty()) dir = ".";
    std::error_code ec;
    if (options.createFolders && !fs::exists(dir, ec)) {
        fs::create_directories(dir, ec);
        if (ec) return Fail(error, "create folder: " + ec.message());
    }
    TargetInfo info;
    if (!InspectTarget(target_, info, error)) return false;
    const std::string prefix = "." + target_.filename().string() + ".";
    for (int attempt = 0; attempt < 16; ++attempt) {
        const fs::path temp = dir / (prefix + RandomSuffix() + ".tmp");
        bool nameTaken = false;
        if (WriteTemporary(temp, bytes, info, sync_, error, nameTaken)) {
            temp_ = temp;
            return true;
        }
        if (!nameTaken) return false;
    }
    return Fail(error, "no free temporary name");
}

bool StagedFile::Commit(std::string* error, bool syncFolder) {
    if (temp_.empty()) return Fail(error, "nothing staged");
    if (!RenameOver(temp_, target_, error)) {
        Discard();
        return false;
    }
    temp_.clear();
    if (sync_ && syncFolder) {
        const fs::path dir = target_.parent_path();
        SyncFolder(dir.empty() ? fs::path(".") : dir);
    }
    return true;
}

void StagedFile::Discard() {
    if (temp_.empty()) return;
    RemoveFile(temp_);
    temp_.clear();
}

bool ReplaceFile(const fs::path& path, std::string_view bytes, std::string* error,
                 ReplaceOptions options) {
    try {
        StagedFile staged;
        return staged.Stage(path, bytes, error, options) && staged.Commit(error);
    } catch (const std::exception& e) {
        return Fail(error, e.what());
    }
}

bool WriteAllFiles(const NamedFiles& files, std::vector<std::string>* written, std::string* error) {
    std::vector<FileContent> contents;
    for (const auto& [name, bytes] : files) contents.push_back({name, bytes});
    if (!ReplaceFiles(contents, error)) return false;
    for (const auto& file : files) written->push_back(file.first);
    return true;
}

struct StagedSet::Impl {
    ReplaceOptions options;
    // Declared first, so that it raises a pending signal after the stages are removed.
    SignalHold hold;
    FileNameSet names;
    FileNameSet kept;
    std::vector<StagedFile> staged;
    std::vector<fs::path> paths;
};

StagedSet::StagedSet(ReplaceOptions options) : impl_(std::make_unique<Impl>()) {
    impl_->options = options;
}

StagedSet::~StagedSet() {
    // The stages go before the signal hold (members in reverse order).
    impl_.reset();
}

void StagedSet::Keep(const fs::path& path) {
    impl_->kept.Insert(path);
}

bool StagedSet::Add(const fs::path& path, std::string_view bytes, std::string* error) {
    try {
        const std::string name = "cannot write " + path.string();
        if (SignalHold::Signalled()) return Fail(error, name + ": interrupted");
        if (impl_->kept.Contains(path)) return Fail(error, name + ": the run reads this file");
        if (!impl_->names.Insert(path)) return Fail(error, name + " twice in one set of files");
        StagedFile file;
        std::string why;
        if (!file.Stage(path, bytes, &why, impl_->options)) return Fail(error, name + ": " + why);
        impl_->staged.push_back(std::move(file));
        impl_->paths.push_back(path);
        return true;
    } catch (const std::exception& e) {
        return Fail(error, e.what());
    }
}

bool StagedSet::Commit(std::string* error,
                       const std::function<void(std::size_t, std::size_t)>& progress) {
    try {
        std::set<std::string> dirs;
        for (const auto& file : impl_->staged) {
            const fs::path dir = file.target().parent_path();
            std::error_code ec;
            dirs.insert(fs::weakly_canonical(fs::absolute(dir.empty() ? "." : dir), ec).string());
        }
        FolderLocks locks;
        std::string why;
        const std::string first = impl_->paths.empty() ? "." : impl_->paths[0].string();
        if (!locks.Lock(dirs, &why)) return Fail(error, "cannot write " + first + ": " + why);
        const std::size_t total = impl_->staged.size();
        for (std::size_t k = 0; k < total; ++k) {
            if (!impl_->staged[k].Commit(&why, false))
                return Fail(error, "cannot write " + impl_->paths[k].string() + ": " + why);
            if (progress) progress(k + 1, total);
        }
        // Each folder synced once, after all its renames.
        if (impl_->options.sync)
            for (const auto& dir : dirs) SyncFolder(dir);
        return true;
    } catch (const std::exception& e) {
        return Fail(error, e.what());
    }
}

bool ReplaceFiles(const std::vector<FileContent>& files, std::string* error,
                  ReplaceOptions options) {
    // Every name checked before any is staged.
    FileNameSet names;
    for (const auto& file : files)
        if (!names.Insert(file.path))
            return Fail(error, "cannot write " + file.path.string() + " twice in one set of files");
    StagedSet set(options);
    for (const auto& file : files)
        if (!set.Add(file.path, file.bytes, error)) return false;
    return set.Commit(error);
}

struct FileNameSet::Place {
    std::string key;
    fs::path resolved;
    std::optional<std::pair<dev_t, ino_t>> id;
};

FileNameSet::Place FileNameSet::PlaceOf(const fs::path& path) {
    Place place{{}, path, std::nullopt};
    std::string ignored;
    (void)ResolveLinks(place.resolved, &ignored);
    std::error_code ec;
    const fs::path canonical = fs::weakly_canonical(fs::absolute(place.resolved, ec), ec);
    place.key = (ec ? place.resolved : canonical).lexically_normal().string();
    place.id = FileIdentity(place.resolved);
    return place;
}

bool ReadSmallFile(const fs::path& path, std::size_t limit, std::string& bytes,
                   std::string* error) {
    // Not blocking, so that a pipe without a writer does not hang the open.
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0)
        return Fail(error, path.string() + " ne peut pas \xC3\xAAtre lu : " + std::strerror(errno));
    struct stat st {};
    std::string why;
    if (::fstat(fd, &st) != 0) {
        why = ErrnoText("fstat", errno);
    } else if (!S_ISREG(st.st_mode)) {
        why = S_ISDIR(st.st_mode) ? "c'est un dossier" : "ce n'est pas un fichier ordinaire";
    } else if (static_cast<unsigned long long>(st.st_size) > limit) {
        why = "le fichier d\xC3\xA9passe " + std::to_string(limit / 1024) + " Ko";
    }
    bytes.clear();
    if (why.empty()) {
        // At most one byte more than the limit, whatever the file grows to meanwhile.
        bytes.resize(limit + 1);
        std::size_t got = 0;
        while (got < bytes.size()) {
            const ssize_t n = ::read(fd, bytes.data() + got, bytes.size() - got);
            if (n < 0 && errno == EINTR) continue;
            if (n < 0) why = ErrnoText("lecture", errno);
            if (n <= 0) break;
            got += static_cast<std::size_t>(n);
        }
        bytes.resize(got);
        if (why.empty() && got > limit)
            why = "le fichier d\xC3\xA9passe " + std::to_string(limit / 1024) + " Ko";
    }
    ::close(fd);
    if (why.empty()) return true;
    bytes.clear();
    return Fail(error, path.string() + " : " + why);
}

bool FileNameSet::Holds(const Place& place) const {
    if (paths_.count(place.key)) return true;
    if (!place.id) return false;
    const auto it = files_.find({place.id->first, place.id->second});
    return it != files_.end() && StillOneFile(it->second, place.resolved);
}

bool FileNameSet::Contains(const fs::path& path) const {
    return Holds(PlaceOf(path));
}

bool FileNameSet::Insert(const fs::path& path) {
    const Place place = PlaceOf(path);
    if (Holds(place)) return false;
    paths_.insert(place.key);
    if (place.id) files_.insert_or_assign({place.id->first, place.id->second}, place.resolved);
    return true;
}

bool SameFile(const fs::path& a, const fs::path& b) {
    FileNameSet names;
    names.Insert(a);
    return !names.Insert(b);
}

}  // namespace equat
