// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <memory>
#include <string_view>
#include <vector>

#include "core/sheet.h"

namespace equat {

// The sheet kinds by their short names ("1d", ...), for the window and the batch tool.
std::unique_ptr<QuestionKind> MakeKind(std::string_view name);
std::vector<std::string_view> KindNames();

}  // namespace equat
