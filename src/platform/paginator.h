// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <QColor>
#include <QFont>
#include <QRectF>
#include <QString>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "rtf/model.h"

class QPainter;
class QTextDocument;

namespace equat {

class PageDevice;

// A document to lay out: RTF bytes (a file a teacher opened or edited), read when loaded, or
// a document made when loaded without any RTF (a sheet's, from its model).
class DocumentSource {
  public:
    DocumentSource(std::string_view rtf) : rtf_(rtf) {}
    DocumentSource(const std::string& rtf) : rtf_(rtf) {}
    explicit DocumentSource(std::function<rtf::Document()> make) : make_(std::move(make)) {}
    rtf::Document Read() const;

  private:
    std::string_view rtf_;
    std::function<rtf::Document()> make_;
};
using DocumentSources = std::vector<DocumentSource>;

// Cuts a document into pages and paints them: the one page layout of printing, preview, PDF
// and page images, whatever holds the document (the window's rich-text control, or a
// document made or read by the tools).
//
// Pages are cut from one layout in twips for the page rectangle's width, whatever the device
// (typeset.h sets its lines); the drawing is then scaled to the device's logical resolution.
// So a printer, a PDF writer, an SVG generator or a picture given the same rectangle get the
// same page breaks. Tab stops are every defaultTabTwips (720 unless the document says
// otherwise). The layout is kept until the document changes.
class Paginator {
  public:
    // The document must outlive the paginator.
    explicit Paginator(const QTextDocument& document, int defaultTabTwips = 720);
    // Lays out a document made or read without any rich-text control; its own default tab.
    explicit Paginator(rtf::Document document);
    ~Paginator();
    Paginator(const Paginator&) = delete;
    Paginator& operator=(const Paginator&) = delete;

    void SetDefaultTab(int twips) { defaultTabTwips_ = twips; }

    // The length of the text, each paragraph end counting one: the positions pages start at.
    int TextLength() const;

    // Lays out the text from character position start into rectTwips on the painter's device
    // and, when render is true, draws the lines that fit there, and only those. Returns the
    // first position that did not fit (TextLength() when everything fitted); it always moves
    // past at least one line, so a loop over pages ends even when a line is taller than the
    // page.
    int FormatRange(QPainter& painter, const QRectF& rectTwips, int start, bool render = true);

    // The height of the whole text laid out at that width, and the width of its widest line,
    // in twips.
    double HeightTwips(double widthTwips);
    double IdealWidthTwips(double widthTwips);

    // The top of each paragraph's first line, laid out at that width, in twips.
    std::vector<double> ParagraphTops(double widthTwips);
    // From now on lays paragraph k no higher than tops[k]: a strip laid out beside its copy
    // has each line at the height of the copy's, whatever the copy's lines wrap into.
    void AlignTo(std::vector<double> tops);

    // Paints the whole document, page after page, with a painter already started on the
    // device: the first page on the device's current page, a new page before each further
    // one. Several documents go into one job by calling this for each, with a new page
    // between them. starts receives the first position of every page. False with *error
    // when a page could not be added. A valid paper colour fills each whole page first.
    bool PaintPages(QPainter& painter, PageDevice& device, const QRectF& pageTwips,
                    std::vector<int>* starts, QString* error, const QColor& paper = QColor());

  private:
    struct Layout;
    const Layout& LayoutFor(double widthTwips);
    const rtf::Document& Source();

    const QTextDocument* window_ = nullptr;
    std::unique_ptr<rtf::Document> document_;
    int sourceRevision_ = -1;
    int length_ = 0;
    int defaultTabTwips_;
    std::unique_ptr<Layout> layout_;
    std::vector<double> align_;
};

}  // namespace equat
