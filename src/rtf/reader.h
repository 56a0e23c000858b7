// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <optional>
#include <string_view>
#include <vector>

#include "rtf/model.h"

namespace equat::rtf {

// Where the reader sends what it reads, in document order. Formats arrive resolved: the
// font is an index in the order fonts were announced (-1 when the document has none),
// colours are values.
class RtfSink {
  public:
    virtual ~RtfSink() = default;
    virtual void OnFont(const Font& font) = 0;
    virtual void OnText(std::string_view utf8, const CharFormat& format) = 0;
    virtual void OnParagraphEnd(const ParaFormat& para, const CharFormat& mark) = 0;
    // A PNG picture after the text so far; other pictures are skipped.
    virtual void OnPicture(const PngPicture& /*picture*/, const CharFormat& /*format*/) {}
    // After the last text: the document's defaults and the last paragraph's properties.
    virtual void OnEnd(int defaultFont, int defaultTab, int language, const ParaFormat& last,
                       const CharFormat& lastMark) = 0;
};

// Reads any bytes as RTF without ever failing: malformed input gives the text it holds.
// Input that does not open with "{\rtf" is read as text with RTF syntax in it. Time and
// memory grow linearly with the input.
void ReadRtf(std::string_view rtf, RtfSink& sink);
Document ReadRtf(std::string_view rtf);

// The bound of a cell's right edge, twips: more than any page.
inline constexpr int kMaxCellRight = 1 << 20;
// A table's paragraph at `place` (its right edge not yet set) in a row of those edges: a cell
// past the last edge given stands 1440 twips right of the one before, within the bound; a
// cell's later paragraphs keep the edge of its first (`previous`: the paragraph before).
CellPlace PlaceInRow(const std::optional<CellPlace>& previous, CellPlace place,
                     const std::vector<int>& edges);

// True when the bytes open (after white space) with "{\rtf".
bool LooksLikeRtf(std::string_view bytes);

// Builds the document model; the reader's usual sink.
class DocumentBuilder : public RtfSink {
  public:
    void OnFont(const Font& font) override;
    void OnText(std::string_view utf8, const CharFormat& format) override;
    void OnPicture(const PngPicture& picture, const CharFormat& format) override;
    void OnParagraphEnd(const ParaFormat& para, const CharFormat& mark) override;
    void OnEnd(int defaultFont, int defaultTab, int language, const ParaFormat& last,
               const CharFormat& lastMark) override;
    Document Take() { return std::move(doc_); }

  private:
    int TextFontFor(int defaultFont);
    Document doc_;
};

}  // namespace equat::rtf
