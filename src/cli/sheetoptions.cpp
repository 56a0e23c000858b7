// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/sheetoptions.h"

#include <charconv>

#include "core/cp1252.h"
#include "core/kinds.h"

namespace equat {

const char* const kSheetUsage =
    "Usage: equat-sheet --kind {1d,2d,syst} [OPTION]...\n"
    "Generate a worksheet of equations and its answer key as a pair of RTF files.\n"
    "\n"
    "  --kind KIND         1d (first degree), 2d (second degree) or syst (systems)\n"
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
    "  --key STYLE         answer key: decimal (two decimals, default), exact\n"
    "                      (fractions and square roots, each followed by its decimal)\n"
    "                      or detailed (the exact key under the worked solution)\n"
    "  --pdf               also write both documents as PDF beside the RTF pair, laid out\n"
    "                      as printing lays them out (A4)\n"
    "\n"
    "Class sets (a different copy for every student, no question on two copies):\n"
    "  --collate FILE.pdf  with --sheets K, K copies into FILE.pdf, each on new pages with\n"
    "                      its code in its first line, and their keys in the same order\n"
    "                      into FILE_Cor.pdf\n"
    "  --roster FILE       one copy per name of FILE (UTF-8, one name a line), the name in\n"
    "                      place of \"Nom :\" in the title; the keys in the order of the\n"
    "                      names; RTF pairs into --output's folder unless --collate is given\n"
    "  --answers FILE.pdf  with --collate or --roster, a one-page grid of every copy's\n"
    "                      results (a row per copy, a column per question)\n"
    "  --code CODE         the copy of that code again, its code on it; titles, instruction\n"
    "                      and separator from the options\n"
    "  --help              show this help and exit\n"
    "  --version           show the version and exit\n"
    "\n"
    "Texts are UTF-8 and must fit in Windows-1252. Exit status: 0 done, 1 a file could not\n"
    "be written, 2 bad usage.\n";

namespace {

bool ParseInt(const std::string& s, long long lo, long long hi, long long& out) {
    const char* end = s.data() + s.size();
    auto [ptr, ec] = std::from_chars(s.data(), end, out);
    return ec == std::errc{} && ptr == end && out >= lo && out <= hi;
}

bool ParseKeyStyle(const std::string& value, KeyStyle& style, std::string* error) {
    if (value == "decimal") {
        style = KeyStyle::Decimal;
    } else if (value == "exact") {
        style = KeyStyle::Exact;
    } else if (value == "detailed") {
        style = KeyStyle::Detailed;
    } else {
        *error = "unknown answer key '" + value + "' (expected decimal, exact or detailed)";
        return false;
    }
    return true;
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
        *error = opt + " demande une valeur non vide";
        return false;
    }
    if (opt == "--code") {
        std::string why;
        job.code = DecodeSheetCode(value, &why);
        if (!job.code) *error = "code " + value + " refus\xC3\xA9 : " + Cp1252ToUtf8(why);
        return job.code.has_value();
    }
    (opt == "--collate" ? job.collate : opt == "--roster" ? job.roster : job.answers) = value;
    return true;
}

// A code fixes the kind, the numbers and the seed of its copy.
bool CheckCodeAlone(const std::vector<std::string>& given, std::string* error) {
    for (const char* opt : {"--kind", "--level", "--count", "--interline", "--seed", "--sheets",
                            "--collate", "--roster", "--answers", "--key"}) {
        if (Given(given, opt)) {
            *error = std::string("--code fixe d\xC3\xA9j\xC3\xA0 ce que donne ") + opt +
                     " : retirez l'une des deux options";
            return false;
        }
    }
    return true;
}

bool CheckClassSet(const SheetJob& job, const std::vector<std::string>& given, std::string* error) {
    if (!job.roster.empty() && Given(given, "--sheets")) {
        *error = "--roster donne une copie par nom : retirez --sheets";
        return false;
    }
    if (!job.answers.empty() && !job.ClassSet()) {
        *error = "--answers demande --collate ou --roster";
        return false;
    }
    if (!job.collate.empty() && (job.pdf || !job.log.empty())) {
        *error = "--pdf et --log ne vont pas avec --collate";
        return false;
    }
    return true;
}

}  // namespace

