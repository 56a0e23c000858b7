// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace equat {

// Longest value a read gives back; longer values are cut.
inline constexpr std::size_t kIniMaxValueLength = 2047;
// Files above this size are refused rather than read: the window's settings take a few
// kilobytes, and a file of millions of lines would hold the window for minutes.
inline constexpr std::uintmax_t kIniMaxFileSize = 1024 * 1024;

// Case-insensitive comparison of Windows-1252 names (ASCII and the accented letters).
bool IniNamesEqual(std::string_view a, std::string_view b);

// The text of an INI file, line by line, with the private-profile rules for reading and
// writing. Texts are Windows-1252 bytes. Lines that no write touches are written back
// byte for byte, their line ends included; new lines end with CR LF.
class IniDocument {
  public:
    IniDocument() = default;
    static IniDocument Parse(std::string_view bytes);

    // The value as stored in the file: blanks around it trimmed, one pair of enclosing
    // double or single quotes removed, cut to kIniMaxValueLength. nullopt when the key
    // (or its section) is missing. The first matching entry wins.
    std::optional<std::string> Find(std::string_view section, std::string_view key) const;
    std::string ReadString(std::string_view section, std::string_view key,
                           std::string_view defaultValue) const {
        auto v = Find(section, key);
        return v ? std::move(*v) : std::string(defaultValue);
    }

    // Every entry of a section, in file order, values read as Find reads them.
    std::vector<std::pair<std::string, std::string>> Entries(std::string_view section) const;

    bool HasSection(std::string_view section) const;

    // Writes key=value: in place when the key exists, else at the end of its section,
    // else in a new section at the end of the text. The value is written as given (the
    // caller quotes it when needed). Returns false, changing nothing, for names or values
    // that would break the line structure: a line end in any of them, an empty name, "="
    // in a key or a key starting with "[", "]" in a section name.
    bool WriteString(std::string_view section, std::string_view key, std::string_view value);

    // Removes every section of that name, headers included. Returns whether one was there.
    bool EraseSection(std::string_view section);
    // Removes every entry of that key in that section. Returns whether one was there.
    bool EraseKey(std::string_view section, std::string_view key);

    std::string Text() const;
    bool Empty() const { return lines_.empty(); }

  private:
    enum class Kind { kOther, kSection, kEntry };
    enum class End { kNone, kLf, kCrLf };
    struct Line {
        std::string text;  // without its line end
        End end = End::kCrLf;
        Kind kind = Kind::kOther;
        std::size_t nameBegin = 0, nameEnd = 0;  // trimmed section name or key
        std::size_t valueBegin = 0;              // after "=" for entries
        std::string_view Name() const {
            return std::string_view(text).substr(nameBegin, nameEnd - nameBegin);
        }
    };
    static Line MakeLine(std::string text, End end);
    static std::string ValueOf(const Line& line);
    // Index of the first entry of `key` in a section named `section`, or npos.
    std::size_t FindEntry(std::string_view section, std::string_view key) const;
    // Index after the last non-blank line of the first section named `section`, or npos.
    std::size_t SectionInsertPoint(std::string_view section) const;

    std::vector<Line> lines_;
};

// Quotes a string value when the reader's trimming or quote removal would change it:
// a value that begins and ends with the same quote character, or that begins or ends
// with a blank, is enclosed in one more pair of double quotes.
std::string QuoteIniValue(std::string_view value);

// Outcome of a file operation: ok, or what went wrong (for logs; the window shows
// IniWriteErrorMessage).
struct IniStatus {
    bool ok = true;
    std::string detail;
    explicit operator bool() const { return ok; }
    static IniStatus Failure(std::string detail) { return {false, std::move(detail)}; }
};

// An INI file on disk. File errors come back as an IniStatus, never as exceptions.
class IniFile {
  public:
    explicit IniFile(std::filesystem::path path, std::filesystem::path readFallback = {})
        : path_(std::move(path)), readFallback_(std::move(readFallback)) {}
    const std::filesystem::path& path() const { return path_; }
    // Read while path does not exist (a file beside the program in a folder that cannot be
    // written): the first write then carries its entries over to path.
    const std::filesystem::path& readFallback() const { return readFallback_; }

    // A missing file loads as an empty document with an ok status. A file that exists
    // but cannot be read (or is a folder, a device, a pipe, or is too large) gives an empty
    // document and a failure, so that a save never replaces a file it could not read. The
    // read is bounded and never waits (see ReadSmallFile).
    IniStatus Load(IniDocument& out) const;

    // Replaces the file by the document atomically: a temporary file in the same folder
    // is written, flushed to disk and renamed over the file. On any failure the old file
    // is left as it was and the temporary file removed (see ReplaceFile). A file without
    // any write permission bit counts as read-only and is not replaced. Missing parent
    // folders are created. A symbolic link is followed, so the link stays.
    IniStatus Save(const IniDocument& doc) const;

    // Private-profile calls, one file access each.
    std::string ReadString(std::string_view section, std::string_view key,
                           std::string_view defaultValue) const;
    IniStatus WriteString(std::string_view section, std::string_view key,
                          std::string_view value) const;
    IniStatus EraseSection(std::string_view section) const;

  private:
    std::filesystem::path path_;
    std::filesystem::path readFallback_;
};

// "Impossible d'écrire dans <path>." in UTF-8, for the error box.
std::string IniWriteErrorMessage(const std::filesystem::path& path);

// The executable's path with its extension replaced by ".ini" (appended when it has none).
std::filesystem::path IniPathBesideExecutable(const std::filesystem::path& executable);

// Where the settings live: beside the executable when its folder can be written, else
// the same file name in the user's configuration folder.
std::filesystem::path ChooseIniPath(const std::filesystem::path& executable,
                                    bool executableFolderWritable,
                                    const std::filesystem::path& userConfigDir);

}  // namespace equat
