// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/sheetoptions.h"

#include <bit>
#include <charconv>
#include <cstdio>

#include "cli/tablehelp.h"
#include "cli/tr.h"
#include "core/choices.h"
#include "core/classset.h"
#include "core/cp1252.h"
#include "core/kinds.h"
#include "core/quiz.h"

namespace equat {

std::string Shown(std::string_view text, std::size_t max) {
    std::string out;
    for (std::size_t k = 0; k < text.size() && k < max; ++k) {
        const auto c = static_cast<unsigned char>(text[k]);
        if (c >= 32 && c != 127) {
            out += static_cast<char>(c);
        } else {
            char hex[5];
            std::snprintf(hex, sizeof hex, "\\x%02X", c);
            out += hex;
        }
    }
    if (text.size() > max) out += "...";
    return out;
}

namespace {

// The options every sheet has: %1 the kinds' names, %2 the kinds, %3 the key styles.
Text BasicUsage() {
    return Tr(
        "Usage: equat-sheet --kind {%1} [OPTION]...\n"
        "Generate a worksheet of equations and its answer key as a pair of RTF files.\n"
        "\n"
        "  --kind KIND         %2\n"
        "  --level N           difficulty 1 to 3 (default 1)\n"
        "  --count N           number of questions, 1 to 40 (default 25)\n"
        "  --interline N       empty lines between questions of the subject, 0 to 10 (default 1)\n"
        "  --title TEXT        title line, at most 160 characters\n"
        "  --instruction TEXT  instruction line (default \"Calculer \")\n"
        "  --separator TEXT    separator line before each question, at most 200 characters\n"
        "  --no-separator      no separator line\n"
        "  --seed N            32-bit seed of the random draws (default: the clock)\n"
        "  --sheets K          K sheets in a row from one random stream (default 1)\n"
        "  --output PATH       subject file (answer key beside it, name + \"_Cor.rtf\");\n"
        "                      with --sheets above 1, a folder\n"
        "  --log PATH          write the diagnostic entries of every sheet\n"
        "  --key STYLE         answer key: %3\n"
        "  --comma             decimals with a comma (0,59) instead of a point\n"
        "  --pdf               also write both documents as PDF beside the RTF pair, laid out\n"
        "                      as printing lays them out (A4)\n"
        "  --raw               write the RTF as the generators make it, not as the window\n"
        "                      saves it (the bytes the tests compare with the generators)\n"
        "\n"
        "Class sets (a different copy for every student, no question on two copies):\n"
        "  --collate FILE.pdf  with --sheets K, K copies into FILE.pdf, each on new pages with\n"
        "                      its code in its first line, and their keys in the same order\n"
        "                      into FILE_Cor.pdf\n"
        "  --roster FILE       one copy per name of FILE (one name a line, or \"Name;level;A\":\n"
        "                      that copy's level 1 to 3 and the adapted layout, both\n"
        "                      optional; UTF-8, UTF-16 with its mark, or else Windows-1252;\n"
        "                      at most 200 names), the name in place of \"Nom :\" in the\n"
        "                      title; the keys in the order of the names; RTF pairs into\n"
        "                      --output's folder unless --collate is given\n"
        "  --answers FILE.pdf  with --collate or --roster, a grid of every copy's results\n"
        "                      (a row per copy, a column per question) at 9 points, on as\n"
        "                      many pages as it needs, the row labels on every page\n"
        "  --code CODE         the copy of that code again, its code on it; titles, instruction\n"
        "                      and separator from the options\n"
        "  --name TEXT         with --code, the student's name in place of \"Nom :\"\n"
        "  --quiz N            with --sheets K and --collate, a quick quiz: K copies of N\n"
        "                      questions (2 to 6), several to a page with cut marks, each with\n"
        "                      its code; the keys one under another in the same order\n"
        "  --per-page M        with --quiz, 2, 4 or 6 copies to a page (default 4)\n"
        "  --two-levels        with --quiz, the left column at --level, the right one a level\n"
        "                      above, each copy and key saying its level; with --code, a copy\n"
        "                      of such a quiz again, its level on it\n"
        "  --help              show this help and exit\n"
        "  --version           show the version and exit\n");
}

// The exports.
Text ExportsUsage() {
    return Tr(
        "\n"
        "Exports (with --sheets, --collate or --roster, of the whole set):\n"
        "  --moodle FILE.xml   the questions as a Moodle XML question bank, one category per\n"
        "                      copy, the worked solution as feedback\n"
        "  --gift FILE.txt     the same in GIFT (not 2d or syst: questions one number answers)\n"
        "  --odt               also write both documents as OpenDocument text (.odt) beside\n"
        "                      the RTF pair\n"
        "  --latex             also write both documents as LaTeX (.tex) beside the RTF pair;\n"
        "                      with --collate, the whole set beside its PDF, a copy a page\n"
        "  --amc FILE.tex      the questions as a source for the LaTeX package\n"
        "                      automultiplechoice: one group per question, as many copies\n");
}

// The graphs of the key.
Text GraphUsage() {
    return Tr(
        "\n"
        "Graphs (off by default; the copy's code keeps them):\n"
        "  --graph             a graph under each solution of the key: the parabola with its\n"
        "                      axis, vertex and roots, the two lines and where they meet,\n"
        "                      the number line of a first-degree solution\n");
}

// The adapted layout: %1 the fonts, %2 the sizes.
Text LayoutUsage() {
    return Tr(
        "\n"
        "Adapted layout (the same questions and results, a sheet easier to read):\n"
        "  --adapted           every copy in the adapted layout: one plain font, larger,\n"
        "                      lines further apart, an upright x, room to write after each\n"
        "                      question; with --roster, only the names marked A otherwise\n"
        "  --font NAME         %1\n"
        "  --size N            text size in points: %2\n"
        "  --spacing S         line spacing: 1.5 (default) or 2\n"
        "  --cream             a cream page instead of white in the PDF\n"
        "  --adapted-key       the answer key in the adapted layout too\n"
        "  --standard          with --code, the copy in the standard layout, whatever its\n"
        "                      code's (the same questions, its own code on it)\n");
}

// What is drawn: %1 the kinds' cases.
Text DrawUsage() {
    return Tr(
        "\n"
        "What is drawn (default: what each kind draws):\n"
        "  --kind K1,K2        a mixed sheet of those kinds, numbered as one sheet\n"
        "  --mix MODE          a mixed sheet's order: blocks (one kind after the other,\n"
        "                      default) or interleaved (the kinds in turn)\n"
        "  --cases LIST        only these cases: %1; a restricted list in equal shares\n"
        "  --every-case        each picked case at least once (in a mixed sheet, per kind)\n"
        "  --solutions KIND    integer, fraction (integers and fractions) or any (default)\n"
        "  --progressive       levels 1, 2 and 3 by thirds, in order (--level is not used)\n");
}

// Multiple choice.
Text ChoicesUsage() {
    return Tr(
        "\n"
        "Multiple choice:\n"
        "  --qcm               each question with its choices A) B) C) D) under it: the right\n"
        "                      answer and wrong ones, each the result of a pupil's mistake; the\n"
        "                      key gives the right letter and the mistake of each wrong one\n"
        "  --choices N         with --qcm, 3 or 4 choices per question (default 4)\n"
        "  --automatismes      a multiple-choice sheet of 12 questions mixing every kind in\n"
        "                      turn, whole-number solutions (with --level, --sheets...)\n");
}

// The texts and the exit status.
Text StatusUsage() {
    return Tr(
        "\n"
        "Texts are UTF-8 and must fit in Windows-1252. Exit status: 0 done, 1 a file could not\n"
        "be written, 2 bad usage.\n");
}

}  // namespace

Text SheetUsage() {
    // One message per part, so that each stays short for the translators; the lists of
    // choices come from the tables.
    const bool french = ToolsInFrench();
    const auto kinds = KindChoices(french);
    return FillLists(BasicUsage(), {Names(kinds, ","), Listed(kinds, french),
                                    Listed(KeyStyleChoices(french), french)}) +
           ExportsUsage() + GraphUsage() +
           FillLists(LayoutUsage(), {Listed(FontChoices(french, true), french),
                                     Listed(SizeChoices(french, true), french)}) +
           FillLists(DrawUsage(), {Listed(CaseChoices(), french)}) + ChoicesUsage() + StatusUsage();
}

namespace {

bool ParseInt(const std::string& s, long long lo, long long hi, long long& out) {
    const char* end = s.data() + s.size();
    auto [ptr, ec] = std::from_chars(s.data(), end, out);
    return ec == std::errc{} && ptr == end && out >= lo && out <= hi;
}

bool ParseKeyStyle(const std::string& value, KeyStyle& style, std::string* error) {
    for (const auto& k : kKeyStyles) {
        if (k.name == value) {
            style = k.style;
            return true;
        }
    }
    std::string names;
    for (const auto& k : kKeyStyles) names += (names.empty() ? "" : ", ") + std::string(k.name);
    *error = Tr("unknown answer key '%1' (expected one of: %2)", {value, names});
    return false;
}

bool Given(const std::vector<std::string>& given, std::string_view opt) {
    for (const auto& g : given)
        if (g == opt) return true;
    return false;
}

// --code, --collate, --roster, --answers.
bool ParseClassOption(const std::string& opt, const std::string& value, SheetJob& job,
                      std::string* error) {
    if (value.empty()) {
        *error = Tr("%1 needs a non-empty value", {opt});
        return false;
    }
    if (opt == "--code") {
        std::string why;
        job.code = DecodeSheetCode(value, &why);
        if (!job.code)
            *error =
                Tr("code %1 refused: %2", {Shown(value), CoreText(Shown(Cp1252ToUtf8(why), 200))});
        return job.code.has_value();
    }
    if (opt == "--name") {
        std::string why;
        auto name = CheckedName(value, &why);
        if (!name) *error = Tr("--name: %1", {CoreText(Cp1252ToUtf8(why))});
        if (name) job.name = std::move(*name);
        return name.has_value();
    }
    (opt == "--collate" ? job.collate : opt == "--roster" ? job.roster : job.answers) = value;
    return true;
}

// A code fixes the kind, the numbers and the seed of its copy.
bool CheckCodeAlone(const std::vector<std::string>& given, std::string* error) {
    for (const char* opt :
         {"--kind", "--level", "--count", "--interline", "--seed", "--sheets", "--collate",
          "--roster", "--answers", "--key", "--cases", "--every-case", "--solutions",
          "--progressive", "--mix", "--qcm", "--choices", "--automatismes"}) {
        if (Given(given, opt)) {
            *error = Tr("--code already fixes what %1 gives: remove one of the two options", {opt});
            return false;
        }
    }
    return true;
}

bool CheckClassSet(const SheetJob& job, const std::vector<std::string>& given, std::string* error) {
    if (!job.roster.empty() && Given(given, "--sheets")) {
        *error = Tr("--roster gives one copy per name: remove --sheets");
        return false;
    }
    if (!job.name.empty() && !job.code) {
        *error = Tr("--name needs --code (with a list, --roster)");
        return false;
    }
    if (!job.answers.empty() && !job.ClassSet()) {
        *error = Tr("--answers needs --collate or --roster");
        return false;
    }
    if (!job.collate.empty() && (job.pdf || !job.log.empty())) {
        *error = Tr("--pdf and --log do not go with --collate");
        return false;
    }
    return true;
}

// The banks need the questions as data; --odt goes beside RTF pairs, which --collate has not.
bool CheckExports(SheetJob& job, std::string* error) {
    if (job.odt && !job.collate.empty()) {
        *error = Tr("--odt does not go with --collate");
        return false;
    }
    // GIFT has one blank: the kinds that ask several numbers at once have no place in it.
    if (!job.gift.empty() &&
        (job.kind == "2d" || job.kind == "syst" || job.settings.draw.IsMixed())) {
        *error = Tr("--gift takes neither second-degree, system nor mixed sheets");
        return false;
    }
    job.settings.exports.bodies = !job.moodle.empty() || !job.gift.empty();
    // What is laid out, converted or exported is made from the model; RTF alone does not need it.
    job.settings.exports.model =
        job.pdf || job.odt || !job.collate.empty() || job.latex || !job.amc.empty();
    // The LaTeX key and the AMC source show each question's worked solution.
    job.settings.exports.steps = job.latex || !job.amc.empty();
    return true;
}

bool IsValued(const std::string& opt) {
    static const char* const kValued[] = {
        "--kind",        "--level",     "--count",     "--interline", "--title",
        "--instruction", "--separator", "--seed",      "--sheets",    "--output",
        "--log",         "--key",       "--code",      "--collate",   "--roster",
        "--answers",     "--name",      "--quiz",      "--per-page",  "--moodle",
        "--gift",        "--cases",     "--solutions", "--mix",       "--choices"};
    if (opt == "--amc") return true;
    for (const char* v : kValued)
        if (opt == v) return true;
    return false;
}

// --level, --count, --interline, --seed, --sheets; false when opt is none of them.
bool ParseNumberOption(const std::string& opt, const std::string& value, SheetJob& job,
                       bool* handled, std::string* error) {
    struct Row {
        const char* name;
        long long lo, hi;
    };
    static const Row kRows[] = {{"--level", 1, 3},      {"--count", 1, kMaxQuestions},
                                {"--interline", 0, 10}, {"--seed", 0, 4294967295LL},
                                {"--sheets", 1, 10000}, {"--choices", kMinChoices, kMaxChoices}};
    const Row* row = nullptr;
    for (const Row& r : kRows)
        if (opt == r.name) row = &r;
    *handled = row != nullptr;
    if (!row) return true;
    long long n = 0;
    if (!ParseInt(value, row->lo, row->hi, n)) {
        *error = Tr("invalid value '%1' for %2 (expected %3 to %4)",
                    {value, opt, std::to_string(row->lo), std::to_string(row->hi)});
        return false;
    }
    if (opt == "--level") job.settings.level = static_cast<int>(n);
    if (opt == "--count") job.settings.count = static_cast<int>(n);
    if (opt == "--interline") job.settings.interline = static_cast<int>(n);
    if (opt == "--seed") job.seed = static_cast<std::uint32_t>(n);
    if (opt == "--sheets") job.sheets = static_cast<int>(n);
    if (opt == "--choices") job.settings.choiceCount = static_cast<int>(n);
    return true;
}

// A text option into dest in Windows-1252, at most max bytes (0: no limit).
bool ParseText(const std::string& opt, const std::string& value, std::string& dest, std::size_t max,
               std::string* error) {
    auto converted = Utf8ToCp1252(value);
    if (!converted) {
        *error = Tr("the text of %1 holds characters that Windows-1252 cannot represent", {opt});
        return false;
    }
    if (max && converted->size() > max) {
        *error = Tr("the text of %1 is longer than %2 characters", {opt, std::to_string(max)});
        return false;
    }
    dest = std::move(*converted);
    return true;
}

bool ParsePath(const std::string& opt, const std::string& value, std::string& dest,
               std::string* error) {
    if (value.empty()) {
        *error = Tr("%1 needs a non-empty path", {opt});
        return false;
    }
    dest = value;
    return true;
}

// One kind, or a list of two or more for a mixed sheet (its kind the first of the table).
bool ParseKind(const std::string& value, SheetJob& job, std::string* error) {
    unsigned mixed = 0;
    std::size_t from = 0;
    for (;;) {
        const auto comma = value.find(',', from);
        const std::string name = value.substr(from, comma - from);
        const int k = KindIndex(name);
        if (k < 0) {
            std::string names;
            for (auto n : KindNames()) names += (names.empty() ? "" : ", ") + std::string(n);
            *error = Tr("unknown kind '%1' (expected one of: %2)", {name, names});
            return false;
        }
        if ((mixed >> k) & 1u) {
            *error = Tr("kind %1 given twice in --kind", {name});
            return false;
        }
        mixed |= 1u << k;
        if (comma == std::string::npos) break;
        from = comma + 1;
    }
    job.kind = kSheetKinds[std::countr_zero(mixed)].name;
    job.settings.draw.mixedKinds = std::popcount(mixed) >= 2 ? mixed : 0;
    return true;
}

// --solutions, --mix, --cases (read once the kinds are known, in FinishDraw).
bool ParseDrawOption(const std::string& opt, const std::string& value, SheetJob& job, bool* handled,
                     std::string* error) {
    DrawChoices& d = job.settings.draw;
    *handled = opt == "--solutions" || opt == "--mix" || opt == "--cases";
    if (opt == "--cases") job.cases = value;
    if (opt == "--solutions") {
        for (const auto& s : kSolutions)
            if (s.word == value) {
                d.solutions = s.value;
                return true;
            }
        *error = Tr("unknown solutions '%1' (expected integer, fraction or any)", {value});
        return false;
    }
    if (opt == "--mix") {
        if (value != "blocks" && value != "interleaved") {
            *error = Tr("unknown mix '%1' (expected blocks or interleaved)", {value});
            return false;
        }
        d.interleaved = value == "interleaved";
    }
    return true;
}

// The words of --cases against the sheet's kinds, then what the choices allow.
bool FinishDraw(SheetJob& job, const std::vector<std::string>& given, std::string* error) {
    DrawChoices& d = job.settings.draw;
    if (Given(given, "--mix") && !d.IsMixed()) {
        *error = Tr("--mix needs a list of kinds (--kind 1d,2d)");
        return false;
    }
    const int kind = KindIndex(job.kind);
    const unsigned kinds = d.IsMixed() ? d.mixedKinds : 1u << kind;
    std::size_t from = 0;
    while (Given(given, "--cases")) {
        const auto comma = job.cases.find(',', from);
        const std::string word = job.cases.substr(from, comma - from);
        int bit = -1;
        std::string words;
        for (int k = 0; k < kKindCount; ++k) {
            if (!((kinds >> k) & 1u)) continue;
            for (const auto& c : KindCases(k)) {
                if (c.word == word) bit = c.bit;
                if (words.find(c.word) == std::string::npos)
                    words += (words.empty() ? "" : ", ") + std::string(c.word);
            }
        }
        if (bit < 0) {
            *error = Tr("unknown case '%1' for this sheet (expected some of: %2)", {word, words});
            return false;
        }
        d.cases |= 1u << bit;
        if (comma == std::string::npos) break;
        from = comma + 1;
    }
    const auto why = DrawChoicesError(d, kind, job.settings.count);
    if (why) *error = CoreText(Cp1252ToUtf8(*why));
    return !why;
}

// --quiz, --per-page; false when opt is neither of them.
bool ParseQuizOption(const std::string& opt, const std::string& value, SheetJob& job, bool* handled,
                     std::string* error) {
    *handled = opt == "--quiz" || opt == "--per-page";
    if (!*handled) return true;
    long long n = 0;
    if (opt == "--quiz") {
        if (ParseInt(value, kQuizMinQuestions, kQuizMaxQuestions, n))
            job.quiz = static_cast<int>(n);
        if (job.quiz == 0)
            *error = Tr(
                "invalid value '%1' for %2 (expected %3 to %4)",
                {value, opt, std::to_string(kQuizMinQuestions), std::to_string(kQuizMaxQuestions)});
        return job.quiz != 0;
    }
    const bool ok = ParseInt(value, 2, 6, n) && IsQuizPerPage(static_cast<int>(n));
    if (ok) job.perPage = static_cast<int>(n);
    if (!ok) *error = Tr("invalid value '%1' for --per-page (expected 2, 4 or 6)", {value});
    return ok;
}

// What a quiz asks of the other options; its copies' count, look and title.
bool FinishQuiz(SheetJob& job, const std::vector<std::string>& given, std::string* error) {
    if (job.quiz == 0) {
        // A copy of a two-level quiz, given again by its code, says its level as it did.
        const bool quizCopy = job.code && job.settings.quiz.on;
        if (Given(given, "--per-page") || (job.twoLevels && !quizCopy)) {
            *error = Tr("--per-page and --two-levels need --quiz");
            return false;
        }
        job.settings.quiz.showLevel = job.twoLevels;
        return true;
    }
    for (const char* opt : {"--count", "--roster", "--code"}) {
        if (Given(given, opt)) {
            *error = Tr("--quiz does not go with %1", {opt});
            return false;
        }
    }
    if (job.collate.empty()) {
        *error = Tr("--quiz needs --collate FILE.pdf");
        return false;
    }
    if (job.twoLevels && job.settings.level > 2) {
        *error = Tr("--two-levels needs --level 1 or 2 (the right column is a level above)");
        return false;
    }
    job.settings.count = job.quiz;
    job.settings.quiz.on = true;
    if (!Given(given, "--title")) job.settings.title = kDefaultQuizTitle;
    return true;
}

bool ParseValuedOption(const std::string& opt, const std::string& value, SheetJob& job,
                       bool& separatorGiven, std::string* error) {
    bool handled = false;
    if (!ParseNumberOption(opt, value, job, &handled, error)) return false;
    if (handled) return true;
    if (!ParseQuizOption(opt, value, job, &handled, error)) return false;
    if (handled) return true;
    if (!ParseDrawOption(opt, value, job, &handled, error)) return false;
    if (handled) return true;
    SheetSettings& s = job.settings;
    if (opt == "--kind") return ParseKind(value, job, error);
    if (opt == "--title") return ParseText(opt, value, s.title, kMaxTitleLength, error);
    if (opt == "--instruction") return ParseText(opt, value, s.instruction, 0, error);
    if (opt == "--separator") {
        if (!s.separatorOn) {
            *error = Tr("--separator and --no-separator exclude each other");
            return false;
        }
        separatorGiven = true;
        return ParseText(opt, value, s.separator, kMaxSeparatorLength, error);
    }
    if (opt == "--output") return ParsePath(opt, value, job.output, error);
    if (opt == "--log") return ParsePath(opt, value, job.log, error);
    if (opt == "--key") return ParseKeyStyle(value, s.keyStyle, error);
    if (opt == "--amc") return ParsePath(opt, value, job.amc, error);
    if (opt == "--moodle" || opt == "--gift")
        return ParsePath(opt, value, opt == "--moodle" ? job.moodle : job.gift, error);
    return ParseClassOption(opt, value, job, error);
}

// --adapted, --cream, --adapted-key, and --font, --size, --spacing with their value at
// args[*k + 1]; false in *handled for any other option.
bool ParseLayoutOption(const std::vector<std::string>& args, std::size_t* k, SheetJob& job,
                       std::vector<std::string>& given, bool* handled, std::string* error) {
    const std::string& opt = args[*k];
    AdaptedLayout& layout = job.settings.layout;
    *handled = true;
    if (opt == "--standard") {
        job.standard = true;
        given.push_back(opt);
        return true;
    }
    if (opt == "--adapted" || opt == "--cream" || opt == "--adapted-key") {
        (opt == "--adapted" ? layout.on : opt == "--cream" ? layout.cream : layout.key) = true;
        given.push_back(opt);
        return true;
    }
    if (opt != "--font" && opt != "--size" && opt != "--spacing") {
        *handled = false;
        return true;
    }
    if (*k + 1 >= args.size()) {
        *error = Tr("option %1 needs a value", {opt});
        return false;
    }
    if (Given(given, opt)) {
        *error = Tr("option %1 given twice", {opt});
        return false;
    }
    given.push_back(opt);
    const std::string& value = args[++*k];
    if (opt == "--font") {
        const auto font = AdaptedFontNamed(value);
        if (font) layout.font = *font;
        if (!font)
            *error = Tr("unknown font '%1' (expected %2)",
                        {value, Listed(FontChoices(ToolsInFrench(), false), ToolsInFrench())});
        return font.has_value();
    }
    if (opt == "--size") {
        for (int size : kAdaptedSizes)
            if (value == std::to_string(size)) layout.size = size;
        if (value == std::to_string(layout.size)) return true;
        *error = Tr("invalid value '%1' for --size (expected %2)",
                    {value, Listed(SizeChoices(ToolsInFrench(), false), ToolsInFrench())});
        return false;
    }
    if (value == "1.5" || value == "1,5" || value == "2") {
        layout.doubleSpacing = value == "2";
        return true;
    }
    *error = Tr("invalid value '%1' for --spacing (expected 1.5 or 2)", {value});
    return false;
}

// The layout's options ask for an adapted layout, for every copy or for the roster's A.
bool CheckLayout(const SheetJob& job, const std::vector<std::string>& given, std::string* error) {
    if (job.standard && (!job.code || job.settings.layout.on)) {
        *error = Tr("--standard needs --code and no --adapted");
        return false;
    }
    for (const char* opt : {"--font", "--size", "--spacing", "--cream", "--adapted-key"}) {
        if (!Given(given, opt)) continue;
        if (job.code && (job.code->flags & kSheetCodeLayoutBits)) {
            *error = Tr("--code already fixes what %1 gives: remove one of the two options", {opt});
            return false;
        }
        if (!job.settings.layout.on && job.roster.empty()) {
            *error = Tr("%1 needs --adapted (or --roster with names marked A)", {opt});
            return false;
        }
    }
    return true;
}

// --qcm and --choices; --automatismes, a preset that fixes the kinds, the count and the draw.
bool FinishChoices(SheetJob& job, const std::vector<std::string>& given, std::string* error) {
    const bool preset = Given(given, "--automatismes");
    if (Given(given, "--choices") && !Given(given, "--qcm") && !preset) {
        *error = Tr("--choices needs --qcm");
        return false;
    }
    if ((Given(given, "--qcm") || preset) && !Given(given, "--choices"))
        job.settings.choiceCount = kDefaultChoices;
    if (!preset) return true;
    for (const char* opt : {"--kind", "--count", "--solutions", "--mix", "--cases", "--every-case",
                            "--progressive", "--quiz"}) {
        if (Given(given, opt)) {
            *error = Tr("--automatismes already fixes what %1 gives: remove one of the two options",
                        {opt});
            return false;
        }
    }
    job.kind = kSheetKinds[0].name;
    UseAutomatismes(job.settings);
    return true;
}

// What the options say together: a code's own settings, the class-set rules, the kind.
bool FinishJob(SheetJob& job, const std::vector<std::string>& given, std::string* error) {
    if (job.code && job.standard) {
        // The same draws: a code without its layout keeps the seed it was drawn from.
        job.code->seed = CodeSeed(*job.code);
        job.code->flags &= ~kSheetCodeLayoutBits;
    }
    if (job.code) {
        if (!CheckCodeAlone(given, error)) return false;
        job.kind = job.code->kind;
        job.seed = job.code->seed;
        job.settings = SettingsForCode(*job.code, std::move(job.settings));
        // A quiz copy is rebuilt with the title its quiz had.
        if (job.settings.quiz.on && !Given(given, "--title"))
            job.settings.title = kDefaultQuizTitle;
        job.settings.name = job.name;
    }
    if (!CheckClassSet(job, given, error) || !CheckExports(job, error) ||
        !CheckLayout(job, given, error))
        return false;
    if (!FinishQuiz(job, given, error) || !FinishChoices(job, given, error)) return false;
    if (!job.code && !Given(given, "--kind") && !Given(given, "--automatismes")) {
        *error = Tr("missing --kind (see --help)");
        return false;
    }
    return job.code || FinishDraw(job, given, error);
}

}  // namespace

std::optional<SheetJob> ParseSheetArgs(const std::vector<std::string>& args, std::string* error) {
    SheetJob job;
    bool separatorGiven = false;
    std::vector<std::string> given;
    for (std::size_t k = 0; k < args.size(); ++k) {
        const std::string& opt = args[k];
        if (opt == "--help" || opt == "-h" || opt == "--version") {
            (opt == "--version" ? job.version : job.help) = true;
            return job;
        }
        bool layoutOption = false;
        if (!ParseLayoutOption(args, &k, job, given, &layoutOption, error)) return std::nullopt;
        if (layoutOption) {
            continue;
        } else if (opt == "--pdf" || opt == "--raw" || opt == "--odt" || opt == "--two-levels" ||
                   opt == "--latex") {
            (opt == "--pdf"     ? job.pdf
             : opt == "--raw"   ? job.raw
             : opt == "--odt"   ? job.odt
             : opt == "--latex" ? job.latex
                                : job.twoLevels) = true;
        } else if (opt == "--comma") {
            job.settings.decimalComma = true;
        } else if (opt == "--qcm" || opt == "--automatismes") {
            given.push_back(opt);
        } else if (opt == "--graph") {
            job.settings.graphs = true;
        } else if (opt == "--every-case" || opt == "--progressive") {
            (opt == "--every-case" ? job.settings.draw.everyCase : job.settings.draw.progressive) =
                true;
            given.push_back(opt);
        } else if (opt == "--no-separator") {
            if (separatorGiven) {
                *error = Tr("--separator and --no-separator exclude each other");
                return std::nullopt;
            }
            job.settings.separatorOn = false;
        } else if (!IsValued(opt)) {
            *error = Tr("unknown option '%1' (see --help)", {opt});
            return std::nullopt;
        } else if (k + 1 >= args.size()) {
            *error = Tr("option %1 needs a value", {opt});
            return std::nullopt;
        } else if (Given(given, opt)) {
            // Taking the last silently would hide a slip in a script.
            *error = Tr("option %1 given twice", {opt});
            return std::nullopt;
        } else {
            given.push_back(opt);
            if (!ParseValuedOption(opt, args[++k], job, separatorGiven, error)) return std::nullopt;
        }
    }
    if (!FinishJob(job, given, error)) return std::nullopt;
    return job;
}

}  // namespace equat
