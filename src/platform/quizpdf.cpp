// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/quizpdf.h"

#include <QPainter>
#include <QPen>
#include <QTextDocument>
#include <algorithm>
#include <functional>
#include <memory>

#include "platform/pages.h"
#include "platform/paginator.h"

namespace equat {

namespace {

// The room between two cells or columns, where the cut marks go: 1 cm.
constexpr double kGapTwips = 567;
constexpr double kSmallest = 0.5;
constexpr int kMostColumns = 4;

std::vector<std::unique_ptr<Paginator>> Load(const DocumentSources& rtfs) {
    std::vector<std::unique_ptr<Paginator>> pages;
    for (const DocumentSource& rtf : rtfs) pages.push_back(std::make_unique<Paginator>(rtf.Read()));
    return pages;
}

// Draws in twips on the painter's device.
class TwipPainter {
  public:
    explicit TwipPainter(PageDevice& pages) : pages_(pages), device_(pages.Device()) {}
    bool Begin(QString* why) {
        if (!painter_.begin(&device_)) *why = "Le travail n'a pas pu commencer";
        return painter_.isActive();
    }
    bool End(bool ok, QString* why) {
        if (painter_.isActive() && !painter_.end() && ok) {
            *why = "Le travail n'a pas pu se terminer";
            return false;
        }
        return ok;
    }
    bool NewPage(QString* why) {
        if (pages_.NewPage()) return true;
        *why = "Une nouvelle page n'a pas pu \u00eatre ajout\u00e9e";
        return false;
    }
    QPainter& painter() { return painter_; }
    QRectF page() const { return PageRectTwips(device_); }
    // A dashed line, from a to b in twips.
    void CutMark(QPointF a, QPointF b) {
        const double sx = device_.logicalDpiX() / 1440.0, sy = device_.logicalDpiY() / 1440.0;
        painter_.save();
        QPen pen(Qt::gray);
        pen.setWidthF(device_.logicalDpiX() / 150.0);
        pen.setStyle(Qt::DashLine);
        painter_.setPen(pen);
        painter_.drawLine(QPointF(a.x() * sx, a.y() * sy), QPointF(b.x() * sx, b.y() * sy));
        painter_.restore();
    }
    // The document from its start in rect, at scale; the first position not drawn.
    int Draw(Paginator& pages, const QRectF& rect, double scale, int start = 0) {
        const double sx = device_.logicalDpiX() / 1440.0, sy = device_.logicalDpiY() / 1440.0;
        painter_.save();
        painter_.translate(rect.left() * sx, rect.top() * sy);
        painter_.scale(scale, scale);
        const int next = pages.FormatRange(
            painter_, QRectF(0, 0, rect.width() / scale, rect.height() / scale), start, true);
        painter_.restore();
        return next;
    }

