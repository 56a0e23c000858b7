// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <QString>
#include <string_view>
#include <vector>

#include "platform/paginator.h"

namespace equat {

// Short documents several to a page: a quick quiz's copies in cells, keys and answer strips
// one under another in columns. Laid out as printing lays out a page (see Paginator), so that
// a line is as high here as on a full page. A Qt application must exist.

// perPage (2, 4 or 6) documents to a page in two columns of perPage / 2 rows, each from the
// top of its cell, made smaller when it does not fit it (down to half its size; false with
// *why before any page when one does not fit even so); dashed cut marks between the cells.
// With copies (one per document), the documents are their strips: each takes its copy's
// scale and cell, every line at the height of the copy's.
bool PaintQuizPages(const DocumentSources& rtfs, int perPage, PageDevice& device, QString* why,
                    const DocumentSources& copies = {});

// The documents one under another in columns (as many as the widest fits beside one another
// when columns is 0, at most four), a dashed cut mark between two; one that does not fit
// what is left of a column starts the next one, one taller than a page goes on over the next
// columns, its lines cut where a page of the same height cuts them.
// With copies, each strip's lines are at the heights of its copy's laid out on a whole page.
bool PaintColumns(const DocumentSources& rtfs, int columns, PageDevice& device, QString* why,
                  const DocumentSources& copies = {});

}  // namespace equat
