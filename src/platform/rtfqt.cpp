// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/rtfqt.h"

#include <QFont>
#include <QFontDatabase>
#include <QSet>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextImageFormat>
#include <QTextTable>
#include <QUrl>
#include <cmath>
#include <map>
#include <tuple>

#include "rtf/tablegrid.h"

namespace equat {

namespace {

// Where the RTF font of a run is kept in its Qt format.
enum : int {
    kFontName = QTextFormat::UserProperty + 1,
    kCharset,
    kFontFamily,
    kPitch,
    kPicturePng,
    kPicturePixels,
    kCellRight,  // a table cell's right edge in twips, as the model gives it
};

Qt::Alignment ToQt(rtf::Align a) {
    switch (a) {
        case rtf::Align::Center:
            return Qt::AlignHCenter;
        case rtf::Align::Right:
            return Qt::AlignRight;
        case rtf::Align::Justify:
            return Qt::AlignJustify;
        case rtf::Align::Left:
            break;
    }
    return Qt::AlignLeft;
}

rtf::Align FromQt(Qt::Alignment a) {
    if (a & Qt::AlignHCenter) return rtf::Align::Center;
    if (a & Qt::AlignRight) return rtf::Align::Right;
    if (a & Qt::AlignJustify) return rtf::Align::Justify;
    return rtf::Align::Left;
}

// Space after a paragraph: twips in the model, pixels of 1/96 inch in Qt's block format.
constexpr double kTwipsPerPixel = 15.0;

void SetSpacing(QTextBlockFormat& f, const rtf::Paragraph& p) {
    if (p.lineSpacing > 0)
        f.setLineHeight(p.lineSpacing * 100.0 / 240.0, QTextBlockFormat::ProportionalHeight);
    if (p.spaceAfter > 0) f.setBottomMargin(p.spaceAfter / kTwipsPerPixel);
}

void GetSpacing(const QTextBlockFormat& f, rtf::Paragraph& p) {
    if (f.lineHeightType() == QTextBlockFormat::ProportionalHeight && f.lineHeight() > 0)
        p.lineSpacing = static_cast<int>(std::lround(f.lineHeight() * 240.0 / 100.0));
    p.spaceAfter = static_cast<int>(std::lround(f.bottomMargin() * kTwipsPerPixel));
}

QColor ToQt(const rtf::Rgb& c) {
    return QColor(c.r, c.g, c.b);
}

std::optional<rtf::Rgb> BrushColour(const QTextFormat& f, int property) {
    if (!f.hasProperty(property)) return std::nullopt;
    const QBrush b = f.brushProperty(property);
    if (b.style() == Qt::NoBrush) return std::nullopt;
    const QColor c = b.color().toRgb();
    return rtf::Rgb{static_cast<std::uint8_t>(c.red()), static_cast<std::uint8_t>(c.green()),
                    static_cast<std::uint8_t>(c.blue())};
}

// Builds the font table of a range as its runs name fonts.
class FontTable {
  public:
    explicit FontTable(std::vector<rtf::Font>& fonts) : fonts_(fonts) {}
    int IndexOf(const rtf::Font& f) {
        const auto key = std::make_tuple(f.name, f.charset, static_cast<int>(f.family), f.pitch);
        const auto it = index_.find(key);
        if (it != index_.end()) return it->second;
        fonts_.push_back(f);
        return index_[key] = static_cast<int>(fonts_.size() - 1);
    }

