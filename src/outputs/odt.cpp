// SPDX-License-Identifier: GPL-3.0-or-later
#include "outputs/odt.h"

#include <algorithm>
#include <cstdio>

#include "outputs/documents.h"
#include "outputs/zip.h"
#include "rtf/tablegrid.h"
#include "rtf/writer.h"

namespace equat {

namespace {

constexpr std::string_view kMimeType = "application/vnd.oasis.opendocument.text";
constexpr std::string_view kNamespaces =
    " xmlns:office=\"urn:oasis:names:tc:opendocument:xmlns:office:1.0\""
    " xmlns:style=\"urn:oasis:names:tc:opendocument:xmlns:style:1.0\""
    " xmlns:text=\"urn:oasis:names:tc:opendocument:xmlns:text:1.0\""
    " xmlns:fo=\"urn:oasis:names:tc:opendocument:xmlns:xsl-fo-compatible:1.0\""
    " xmlns:meta=\"urn:oasis:names:tc:opendocument:xmlns:meta:1.0\""
    " xmlns:svg=\"urn:oasis:names:tc:opendocument:xmlns:svg-compatible:1.0\""
    " office:version=\"1.3\"";

std::string Hex(const rtf::Rgb& c) {
    char s[8];
    std::snprintf(s, sizeof s, "#%02x%02x%02x", c.r, c.g, c.b);
    return s;
}

// The document's fonts as ODF declares them; a Symbol-encoded font gives way to the
// default one, since its signs are Unicode.
struct Fonts {
    const rtf::Document& doc;
    std::string NameOf(int index) const {
        const auto valid = [&](int k) { return k >= 0 && k < int(doc.fonts.size()); };
        if (valid(index) &&
            rtf::EncodingOf(doc.fonts[std::size_t(index)]) == rtf::FontEncoding::Text)
            return doc.fonts[std::size_t(index)].name;
        if (valid(doc.defaultFont)) return doc.fonts[std::size_t(doc.defaultFont)].name;
        return "Times New Roman";
    }
};

std::string TextProperties(const rtf::CharFormat& f, const Fonts& fonts) {
    std::string p = "<style:text-properties style:font-name=\"" + XmlEscaped(fonts.NameOf(f.font)) +
                    "\" fo:font-size=\"" + std::to_string(f.size / 2) +
                    (f.size % 2 ? ".5pt\"" : "pt\"");
    if (f.bold) p += " fo:font-weight=\"bold\"";
    if (f.italic) p += " fo:font-style=\"italic\"";
    if (f.underline)
        p += " style:text-underline-style=\"solid\" style:text-underline-width=\"auto\""
             " style:text-underline-color=\"font-color\"";
    if (f.strike) p += " style:text-line-through-style=\"solid\"";
    if (f.valign == rtf::VAlign::Super) p += " style:text-position=\"super 58%\"";
    if (f.valign == rtf::VAlign::Sub) p += " style:text-position=\"sub 58%\"";
    if (f.colour) p += " fo:color=\"" + Hex(*f.colour) + "\"";
    if (f.highlight) p += " fo:background-color=\"" + Hex(*f.highlight) + "\"";
    return p + "/>";
}

// Automatic styles: one per distinct character format, one per alignment.
class Styles {
  public:
    explicit Styles(const Fonts& fonts) : fonts_(fonts) {}
    std::string Of(const rtf::CharFormat& f) {
        for (std::size_t k = 0; k < formats_.size(); ++k)
            if (formats_[k] == f) return "T" + std::to_string(k + 1);
        formats_.push_back(f);
        return "T" + std::to_string(formats_.size());
    }
    // A table's style, with one for each of its columns; every cell takes the one bordered
    // cell style.
    std::string Table(const std::vector<int>& widths) {
        tables_.push_back(widths);
        return "Tb" + std::to_string(tables_.size());
    }
    std::string Xml() const {
        std::string xml;
        const char* aligns[] = {"start", "center", "end", "justify"};
        for (int a = 0; a < 4; ++a)
            xml += "<style:style style:name=\"P" + std::to_string(a + 1) +
                   "\" style:family=\"paragraph\" style:parent-style-name=\"Standard\">"
                   "<style:paragraph-properties fo:text-align=\"" +
                   aligns[a] + "\"/></style:style>";
        for (std::size_t k = 0; k < formats_.size(); ++k)
            xml += "<style:style style:name=\"T" + std::to_string(k + 1) +
                   "\" style:family=\"text\">" + TextProperties(formats_[k], fonts_) +
                   "</style:style>";
        return xml + TablesXml();
    }

