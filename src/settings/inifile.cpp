// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings/inifile.h"

#include <new>

#include "core/fileio.h"

namespace equat {

namespace fs = std::filesystem;

namespace {

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\v' || c == '\f' || c == '\r';
}

std::string_view Trim(std::string_view s) {
    while (!s.empty() && IsBlank(s.front())) s.remove_prefix(1);
    while (!s.empty() && IsBlank(s.back())) s.remove_suffix(1);
    return s;
}

bool IsBlankLine(std::string_view s) {
    return Trim(s).empty();
}

unsigned char FoldCase(unsigned char c) {
    if (c >= 'A' && c <= 'Z') return static_cast<unsigned char>(c + 0x20);
    if (c >= 0xC0 && c <= 0xDE && c != 0xD7) return static_cast<unsigned char>(c + 0x20);
    switch (c) {
        case 0x8A:  // S caron
        case 0x8C:  // OE
        case 0x8E:  // Z caron
            return static_cast<unsigned char>(c + 0x10);
        case 0x9F:  // Y diaeresis
            return 0xFF;
        default:
            return c;
    }
}

bool HasLineEnd(std::string_view s) {
    return s.find_first_of("\r\n") != std::string_view::npos;
}

}  // namespace

bool IniNamesEqual(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (FoldCase(static_cast<unsigned char>(a[i])) !=
            FoldCase(static_cast<unsigned char>(b[i])))
            return false;
    return true;
}

IniDocument::Line IniDocument::MakeLine(std::string text, End end) {
    Line line;
    line.text = std::move(text);
    line.end = end;
    const std::string_view t = line.text;
    std::size_t start = 0;
    while (start < t.size() && IsBlank(t[start])) ++start;
    if (start < t.size() && t[start] == '[') {
        const std::size_t close = t.find(']', start + 1);
        const std::string_view inner =
            t.substr(start + 1, (close == std::string_view::npos ? t.size() : close) - start - 1);
        const std::string_view name = Trim(inner);
        line.kind = Kind::kSection;
        line.nameBegin = static_cast<std::size_t>(name.data() - t.data());
        line.nameEnd = line.nameBegin + name.size();
        return line;
    }
    const std::size_t eq = t.find('=', start);
    if (eq == std::string_view::npos) return line;
    const std::string_view key = Trim(t.substr(start, eq - start));
    if (key.empty()) return line;
    line.kind = Kind::kEntry;
    line.nameBegin = static_cast<std::size_t>(key.data() - t.data());
    line.nameEnd = line.nameBegin + key.size();
    line.valueBegin = eq + 1;
    return line;
}

IniDocument IniDocument::Parse(std::string_view bytes) {
    IniDocument doc;
    std::size_t pos = 0;
    while (pos < bytes.size()) {
        const std::size_t lf = bytes.find('\n', pos);
        if (lf == std::string_view::npos) {
            doc.lines_.push_back(MakeLine(std::string(bytes.substr(pos)), End::kNone));
            break;
        }
        std::size_t stop = lf;
        End end = End::kLf;
        if (stop > pos && bytes[stop - 1] == '\r') {
            --stop;
            end = End::kCrLf;
        }
        doc.lines_.push_back(MakeLine(std::string(bytes.substr(pos, stop - pos)), end));
        pos = lf + 1;
    }
    return doc;
}

std::string IniDocument::ValueOf(const Line& line) {
    std::string_view v = Trim(std::string_view(line.text).substr(line.valueBegin));
    if (v.size() >= 2 && v.front() == v.back() && (v.front() == '"' || v.front() == '\'')) {
        v.remove_prefix(1);
        v.remove_suffix(1);
    }
    return std::string(v.substr(0, kIniMaxValueLength));
}

std::size_t IniDocument::FindEntry(std::string_view section, std::string_view key) const {
    section = Trim(section);
    key = Trim(key);
    bool inSection = false;
    for (std::size_t i = 0; i < lines_.size(); ++i) {
        const Line& line = lines_[i];
        if (line.kind == Kind::kSection)
            inSection = IniNamesEqual(line.Name(), section);
        else if (inSection && line.kind == Kind::kEntry && IniNamesEqual(line.Name(), key))
            return i;
    }
    return std::string::npos;
}

std::size_t IniDocument::SectionInsertPoint(std::string_view section) const {
    section = Trim(section);
    std::size_t i = 0;
    while (i < lines_.size() &&
           !(lines_[i].kind == Kind::kSection && IniNamesEqual(lines_[i].Name(), section)))
        ++i;
    if (i == lines_.size()) return std::string::npos;
    std::size_t after = ++i;
    for (; i < lines_.size() && lines_[i].kind != Kind::kSection; ++i)
        if (!IsBlankLine(lines_[i].text)) after = i + 1;
    return after;
}

std::optional<std::string> IniDocument::Find(std::string_view section, std::string_view key) const {
    const std::size_t i = FindEntry(section, key);
    if (i == std::string::npos) return std::nullopt;
    return ValueOf(lines_[i]);
}

std::vector<std::pair<std::string, std::string>> IniDocument::Entries(
    std::string_view section) const {
    section = Trim(section);
    std::vector<std::pair<std::string, std::string>> out;
    bool inSection = false;
    for (const Line& line : lines_) {
        if (line.kind == Kind::kSection)
            inSection = IniNamesEqual(line.Name(), section);
        else if (inSection && line.kind == Kind::kEntry)
            out.emplace_back(std::string(line.Name()), ValueOf(line));
    }
    return out;
}

bool IniDocument::HasSection(std::string_view section) const {
    section = Trim(section);
    for (const Line& line : lines_)
        if (line.kind == Kind::kSection && IniNamesEqual(line.Name(), section)) return true;
    return false;
}