  private:
    std::vector<rtf::Font>& fonts_;
    std::map<std::tuple<std::string, int, int, int>, int> index_;
};

rtf::CharFormat FromQt(const QTextCharFormat& f, const QFont& defaultFont, FontTable& table) {
    rtf::CharFormat out;
    rtf::Font font;
    QString name;
    if (f.hasProperty(kFontName)) {
        name = f.stringProperty(kFontName);
    } else {
        const QStringList families = f.fontFamilies().toStringList();
        name = !families.isEmpty() ? families.first() : defaultFont.family();
    }
    font.name = name.toStdString();
    font.charset = f.hasProperty(kCharset)
                       ? f.intProperty(kCharset)
                       : (name.compare("Symbol", Qt::CaseInsensitive) == 0 ? 2 : 0);
    font.family = static_cast<rtf::FontFamily>(std::clamp(f.intProperty(kFontFamily), 0, 7));
    font.pitch = f.intProperty(kPitch);
    out.font = table.IndexOf(font);

    double points = f.fontPointSize();
    if (points <= 0) points = defaultFont.pointSizeF();
    if (points <= 0 && defaultFont.pixelSize() > 0) points = defaultFont.pixelSize() * 72.0 / 96.0;
    out.size = points > 0 ? std::max(1, static_cast<int>(std::lround(points * 2))) : 24;
    out.bold = f.fontWeight() >= QFont::DemiBold;
    out.italic = f.fontItalic();
    out.underline = f.fontUnderline();
    out.strike = f.fontStrikeOut();
    switch (f.verticalAlignment()) {
        case QTextCharFormat::AlignSuperScript:
            out.valign = rtf::VAlign::Super;
            break;
        case QTextCharFormat::AlignSubScript:
            out.valign = rtf::VAlign::Sub;
            break;
        default:
            break;
    }
    out.colour = BrushColour(f, QTextFormat::ForegroundBrush);
    out.highlight = BrushColour(f, QTextFormat::BackgroundBrush);
    return out;
}

void AppendRun(rtf::Paragraph& p, const rtf::CharFormat& f, const QString& text) {
    QString clean = text;
    clean.remove(QChar::ObjectReplacementCharacter);
    clean.replace(QChar::ParagraphSeparator, QChar::LineSeparator);
    if (clean.isEmpty()) return;
    const std::string utf8 = clean.toStdString();
    if (!p.runs.empty() && p.runs.back().format == f && !p.runs.back().picture)
        p.runs.back().text += utf8;
    else
        p.runs.push_back(rtf::Run{f, utf8});
}

// A picture as an image of the document, its PNG kept beside it so that it is saved as read.
void InsertPicture(QTextCursor& cursor, const PngPicture& picture) {
    const QByteArray png = QByteArray::fromStdString(picture.png);
    const QImage image = QImage::fromData(png, "PNG");
    if (image.isNull()) return;
    const QString name = QStringLiteral("equat-picture:%1").arg(qHashBits(png.data(), png.size()));
    cursor.document()->addResource(QTextDocument::ImageResource, QUrl(name), image);
    QTextImageFormat f;
    f.setName(name);
    f.setWidth(picture.width / kTwipsPerPixel);
    f.setHeight(picture.height / kTwipsPerPixel);
    f.setProperty(kPicturePng, png);
    f.setProperty(kPicturePixels, QSize(picture.pixelWidth, picture.pixelHeight));
    cursor.insertImage(f);
}

// The picture of an image written by InsertPicture; none for any other.
std::optional<PngPicture> PictureOf(const QTextCharFormat& f) {
    if (!f.isImageFormat() || !f.hasProperty(kPicturePng)) return std::nullopt;
    const QTextImageFormat image = f.toImageFormat();
    const QSize pixels = f.property(kPicturePixels).toSize();
    return PngPicture{f.property(kPicturePng).toByteArray().toStdString(),
                      static_cast<int>(std::lround(image.width() * kTwipsPerPixel)),
                      static_cast<int>(std::lround(image.height() * kTwipsPerPixel)),
                      pixels.width(), pixels.height()};
}

// Metric-compatible stand-ins for the documents' fonts, a Unicode font for Symbol, and the
// adapted copies' fonts where their packages are missing; best first.
const std::vector<std::pair<QString, QStringList>>& StandIns() {
    static const std::vector<std::pair<QString, QStringList>> table = {
        {"Arial", {"Liberation Sans", "Arimo", "DejaVu Sans"}},
        {"Times New Roman", {"Liberation Serif", "Tinos", "DejaVu Serif"}},
        {"Courier New", {"Liberation Mono", "Cousine", "DejaVu Sans Mono"}},
        {"Andika", {"DejaVu Sans"}},
        {"OpenDyslexic", {"DejaVu Sans"}},
        // Symbol text is real Unicode once read: any font with Greek and the brace pieces.
        {"Symbol", {"DejaVu Serif", "DejaVu Sans"}},
    };
    return table;
}

// The installed families, in lower case, without their foundries.
const QSet<QString>& InstalledFamilies() {
    static const QSet<QString> families = [] {
        QSet<QString> names;
        for (const QString& listed : QFontDatabase::families()) {
            const qsizetype foundry = listed.indexOf(" [");
            names.insert((foundry < 0 ? listed : listed.left(foundry)).toLower());
        }
        return names;
    }();
    return families;
}

// The stand-ins of a font, best first; none for a font not in the table.
QStringList StandInsOf(const QString& name) {
    for (const auto& [font, standIns] : StandIns())
        if (font.compare(name, Qt::CaseInsensitive) == 0) return standIns;
    return {};
}

// The family a document's font is drawn with: itself where installed, else its first
// installed stand-in. Named outright, Qt takes it at once; a missing family would first have
// the font configuration sort every installed font, once per style, for the same answer.
QString InstalledFamily(const QString& name) {
    const QSet<QString>& installed = InstalledFamilies();
    for (const QString& choice : QStringList{name} + StandInsOf(name))
        if (installed.contains(choice.toLower())) return choice;
    return name;
}

}  // namespace

void InstallFontFallbacks() {
    static const bool installed = [] {
        for (const auto& [font, standIns] : StandIns()) QFont::insertSubstitutions(font, standIns);
        return true;
    }();
    (void)installed;
}

QFont DocumentFont() {
    InstallFontFallbacks();
    QFont f("Courier New");
    f.setPixelSize(11);
    return f;
}

QTextCharFormat ToQtFormat(const rtf::CharFormat& format, const std::vector<rtf::Font>& fonts) {
    QTextCharFormat f;
    if (format.font >= 0 && format.font < static_cast<int>(fonts.size())) {
        const rtf::Font& font = fonts[static_cast<std::size_t>(format.font)];
        const QString name = QString::fromStdString(font.name);
        f.setProperty(kFontName, name);
        f.setProperty(kCharset, font.charset);
        f.setProperty(kFontFamily, static_cast<int>(font.family));
        f.setProperty(kPitch, font.pitch);
        // Symbol text is Unicode once read: drawn with its stand-ins, each the next one's
        // fallback, as the window has always drawn it.
        if (rtf::EncodingOf(font) == rtf::FontEncoding::Symbol)
            f.setFontFamilies(StandInsOf("Symbol") + QStringList{name});
        else
            f.setFontFamilies(QStringList{InstalledFamily(name)});
    }
    f.setFontPointSize(format.size / 2.0);
    f.setFontWeight(format.bold ? QFont::Bold : QFont::Normal);
    f.setFontItalic(format.italic);
    f.setFontUnderline(format.underline);
    f.setFontStrikeOut(format.strike);
    switch (format.valign) {
        case rtf::VAlign::Super:
            f.setVerticalAlignment(QTextCharFormat::AlignSuperScript);
            break;
        case rtf::VAlign::Sub:
            f.setVerticalAlignment(QTextCharFormat::AlignSubScript);
            break;
        case rtf::VAlign::Baseline:
            f.setVerticalAlignment(QTextCharFormat::AlignNormal);
            break;
    }
    if (format.colour) f.setForeground(ToQt(*format.colour));
    if (format.highlight) f.setBackground(ToQt(*format.highlight));
    return f;
}

namespace {

QTextTableFormat TableFormat(const rtf::TableGrid& grid) {
    QTextTableFormat f;
    f.setBorder(1);
    f.setBorderBrush(Qt::black);
    f.setBorderStyle(QTextFrameFormat::BorderStyle_Solid);
    f.setBorderCollapse(true);
    f.setCellSpacing(0);
    f.setCellPadding(3);
    QList<QTextLength> widths;
    for (int twips : grid.Widths())
        widths.append(QTextLength(QTextLength::FixedLength, twips / kTwipsPerPixel));
    f.setColumnWidthConstraints(widths);
    return f;
}

// Writes the paragraphs of a model one after the other, each in a new block but the first,
// which takes the block the cursor stands in; a table goes in as a QTextTable.
class DocumentWriter {
  public:
    DocumentWriter(QTextCursor& cursor, const rtf::Document& doc) : cursor_(cursor), doc_(doc) {}

