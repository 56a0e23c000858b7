// SPDX-License-Identifier: GPL-3.0-or-later
#include "outputs/laidout.h"

#include <filesystem>

#include "core/resultgrid.h"
#include "platform/classpdf.h"

namespace equat {

bool WritePdf(const OutputData& output, const std::vector<std::string>& names, NamedFiles* files,
              std::string* error) {
    if (names.size() < 2) {
        std::string pdf;
        const std::string title = std::filesystem::path(names.at(0)).stem().string();
        if (!CollatedPdf({SheetSubject(output.copies.front().sheet)}, title, &pdf, error))
            return false;
        files->emplace_back(names[0], std::move(pdf));
        return true;
    }
    return ClassPdfs(output.copies, output.KeyOrder(), names[0], names[1], files, error,
                     output.quizPerPage);
}

bool WriteGrid(const OutputData& output, const std::vector<std::string>& names, NamedFiles* files,
               std::string* error) {
    std::string pdf;
    if (!AnswerGridPdf(MakeAnswerGrid(output.copies, output.KeyOrder()), &pdf, error)) return false;
    files->emplace_back(names.at(0), std::move(pdf));
    return true;
}

}  // namespace equat
