// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <cstddef>
#include <string>

#include "core/adapted.h"

namespace equat {

// The document prologue of the layout: the standard one with its text fonts replaced by
// the layout's font, and the layout's line spacing for every paragraph.
std::string AdaptedRtfHeader(const AdaptedLayout& layout);

// A size of the standard documents, in half-points, in the layout: scaled from the standard
// 9 points to the layout's size (the x, drawn larger beside the standard text, at the text's
// size).
int AdaptedSize(int size, const AdaptedLayout& layout);

// Rewrites rtf[from, end) for the layout: font sizes scaled from the standard 9 points to
// the layout's size (the x, drawn larger beside the standard text, at the text's size),
// italics dropped. Text is left as it is.
void AdaptRtf(std::string& rtf, std::size_t from, const AdaptedLayout& layout);

}  // namespace equat