bool IniDocument::WriteString(std::string_view section, std::string_view key,
                              std::string_view value) {
    if (HasLineEnd(section) || HasLineEnd(key) || HasLineEnd(value)) return false;
    section = Trim(section);
    key = Trim(key);
    if (section.empty() || key.empty() || section.find(']') != std::string_view::npos ||
        key.find('=') != std::string_view::npos || key.front() == '[')
        return false;

    const std::size_t found = FindEntry(section, key);
    if (found != std::string::npos) {
        Line& line = lines_[found];
        std::string text = line.text.substr(0, line.valueBegin);
        text += value;
        line = MakeLine(std::move(text), line.end);
        return true;
    }

    std::string entry(key);
    entry += '=';
    entry += value;
    const std::size_t at = SectionInsertPoint(section);
    if (at != std::string::npos) {
        if (lines_[at - 1].end == End::kNone) lines_[at - 1].end = End::kCrLf;
        lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(at),
                      MakeLine(std::move(entry), End::kCrLf));
        return true;
    }

    if (!lines_.empty()) {
        if (lines_.back().end == End::kNone) lines_.back().end = End::kCrLf;
        if (!IsBlankLine(lines_.back().text)) lines_.push_back(MakeLine({}, End::kCrLf));
    }
    std::string header = "[";
    header += section;
    header += ']';
    lines_.push_back(MakeLine(std::move(header), End::kCrLf));
    lines_.push_back(MakeLine(std::move(entry), End::kCrLf));
    return true;
}

bool IniDocument::EraseSection(std::string_view section) {
    section = Trim(section);
    std::vector<Line> kept;
    kept.reserve(lines_.size());
    bool erasing = false, erased = false;
    for (Line& line : lines_) {
        if (line.kind == Kind::kSection) {
            erasing = IniNamesEqual(line.Name(), section);
            erased |= erasing;
        }
        if (!erasing) kept.push_back(std::move(line));
    }
    lines_ = std::move(kept);
    return erased;
}

bool IniDocument::EraseKey(std::string_view section, std::string_view key) {
    bool erased = false;
    for (std::size_t i = FindEntry(section, key); i != std::string::npos;
         i = FindEntry(section, key)) {
        lines_.erase(lines_.begin() + static_cast<std::ptrdiff_t>(i));
        erased = true;
    }
    return erased;
}

std::string IniDocument::Text() const {
    std::size_t size = 0;
    for (const Line& line : lines_) size += line.text.size() + 2;
    std::string out;
    out.reserve(size);
    for (const Line& line : lines_) {
        out += line.text;
        if (line.end == End::kCrLf) out += "\r\n";
        if (line.end == End::kLf) out += '\n';
    }
    return out;
}

std::string QuoteIniValue(std::string_view value) {
    const bool quoted = value.size() >= 1 && value.front() == value.back() &&
                        (value.front() == '"' || value.front() == '\'');
    const bool blankEdged = !value.empty() && (IsBlank(value.front()) || IsBlank(value.back()));
    if (!quoted && !blankEdged) return std::string(value);
    std::string out = "\"";
    out += value;
    out += '"';
    return out;
}

IniStatus IniFile::Load(IniDocument& out) const {
    out = IniDocument();
    try {
        std::error_code ec;
        fs::path path = path_;
        if (!fs::exists(fs::status(path, ec)) && !readFallback_.empty()) path = readFallback_;
        if (!fs::exists(fs::status(path, ec))) return {};
        std::string bytes, why;
        if (!ReadSmallFile(path, kIniMaxFileSize, bytes, &why)) return IniStatus::Failure(why);
        out = IniDocument::Parse(bytes);
        return {};
    } catch (const std::bad_alloc&) {
        out = IniDocument();
        return IniStatus::Failure("out of memory");
    } catch (const std::exception& e) {
        out = IniDocument();
        return IniStatus::Failure(e.what());
    }
}

IniStatus IniFile::Save(const IniDocument& doc) const {
    try {
        std::string why;
        if (!ReplaceFile(path_, doc.Text(), &why, {.sync = true, .createFolders = true}))
            return IniStatus::Failure(why);
        return {};
    } catch (const std::bad_alloc&) {
        return IniStatus::Failure("out of memory");
    } catch (const std::exception& e) {
        return IniStatus::Failure(e.what());
    }
}

std::string IniFile::ReadString(std::string_view section, std::string_view key,
                                std::string_view defaultValue) const {
    IniDocument doc;
    (void)Load(doc);
    return doc.ReadString(section, key, defaultValue);
}

IniStatus IniFile::WriteString(std::string_view section, std::string_view key,
                               std::string_view value) const {
    IniDocument doc;
    IniStatus status = Load(doc);
    if (!status) return status;
    if (!doc.WriteString(section, key, value))
        return IniStatus::Failure("invalid section, key or value");
    return Save(doc);
}

IniStatus IniFile::EraseSection(std::string_view section) const {
    IniDocument doc;
    IniStatus status = Load(doc);
    if (!status) return status;
    if (!doc.EraseSection(section)) return {};
    return Save(doc);
}

std::string IniWriteErrorMessage(const fs::path& path) {
    return "Impossible d'\xC3\xA9"
           "crire dans " +
           path.string() + ".";
}

fs::path IniPathBesideExecutable(const fs::path& executable) {
    fs::path p = executable;
    p.replace_extension(".ini");
    return p;
}

fs::path ChooseIniPath(const fs::path& executable, bool executableFolderWritable,
                       const fs::path& userConfigDir) {
    fs::path beside = IniPathBesideExecutable(executable);
    if (executableFolderWritable || userConfigDir.empty()) return beside;
    return userConfigDir / beside.filename();
}

}  // namespace equat
