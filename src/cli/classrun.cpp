// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/classrun.h"

#include <filesystem>
#include <iostream>

#ifndef _WIN32
#include <unistd.h>
#endif

#ifdef EQUAT_HAVE_PDF
#include "cli/toolapp.h"
#include "platform/classpdf.h"
#endif
#include "cli/tr.h"
#include "core/classset.h"
#include "core/cp1252.h"
#include "core/fileio.h"
#include "core/quiz.h"
#include "outputs/formats.h"

namespace equat {

namespace fs = std::filesystem;

int Fail(const std::string& message, int status) {
    std::cerr << "equat-sheet: " << CoreText(message) << '\n';
    return status;
}

namespace {

// A PDF name: ".pdf" added when it has no extension; a folder alone or another extension
// refused.
bool PdfName(const std::string& opt, const std::string& value, std::string* name,
             std::string* error) {
    fs::path path(value);
    const std::string file = path.filename().string();
    std::error_code ec;
    if (file.empty() || file == "." || file == ".." || fs::is_directory(path, ec)) {
        *error = Tr("%1 %2: a file name is needed, not a folder", {opt, Shown(value)});
        return false;
    }
    if (!path.has_extension()) path += ".pdf";
    if (AsciiLower(path.extension().string()) != ".pdf") {
        *error = Tr("%1 %2: the file must end in .pdf", {opt, Shown(value)});
        return false;
    }
    *name = path.string();
    return true;
}

}  // namespace

bool CollatedNames(const SheetJob& job, std::vector<std::string>* names, std::string* error) {
    std::string name;
    if (!job.collate.empty()) {
        if (!PdfName("--collate", job.collate, &name, error)) return false;
        names->push_back(name);
        names->push_back(
            FormatFiles(Format(FormatId::Pdf), fs::path(name).replace_extension().string())[1]);
    }
    if (!job.answers.empty()) {
        if (!PdfName("--answers", job.answers, &name, error)) return false;
        names->push_back(name);
    }
    return true;
}

void ShowProgress(const std::string& phase, int made, int total) {
#ifndef _WIN32
    static const bool terminal = ::isatty(2) == 1;
    if (!terminal || total < 2) return;
    std::cerr << "\r" << phase << ' ' << made << "/" << total << (made == total ? "\n" : "")
              << std::flush;
#else
    (void)phase;
    (void)made;
    (void)total;
#endif
}

bool AddBanks(const SheetJob& job, const OutputData& output, NamedFiles* files,
              std::string* error) {
    const struct {
        const std::string& file;
        FormatId format;
    } banks[] = {
        {job.moodle, FormatId::Moodle}, {job.gift, FormatId::Gift}, {job.amc, FormatId::Amc}};
    for (const auto& bank : banks)
        if (!bank.file.empty() &&
            !MakeFormat(Format(bank.format), output, {bank.file}, files, error))
            return false;
    return true;
}

#ifdef EQUAT_HAVE_PDF
// A collated set: its PDF pair, its grid and its banks written as one set; the exit status.
static int WriteCollated(const SheetJob& job, const ClassSet& set) {
    std::vector<std::string> names, written;
    std::string error;
    if (!CollatedNames(job, &names, &error)) return Fail(error, 2);
    const OutputData all{set.copies, set.keyOrder, false, job.quiz > 0 ? job.perPage : 0};
    NamedFiles files;
    const bool ok =
        MakeFormat(Format(FormatId::Pdf), all, {names[0], names[1]}, &files, &error) &&
        (names.size() < 3 || MakeFormat(Format(FormatId::Grid), all, {names[2]}, &files, &error)) &&
        AddBanks(job, all, &files, &error) &&
        (!job.latex || MakeFormat(Format(FormatId::Latex), all,
                                  FormatFiles(Format(FormatId::Latex),
                                              fs::path(names[0]).replace_extension().string()),
                                  &files, &error)) &&
        WriteAllFiles(files, &written, &error);
    for (const auto& name : written) std::cout << name << '\n';
    return ok ? 0 : Fail(error, 1);
}
#endif

int RunClassSet(const SheetJob& job, RandomSource& stream, ClassSet* made, std::string* grid) {
#ifndef EQUAT_HAVE_PDF
    (void)grid;
    if (!job.collate.empty() || !job.answers.empty())
        return Fail(Tr("--collate and --answers need a build with the Qt layers"), 2);
#endif
    ClassSetRequest request;
    request.kind = job.kind;
    request.settings = job.settings;
    request.copies = job.sheets;
    if (!job.roster.empty()) {
        std::string bytes, error;
        if (!ReadSmallFile(job.roster, kMaxRosterBytes, bytes, &error)) return Fail(error, 2);
        auto parsed = ParseRosterEntries(bytes, &error);
        if (!parsed) return Fail(Tr("%1: %2", {job.roster, Cp1252ToUtf8(error)}), 2);
        for (auto& entry : *parsed) {
            request.names.push_back(std::move(entry.name));
            request.choices.push_back(entry.choice);
        }
    }
    const int total =
        request.names.empty() ? request.copies : static_cast<int>(request.names.size());
    request.progress = [total, phase = Tr("drawing")](int made) {
        ShowProgress(phase, made, total);
        return true;
    };
    ClassSet& set = *made;
    if (job.quiz > 0) {
        QuizRequest quiz;
        quiz.kind = job.kind;
        quiz.settings = job.settings;
        quiz.copies = job.sheets;
        quiz.twoLevels = job.twoLevels;
        quiz.progress = request.progress;
        set = MakeQuiz(quiz, stream);
    } else {
        set = MakeClassSet(request, stream);
    }
    if (set.repeats > 0)
        std::cerr << "equat-sheet: "
                  << Tr("warning: this level has too few questions for copies all different; "
                        "%1 questions are on two copies",
                        {std::to_string(set.repeats)})
                  << '\n';
#ifdef EQUAT_HAVE_PDF
    if (!job.collate.empty() || !job.answers.empty()) EnsureApplication();
    if (!job.collate.empty()) return WriteCollated(job, set);
    if (!job.answers.empty()) {
        std::string error;
        NamedFiles files;
        if (!MakeFormat(Format(FormatId::Grid), OutputData{set.copies, set.keyOrder}, {job.answers},
                        &files, &error))
            return Fail(error, 1);
        *grid = std::move(files.at(0).second);
    }
#endif
    return -1;
}

}  // namespace equat
