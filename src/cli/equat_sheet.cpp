// SPDX-License-Identifier: GPL-3.0-or-later
// equat-sheet: generates worksheets and their answer keys without the window, with the
// same core, so that one seed gives the same documents everywhere.
#include <filesystem>
#include <iostream>
#include <set>
#include <string>
#include <vector>

#ifdef EQUAT_HAVE_PDF
#include "cli/toolapp.h"
#endif
#include "cli/classrun.h"
#include "cli/sheetoptions.h"
#include "cli/tablehelp.h"
#include "cli/tr.h"
#include "core/cp1252.h"
#include "core/fileio.h"
#include "core/kinds.h"
#include "core/random.h"
#include "core/savenames.h"
#include "outputs/formats.h"

namespace equat {
namespace {

namespace fs = std::filesystem;

// One copy's files, staged into the set, from the table of formats: its RTF pair (as the
// window saves it, through our writer; --raw keeps the generators' bytes), with --odt its
// OpenDocument pair and with --pdf its PDF pair beside it, laid out as printing does.
bool StageSheetFiles(const ClassCopy& copy, const SaveNames& names, const SheetJob& job,
                     StagedSet& set, std::vector<std::string>* written, std::string* error) {
    const OutputData one{std::span<const ClassCopy>(&copy, 1), {}, job.raw};
    const std::string stem = fs::path(names.subject).replace_extension().string();
    NamedFiles files;
    if (!MakeFormat(Format(FormatId::Rtf), one, {names.subject, names.answerKey}, &files, error))
        return false;
    const struct {
        FormatId format;
        bool asked;
    } beside[] = {{FormatId::Odt, job.odt}, {FormatId::Pdf, job.pdf}, {FormatId::Latex, job.latex}};
    for (const auto& b : beside) {
        if (!b.asked) continue;
        const FormatInfo& format = Format(b.format);
#ifdef EQUAT_HAVE_PDF
        if (format.laidOut) EnsureApplication();
#endif
        if (!MakeFormat(format, one, FormatFiles(format, stem), &files, error)) return false;
    }
    for (const auto& [name, bytes] : files) {
        if (!set.Add(name, bytes, error)) return false;
        written->push_back(name);
    }
    return true;
}

// The file names of every sheet, made before anything is written; false with *error when
// the folder of several sheets cannot be made.
bool NamesFor(const SheetJob& job, const std::vector<ClassCopy>& copies,
              std::vector<SaveNames>* names, std::string* error) {
    if (job.sheets == 1 && job.roster.empty()) {
        names->push_back(SaveNamesFor(job.output.empty() ? copies[0].sheet.baseName : job.output));
        return true;
    }
    const fs::path folder = job.output.empty() ? fs::path(".") : fs::path(job.output);
    std::error_code ec;
    fs::create_directories(folder, ec);
    if (ec) {
        *error = Tr("cannot create folder %1: %2", {folder.string(), ec.message()});
        return false;
    }
    std::set<std::string> used;
    for (const auto& copy : copies) {
        const Sheet& sheet = copy.sheet;
        std::string name = sheet.baseName;
        for (int n = 2; !used.insert(AsciiLower(name)).second; ++n)
            name = sheet.baseName + "-" + std::to_string(n);
        names->push_back(SaveNamesFor((folder / name).string()));
    }
    return true;
}

// Every sheet's pair, the grid, the banks and the log of the whole run, replaced as one set:
// all are staged before the first is renamed.
int WriteAll(const SheetJob& job, const ClassSet& copies, const std::vector<SaveNames>& names,
             const std::string& grid) {
    std::string error;
    StagedSet set;
    // The files written beside a pair too (--odt, --pdf) are never the roster.
    if (!job.roster.empty()) set.Keep(job.roster);
    std::vector<std::string> written;
    const auto count = static_cast<int>(copies.copies.size());
    for (int k = 0; k < count; ++k) {
        const auto copy = static_cast<std::size_t>(k);
        if (!StageSheetFiles(copies.copies[copy], names[copy], job, set, &written, &error))
            return Fail(error, 1);
        ShowProgress(Tr("writing"), k + 1, count);
    }
    NamedFiles banks;
    if (!AddBanks(job, OutputData{copies.copies, copies.keyOrder}, &banks, &error))
        return Fail(error, 1);
    for (const auto& [name, bytes] : banks) {
        if (!set.Add(name, bytes, &error)) return Fail(error, 1);
        written.push_back(name);
    }
    if (!job.answers.empty()) {
        if (!set.Add(job.answers, grid, &error)) return Fail(error, 1);
        written.push_back(job.answers);
    }
    if (!job.log.empty()) {
        std::string log;
        for (const auto& copy : copies.copies)
            for (const auto& entry : copy.sheet.log) log += entry + "\r\n";
        if (!set.Add(job.log, log, &error)) return Fail(error, 1);
    }
    const auto placed = [phase = Tr("putting in place")](std::size_t done, std::size_t total) {
        ShowProgress(phase, static_cast<int>(done), static_cast<int>(total));
    };
    if (!set.Commit(&error, placed)) return Fail(error, 1);
    for (const auto& name : written) std::cout << name << '\n';
    return 0;
}

// No output may be the roster or another output: refused before anything is made, one
// look-up a name.
bool CheckOutputs(const SheetJob& job, const std::vector<std::string>& outputs,
                  std::string* error) {
    FileNameSet roster, seen;
    if (!job.roster.empty()) roster.Insert(job.roster);
    for (const auto& output : outputs) {
        if (!job.roster.empty() && roster.Contains(output)) {
            *error = Tr("%1 is the list of names: choose another name", {Shown(output)});
            return false;
        }
        if (!seen.Insert(output)) {
            *error = Tr("%1 would be written twice: choose another name", {Shown(output)});
            return false;
        }
    }
    return true;
}

// A file written beside each pair (--pdf, --odt, --latex) cannot be its subject: the exit
// status after the message, or -1.
int SubjectClash(const SheetJob& run, const std::string& subject) {
    const std::string extension = AsciiLower(fs::path(subject).extension().string());
    if (run.pdf && extension == ".pdf")
        return Fail(Tr("with --pdf the subject file cannot itself end in .pdf"), 2);
    if (run.odt && extension == ".odt")
        return Fail(Tr("with --odt the subject file cannot itself end in .odt"), 2);
    if (run.latex && extension == ".tex")
        return Fail(Tr("with --latex the subject file cannot itself end in .tex"), 2);
    return -1;
}

// Sheets without codes, one after the other from the stream.
void DrawSheets(const SheetJob& run, QuestionKind& kind, RandomSource& rng, ClassSet& copies) {
    for (int k = 0; k < run.sheets; ++k) {
        copies.copies.push_back(UncodedCopy(run.kind, BuildSheet(kind, rng, run.settings)));
        ShowProgress(Tr("drawing"), k + 1, run.sheets);
    }
}

int Run(const std::vector<std::string>& args) {
    // What the manual pages list from the tables, for the build; not an option for teachers.
    if (args.size() == 2 && args[0] == "--man-lists") {
        std::cout << ManPageLists(args[1] == "fr");
        return 0;
    }
    std::string error;
    const auto job = ParseSheetArgs(args, &error);
    if (!job) return Fail(error, 2);
    if (job->help) {
        std::cout << SheetUsage();
        return 0;
    }
    if (job->version) {
        std::cout << "equat-sheet " << EQUAT_VERSION << '\n';
        return 0;
    }
#ifndef EQUAT_HAVE_PDF
    if (job->pdf) return Fail(Tr("--pdf needs a build with the Qt layers"), 2);
    if (job->settings.graphs) return Fail(Tr("--graph needs a build with the Qt layers"), 2);
#else
    if (job->settings.graphs) EnsureApplication();  // the graphs' painter
#endif

    auto kind = MakeSheetKind(job->kind, job->settings.draw);
    RandomSource rng;
    if (job->seed) {
        rng.setSeed(*job->seed);
    } else {
        rng.SeedRandomFromClock();
    }
    // The names of the PDFs and the grid, checked before anything is made.
    std::vector<std::string> outputs;
    if (!CollatedNames(*job, &outputs, &error)) return Fail(error, 2);
    if (!job->log.empty()) outputs.push_back(job->log);
    for (const std::string* bank : {&job->moodle, &job->gift, &job->amc})
        if (!bank->empty()) outputs.push_back(*bank);
    if (!CheckOutputs(*job, outputs, &error)) return Fail(error, 2);
    SheetJob run = *job;
    if (!run.answers.empty()) run.answers = outputs[run.collate.empty() ? 0 : 2];

    ClassSet copies;
    std::string grid;
    if (run.ClassSet()) {
        const int status = RunClassSet(run, rng, &copies, &grid);
        if (status >= 0) return status;
    } else {
        DrawSheets(run, *kind, rng, copies);
    }
    std::vector<SaveNames> names;
    if (!NamesFor(run, copies.copies, &names, &error)) return Fail(error, 1);
    if (const int status = SubjectClash(run, names[0].subject); status >= 0) return status;
    // The pairs against the roster and the other outputs; the set refuses the files made
    // beside them (--odt, --pdf) in the same way.
    std::vector<std::string> pairs = outputs;
    for (const auto& n : names) pairs.insert(pairs.end(), {n.subject, n.answerKey});
    if (!CheckOutputs(run, pairs, &error)) return Fail(error, 2);
    return WriteAll(run, copies, names, grid);
}

}  // namespace
}  // namespace equat

int main(int argc, char** argv) {
    return equat::Run({argv + 1, argv + argc});
}
