// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/classrun.h"

#include <iostream>

#ifdef EQUAT_HAVE_PDF
#include "cli/pdfout.h"
#include "platform/classpdf.h"
#endif
#include "core/classset.h"
#include "core/cp1252.h"
#include "core/fileio.h"

namespace equat {

namespace {

int Fail(const std::string& message, int status) {
    std::cerr << "equat-sheet: " << message << '\n';
    return status;
}

#ifdef EQUAT_HAVE_PDF
int WriteGridAlone(const std::vector<ClassCopy>& set, const std::vector<std::size_t>& order,
                   const std::string& path) {
    std::string pdf, error;
    if (!AnswerGridPdf(MakeAnswerGrid(set, order), &pdf, &error) ||
        !WriteFileAtomically(path, pdf, &error))
        return Fail(error, 1);
    std::cout << path << '\n';
    return 0;
}
#endif

}  // namespace

int RunClassSet(const SheetJob& job, RandomSource& stream, std::vector<Sheet>* sheets) {
#ifndef EQUAT_HAVE_PDF
    if (!job.collate.empty() || !job.answers.empty())
        return Fail("--collate et --answers demandent une version construite avec Qt", 2);
#endif
    ClassSetRequest request;
    request.kind = job.kind;
    request.settings = job.settings;
    request.copies = job.sheets;
    if (!job.roster.empty()) {
        std::string bytes, error;
        if (!ReadWholeFile(job.roster, bytes, &error)) return Fail(error, 2);
        auto parsed = ParseRoster(bytes, &error);
        if (!parsed) return Fail(job.roster + " : " + Cp1252ToUtf8(error), 2);
        request.names = std::move(*parsed);
    }
    ClassSet set = MakeClassSet(request, stream);
    if (set.repeats > 0)
        std::cerr << "equat-sheet: attention : ce niveau n'a pas assez de questions pour des "
                     "copies toutes diff\xC3\xA9rentes ; "
                  << set.repeats << " questions se retrouvent sur deux copies\n";
#ifdef EQUAT_HAVE_PDF
    if (!job.collate.empty() || !job.answers.empty()) EnsureApplication();
    if (!job.collate.empty()) {
        std::vector<std::string> written;
        std::string error;
        const bool ok =
            WriteClassPdfs(set.copies, set.keyOrder, job.collate, job.answers, &written, &error);
        for (const auto& name : written) std::cout << name << '\n';
        return ok ? 0 : Fail(error, 1);
    }
    if (!job.answers.empty()) {
        const int status = WriteGridAlone(set.copies, set.keyOrder, job.answers);
        if (status != 0) return status;
    }
#endif
    for (auto& copy : set.copies) sheets->push_back(std::move(copy.sheet));
    return -1;
}

}  // namespace equat
