// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <QString>
#include <QStringList>

class QPageLayout;

namespace equat {

class Paginator;

// The whole text as one PNG image per page at dpi, in the page cuts of printing: path with
// "-1", "-2", ... inserted before its extension. written receives the names.
bool WritePngPages(Paginator& pages, const QString& path, const QPageLayout& layout, int dpi,
                   QStringList* written, QString* error);

}  // namespace equat
