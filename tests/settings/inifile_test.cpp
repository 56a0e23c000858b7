// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings/inifile.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <fstream>
#include <optional>
#include <string>
#include <vector>

#include "../temp_folder_test.h"

namespace equat {
namespace {

namespace fs = std::filesystem;

std::optional<std::string> Read(std::string_view text, std::string_view section,
                                std::string_view key) {
    return IniDocument::Parse(text).Find(section, key);
}

TEST(IniDocument, ReadsLikeThePrivateProfileReader) {
    const std::string longValue(3000, 'v');
    struct Case {
        const char* name;
        std::string text, section, key;
        std::optional<std::string> expected;
    } cases[] = {
        {"plain", "[S]\r\nk=v\r\n", "S", "k", "v"},
        {"section and key ignore case", "[TForm1]\r\nFormVersion=0\r\n", "tform1", "FORMVERSION",
         "0"},
        {"accented names ignore case", "[Param\xE8tres]\r\n\xC9t\xE9=1\r\n", "PARAM\xC8TRES",
         "\xE9T\xC9", "1"},
        {"double quotes removed", "[S]\r\nk=\"a b\"\r\n", "S", "k", "a b"},
        {"single quotes removed", "[S]\r\nk='a b'\r\n", "S", "k", "a b"},
        {"only one pair removed", "[S]\r\nk=\"\"a\"\"\r\n", "S", "k", "\"a\""},
        {"mismatched quotes kept", "[S]\r\nk=\"a'\r\n", "S", "k", "\"a'"},
        {"unterminated quote kept", "[S]\r\nk=\"abc\r\n", "S", "k", "\"abc"},
        {"lone quote kept", "[S]\r\nk=\"\r\n", "S", "k", "\""},
        {"blanks around key and value", "[ S ]\r\n  k \t=  v w \r\n", "S", "k", "v w"},
        {"quotes keep inner blanks", "[S]\r\nk= \" v \" \r\n", "S", "k", " v "},
        {"empty value", "[S]\r\nk=\r\n", "S", "k", ""},
        {"equals in value", "[S]\r\nk=a=b\r\n", "S", "k", "a=b"},
        {"missing key", "[S]\r\nk=v\r\n", "S", "x", std::nullopt},
        {"missing section", "[S]\r\nk=v\r\n", "T", "k", std::nullopt},
        {"key of another section", "[S]\r\n[T]\r\nk=v\r\n", "S", "k", std::nullopt},
        {"entry before any section", "k=v\r\n[S]\r\n", "S", "k", std::nullopt},
        {"line without equals is no key", "[S]\r\nk\r\n", "S", "k", std::nullopt},
        {"first of two entries", "[S]\r\nk=1\r\nK=2\r\n", "S", "k", "1"},
        {"second section of the same name", "[S]\r\na=1\r\n[T]\r\n[s]\r\nk=2\r\n", "S", "k", "2"},
        {"LF lines, no final line end", "[S]\nk=v", "S", "k", "v"},
        {"unterminated header", "[S\r\nk=v\r\n", "S", "k", "v"},
        {"text after header", "[S] ; note\r\nk=v\r\n", "S", "k", "v"},
        {"long value cut", "[S]\r\nk=" + longValue + "\r\n", "S", "k", longValue.substr(0, 2047)},
        {"NUL bytes kept", std::string("[S]\r\nk=a\0b\r\n", 11), "S", "k", std::string("a\0b", 3)},
    };
    for (const auto& c : cases) EXPECT_EQ(Read(c.text, c.section, c.key), c.expected) << c.name;
}

TEST(IniDocument, WritesTouchOnlyTheirLine) {
    struct Op {
        enum { kWrite, kErase } what;
        const char* section;
        const char* key;
        const char* value;
    };
    struct Case {
        const char* name;
        std::string before;
        std::vector<Op> ops;
        std::string after;
    } cases[] = {
        {"new file",
         "",
         {{Op::kWrite, "TForm1", "FormVersion", "0"}},
         "[TForm1]\r\nFormVersion=0\r\n"},
        {"replace in place, other lines byte for byte",
         "; mine\n[s]\r\n Key = old \r\nother=1\n\n[T]\r\nx=y",
         {{Op::kWrite, "S", "key", "new"}},
         "; mine\n[s]\r\n Key =new\r\nother=1\n\n[T]\r\nx=y"},
        {"new key after the section's last entry, before blank lines",
         "[A]\r\na=1\r\n\r\n[B]\r\nb=2\r\n",
         {{Op::kWrite, "a", "c", "3"}},
         "[A]\r\na=1\r\nc=3\r\n\r\n[B]\r\nb=2\r\n"},
        {"new key in a section lacking a final line end",
         "[A]\na=1",
         {{Op::kWrite, "A", "b", "2"}},
         "[A]\na=1\r\nb=2\r\n"},
        {"new section at the end",
         "[A]\r\na=1",
         {{Op::kWrite, "B", "b", "2"}},
         "[A]\r\na=1\r\n\r\n[B]\r\nb=2\r\n"},
        {"erase every section of the name, header included",
         "[L]\r\nCount=1\r\n[A]\r\na=1\r\n\r\n[l]\r\nItem0=x\r\n",
         {{Op::kErase, "L", "", ""}},
         "[A]\r\na=1\r\n\r\n"},
        {"erase then rewrite keeps a stable layout",
         "[A]\r\na=1\r\n\r\n[L]\r\nCount=1\r\nItem0=x\r\n",
         {{Op::kErase, "L", "", ""},
          {Op::kWrite, "L", "Count", "1"},
          {Op::kWrite, "L", "Item0", "y"}},
         "[A]\r\na=1\r\n\r\n[L]\r\nCount=1\r\nItem0=y\r\n"},
        {"a rewritten line that now looks like a header stays a value",
         "[A]\r\na=1\r\n",
         {{Op::kWrite, "A", "a", "[B]"}, {Op::kWrite, "B", "a", "2"}},
         "[A]\r\na=[B]\r\n\r\n[B]\r\na=2\r\n"},
    };
    for (const auto& c : cases) {
        IniDocument doc = IniDocument::Parse(c.before);
        for (const Op& op : c.ops) {
            if (op.what == Op::kWrite)
                EXPECT_TRUE(doc.WriteString(op.section, op.key, op.value)) << c.name;
            else
                EXPECT_TRUE(doc.EraseSection(op.section)) << c.name;
        }
        EXPECT_EQ(doc.Text(), c.after) << c.name;
    }
}

TEST(IniDocument, RefusesWritesThatWouldBreakLines) {
    const std::string before = "[A]\r\na=1\r\n";
    struct Case {
        const char *section, *key, *value;
    } cases[] = {
        {"A", "a", "x\r\n[B]"}, {"A", "a", "x\ny"}, {"A", "a\n", "1"},
        {"A\r", "a", "1"},      {"A", "a=b", "1"},  {"A", "[a", "1"},
        {"A]", "a", "1"},       {"A", "", "1"},     {"", "a", "1"},
    };
    for (const auto& c : cases) {
        IniDocument doc = IniDocument::Parse(before);
        EXPECT_FALSE(doc.WriteString(c.section, c.key, c.value)) << c.section << "/" << c.key;
        EXPECT_EQ(doc.Text(), before);
    }
    IniDocument doc = IniDocument::Parse(before);
    EXPECT_FALSE(doc.EraseSection("B"));
    EXPECT_EQ(doc.Text(), before);
}

TEST(IniDocument, QuotedValuesComeBackUnchanged) {
    const char* values[] = {"",       "plain",   "\"a\"",   "'a'",    "\"",
                            "'",      "\"\"",    "''",      "\"a'",   " lead",
                            "trail ", "\" x \"", "\t\"q\"", "a\"b\"", "\"\"\"\""};
    for (const char* v : values) {
        IniDocument doc;
        ASSERT_TRUE(doc.WriteString("S", "k", QuoteIniValue(v)));
        EXPECT_EQ(IniDocument::Parse(doc.Text()).Find("S", "k"), std::string(v)) << v;
    }
    EXPECT_EQ(QuoteIniValue("plain"), "plain");
    EXPECT_EQ(QuoteIniValue("\"a\""), "\"\"a\"\"");
}

TEST(IniDocument, HostileInputsParseInLinearTime) {
    // A 100 MB line, with and without a key in front of it.
    std::string huge(100u * 1024 * 1024, 'x');
    EXPECT_FALSE(IniDocument::Parse(huge).Find("S", "k"));
    huge.replace(0, 6, "[S]\nk=");
    EXPECT_EQ(IniDocument::Parse(huge).Find("S", "k")->size(), kIniMaxValueLength);
    huge = std::string();

    // 100,000 sections, the wanted one last.
    std::string many;
    for (int i = 0; i < 100000; ++i) many += "[s" + std::to_string(i) + "]\r\nk=" + "v\r\n";
    many += "[TForm1]\r\nk=found\r\n";
    IniDocument doc = IniDocument::Parse(many);
    EXPECT_EQ(doc.Find("TForm1", "k"), "found");
    ASSERT_TRUE(doc.WriteString("TForm1", "k2", "w"));
    EXPECT_EQ(doc.Text(), many + "k2=w\r\n");

    // Every byte value, and brackets and quotes left open.
    std::string binary;
    for (int round = 0; round < 4; ++round)
        for (int b = 0; b < 256; ++b) binary += static_cast<char>((b * 7 + round) & 0xFF);
    binary += "\r\n[TForm1\r\n\"k=\"\r\n[\r\n=\r\n'";
    doc = IniDocument::Parse(binary);
    EXPECT_EQ(doc.Text(), binary);
    EXPECT_FALSE(doc.Find("TForm1", "k"));
}

class IniFileTest : public TempFolderTest {
  protected:
    std::vector<std::string> Names() const {
        std::vector<std::string> names;
        for (const auto& e : fs::directory_iterator(dir_)) names.push_back(e.path().filename());
        std::sort(names.begin(), names.end());
        return names;
    }
};

TEST_F(IniFileTest, PrivateProfileCallsReachTheDisk) {
    const IniFile ini(dir_ / "equat.ini");
    EXPECT_EQ(ini.ReadString("TForm1", "Flags", "dflt"), "dflt");
    IniDocument doc;
    EXPECT_TRUE(ini.Load(doc));
    EXPECT_TRUE(doc.Empty());

    ASSERT_TRUE(ini.WriteString("TForm1", "Flags", "0"));
    ASSERT_TRUE(ini.WriteString("TForm1.Combo1_Items", "Count", "1"));
    ASSERT_TRUE(ini.WriteString("tform1", "ShowCmd", "1"));
    EXPECT_EQ(Slurp(ini.path()),
              "[TForm1]\r\nFlags=0\r\nShowCmd=1\r\n\r\n[TForm1.Combo1_Items]\r\nCount=1\r\n");
    EXPECT_EQ(ini.ReadString("TFORM1", "showcmd", ""), "1");
    ASSERT_TRUE(ini.EraseSection("TForm1.Combo1_Items"));
    EXPECT_EQ(Slurp(ini.path()), "[TForm1]\r\nFlags=0\r\nShowCmd=1\r\n\r\n");
    EXPECT_EQ(Names(), std::vector<std::string>{"equat.ini"});
}

TEST_F(IniFileTest, SaveKeepsModeAndFollowsLinks) {
    const fs::path real = dir_ / "real.ini";
    Spit(real, "[A]\r\na=1\r\n");
    ::chmod(real.c_str(), 0640);
    fs::create_symlink("real.ini", dir_ / "link.ini");
    ASSERT_TRUE(IniFile(dir_ / "link.ini").WriteString("A", "a", "2"));
    EXPECT_TRUE(fs::is_symlink(dir_ / "link.ini"));
    EXPECT_EQ(Slurp(real), "[A]\r\na=2\r\n");
    struct stat st {};
    ASSERT_EQ(::stat(real.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0640u);

    // Missing folders are made, as for a first save under the user's configuration folder.
    const IniFile nested(dir_ / "config" / "equat" / "equat.ini");
    ASSERT_TRUE(nested.WriteString("A", "a", "1"));
    EXPECT_EQ(Slurp(nested.path()), "[A]\r\na=1\r\n");
}

TEST_F(IniFileTest, AFileBesideAReadOnlyProgramIsReadUntilTheOwnFileExists) {
    const fs::path beside = dir_ / "equat.ini", own = dir_ / "config" / "equat.ini";
    Spit(beside, "[TForm1]\r\nspMaxLigne_Value=12\r\n[Autre]\r\nk=v\r\n");
    const IniFile ini(own, beside);
    EXPECT_EQ(ini.ReadString("TForm1", "spMaxLigne_Value", ""), "12");
    // The first write carries the entries over; the file beside stays as it was.
    ASSERT_TRUE(ini.WriteString("TForm1", "spMaxLigne_Value", "30"));
    EXPECT_EQ(Slurp(own), "[TForm1]\r\nspMaxLigne_Value=30\r\n[Autre]\r\nk=v\r\n");
    EXPECT_EQ(ini.ReadString("TForm1", "spMaxLigne_Value", ""), "30");
    EXPECT_EQ(IniFile(beside).ReadString("TForm1", "spMaxLigne_Value", ""), "12");
}

TEST_F(IniFileTest, FailedWritesLeaveTheOldFileAndNoTemporary) {
    const std::string original = "[A]\r\na=1\r\n";
    const fs::path readOnly = dir_ / "ro.ini";
    Spit(readOnly, original);
    ::chmod(readOnly.c_str(), 0444);
    const fs::path blocker = dir_ / "blocker";
    Spit(blocker, "");
    fs::create_directory(dir_ / "folder.ini");
    const fs::path tooLarge = dir_ / "large.ini";
    Spit(tooLarge, "[A]\r\na=1\r\n");
    fs::resize_file(tooLarge, kIniMaxFileSize + 1);  // sparse, costs no disk

    ASSERT_EQ(::mkfifo((dir_ / "fifo.ini").c_str(), 0644), 0);
    fs::create_symlink("/dev/zero", dir_ / "zero.ini");
    const auto before = Names();

    const fs::path targets[] = {readOnly, blocker / "x.ini", dir_ / "folder.ini",
                                tooLarge, dir_ / "fifo.ini", dir_ / "zero.ini"};
    for (const fs::path& target : targets) {
        const IniStatus status = IniFile(target).WriteString("A", "a", "2");
        EXPECT_FALSE(status) << target;
        EXPECT_FALSE(status.detail.empty()) << target;
    }
    EXPECT_EQ(Slurp(readOnly), original);
    EXPECT_EQ(fs::file_size(tooLarge), kIniMaxFileSize + 1);
    EXPECT_EQ(Names(), before);
    // An unreadable file reads as missing.
    EXPECT_EQ(IniFile(tooLarge).ReadString("A", "a", "d"), "d");
    EXPECT_EQ(IniFile(dir_ / "fifo.ini").ReadString("A", "a", "d"), "d");
    EXPECT_EQ(IniFile(dir_ / "zero.ini").ReadString("A", "a", "d"), "d");
}

TEST_F(IniFileTest, FullDiskLeavesTheOldFile) {
    const fs::path path = dir_ / "equat.ini";
    const std::string original = "[TForm1]\r\nFormVersion=0\r\n";
    Spit(path, original);
    IniDocument doc = IniDocument::Parse(original);
    ASSERT_TRUE(doc.WriteString("TForm1", "eTitre1_Text", std::string(64 * 1024, 't')));

    // A file size limit makes the write fail the way a full disk does.
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        ::signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{4096, 4096};
        ::setrlimit(RLIMIT_FSIZE, &limit);
        _exit(IniFile(path).Save(doc) ? 1 : 0);
    }
    int wstatus = 0;
    ASSERT_EQ(::waitpid(child, &wstatus, 0), child);
    ASSERT_TRUE(WIFEXITED(wstatus));
    EXPECT_EQ(WEXITSTATUS(wstatus), 0) << "the save should have failed";
    EXPECT_EQ(Slurp(path), original);
    EXPECT_EQ(Names(), std::vector<std::string>{"equat.ini"});
}

TEST(IniPaths, BesideTheExecutableOrInTheConfigFolder) {
    struct Case {
        const char* exe;
        bool writable;
        const char* config;
        const char* expected;
    } cases[] = {
        {"/opt/equat/equat", true, "/home/t/.config/Equat", "/opt/equat/equat.ini"},
        {"/opt/equat/Equat.exe", true, "", "/opt/equat/Equat.ini"},
        {"/opt/v1.2/equat", true, "", "/opt/v1.2/equat.ini"},
        {"/usr/bin/equat", false, "/home/t/.config/Equat", "/home/t/.config/Equat/equat.ini"},
        {"/usr/bin/equat", false, "", "/usr/bin/equat.ini"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ChooseIniPath(c.exe, c.writable, c.config), fs::path(c.expected)) << c.exe;
    EXPECT_EQ(IniWriteErrorMessage("/opt/equat/equat.ini"),
              "Impossible d'\xC3\xA9"
              "crire dans /opt/equat/equat.ini.");
}

}  // namespace
}  // namespace equat
