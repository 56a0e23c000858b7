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
std::optional<std::string> StoredText(const IniDocument& ini, StoredProp prop) {
    auto text = ini.Find(kFormSection, StoredPropKey(prop));
    if (text) *text = std::string(TrimText(*text));
    return text;
}

int RestoreInt(const IniDocument& ini, StoredProp prop, int current, int low, int high) {
    const auto text = StoredText(ini, prop);
    if (!text) return current;
    return std::clamp(ParseIniInt(*text).value_or(0), low, high);
}

bool RestoreBool(const IniDocument& ini, StoredProp prop, bool current) {
    const auto text = StoredText(ini, prop);
    if (text && IniNamesEqual(*text, "True")) return true;
    if (text && IniNamesEqual(*text, "False")) return false;
    return current;
}

std::string RestoreText(const IniDocument& ini, StoredProp prop, const std::string& current,
                        std::size_t maxLength = std::string::npos) {
    const auto text = StoredText(ini, prop);
    return text ? text->substr(0, maxLength) : current;
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

std::string_view StoredPropKey(StoredProp prop) {
    switch (prop) {
        case StoredProp::kSpMaxLigne:
            return "spMaxLigne_Value";
        case StoredProp::kSpinterligne:
            return "spinterligne_Value";
        case StoredProp::kETitre1:
            return "eTitre1_Text";
        case StoredProp::kESepar:
            return "eSepar_Text";
        case StoredProp::kSpCorriges:
            return "spCorriges_Value";
        case StoredProp::kSpSujets:
            return "spSujets_Value";
        case StoredProp::kSaveDialogInitialDir:
            return "SaveDialog1_InitialDir";
        case StoredProp::kCombo1Text:
            return "Combo1_Text";
        case StoredProp::kCombo1Items:
            return "Combo1_Items";
        case StoredProp::kCheckBox1:
            return "CheckBox1_Checked";
        case StoredProp::kTrbNiveau:
            return "trbNiveau_Position";
        case StoredProp::kCkbEdite:
            return "ckbEdite_Checked";
    }
    return {};
}

std::vector<StoredProp> DifferingProps(const StoredValues& a, const StoredValues& b) {
    std::vector<StoredProp> out;
    auto check = [&](bool differs, StoredProp p) {
        if (differs) out.push_back(p);
    };
    check(a.spMaxLigne != b.spMaxLigne, StoredProp::kSpMaxLigne);
    check(a.spinterligne != b.spinterligne, StoredProp::kSpinterligne);
    check(a.eTitre1 != b.eTitre1, StoredProp::kETitre1);
    check(a.eSepar != b.eSepar, StoredProp::kESepar);
    check(a.spCorriges != b.spCorriges, StoredProp::kSpCorriges);
    check(a.spSujets != b.spSujets, StoredProp::kSpSujets);
    check(a.saveDialogInitialDir != b.saveDialogInitialDir, StoredProp::kSaveDialogInitialDir);
    check(a.combo1Text != b.combo1Text, StoredProp::kCombo1Text);
    check(a.combo1Items != b.combo1Items, StoredProp::kCombo1Items);
    check(a.checkBox1Checked != b.checkBox1Checked, StoredProp::kCheckBox1);
    check(a.trbNiveauPosition != b.trbNiveauPosition, StoredProp::kTrbNiveau);
    check(a.ckbEditeChecked != b.ckbEditeChecked, StoredProp::kCkbEdite);
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
    StoredValues& v = result.values;
    v.spMaxLigne = RestoreInt(ini, StoredProp::kSpMaxLigne, v.spMaxLigne, 1, kMaxQuestions);
    v.spinterligne = RestoreInt(ini, StoredProp::kSpinterligne, v.spinterligne, 0, 10);
    v.eTitre1 = RestoreText(ini, StoredProp::kETitre1, v.eTitre1, kMaxTitleLength);
    v.eSepar = RestoreText(ini, StoredProp::kESepar, v.eSepar, kMaxSeparatorLength);
    v.spCorriges = RestoreInt(ini, StoredProp::kSpCorriges, v.spCorriges, 0, 1000);
    v.spSujets = RestoreInt(ini, StoredProp::kSpSujets, v.spSujets, 0, 1000);
    if (const auto dir = StoredText(ini, StoredProp::kSaveDialogInitialDir))
        v.saveDialogInitialDir = FolderWithoutTrailingDelimiter(*dir);
    v.combo1Text = RestoreText(ini, StoredProp::kCombo1Text, v.combo1Text);
    v.combo1Items = RestoreItems(ini, std::move(v.combo1Items));
    v.checkBox1Checked = RestoreBool(ini, StoredProp::kCheckBox1, v.checkBox1Checked);
    v.trbNiveauPosition = RestoreInt(ini, StoredProp::kTrbNiveau, v.trbNiveauPosition, 1, 3);
    v.ckbEditeChecked = RestoreBool(ini, StoredProp::kCkbEdite, v.ckbEditeChecked);
    return result;
}

void WriteSettings(IniDocument& ini, const SaveInput& in) {
    // Every name and value below is on one line, so no write can be refused.
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

    const StoredValues& v = in.values;
    auto key = StoredPropKey;
    put(key(StoredProp::kSpMaxLigne), IntText(v.spMaxLigne));
    put(key(StoredProp::kSpinterligne), IntText(v.spinterligne));
    putText(key(StoredProp::kETitre1), TextForFile(v.eTitre1));
    putText(key(StoredProp::kESepar), TextForFile(v.eSepar));
    put(key(StoredProp::kSpCorriges), IntText(v.spCorriges));
    put(key(StoredProp::kSpSujets), IntText(v.spSujets));
    putText(key(StoredProp::kSaveDialogInitialDir), TextForFile(v.saveDialogInitialDir));
    putText(key(StoredProp::kCombo1Text), TextForFile(v.combo1Text));
    ini.EraseSection(kItemsSection);
    if (!v.combo1Items.empty()) {
        ini.WriteString(kItemsSection, "Count", IntText(static_cast<int>(v.combo1Items.size())));
        for (std::size_t i = 0; i < v.combo1Items.size(); ++i)
            ini.WriteString(kItemsSection, "Item" + std::to_string(i),
                            QuoteIniValue(ItemForFile(v.combo1Items[i])));
    }
    put(key(StoredProp::kCheckBox1), BoolText(v.checkBox1Checked));
    put(key(StoredProp::kTrbNiveau), IntText(v.trbNiveauPosition));
    put(key(StoredProp::kCkbEdite), BoolText(v.ckbEditeChecked));
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
