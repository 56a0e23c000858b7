// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/classset.h"

#include <algorithm>
#include <numeric>
#include <unordered_set>

#include "core/choices.h"
#include "core/cp1252.h"
#include "core/kinds.h"
#include "core/markup.h"

namespace equat {

namespace {

// Attempts at one copy before the set is given up: far more than a level with room for
// the set ever needs, few enough to answer at once when it has none.
constexpr int kMaxCopyAttempts = 300;

std::string_view Trim(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t' || s.front() == '\r'))
        s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r'))
        s.remove_suffix(1);
    return s;
}

// A Windows-1252 letter without its accent, in capitals, for sorting names.
char FoldLetter(unsigned char c) {
    static constexpr std::string_view kFolded =
        "AAAAAAACEEEEIIIIDNOOOOO*OUUUUYTSAAAAAAACEEEEIIIIDNOOOOO/OUUUUYTY";
    if (c >= 0xC0) return kFolded[c - 0xC0];
    if (c >= 'a' && c <= 'z') return static_cast<char>(c - 'a' + 'A');
    return static_cast<char>(c);
}

std::string SortKey(std::string_view name) {
    std::string key;
    for (char c : name) key += FoldLetter(static_cast<unsigned char>(c));
    return key;
}

}  // namespace

std::uint32_t DrawCopySeed(RandomSource& setStream) {
    const auto high = static_cast<std::uint32_t>(setStream.RandomInt(65536));
    return (high << 16) | static_cast<std::uint32_t>(setStream.RandomInt(65536));
}

std::optional<std::string> CheckedName(std::string_view utf8, std::string* why) {
    std::string text(Trim(utf8));
    for (char& c : text) {
        if (c == '\t') c = ' ';
        if (static_cast<unsigned char>(c) < 32 || c == 0x7F) {
            *why = "un caract\xE8re de contr\xF4le n'a pas sa place dans un nom.";
            return std::nullopt;
        }
    }
    auto name = Utf8ToCp1252(text);
    if (!name) {
        *why =
            "un caract\xE8re ne s'\xE9"
            "crit pas dans les documents (Windows-1252).";
        return std::nullopt;
    }
    // The five bytes the code page leaves undefined are control characters too.
    for (unsigned char c : *name)
        if (c == 0x81 || c == 0x8D || c == 0x8F || c == 0x90 || c == 0x9D) {
            *why = "un caract\xE8re de contr\xF4le n'a pas sa place dans un nom.";
            return std::nullopt;
        }
    if (name->size() > kMaxRosterName) {
        *why = "un nom a au plus " + std::to_string(kMaxRosterName) + " caract\xE8res.";
        return std::nullopt;
    }
    return name;
}

std::string RosterText(std::string_view bytes) {
    const bool le = bytes.starts_with("\xFF\xFE"), be = bytes.starts_with("\xFE\xFF");
    if (le || be) {
        std::string out;
        char32_t high = 0;
        for (std::size_t k = 2; k + 1 < bytes.size(); k += 2) {
            const auto b0 = static_cast<unsigned char>(bytes[k]);
            const auto b1 = static_cast<unsigned char>(bytes[k + 1]);
            const char32_t unit = le ? (b1 << 8 | b0) : (b0 << 8 | b1);
            if (unit >= 0xD800 && unit < 0xDC00) {
                high = unit;
                continue;
            }
            if (unit >= 0xDC00 && unit < 0xE000) {
                // A lone half cannot be written: U+FFFD, which the name check refuses.
                AppendUtf8(out,
                           high ? 0x10000 + ((high - 0xD800) << 10) + (unit - 0xDC00) : 0xFFFD);
            } else {
                if (high) AppendUtf8(out, 0xFFFD);
                AppendUtf8(out, unit);
            }
            high = 0;
        }
        return out;
    }
    if (bytes.starts_with("\xEF\xBB\xBF")) bytes.remove_prefix(3);
    if (DecodeUtf8(bytes)) return std::string(bytes);
    return Cp1252ToUtf8(bytes);
}

namespace {

void SkipBlanks(std::string_view line, std::size_t& k) {
    while (k < line.size() && (line[k] == ' ' || line[k] == '\t')) ++k;
}

// The separator of a line as a spreadsheet writes it: the first ";" outside quotes, else
// ",", else none (";").
char SeparatorOf(std::string_view line) {
    bool inQuotes = false, comma = false;
    for (char c : line) {
        if (c == '"') inQuotes = !inQuotes;
        if (!inQuotes && c == ';') return ';';
        comma = comma || (!inQuotes && c == ',');
    }
    return comma ? ',' : ';';
}

// The fields of a line as a spreadsheet writes them: a field in double quotes holds the
// separator and "" for a quote. nullopt when a quote is left open or followed by other text
// than the separator; *quoted tells whether a field was quoted.
std::optional<std::vector<std::string>> Fields(std::string_view line, bool* quoted) {
    const char sep = SeparatorOf(line);
    std::vector<std::string> fields;
    for (std::size_t k = 0;; ++k) {
        std::size_t start = k;
        SkipBlanks(line, start);
        std::string field;
        if (start < line.size() && line[start] == '"') {
            *quoted = true;
            for (k = start + 1; k < line.size() && (line[k] != '"' || line.substr(k, 2) == "\"\"");
                 ++k) {
                field += line[k];
                if (line[k] == '"') ++k;
            }
            if (k++ >= line.size()) return std::nullopt;
            SkipBlanks(line, k);
            if (k < line.size() && line[k] != sep) return std::nullopt;
        } else {
            k = std::min(line.find(sep, k), line.size());
            field = line.substr(start, k - start);
        }
        fields.push_back(std::move(field));
        if (k >= line.size()) return fields;
    }
}

// The columns of a roster line after its name, when they are columns; *why (French,
// Windows-1252) says why a line written by a spreadsheet (quoted) is not understood.
std::optional<RosterEntry> Columns(std::string_view line, std::string* why) {
    bool quoted = false;
    const auto fields = Fields(line, &quoted);
    if (!fields) {
        *why =
            "des guillemets ne sont pas ferm\xE9s ou sont suivis d'un autre texte que le "
            "s\xE9parateur.";
        return std::nullopt;
    }
    if (fields->size() == 1 && !quoted) return std::nullopt;
    const auto column = [&](std::size_t k) {
        return k < fields->size() ? Trim((*fields)[k]) : std::string_view();
    };
    RosterEntry entry;
    entry.name = (*fields)[0];
    const std::string_view level = column(1), adapted = column(2);
    bool ok = level.empty() || (level.size() == 1 && level[0] >= '1' && level[0] <= '3');
    ok = ok && (adapted.empty() || adapted == "A" || adapted == "a");
    for (std::size_t k = 3; k < fields->size(); ++k) ok = ok && column(k).empty();
    if (ok) {
        entry.choice.level = level.empty() ? 0 : level[0] - '0';
        entry.choice.adapted = !adapted.empty();
        return entry;
    }
    if (quoted) *why = "apr\xE8s le nom viennent le niveau (1 \xE0 3) puis \xAB A \xBB, ou rien.";
    return std::nullopt;
}

}  // namespace

std::optional<std::vector<RosterEntry>> ParseRosterEntries(std::string_view bytes,
                                                           std::string* error) {
    const std::string all = RosterText(bytes);
    std::string_view text = all;
    std::vector<RosterEntry> entries;
    int line = 0;
    while (!text.empty()) {
        ++line;
        const auto eol = text.find_first_of("\r\n");
        const std::string_view raw = text.substr(0, eol);
        std::size_t next = eol == std::string_view::npos ? text.size() : eol + 1;
        if (eol != std::string_view::npos && text[eol] == '\r' && next < text.size() &&
            text[next] == '\n')
            ++next;
        text.remove_prefix(next);
        if (Trim(raw).empty()) continue;
        std::string why;
        RosterEntry entry = Columns(raw, &why).value_or(RosterEntry{std::string(raw), {}});
        auto name = why.empty() ? CheckedName(entry.name, &why) : std::nullopt;
        if (name && name->empty()) why = "un nom manque avant le s\xE9parateur.";
        if (!name || name->empty()) {
            *error = "Ligne " + std::to_string(line) + " de la liste : " + why;
            return std::nullopt;
        }
        if (entries.size() == kMaxRosterNames) {
            *error = "Ligne " + std::to_string(line) + " de la liste : une liste a au plus " +
                     std::to_string(kMaxRosterNames) + " noms.";
            return std::nullopt;
        }
        entry.name = std::move(*name);
        entries.push_back(std::move(entry));
    }
    if (entries.empty()) *error = "La liste ne contient aucun nom.";
    if (entries.empty()) return std::nullopt;
    return entries;
}

std::optional<std::vector<std::string>> ParseRoster(std::string_view bytes, std::string* error) {
    auto entries = ParseRosterEntries(bytes, error);
    if (!entries) return std::nullopt;
    std::vector<std::string> names;
    for (auto& e : *entries) names.push_back(std::move(e.name));
    return names;
}

namespace {

// A pupil's level and layout in place of the set's.
void ChooseForCopy(const CopyChoice& choice, SheetCode& shape, SheetSettings& settings) {
    if (choice.level > 0) shape.level = settings.level = choice.level;
    if (choice.adapted && !settings.layout.on) {
        settings.layout.on = true;
        shape.flags |= LayoutFlags(settings.layout);
    }
}

}  // namespace

std::vector<ClassCopy> BuildClassSet(const SheetCode& shape, const SheetSettings& base,
                                     RandomSource& setStream, int copies,
                                     const std::vector<std::string>& names, int* repeats,
                                     const std::function<bool(int)>& progress, bool showCodes,
                                     const std::vector<CopyChoice>& choices) {
    const std::size_t n =
        names.empty() ? static_cast<std::size_t>(std::max(copies, 0)) : names.size();
    std::vector<ClassCopy> set(n);
    std::unordered_set<std::string> seen;
    *repeats = 0;
    for (std::size_t k = 0; k < n; ++k) {
        ClassCopy& copy = set[k];
        copy.name = names.empty() ? std::string() : names[k];
        SheetSettings settings = base;
        settings.name = copy.name;
        SheetCode copyShape = shape;
        if (k < choices.size()) ChooseForCopy(choices[k], copyShape, settings);
        int fewest = -1;
        std::vector<std::string> keys, bestKeys;
        for (int attempt = 0; attempt < kMaxCopyAttempts && fewest != 0; ++attempt) {
            SheetCode trial = copyShape;
            trial.seed = DrawCopySeed(setStream);
            trial = WithCodeSeed(trial);
            keys.clear();
            Sheet sheet = BuildSheetFromCode(trial, settings, &keys, showCodes);
            const auto hits = static_cast<int>(
                std::count_if(keys.begin(), keys.end(),
                              [&](const std::string& key) { return seen.count(key) != 0; }));
            if (fewest < 0 || hits < fewest) {
                fewest = hits;
                copy.code = trial;
                copy.sheet = std::move(sheet);
                bestKeys.swap(keys);
            }
        }
        seen.insert(bestKeys.begin(), bestKeys.end());
        copy.codeText = EncodeSheetCode(copy.code);
        *repeats += std::max(fewest, 0);
        if (progress && !progress(static_cast<int>(k + 1))) return {};
    }
    return set;
}

ClassCopy UncodedCopy(std::string_view kind, Sheet sheet) {
    ClassCopy copy;
    const SheetSettings& s = WrittenSettings(sheet);
    copy.code.kind = kind;
    copy.code.level = s.level;
    if (s.decimalComma) copy.code.flags |= kSheetCodeDecimalComma;
    if (s.graphs) copy.code.flags |= kSheetCodeGraphBit;
    copy.sheet = std::move(sheet);
    return copy;
}

ClassSet MakeClassSet(const ClassSetRequest& request, RandomSource& stream) {
    SheetCode shape;
    shape.kind = request.kind;
    shape.level = request.settings.level;
    shape.count = request.settings.count;
    shape.interline = request.settings.interline;
    shape.keyStyle = request.settings.keyStyle;
    shape.flags = request.settings.decimalComma ? kSheetCodeDecimalComma : 0;
    shape.flags |= DrawChoicesFlags(WithKind(request.settings.draw, KindIndex(request.kind)));
    shape.flags |= LayoutFlags(request.settings.layout);
    if (request.settings.quiz.on) shape.flags |= kSheetCodeQuizBits;
    shape.flags |= ChoiceFlags(request.settings.choiceCount);
    if (request.settings.graphs) shape.flags |= kSheetCodeGraphBit;
    ClassSet set;
    set.copies = BuildClassSet(shape, request.settings, stream, request.copies, request.names,
                               &set.repeats, request.progress, request.showCodes, request.choices);
    set.cancelled = set.copies.empty() && (request.copies > 0 || !request.names.empty());
    set.keyOrder.resize(set.copies.size());
    std::iota(set.keyOrder.begin(), set.keyOrder.end(), std::size_t{0});
    if (!request.names.empty()) set.keyOrder = OrderByName(set.copies);
    return set;
}

std::vector<std::size_t> OrderByName(const std::vector<ClassCopy>& copies) {
    std::vector<std::string> keys;
    for (const auto& c : copies) keys.push_back(SortKey(c.name));
    std::vector<std::size_t> order(copies.size());
    std::iota(order.begin(), order.end(), std::size_t{0});
    std::stable_sort(order.begin(), order.end(),
                     [&](std::size_t a, std::size_t b) { return keys[a] < keys[b]; });
    return order;
}

}  // namespace equat