  private:
    PageDevice& pages_;
    QPaintDevice& device_;
    QPainter painter_;
};

}  // namespace

// Aligns each strip on its copy laid out at that width (the strip's own at that scale).
void AlignStrips(std::vector<std::unique_ptr<Paginator>>& strips,
                 std::vector<std::unique_ptr<Paginator>>& copies,
                 const std::function<double(std::size_t)>& widthOf) {
    for (std::size_t k = 0; k < strips.size() && k < copies.size(); ++k)
        strips[k]->AlignTo(copies[k]->ParagraphTops(widthOf(k)));
}

// The scale of each copy in a cell; false with *why when one does not fit even at the smallest.
bool CellScales(std::vector<std::unique_ptr<Paginator>>& pages, double width, double height,
                std::vector<double>* scales, QString* why) {
    for (const auto& doc : pages) {
        double scale = 1;
        while (scale > kSmallest && doc->HeightTwips(width / scale) > height / scale)
            scale = std::max(scale - 0.05, kSmallest);
        if (doc->HeightTwips(width / scale) > height / scale) {
            *why =
                QString(
                    "Une copie ne tient pas dans sa case, m\u00eame r\u00e9duite de moiti\u00e9 : "
                    "choisissez moins de copies par page ou moins de questions (copie %1)")
                    .arg(scales->size() + 1);
            return false;
        }
        scales->push_back(scale);
    }
    return true;
}

bool PaintQuizPages(const DocumentSources& rtfs, int perPage, PageDevice& device, QString* why,
                    const DocumentSources& copies) {
    TwipPainter out(device);
    auto pages = Load(rtfs);
    const QRectF page = out.page();
    const int rows = std::max(perPage / 2, 1);
    const double width = (page.width() - kGapTwips) / 2;
    const double height = (page.height() - (rows - 1) * kGapTwips) / rows;
    // Every copy's scale before the first page: a copy whose questions would be cut off
    // refuses the whole job, so that no pupil gets a quiz with a question missing. Strips
    // take their copies' scales and places.
    std::vector<double> scales;
    auto besides = Load(copies.size() == rtfs.size() ? copies : DocumentSources{});
    if (!CellScales(besides.empty() ? pages : besides, width, height, &scales, why)) return false;
    AlignStrips(pages, besides, [&](std::size_t k) { return width / scales[k]; });
    if (!out.Begin(why)) return false;
    bool ok = true;
    for (std::size_t k = 0; ok && k < pages.size(); ++k) {
        const int cell = static_cast<int>(k % static_cast<std::size_t>(rows * 2));
        if (cell == 0) {
            ok = k == 0 || out.NewPage(why);
            if (!ok) break;
            const double middle = page.left() + width + kGapTwips / 2;
            out.CutMark({middle, page.top()}, {middle, page.bottom()});
            for (int r = 1; r < rows; ++r) {
                const double y = page.top() + r * (height + kGapTwips) - kGapTwips / 2;
                out.CutMark({page.left(), y}, {page.right(), y});
            }
        }
        const QRectF box(page.left() + (cell % 2) * (width + kGapTwips),
                         page.top() + (cell / 2) * (height + kGapTwips), width, height);
        out.Draw(*pages[k], box, scales[k]);
    }
    return out.End(ok, why);
}

bool PaintColumns(const DocumentSources& rtfs, int columns, PageDevice& device, QString* why,
                  const DocumentSources& copies) {
    TwipPainter out(device);
    if (!out.Begin(why)) return false;
    auto pages = Load(rtfs);
    const QRectF page = out.page();
    if (columns <= 0) {
        double widest = 1;
        for (auto& p : pages) widest = std::max(widest, p->IdealWidthTwips(page.width()));
        columns = std::clamp(static_cast<int>((page.width() + kGapTwips) / (widest + kGapTwips)), 1,
                             kMostColumns);
    }
    const double width = (page.width() - (columns - 1) * kGapTwips) / columns;
    auto besides = Load(copies.size() == rtfs.size() ? copies : DocumentSources{});
    AlignStrips(pages, besides, [&](std::size_t) { return page.width(); });
    int column = 0;
    double y = page.top();
    bool ok = true;
    auto nextColumn = [&] {
        y = page.top();
        if (++column < columns) return true;
        column = 0;
        return out.NewPage(why);
    };
    for (std::size_t k = 0; ok && k < pages.size(); ++k) {
        Paginator& p = *pages[k];
        const double height = p.HeightTwips(width);
        const double left = page.left() + column * (width + kGapTwips);
        if (y > page.top() && y + kGapTwips + height > page.bottom()) {
            ok = nextColumn();
        } else if (y > page.top()) {
            out.CutMark({left, y + kGapTwips / 2}, {left + width, y + kGapTwips / 2});
            y += kGapTwips;
        }
        for (int at = 0; ok;) {
            const QRectF box(page.left() + column * (width + kGapTwips), y, width,
                             page.bottom() - y);
            at = out.Draw(p, box, 1, at);
            if (at >= p.TextLength()) break;
            ok = nextColumn();
        }
        y += height;
        // What went on over columns ends somewhere in the last: the next starts afresh.
        if (ok && y > page.bottom() && k + 1 < pages.size()) ok = nextColumn();
    }
    return out.End(ok, why);
}

}  // namespace equat
