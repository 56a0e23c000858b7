// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/classrun.h"

#include <iostream>
#include <numeric>

#ifdef EQUAT_HAVE_PDF
#include "cli/collate.h"
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
    std::vector<std::string> names;
    if (!job.roster.empty()) {
        std::string bytes, error;
        if (!ReadWholeFile(job.roster, bytes, &error)) return Fail(error, 2);
        auto parsed = ParseRoster(bytes, &error);
        if (!parsed) return Fail(job.roster + " : " + Cp1252ToUtf8(error), 2);
        names = std::move(*parsed);
    }
    SheetCode shape;
    shape.kind = job.kind;
    shape.level = job.settings.level;
    shape.count = job.settings.count;
    shape.interline = job.settings.interline;
    shape.keyStyle = job.settings.keyStyle;
    int repeats = 0;
    std::vector<ClassCopy> set =
        BuildClassSet(shape, job.settings, stream, job.sheets, names, &repeats);
    if (repeats > 0)
        std::cerr << "equat-sheet: attention : ce niveau n'a pas assez de questions pour des "
                     "copies toutes diff\xC3\xA9rentes ; "
                  << repeats << " questions se retrouvent sur deux copies\n";
    std::vector<std::size_t> order(set.size());
    std::iota(order.begin(), order.end(), std::size_t{0});
    if (!names.empty()) order = OrderByName(set);
#ifdef EQUAT_HAVE_PDF
    if (!job.collate.empty()) {
        std::vector<std::string> written;
        std::string error;
        const bool ok = WriteClassPdfs(set, order, job.collate, job.answers, &written, &error);
        for (const auto& name : written) std::cout << name << '\n';
        return ok ? 0 : Fail(error, 1);
    }
    if (!job.answers.empty()) {
        const int status = WriteGridAlone(set, order, job.answers);
        if (status != 0) return status;
    }
#endif
    for (auto& copy : set) sheets->push_back(std::move(copy.sheet));
    return -1;
}

}  // namespace equat