  private:
    std::string TablesXml() const;

    const Fonts& fonts_;
    std::vector<rtf::CharFormat> formats_;
    std::vector<std::vector<int>> tables_;  // each table's column widths, twips
};

std::string Centimetres(int twips) {
    char s[32];
    std::snprintf(s, sizeof s, "%.3fcm", twips / 1440.0 * 2.54);
    return s;
}

constexpr std::string_view kTableNamespace =
    " xmlns:table=\"urn:oasis:names:tc:opendocument:xmlns:table:1.0\"";

// Declared on the elements that need it, so that a document without tables keeps the bytes
// it always had.
std::string Styles::TablesXml() const {
    if (tables_.empty()) return {};
    std::string xml =
        "<style:style style:name=\"TbCell\" style:family=\"table-cell\">"
        "<style:table-cell-properties fo:border=\"0.5pt solid #000000\" "
        "fo:padding=\"0.05cm\" style:vertical-align=\"middle\"/></style:style>";
    for (std::size_t t = 0; t < tables_.size(); ++t) {
        const std::string name = "Tb" + std::to_string(t + 1);
        int width = 0;
        for (int w : tables_[t]) width += w;
        xml += "<style:style style:name=\"" + name + "\" style:family=\"table\"" +
               std::string(kTableNamespace) + "><style:table-properties style:width=\"" +
               Centimetres(width) +
               "\" table:align=\"left\" table:border-model=\"collapsing\"/></style:style>";
        for (std::size_t c = 0; c < tables_[t].size(); ++c)
            xml += "<style:style style:name=\"" + name + "." + std::to_string(c + 1) +
                   "\" style:family=\"table-column\"><style:table-column-properties "
                   "style:column-width=\"" +
                   Centimetres(tables_[t][c]) + "\"/></style:style>";
    }
    return xml;
}

// Text as ODF keeps it: a space that follows no letter (at the start of a paragraph, after
// a space, a tab or a break, in this run or the one before) as its own element, since
// readers collapse the others; tabs and line breaks as elements.
std::string RunText(std::string_view text, bool& afterSpace) {
    std::string out;
    for (std::size_t pos = 0; pos < text.size();) {
        const std::size_t at = pos;
        const char32_t c = rtf::NextCodePoint(text, pos);
        const bool blank = c == ' ' || c == '\t' || c == 0x2028;
        if (c == ' ') {
            out += afterSpace ? "<text:s/>" : " ";
        } else if (c == '\t') {
            out += "<text:tab/>";
        } else if (c == 0x2028) {
            out += "<text:line-break/>";
        } else {
            out += XmlEscaped(text.substr(at, pos - at));
        }
        afterSpace = blank;
    }
    return out;
}

// A picture in its line, its PNG the archive's Pictures/graphN.png; its namespaces declared on
// it, so that a document without pictures keeps the bytes it always had.
std::string PictureXml(const PngPicture& picture, std::size_t n) {
    const std::string name = "graph" + std::to_string(n);
    return "<draw:frame xmlns:draw=\"urn:oasis:names:tc:opendocument:xmlns:drawing:1.0\" "
           "xmlns:xlink=\"http://www.w3.org/1999/xlink\" draw:name=\"" +
           name + "\" text:anchor-type=\"as-char\" svg:width=\"" + Centimetres(picture.width) +
           "\" svg:height=\"" + Centimetres(picture.height) +
           "\"><draw:image xlink:href=\"Pictures/" + name +
           ".png\" xlink:type=\"simple\" xlink:show=\"embed\" xlink:actuate=\"onLoad\"/>"
           "</draw:frame>";
}

// One paragraph; the pictures met, in order, into *pictures.
std::string ParagraphXml(const rtf::Paragraph& p, Styles& styles,
                         std::vector<const PngPicture*>* pictures) {
    const std::string mark = styles.Of(p.mark);
    std::string xml = "<text:p text:style-name=\"P" + std::to_string(int(p.align) + 1) + "\">";
    if (p.runs.empty()) xml += "<text:span text:style-name=\"" + mark + "\"/>";
    bool afterSpace = true;
    for (const auto& r : p.runs) {
        xml += "<text:span text:style-name=\"" + styles.Of(r.format) + "\">" +
               RunText(r.text, afterSpace) + "</text:span>";
        if (!r.picture) continue;
        pictures->push_back(&*r.picture);
        xml += PictureXml(*r.picture, pictures->size());
    }
    return xml + "</text:p>\n";
}

// A table of the document: its columns, then its rows of bordered cells.
std::string TableXml(const rtf::Document& doc, const rtf::TableGrid& grid, Styles& styles,
                     std::vector<const PngPicture*>* pictures) {
    const std::vector<int> widths = grid.Widths();
    const std::string name = styles.Table(widths);
    std::string xml = "<table:table" + std::string(kTableNamespace) + " table:name=\"" + name +
                      "\" table:style-name=\"" + name + "\">";
    for (std::size_t c = 0; c < widths.size(); ++c)
        xml +=
            "<table:table-column table:style-name=\"" + name + "." + std::to_string(c + 1) + "\"/>";
    for (const auto& row : grid.cells) {
        xml += "<table:table-row>";
        for (const auto& cell : row) {
            xml += "<table:table-cell table:style-name=\"TbCell\" office:value-type=\"string\">";
            if (cell.first == cell.last) xml += "<text:p text:style-name=\"P1\"/>";
            for (std::size_t k = cell.first; k < cell.last; ++k)
                xml += ParagraphXml(doc.paragraphs[k], styles, pictures);
            xml += "</table:table-cell>";
        }
        xml += "</table:table-row>";
    }
    return xml + "</table:table>\n";
}

// The body; the pictures met, in order, into *pictures.
std::string ContentXml(const rtf::Document& doc, const Fonts& fonts,
                       std::vector<const PngPicture*>* pictures) {
    Styles styles(fonts);
    std::string body;
    for (std::size_t k = 0; k < doc.paragraphs.size();) {
        if (doc.paragraphs[k].cell) {
            const rtf::TableGrid grid = rtf::TableAt(doc.paragraphs, k);
            body += TableXml(doc, grid, styles, pictures);
            k = grid.end;
        } else {
            body += ParagraphXml(doc.paragraphs[k++], styles, pictures);
        }
    }
    std::string faces;
    std::vector<std::string> names;
    for (int k = -1; k < int(doc.fonts.size()); ++k) {
        const std::string name = fonts.NameOf(k);
        if (std::find(names.begin(), names.end(), name) != names.end()) continue;
        names.push_back(name);
        faces += "<style:font-face style:name=\"" + XmlEscaped(name) + "\" svg:font-family=\"'" +
                 XmlEscaped(name) + "'\"/>";
    }
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<office:document-content" +
           std::string(kNamespaces) + "><office:font-face-decls>" + faces +
           "</office:font-face-decls><office:automatic-styles>" + styles.Xml() +
           "</office:automatic-styles><office:body><office:text>\n" + body +
           "</office:text></office:body></office:document-content>\n";
}

std::string StylesXml(const rtf::Document& doc, const Fonts& fonts) {
    const double tabCm = doc.defaultTab / 1440.0 * 2.54;
    char tab[32];
    std::snprintf(tab, sizeof tab, "%.3fcm", tabCm);
    const std::string font = XmlEscaped(fonts.NameOf(doc.defaultFont));
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<office:document-styles" +
           std::string(kNamespaces) + "><office:font-face-decls><style:font-face style:name=\"" +
           font + "\" svg:font-family=\"'" + font +
           "'\"/></office:font-face-decls><office:styles>"
           "<style:default-style style:family=\"paragraph\"><style:paragraph-properties "
           "style:tab-stop-distance=\"" +
           tab + "\"/><style:text-properties style:font-name=\"" + font +
           "\" fo:font-size=\"12pt\" fo:language=\"fr\" fo:country=\"FR\"/></style:default-style>"
           "<style:style style:name=\"Standard\" style:family=\"paragraph\"/></office:styles>"
           "<office:automatic-styles><style:page-layout style:name=\"A4\">"
           "<style:page-layout-properties fo:page-width=\"21cm\" fo:page-height=\"29.7cm\" "
           "fo:margin-top=\"1cm\" fo:margin-bottom=\"1cm\" fo:margin-left=\"1cm\" "
           "fo:margin-right=\"1cm\"/></style:page-layout></office:automatic-styles>"
           "<office:master-styles><style:master-page style:name=\"Standard\" "
           "style:page-layout-name=\"A4\"/></office:master-styles></office:document-styles>\n";
}

std::string MetaXml() {
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<office:document-meta" +
           std::string(kNamespaces) +
           "><office:meta><meta:generator>Equat</meta:generator></office:meta>"
           "</office:document-meta>\n";
}

std::string ManifestXml(const std::vector<std::string>& parts, std::size_t pictures) {
    std::string xml =
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<manifest:manifest "
        "xmlns:manifest=\"urn:oasis:names:tc:opendocument:xmlns:manifest:1.0\" "
        "manifest:version=\"1.3\">\n <manifest:file-entry manifest:full-path=\"/\" "
        "manifest:version=\"1.3\" manifest:media-type=\"" +
        std::string(kMimeType) + "\"/>\n";
    for (const auto& part : parts)
        xml += " <manifest:file-entry manifest:full-path=\"" + part +
               "\" manifest:media-type=\"text/xml\"/>\n";
    for (std::size_t n = 1; n <= pictures; ++n)
        xml += " <manifest:file-entry manifest:full-path=\"Pictures/graph" + std::to_string(n) +
               ".png\" manifest:media-type=\"image/png\"/>\n";
    return xml + "</manifest:manifest>\n";
}

}  // namespace

bool OdtBytes(const rtf::Document& doc, std::string* bytes, std::string* error) {
    const Fonts fonts{doc};
    std::vector<const PngPicture*> pictures;
    std::vector<std::pair<std::string, std::string>> parts = {
        {"mimetype", std::string(kMimeType)},
        {"content.xml", ContentXml(doc, fonts, &pictures)},
        {"styles.xml", StylesXml(doc, fonts)},
        {"meta.xml", MetaXml()},
        {"META-INF/manifest.xml",
         ManifestXml({"content.xml", "styles.xml", "meta.xml"}, pictures.size())},
    };
    for (std::size_t n = 1; n <= pictures.size(); ++n)
        parts.emplace_back("Pictures/graph" + std::to_string(n) + ".png", pictures[n - 1]->png);
    return ZipArchive(parts, bytes, error);
}

bool WriteOdtPair(const OutputData& output, const std::vector<std::string>& names,
                  NamedFiles* files, std::string* error) {
    const auto docs = PairDocumentModels(output, names.size());
    for (std::size_t k = 0; k < docs.size(); ++k) {
        std::string bytes;
        if (!OdtBytes(docs[k], &bytes, error)) return false;
        files->emplace_back(names[k], std::move(bytes));
    }
    return true;
}

}  // namespace equat
