// SPDX-License-Identifier: GPL-3.0-or-later
// equat-sheet: generates worksheets and their answer keys without the window, with the
// same core, so that one seed gives the same documents everywhere.
#include <filesystem>
#include <iostream>
#include <set>
#include <string>
#include <vector>

#ifdef EQUAT_HAVE_PDF
#include "cli/pdfout.h"
#endif
#include "cli/classrun.h"
#include "cli/sheetoptions.h"
#include "core/fileio.h"
#include "core/kinds.h"
#include "core/random.h"
#include "core/savenames.h"

namespace fs = std::filesystem;
using namespace equat;

namespace {

std::string Lower(std::string s) {
    for (auto& c : s)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return s;
}

// The subject and its answer key (and their PDFs) replace the old files together or not at
// all, so that a failure never leaves a new subject beside an old answer key.
bool WriteSheetFiles(const Sheet& sheet, const SaveNames& names, bool pdf, std::string* error) {
    std::vector<FileContent> files{{names.subject, sheet.subject},
                                   {names.answerKey, sheet.answerKey}};
    std::string pdfs[2];
#ifdef EQUAT_HAVE_PDF
    for (int i = 0; pdf && i < 2; ++i) {
        // Beside the document, its extension replaced.
        const fs::path path = fs::path(files[i].path).replace_extension(".pdf");
        if (!RtfToPdfBytes(files[i].bytes, "", path.stem().string(), &pdfs[i], error)) return false;
        files.push_back({path, pdfs[i]});
    }
#else
    (void)pdf;
#endif
    if (!ReplaceFiles(files, error)) return false;
    for (const auto& file : files) std::cout << file.path.string() << '\n';
    return true;
}

int Fail(const std::string& message, int status) {
    std::cerr << "equat-sheet: " << message << '\n';
    return status;
}

// The file names of every sheet, made before anything is written; false with *error when
// the folder of several sheets cannot be made.
bool NamesFor(const SheetJob& job, const std::vector<Sheet>& sheets, std::vector<SaveNames>* names,
              std::string* error) {
    if (job.sheets == 1 && job.roster.empty()) {
        names->push_back(SaveNamesFor(job.output.empty() ? sheets[0].baseName : job.output));
        return true;
    }
    const fs::path folder = job.output.empty() ? fs::path(".") : fs::path(job.output);
    std::error_code ec;
    fs::create_directories(folder, ec);
    if (ec) {
        *error = "cannot create folder " + folder.string() + ": " + ec.message();
        return false;
    }
    std::set<std::string> used;
    for (const auto& sheet : sheets) {
        std::string name = sheet.baseName;
        for (int n = 2; !used.insert(Lower(name)).second; ++n)
            name = sheet.baseName + "-" + std::to_string(n);
        names->push_back(SaveNamesFor((folder / name).string()));
    }
    return true;
}

// Every sheet's pair, then the log of the whole run.
int WriteAll(const SheetJob& job, const std::vector<Sheet>& sheets,
             const std::vector<SaveNames>& names) {
    std::string error;
    for (std::size_t k = 0; k < sheets.size(); ++k)
        if (!WriteSheetFiles(sheets[k], names[k], job.pdf, &error)) return Fail(error, 1);
    if (job.log.empty()) return 0;
    std::string log;
    for (const auto& sheet : sheets)
        for (const auto& entry : sheet.log) log += entry + "\r\n";
    if (!WriteFileAtomically(job.log, log, &error)) return Fail(error, 1);
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    std::string error;
    const auto job = ParseSheetArgs(args, &error);
    if (!job) return Fail(error, 2);
    if (job->help) {
        std::cout << kSheetUsage;
        return 0;
    }
    if (job->version) {
        std::cout << "equat-sheet " << EQUAT_VERSION << '\n';
        return 0;
    }
#ifndef EQUAT_HAVE_PDF
    if (job->pdf) return Fail("--pdf needs a build with the Qt layers", 2);
#endif

    auto kind = MakeKind(job->kind);
    RandomSource rng;
    if (job->seed) {
        rng.setSeed(*job->seed);
    } else {
        rng.SeedRandomFromClock();
    }
    std::vector<Sheet> sheets;
    if (job->ClassSet()) {
        const int status = RunClassSet(*job, rng, &sheets);
        if (status >= 0) return status;
    } else {
        for (int k = 0; k < job->sheets; ++k)
            sheets.push_back(BuildSheet(*kind, rng, job->settings));
    }
    std::vector<SaveNames> names;
    if (!NamesFor(*job, sheets, &names, &error)) return Fail(error, 1);
    if (job->pdf && Lower(fs::path(names[0].subject).extension().string()) == ".pdf")
        return Fail("with --pdf the subject file cannot itself end in .pdf", 2);
    return WriteAll(*job, sheets, names);
}
