// SPDX-License-Identifier: GPL-3.0-or-later
// equat-rtf: reads an RTF file with our reader and writes it back with our writer, as plain
// text, or laid out as printing lays it out (PDF, or one PNG image per page).
#include <cstdio>
#include <filesystem>
#include <iostream>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#ifdef EQUAT_HAVE_PDF
#include "cli/pdfout.h"
#include "cli/toolapp.h"
#endif
#include "cli/tablehelp.h"
#include "cli/tr.h"
#include "core/fileio.h"
#include "outputs/formats.h"

namespace equat {
namespace {

int Usage(std::string_view message) {
    std::cerr << "equat-rtf: " << message << '\n' << RtfUsage();
    return 2;
}

// Far above any document the program makes, low enough to refuse an endless device at once.
constexpr std::size_t kMaxInputBytes = 32u << 20;

#ifdef EQUAT_HAVE_PDF
// The document laid out as printing lays it out: one PDF, or one PNG image per page.
int WriteLaidOut(const std::string& data, const std::string& to, const std::filesystem::path& out,
                 const std::string& printer) {
    std::string error;
    bool ok = false;
    if (to == "pdf") {
        ok = RtfToPdf(data, out.string(), printer, out.stem().string(), &error);
    } else {
        std::vector<std::string> written;
        ok = RtfToPng(data, out.string(), printer, &written, &error);
        for (const auto& name : written) std::cout << name << '\n';
    }
    if (!ok) {
        std::cerr << "equat-rtf: " << error << '\n';
        return error == Tr("no printer named %1", {printer}) ? 2 : 1;
    }
    return 0;
}
#endif

struct Arguments {
    std::optional<std::string> input, to, output, printer;
};

// The arguments, or the exit status of a run that ends here (help, version, a bad option).
std::optional<int> ParseArguments(int argc, char** argv, Arguments& a) {
    auto& [input, to, output, printer] = a;
    for (int k = 1; k < argc; ++k) {
        const std::string_view arg = argv[k];
        if (arg == "--help" || arg == "-h") {
            std::cout << RtfUsage();
            return 0;
        }
        if (arg == "--version") {
            std::cout << "equat-rtf " << EQUAT_VERSION << '\n';
            return 0;
        }
        if (arg == "--to" || arg == "--output" || arg == "--printer") {
            if (k + 1 >= argc) return Usage(Tr("%1 needs a value", {arg}));
            (arg == "--to" ? to : arg == "--output" ? output : printer) = argv[++k];
        } else if (arg.starts_with("--to=")) {
            to = std::string(arg.substr(5));
        } else if (arg.starts_with("--printer=")) {
            printer = std::string(arg.substr(10));
        } else if (arg.starts_with("--output=")) {
            output = std::string(arg.substr(9));
        } else if (arg.starts_with("-") && arg != "-") {
            return Usage(Tr("unknown option %1", {arg}));
        } else if (input) {
            return Usage(Tr("only one input file"));
        } else {
            input = std::string(arg);
        }
    }
    return std::nullopt;
}

int Run(int argc, char** argv) {
    Arguments args;
    if (const auto status = ParseArguments(argc, argv, args)) return *status;
    const auto& [input, to, output, printer] = args;
    if (!input) return Usage(Tr("no input file"));
    if (!to) return Usage(Tr("--to is required"));
    const FormatInfo* format = FindFormat(*to);
    if (!format || !format->fromRtf)
        return Usage(
            Tr("--to must be one of %1, not %2", {Names(RtfFormatChoices(false), ", "), *to}));
    const bool laidOut = format->laidOut;
#ifndef EQUAT_HAVE_PDF
    if (laidOut) return Usage(Tr("--to %1 needs a build with the Qt layers", {*to}));
#endif
    if (printer && !laidOut)
        return Usage(Tr("--printer goes only with --to %1",
                        {Listed(RtfFormatChoices(ToolsInFrench(), true), ToolsInFrench())}));

    std::filesystem::path out;
    if (output) {
        out = *output;
    } else {
        out = *input;
        out.replace_extension("." + *to);
    }
    // Links and other spellings of the input's name too.
    if (SameFile(out, *input))
        return Usage(output ? Tr("--output %1 is the input: choose another name", {*output})
                            : Tr("the output would replace the input; give --output"));

    std::string error;
    std::string data;
    if (!ReadSmallFile(*input, kMaxInputBytes, data, &error)) {
        std::cerr << "equat-rtf: " << CoreText(error) << '\n';
        return 1;
    }
#ifdef EQUAT_HAVE_PDF
    // A printer's page and page images are laid out here; the rest is the table's writer.
    if (printer || !format->write) return WriteLaidOut(data, *to, out, printer.value_or(""));
    if (laidOut) EnsureApplication();
#endif
    ClassCopy copy;
    copy.sheet.subject = std::move(data);
    NamedFiles files;
    std::string why;
    if (!MakeFormat(*format, OutputData{std::span(&copy, 1), {}}, {out.string()}, &files, &why)) {
        std::cerr << "equat-rtf: " << CoreText(why) << '\n';
        return 1;
    }
    std::vector<std::string> written;
    if (!WriteAllFiles(files, &written, &error)) {
        std::cerr << "equat-rtf: " << CoreText(error) << '\n';
        return 1;
    }
    return 0;
}

}  // namespace
}  // namespace equat

int main(int argc, char** argv) {
    return equat::Run(argc, argv);
}
