// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/classset.h"

#include <algorithm>
#include <numeric>
#include <unordered_set>

#include "core/cp1252.h"

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

std::string TitleWithName(std::string_view title, std::string_view name) {
    const auto at = title.find("Nom :");
    if (at == std::string_view::npos) return std::string(name) + "   " + std::string(title);
    std::size_t end = at + 5;
    while (end < title.size() && title[end] == ' ') ++end;
    std::string out(title.substr(0, at));
    out += name;
    out.append(std::max<std::size_t>(end - at, name.size() + 3) - name.size(), ' ');
    out += title.substr(end);
    return out;
}

std::optional<std::vector<std::string>> ParseRoster(std::string_view utf8, std::string* error) {
    if (utf8.substr(0, 3) == "\xEF\xBB\xBF") utf8.remove_prefix(3);
    std::vector<std::string> names;
    int line = 0;
    while (!utf8.empty()) {
        ++line;
        const auto eol = utf8.find('\n');
        const std::string_view raw = Trim(utf8.substr(0, eol));
        utf8.remove_prefix(eol == std::string_view::npos ? utf8.size() : eol + 1);
        if (raw.empty()) continue;
        auto name = Utf8ToCp1252(raw);
        if (!name) {
            *error = "Ligne " + std::to_string(line) +
                     " de la liste : un caract\xE8re ne peut pas s'\xE9"
                     "crire dans les documents.";
            return std::nullopt;
        }
        if (name->size() > kMaxRosterName) {
            *error = "Ligne " + std::to_string(line) + " de la liste : un nom a au plus " +
                     std::to_string(kMaxRosterName) + " caract\xE8res.";
            return std::nullopt;
        }
        names.push_back(std::move(*name));
    }
    if (names.empty()) *error = "La liste ne contient aucun nom.";
    if (names.empty()) return std::nullopt;
    return names;
}

std::vector<ClassCopy> BuildClassSet(const SheetCode& shape, const SheetSettings& base,
                                     RandomSource& setStream, int copies,
                                     const std::vector<std::string>& names, int* repeats,
                                     const std::function<bool(int)>& progress, bool showCodes) {
    const std::size_t n =
        names.empty() ? static_cast<std::size_t>(std::max(copies, 0)) : names.size();
    std::vector<ClassCopy> set(n);
    std::unordered_set<std::string> seen;
    *repeats = 0;
    for (std::size_t k = 0; k < n; ++k) {
        ClassCopy& copy = set[k];
        copy.name = names.empty() ? std::string() : names[k];
        SheetSettings settings = base;
        if (!copy.name.empty()) settings.title = TitleWithName(base.title, copy.name);
        int fewest = -1;
        std::vector<std::string> keys, bestKeys;
        for (int attempt = 0; attempt < kMaxCopyAttempts && fewest != 0; ++attempt) {
            SheetCode trial = shape;
            trial.seed = DrawCopySeed(setStream);
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

ClassSet MakeClassSet(const ClassSetRequest& request, RandomSource& stream) {
    SheetCode shape;
    shape.kind = request.kind;
    shape.level = request.settings.level;
    shape.count = request.settings.count;
    shape.interline = request.settings.interline;
    shape.keyStyle = request.settings.keyStyle;
    ClassSet set;
    set.copies = BuildClassSet(shape, request.settings, stream, request.copies, request.names,
                               &set.repeats, request.progress, request.showCodes);
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
