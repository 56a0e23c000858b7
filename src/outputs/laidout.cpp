// SPDX-License-Identifier: GPL-3.0-or-later
#include "outputs/laidout.h"

#include <filesystem>

#include "core/resultgrid.h"
#include "platform/classpdf.h"

namespace equat {

bool WritePdf(const OutputData& output, const std::vector<std::string>& names, NamedFiles* files,
              std::string* error) {
    std::vector<std::string_view> docs[2];
    for (const auto& copy : output.copies) docs[0].push_back(copy.sheet.subject);
    for (const ClassCopy* copy : output.InKeyOrder()) docs[1].push_back(copy->sheet.answerKey);
    for (std::size_t k = 0; k < names.size() && k < 2; ++k) {
        std::string pdf;
        const std::string title = std::filesystem::path(names[k]).stem().string();
        if (!CollatedPdf(docs[k], title, &pdf, error)) return false;
        files->emplace_back(names[k], std::move(pdf));
    }
    return true;
}

bool WriteGrid(const OutputData& output, const std::vector<std::string>& names, NamedFiles* files,
               std::string* error) {
    std::vector<std::size_t> order = output.keyOrder;
    if (order.empty())
        for (std::size_t k = 0; k < output.copies.size(); ++k) order.push_back(k);
    std::string pdf;
    if (!AnswerGridPdf(MakeAnswerGrid(output.copies, order), &pdf, error)) return false;
    files->emplace_back(names.at(0), std::move(pdf));
    return true;
}

}  // namespace equat
