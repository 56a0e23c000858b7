// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings/settingsmodel.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cstdint>
#include <unordered_map>

namespace equat {

namespace {

std::string IntText(int v) {
    return std::to_string(v);
}
std::string_view BoolText(bool b) {
    return b ? "True" : "False";
}

std::string ScreenSuffix(const ScreenMetrics& s) {
    return "(" + IntText(s.width) + "x" + IntText(s.height) + ")";
}

std::string FourInts(int a, int b, int c, int d) {
    return IntText(a) + "," + IntText(b) + "," + IntText(c) + "," + IntText(d);
}

// A text as the file may hold it: trimmed, and on one line, since an entry is one line.
std::string TextForFile(std::string_view text) {
    std::string s(TrimText(text));
    std::replace_if(
        s.begin(), s.end(), [](char c) { return c == '\r' || c == '\n'; }, ' ');
    return s;
}

std::string ItemForFile(std::string item) {
    std::replace_if(
        item.begin(), item.end(), [](char c) { return c == '\r' || c == '\n'; }, ' ');
    return item;
}

int ReadInt(const IniDocument& ini, std::string_view key, int defaultValue) {
    const auto text = ini.Find(kFormSection, key);
    if (!text) return defaultValue;
    return ParseIniInt(*text, true).value_or(defaultValue);
}

// The suffixed key first, the plain key when that gives nothing.
std::string ReadScreenValue(const IniDocument& ini, std::string_view key,
                            const ScreenMetrics& screen) {
    std::string value = ini.ReadString(kFormSection, std::string(key) + ScreenSuffix(screen), "");
    if (value.empty()) value = ini.ReadString(kFormSection, key, "");
    return value;
}

// Splits at commas and blanks; a missing or non-numeric part takes its default.
std::array<int, 4> FourParts(std::string_view text, const std::array<int, 4>& defaults) {
    std::array<int, 4> out = defaults;
    auto isDelimiter = [](char c) { return c == ',' || c == ' ' || c == '\t'; };
    std::size_t pos = 0;
    for (std::size_t part = 0; part < 4; ++part) {
        while (pos < text.size() && isDelimiter(text[pos])) ++pos;
        if (pos == text.size()) break;
        std::size_t end = pos;
        while (end < text.size() && !isDelimiter(text[end])) ++end;
        if (auto v = ParseIniInt(text.substr(pos, end - pos), true)) out[part] = *v;
        pos = end;
    }
    return out;
}

bool Plausible(const IniRect& r) {
    for (int v : {r.left, r.top, r.right, r.bottom})
        if (v < -kMaxPlacementCoordinate || v > kMaxPlacementCoordinate) return false;
    return r.left < r.right;
}

WindowState StateOf(int showCmd) {
    switch (showCmd) {
        case 2:
        case 6:
        case 7:
            return WindowState::kMinimized;
        case 3:
            return WindowState::kMaximized;
        default:  // 1, 5, 9 and anything unknown
            return WindowState::kNormal;
    }
}

// The stored text of one entry, trimmed; nullopt when the key is missing, which leaves
// the control exactly as it is (its own text, untrimmed, standing as the default).
std::optional<std::string> StoredText(const IniDocument& ini, std::string_view key) {
    auto text = ini.Find(kFormSection, key);
    if (text) *text = std::string(TrimText(*text));
    return text;
}

// A trailing delimiter goes, except the one of a root ("/", "C:\").
std::string FolderWithoutTrailingDelimiter(std::string dir) {
    auto isDelimiter = [](char c) { return c == '/' || c == '\\'; };
    if (dir.size() >= 2 && isDelimiter(dir.back()) && dir[dir.size() - 2] != ':') dir.pop_back();
    return dir;
}

std::vector<std::string> RestoreItems(const IniDocument& ini, std::vector<std::string> current) {
    const std::string countText =
        std::string(TrimText(ini.ReadString(kItemsSection, "Count", "0")));
    const int count = ParseIniInt(countText).value_or(0);
    if (count <= 0) return current;

    // One pass over the section. A list is never longer than the entries that hold it,
    // so a hostile Count cannot make millions of empty items.
    const auto entries = ini.Entries(kItemsSection);
    std::unordered_map<std::string, std::string> byKey;
    for (const auto& [key, value] : entries) {
        std::string folded = key;
        std::transform(folded.begin(), folded.end(), folded.begin(),
                       [](char c) { return (c >= 'A' && c <= 'Z') ? char(c + 0x20) : c; });
        byKey.emplace(std::move(folded), value);
    }
    const std::size_t n = std::min(static_cast<std::size_t>(count), entries.size());
    std::vector<std::string> items;
    items.reserve(n);
    for (std::size_t i = 0; i < n; ++i) {
        const auto it = byKey.find("item" + std::to_string(i));
        items.push_back(it == byKey.end() ? std::string() : it->second);
    }
    return items;
}

// Reads one setting into `v`, where `v` holds the current value.
void RestoreOne(const IniDocument& ini, const StoredSetting& s, StoredValues& v) {
    if (const auto* list = std::get_if<std::vector<std::string> StoredValues::*>(&s.field)) {
        v.*(*list) = RestoreItems(ini, std::move(v.*(*list)));
        return;
    }
    const auto text = StoredText(ini, s.key);
    if (!text) return;
    if (const auto* i = std::get_if<int StoredValues::*>(&s.field)) {
        v.*(*i) = std::clamp(ParseIniInt(*text).value_or(0), s.low, s.high);
    } else if (const auto* b = std::get_if<bool StoredValues::*>(&s.field)) {
        if (IniNamesEqual(*text, "True")) v.*(*b) = true;
        if (IniNamesEqual(*text, "False")) v.*(*b) = false;
    } else if (const auto* t = std::get_if<std::string StoredValues::*>(&s.field)) {
        v.*(*t) = s.folder ? FolderWithoutTrailingDelimiter(*text) : text->substr(0, s.maxLength);
    }
}

// Every name and value written is on one line, so no write can be refused.
void WriteOne(IniDocument& ini, const StoredSetting& s, const StoredValues& v) {
    if (s.onlyWhenChanged) {
        static const StoredValues kDesign;
        const bool atDesign = std::visit([&](auto f) { return v.*f == kDesign.*f; }, s.field);
        if (atDesign) {
            ini.EraseKey(kFormSection, s.key);
            return;
        }
    }
    if (const auto* list = std::get_if<std::vector<std::string> StoredValues::*>(&s.field)) {
        const std::vector<std::string>& items = v.*(*list);
        ini.EraseSection(kItemsSection);
        if (items.empty()) return;
        ini.WriteString(kItemsSection, "Count", IntText(static_cast<int>(items.size())));
        for (std::size_t i = 0; i < items.size(); ++i)
            ini.WriteString(kItemsSection, "Item" + std::to_string(i),
                            QuoteIniValue(ItemForFile(items[i])));
    } else if (const auto* i = std::get_if<int StoredValues::*>(&s.field)) {
        ini.WriteString(kFormSection, s.key, IntText(v.*(*i)));
    } else if (const auto* b = std::get_if<bool StoredValues::*>(&s.field)) {
        ini.WriteString(kFormSection, s.key, BoolText(v.*(*b)));
    } else if (const auto* t = std::get_if<std::string StoredValues::*>(&s.field)) {
        ini.WriteString(kFormSection, s.key, QuoteIniValue(TextForFile(v.*(*t))));
    }
}

}  // namespace

std::string_view TrimText(std::string_view text) {
    auto blank = [](char c) { return static_cast<unsigned char>(c) <= ' '; };
    while (!text.empty() && blank(text.front())) text.remove_prefix(1);
    while (!text.empty() && blank(text.back())) text.remove_suffix(1);
    return text;
}

std::optional<int> ParseIniInt(std::string_view text, bool allowHex) {
    if (allowHex && text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        const std::string_view digits = text.substr(2);
        if (digits.size() > 8) return std::nullopt;
        std::uint32_t v = 0;
        const auto r = std::from_chars(digits.data(), digits.data() + digits.size(), v, 16);
        if (r.ec != std::errc() || r.ptr != digits.data() + digits.size()) return std::nullopt;
        return static_cast<int>(v);
    }
    bool negative = false;
    if (!text.empty() && (text[0] == '+' || text[0] == '-')) {
        negative = text[0] == '-';
        text.remove_prefix(1);
    }
    if (text.empty() || text[0] < '0' || text[0] > '9') return std::nullopt;
    std::int64_t v = 0;
    for (char c : text) {
        if (c < '0' || c > '9') return std::nullopt;
        v = v * 10 + (c - '0');
        if (v > std::int64_t{1} << 31) return std::nullopt;
    }
    if (negative) v = -v;
    if (v < INT32_MIN || v > INT32_MAX) return std::nullopt;
    return static_cast<int>(v);
}

std::vector<const StoredSetting*> DifferingProps(const StoredValues& a, const StoredValues& b) {
    std::vector<const StoredSetting*> out;
    for (const StoredSetting& s : kStoredSettings) {
        const bool differs = std::visit([&](auto field) { return a.*field != b.*field; }, s.field);
        if (differs) out.push_back(&s);
    }
    return out;
}

RestoreResult RestoreSettings(const IniDocument& ini, const StoredValues& current,
                              const WindowPlacement& currentPlacement,
                              const ScreenMetrics& screen) {
    RestoreResult result;
    result.values = current;
    if (ReadInt(ini, "FormVersion", 0) < 0) {
        result.blocked = true;
        return result;
    }

    // Placement.
    const std::string minMaxText = ReadScreenValue(ini, "MinMaxPos", screen);
    const std::string normText = ReadScreenValue(ini, "NormPos", screen);
    const IniRect& cur = currentPlacement.normalRect;
    const auto mm = FourParts(minMaxText, {0, 0, 0, 0});
    const auto norm = FourParts(normText, {cur.left, cur.top, cur.right, cur.bottom});
    WindowPlacement placement;
    placement.flags = ReadInt(ini, "Flags", currentPlacement.flags);
    placement.showCmd = ReadInt(ini, "ShowCmd", 0);
    placement.minPosition = {mm[0], mm[1]};
    placement.maxPosition = {mm[2], mm[3]};
    placement.normalRect = {norm[0], norm[1], norm[2], norm[3]};
    const int ppi = ReadInt(ini, "PixelsPerInch", screen.pixelsPerInch);
    if ((!minMaxText.empty() || !normText.empty()) && ppi == screen.pixelsPerInch &&
        Plausible(placement.normalRect))
        result.placement = placement;
    result.state = StateOf(placement.showCmd);

    // Stored values, in list order.
    for (const StoredSetting& s : kStoredSettings) RestoreOne(ini, s, result.values);
    return result;
}

void WriteSettings(IniDocument& ini, const SaveInput& in) {
    auto put = [&](std::string_view key, std::string_view value) {
        ini.WriteString(kFormSection, key, value);
    };
    auto putText = [&](std::string_view key, std::string_view text) {
        put(key, QuoteIniValue(text));
    };
    const WindowPlacement& p = in.placement;
    const std::string suffix = ScreenSuffix(in.screen);
    const std::string minMax =
        FourInts(p.minPosition.x, p.minPosition.y, p.maxPosition.x, p.maxPosition.y);
    const std::string norm =
        FourInts(p.normalRect.left, p.normalRect.top, p.normalRect.right, p.normalRect.bottom);

    put("FormVersion", "0");
    put("Flags", IntText(p.flags));
    put("ShowCmd", IntText(in.applicationMinimized ? 2 : p.showCmd));
    put("PixelsPerInch", IntText(in.screen.pixelsPerInch));
    putText("MinMaxPos" + suffix, minMax);
    putText("MinMaxPos", minMax);
    putText("NormPos" + suffix, norm);
    putText("NormPos", norm);
    put("Visible", in.destroying ? "1" : "0");

    for (const StoredSetting& s : kStoredSettings) WriteOne(ini, s, in.values);
}

RestoreResult SettingsSession::Restore(const StoredValues& current,
                                       const WindowPlacement& currentPlacement,
                                       const ScreenMetrics& screen) {
    IniDocument doc;
    (void)file_.Load(doc);  // an unreadable file restores nothing, like a missing one
    state_ = State::kRestored;
    return RestoreSettings(doc, current, currentPlacement, screen);
}

IniStatus SettingsSession::Save(const SaveInput& input) {
    if (state_ != State::kRestored) return {};
    IniDocument doc;
    IniStatus status = file_.Load(doc);
    if (!status) return status;  // never replace a file that could not be read
    WriteSettings(doc, input);
    status = file_.Save(doc);
    if (status) state_ = State::kSaved;
    return status;
}

}  // namespace equat
