// SPDX-License-Identifier: GPL-3.0-or-later
#include "outputs/laidout.h"

#include <filesystem>

#include "core/resultgrid.h"
#include "platform/classpdf.h"

namespace equat {

namespace {

std::vector<std::size_t> KeyOrder(const OutputData& output) {
    std::vector<std::size_t> order = output.keyOrder;
    if (order.empty())
        for (std::size_t k = 0; k < output.copies.size(); ++k) order.push_back(k);
    return order;
}

}  // namespace

bool WritePdf(const OutputData& output, const std::vector<std::string>& names, NamedFiles* files,
              std::string* error) {
    if (names.size() < 2) {
        std::string pdf;
        const std::string title = std::filesystem::path(names.at(0)).stem().string();
        if (!CollatedPdf({output.copies.front().sheet.subject}, title, &pdf, error)) return false;
        files->emplace_back(names[0], std::move(pdf));
        return true;
    }
    // The key's name follows the subject's, as FormatFiles makes it.
    return ClassPdfs(output.copies, KeyOrder(output), names[0], "", files, error,
                     output.quizPerPage);
}

bool WriteGrid(const OutputData& output, const std::vector<std::string>& names, NamedFiles* files,
               std::string* error) {
    std::string pdf;
    if (!AnswerGridPdf(MakeAnswerGrid(output.copies, KeyOrder(output)), &pdf, error)) return false;
    files->emplace_back(names.at(0), std::move(pdf));
    return true;
}

}  // namespace equat