std::optional<SheetJob> ParseSheetArgs(const std::vector<std::string>& args, std::string* error) {
    SheetJob job;
    bool kindGiven = false;
    bool separatorGiven = false;
    std::vector<std::string> given;
    for (std::size_t k = 0; k < args.size(); ++k) {
        const std::string& opt = args[k];
        if (opt == "--help" || opt == "-h") {
            job.help = true;
            return job;
        }
        if (opt == "--version") {
            job.version = true;
            return job;
        }
        if (opt == "--pdf") {
            job.pdf = true;
            continue;
        }
        if (opt == "--no-separator") {
            if (separatorGiven) {
                *error = "--separator and --no-separator exclude each other";
                return std::nullopt;
            }
            job.settings.separatorOn = false;
            continue;
        }
        static const char* const kValued[] = {
            "--kind",      "--level",   "--count",  "--interline", "--title", "--instruction",
            "--separator", "--seed",    "--sheets", "--output",    "--log",   "--key",
            "--code",      "--collate", "--roster", "--answers"};
        bool known = false;
        for (const char* v : kValued) known |= (opt == v);
        if (!known) {
            *error = "unknown option '" + opt + "' (see --help)";
            return std::nullopt;
        }
        if (k + 1 >= args.size()) {
            *error = "option " + opt + " needs a value";
            return std::nullopt;
        }
        const std::string& value = args[++k];
        given.push_back(opt);
        long long n = 0;
        auto range = [&](long long lo, long long hi) {
            if (ParseInt(value, lo, hi, n)) return true;
            *error = "invalid value '" + value + "' for " + opt + " (expected " +
                     std::to_string(lo) + " to " + std::to_string(hi) + ")";
            return false;
        };
        auto text = [&](std::string& dest, std::size_t max) {
            auto converted = Utf8ToCp1252(value);
            if (!converted) {
                *error =
                    "the text of " + opt + " holds characters that Windows-1252 cannot represent";
                return false;
            }
            if (max && converted->size() > max) {
                *error =
                    "the text of " + opt + " is longer than " + std::to_string(max) + " characters";
                return false;
            }
            dest = std::move(*converted);
            return true;
        };
        if (opt == "--kind") {
            if (!MakeKind(value)) {
                std::string names;
                for (auto name : KindNames())
                    names += (names.empty() ? "" : ", ") + std::string(name);
                *error = "unknown kind '" + value + "' (expected one of: " + names + ")";
                return std::nullopt;
            }
            job.kind = value;
            kindGiven = true;
        } else if (opt == "--level") {
            if (!range(1, 3)) return std::nullopt;
            job.settings.level = static_cast<int>(n);
        } else if (opt == "--count") {
            if (!range(1, kMaxQuestions)) return std::nullopt;
            job.settings.count = static_cast<int>(n);
        } else if (opt == "--interline") {
            if (!range(0, 10)) return std::nullopt;
            job.settings.interline = static_cast<int>(n);
        } else if (opt == "--seed") {
            if (!range(0, 4294967295LL)) return std::nullopt;
            job.seed = static_cast<std::uint32_t>(n);
        } else if (opt == "--sheets") {
            if (!range(1, 10000)) return std::nullopt;
            job.sheets = static_cast<int>(n);
        } else if (opt == "--title") {
            if (!text(job.settings.title, kMaxTitleLength)) return std::nullopt;
        } else if (opt == "--instruction") {
            if (!text(job.settings.instruction, 0)) return std::nullopt;
        } else if (opt == "--separator") {
            if (!job.settings.separatorOn) {
                *error = "--separator and --no-separator exclude each other";
                return std::nullopt;
            }
            if (!text(job.settings.separator, kMaxSeparatorLength)) return std::nullopt;
            separatorGiven = true;
        } else if (opt == "--output") {
            if (value.empty()) {
                *error = "--output needs a non-empty path";
                return std::nullopt;
            }
            job.output = value;
        } else if (opt == "--key") {
            if (!ParseKeyStyle(value, job.settings.keyStyle, error)) return std::nullopt;
        } else if (opt == "--log") {
            if (value.empty()) {
                *error = "--log needs a non-empty path";
                return std::nullopt;
            }
            job.log = value;
        } else if (!ParseClassOption(opt, value, job, error)) {
            return std::nullopt;
        }
    }
    if (job.code) {
        kindGiven = true;
        if (!CheckCodeAlone(given, error)) return std::nullopt;
        job.kind = job.code->kind;
        job.seed = job.code->seed;
        job.settings = SettingsForCode(*job.code, std::move(job.settings));
    }
    if (!CheckClassSet(job, given, error)) return std::nullopt;
    if (!kindGiven) {
        *error = "missing --kind (see --help)";
        return std::nullopt;
    }
    return job;
}

}  // namespace equat