    void Paragraph(const rtf::Paragraph& p, bool newBlock) {
        QTextBlockFormat bf;
        bf.setAlignment(ToQt(p.align));
        SetSpacing(bf, p);
        const QTextCharFormat mark = Format(p.mark);
        if (newBlock) {
            cursor_.insertBlock(bf, mark);
        } else {
            cursor_.mergeBlockFormat(bf);
            cursor_.setBlockCharFormat(mark);
        }
        for (const rtf::Run& r : p.runs) {
            cursor_.insertText(QString::fromStdString(r.text), Format(r.format));
            if (r.picture) InsertPicture(cursor_, *r.picture);
        }
    }

    // The table that starts at paragraph begin; the cursor is left in the block after it.
    std::size_t Table(std::size_t begin) {
        const rtf::TableGrid grid = rtf::TableAt(doc_.paragraphs, begin);
        const int columns = static_cast<int>(grid.rights.size());
        QTextTable* table =
            cursor_.insertTable(static_cast<int>(grid.cells.size()), columns, TableFormat(grid));
        for (int r = 0; r < table->rows(); ++r) {
            for (int c = 0; c < columns; ++c) {
                const auto range = grid.cells[std::size_t(r)][std::size_t(c)];
                QTextTableCell cell = table->cellAt(r, c);
                QTextTableCellFormat cf = cell.format().toTableCellFormat();
                cf.setVerticalAlignment(QTextCharFormat::AlignMiddle);
                cf.setProperty(kCellRight, grid.rights[std::size_t(c)]);
                cell.setFormat(cf);
                cursor_ = cell.firstCursorPosition();
                for (std::size_t k = range.first; k < range.last; ++k)
                    Paragraph(doc_.paragraphs[k], k > range.first);
            }
        }
        cursor_.setPosition(table->lastPosition() + 1);
        return grid.end;
    }

