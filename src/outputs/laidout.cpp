// SPDX-License-Identifier: GPL-3.0-or-later
#include "outputs/laidout.h"

#include <algorithm>
#include <filesystem>

#include "core/resultgrid.h"
#include "platform/classpdf.h"
#include "platform/pages.h"

namespace equat {

bool WritePdf(const OutputData& output, const std::vector<std::string>& names, NamedFiles* files,
              std::string* error) {
    std::vector<std::string_view> docs[2];
    for (const auto& copy : output.copies) docs[0].push_back(copy.sheet.subject);
    for (const ClassCopy* copy : output.InKeyOrder()) docs[1].push_back(copy->sheet.answerKey);
    const std::size_t count = std::min<std::size_t>(names.size(), 2);
    std::string made[2], errors[2];
    bool ok[2] = {true, true};
    auto make = [&](std::size_t k) {
        const std::string title = std::filesystem::path(names[k]).stem().string();
        ok[k] = CollatedPdf(docs[k], title, &made[k], &errors[k]);
    };
    // The subjects on a second core while this thread makes the keys.
    if (count == 2) {
        RunBeside([&] { make(0); }, [&] { make(1); });
    } else {
        make(0);
    }
    for (std::size_t k = 0; k < count; ++k) {
        if (!ok[k]) {
            *error = errors[k];
            return false;
        }
    }
    for (std::size_t k = 0; k < count; ++k) files->emplace_back(names[k], std::move(made[k]));
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
