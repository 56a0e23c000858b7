// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/fileio.h"

#include <gtest/gtest.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <fstream>
#include <functional>
#include <iostream>
#include <optional>
#include <thread>

#include "../temp_folder_test.h"

namespace equat {
namespace {

namespace fs = std::filesystem;

class FileIoTest : public TempFolderTest {
  protected:
    void TearDown() override {
        if (mounted_) ::umount2(mounted_->c_str(), MNT_DETACH);
        TempFolderTest::TearDown();
    }
    // Every name under dir_, so that a stray temporary file shows.
    std::vector<std::string> Names() const {
        std::vector<std::string> names;
        for (const auto& e : fs::recursive_directory_iterator(dir_))
            names.push_back(fs::relative(e.path(), dir_).string());
        std::sort(names.begin(), names.end());
        return names;
    }
    // A small file system that fills up, where the tests run as root.
    bool MountSmallDisk(const fs::path& where) {
        fs::create_directory(where);
        if (::mount("tmpfs", where.c_str(), "tmpfs", 0, "size=64k") != 0) return false;
        mounted_ = where;
        return true;
    }
    std::optional<fs::path> mounted_;
};

TEST_F(FileIoTest, ReplacesWholeOrLeavesTheOldFile) {
    const std::string old = "old contents";
    const std::string big(256 * 1024, 'x');
    struct Case {
        const char* name;
        std::function<fs::path(const fs::path&)> setUp;  // gives the path to write
        std::string bytes;
        bool ok;
        const char* oldFile;  // stays as it was on failure; receives the bytes on success
    };
    const Case cases[] = {
        {"new file", [](const fs::path& d) { return d / "a.rtf"; }, "new", true, nullptr},
        {"existing file",
         [&](const fs::path& d) {
             Spit(d / "a.rtf", old);
             return d / "a.rtf";
         },
         "new", true, "a.rtf"},
        {"missing folder", [](const fs::path& d) { return d / "missing" / "a.rtf"; }, "new", false,
         nullptr},
        {"folder as target",
         [](const fs::path& d) {
             fs::create_directory(d / "a.rtf");
             return d / "a.rtf";
         },
         "new", false, nullptr},
        {"path through a file",
         [&](const fs::path& d) {
             Spit(d / "plain", old);
             return d / "plain" / "a.rtf";
         },
         "new", false, "plain"},
        {"read-only target",
         [&](const fs::path& d) {
             Spit(d / "a.rtf", old);
             ::chmod((d / "a.rtf").c_str(), 0444);
             return d / "a.rtf";
         },
         "new", false, "a.rtf"},
        {"link to a file",
         [&](const fs::path& d) {
             Spit(d / "real.rtf", old);
             ::chmod((d / "real.rtf").c_str(), 0640);
             fs::create_symlink("real.rtf", d / "a.rtf");
             return d / "a.rtf";
         },
         "new", true, "real.rtf"},
        {"dangling link",
         [](const fs::path& d) {
             fs::create_symlink("made.rtf", d / "a.rtf");
             return d / "a.rtf";
         },
         "new", true, "made.rtf"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const fs::path sub = dir_ / c.name;
        fs::create_directory(sub);
        const fs::path path = c.setUp(sub);
        struct stat before {};
        if (c.oldFile) ::stat((sub / c.oldFile).c_str(), &before);
        std::string error;
        ASSERT_EQ(ReplaceFile(path, c.bytes, &error), c.ok) << error;
        EXPECT_EQ(error.empty(), c.ok) << error;
        if (c.ok) {
            EXPECT_EQ(Slurp(path), c.bytes);
        }
        if (c.oldFile) {
            const fs::path p = sub / c.oldFile;
            EXPECT_EQ(Slurp(p), c.ok ? c.bytes : old);
            struct stat after {};
            ::stat(p.c_str(), &after);
            if (before.st_mode != 0) {
                EXPECT_EQ(after.st_mode & 07777, before.st_mode & 07777);
            }
        }
        // A link stays a link: the file it names was replaced.
        if (c.ok && c.oldFile && path.filename() != c.oldFile) {
            EXPECT_TRUE(fs::is_symlink(fs::symlink_status(path)));
        }
    }
    for (const std::string& name : Names()) EXPECT_EQ(name.find(".tmp"), std::string::npos) << name;
}

TEST_F(FileIoTest, AFullDiskLeavesThePairAsItWas) {
    const fs::path disk = dir_ / "disk";
    if (!MountSmallDisk(disk)) {
        std::cerr << "!! SKIPPED: a full disk needs a small tmpfs, which only root can mount\n";
        GTEST_SKIP() << "cannot mount a tmpfs here";
    }
    const fs::path subject = disk / "f.rtf", key = disk / "f_Cor.rtf";
    Spit(subject, "old subject");
    Spit(key, "old key");
    const std::string fits(8 * 1024, 's'), tooBig(96 * 1024, 'k');
    struct Case {
        const char* name;
        std::string subject, key;
        bool ok;
    } cases[] = {
        {"the key does not fit", fits, tooBig, false},
        {"the subject does not fit", tooBig, fits, false},
        {"both fit", fits, fits + "k", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string oldSubject = Slurp(subject), oldKey = Slurp(key);
        std::string error;
        EXPECT_EQ(ReplaceFiles({{subject, c.subject}, {key, c.key}}, &error), c.ok);
        EXPECT_EQ(Slurp(subject), c.ok ? c.subject : oldSubject);
        EXPECT_EQ(Slurp(key), c.ok ? c.key : oldKey);
        if (!c.ok) {
            EXPECT_NE(error.find("cannot write"), std::string::npos) << error;
        }
        // No temporary file stays to fill the disk further.
        EXPECT_EQ(std::distance(fs::directory_iterator(disk), fs::directory_iterator()), 2);
    }
}

TEST_F(FileIoTest, ConcurrentWritersLeaveOneWholeFile) {
    const fs::path path = dir_ / "shared.rtf";
    constexpr int kWriters = 8, kRounds = 20;
    std::vector<std::thread> writers;
    std::vector<int> failures(kWriters, 0);
    for (int w = 0; w < kWriters; ++w)
        writers.emplace_back([&, w] {
            const std::string bytes(4096 + w * 1000, static_cast<char>('a' + w));
            for (int r = 0; r < kRounds; ++r)
                if (!ReplaceFile(path, bytes, nullptr, {.sync = false})) ++failures[w];
        });
    for (auto& t : writers) t.join();
    for (int w = 0; w < kWriters; ++w) EXPECT_EQ(failures[w], 0) << w;
    const std::string final = Slurp(path);
    ASSERT_FALSE(final.empty());
    const int w = final[0] - 'a';
    EXPECT_EQ(final, std::string(4096 + w * 1000, final[0]));
    EXPECT_EQ(Names(), std::vector<std::string>{"shared.rtf"});
}

TEST_F(FileIoTest, AStageThatFailsTouchesNoFileOfThePair) {
    Spit(dir_ / "f.rtf", "old subject");
    Spit(dir_ / "plain", "x");
    std::string error;
    EXPECT_FALSE(
        ReplaceFiles({{dir_ / "f.rtf", "new"}, {dir_ / "plain" / "k.rtf", "new"}}, &error));
    EXPECT_NE(error.find("plain"), std::string::npos) << error;
    EXPECT_EQ(Slurp(dir_ / "f.rtf"), "old subject");
    EXPECT_EQ(Names(), (std::vector<std::string>{"f.rtf", "plain"}));
}

}  // namespace
}  // namespace equat

namespace equat {
namespace {

TEST_F(FileIoTest, NamesOfOneFileAreToldApartFromTwoFiles) {
    const fs::path d = dir_;
    Spit(d / "a.pdf", "a");
    Spit(d / "b.pdf", "b");
    fs::create_directory(d / "sub");
    fs::create_symlink("c.pdf", d / "dangling.pdf");
    fs::create_symlink("a.pdf", d / "link.pdf");
    fs::create_hard_link(d / "a.pdf", d / "hard.pdf");
    struct Case {
        fs::path first, second;
        bool one;
    } cases[] = {
        {d / "a.pdf", d / "b.pdf", false},       {d / "a.pdf", d / "sub" / ".." / "a.pdf", true},
        {d / "a.pdf", d / "link.pdf", true},     {d / "a.pdf", d / "hard.pdf", true},
        {d / "c.pdf", d / "dangling.pdf", true}, {d / "c.pdf", d / "sub" / "c.pdf", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.second.string());
        EXPECT_EQ(SameFile(c.first, c.second), c.one);
        EXPECT_EQ(SameFile(c.second, c.first), c.one);
    }
    // A file the run reads is never staged over, whatever its name.
    StagedSet set;
    set.Keep(d / "link.pdf");
    std::string error;
    EXPECT_FALSE(set.Add(d / "hard.pdf", "x", &error));
    EXPECT_NE(error.find("reads"), std::string::npos) << error;
    EXPECT_EQ(Slurp(d / "a.pdf"), "a");
}

// Parallel runs replace files while a set is named: a number freed by one file and taken by
// another is never taken for one file under two names.
TEST_F(FileIoTest, ParallelReplacementsNeverMakeTwoNamesOneFile) {
    std::atomic<bool> stop{false};
    std::thread writer([&] {
        for (int r = 0; !stop; ++r)
            ReplaceFiles({{dir_ / "w.rtf", std::to_string(r)}, {dir_ / "w.log", "log"}}, nullptr,
                         {.sync = false});
    });
    int falseTwins = 0;
    for (int k = 0; k < 2000; ++k) {
        FileNameSet names;
        names.Insert(dir_ / "w.rtf");
        if (!names.Insert(dir_ / "w.log")) ++falseTwins;
    }
    stop = true;
    writer.join();
    EXPECT_EQ(falseTwins, 0);
}

}  // namespace
}  // namespace equat