  private:
    // A document uses a handful of formats over and over.
    const QTextCharFormat& Format(const rtf::CharFormat& f) {
        for (const auto& [key, value] : cache_)
            if (key == f) return value;
        cache_.emplace_back(f, ToQtFormat(f, doc_.fonts));
        return cache_.back().second;
    }

    QTextCursor& cursor_;
    const rtf::Document& doc_;
    std::vector<std::pair<rtf::CharFormat, QTextCharFormat>> cache_;
};

}  // namespace

void InsertDocument(QTextCursor& cursor, const rtf::Document& doc) {
    InstallFontFallbacks();
    cursor.removeSelectedText();
    DocumentWriter writer(cursor, doc);
    // The first paragraph, and the one after a table, take the block the cursor is in.
    bool newBlock = false;
    for (std::size_t k = 0; k < doc.paragraphs.size();) {
        if (doc.paragraphs[k].cell) {
            k = writer.Table(k);
            newBlock = false;
        } else {
            writer.Paragraph(doc.paragraphs[k++], newBlock);
            newBlock = true;
        }
    }
}

namespace {

// Where a block stands in a table of the document, tables numbered as met.
class CellPlaces {
  public:
    std::optional<rtf::CellPlace> Of(const QTextBlock& b) {
        const QTextTable* table = QTextCursor(b).currentTable();
        if (!table) return std::nullopt;
        auto at = std::find(tables_.begin(), tables_.end(), table);
        if (at == tables_.end()) at = tables_.insert(at, table);
        const QTextTableCell cell = table->cellAt(b.position());
        const QTextTableCellFormat f = cell.format().toTableCellFormat();
        return rtf::CellPlace{static_cast<int>(at - tables_.begin()), cell.row(), cell.column(),
                              f.hasProperty(kCellRight) ? f.intProperty(kCellRight)
                                                        : RightEdge(*table, cell.column())};
    }

  private:
    // A table the model did not make: its columns' fixed widths, or an inch each.
    static int RightEdge(const QTextTable& table, int column) {
        const QList<QTextLength> widths = table.format().columnWidthConstraints();
        double right = 0;
        for (int c = 0; c <= column; ++c) {
            const bool fixed = c < widths.size() && widths[c].type() == QTextLength::FixedLength;
            right += fixed ? widths[c].rawValue() * kTwipsPerPixel : 1440;
        }
        return static_cast<int>(std::lround(right));
    }

    std::vector<const QTextTable*> tables_;
};

}  // namespace

rtf::Document DocumentFromRange(const QTextDocument& doc, int start, int end) {
    rtf::Document out;
    out.paragraphs.clear();
    FontTable table(out.fonts);
    const QFont defaultFont = doc.defaultFont();
    end = std::min(end, doc.characterCount() - 1);
    start = std::clamp(start, 0, std::max(end, 0));
    rtf::Paragraph current;
    CellPlaces places;
    for (QTextBlock b = doc.findBlock(start); b.isValid() && b.position() <= end; b = b.next()) {
        current.cell = places.Of(b);
        current.align = FromQt(b.blockFormat().alignment());
        GetSpacing(b.blockFormat(), current);
        current.mark = FromQt(b.charFormat(), defaultFont, table);
        for (auto it = b.begin(); !it.atEnd(); ++it) {
            const QTextFragment frag = it.fragment();
            const int fs = frag.position(), fe = fs + frag.length();
            const int from = std::max(fs, start), to = std::min(fe, end);
            if (from >= to) continue;
            AppendRun(current, FromQt(frag.charFormat(), defaultFont, table),
                      frag.text().mid(from - fs, to - from));
            if (auto picture = PictureOf(frag.charFormat())) {
                rtf::Run& last = current.runs.emplace_back();
                last.format = FromQt(frag.charFormat(), defaultFont, table);
                last.picture = std::move(picture);
            }
        }
        if (b.position() + b.length() - 1 >= end) break;  // its mark is outside the range
        out.paragraphs.push_back(std::move(current));
        current = rtf::Paragraph{};
    }
    out.paragraphs.push_back(std::move(current));
    out.defaultFont = out.fonts.empty() ? -1 : 0;
    return out;
}

}  // namespace equat
