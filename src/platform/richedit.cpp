#include "platform/richedit.h"

#include <QAbstractTextDocumentLayout>
#include <QCoreApplication>
#include <QDragMoveEvent>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QScreen>
#include <QTextBlock>
#include <QTextLayout>
#include <algorithm>
#include <cerrno>

#include "core/fileio.h"
#include "platform/rtfqt.h"
#include "rtf/reader.h"
#include "rtf/writer.h"

namespace equat {

namespace {

constexpr double kTwipsPerInch = 1440.0;

// A device of 1440 dots per inch: laid out on it, one unit is one twip.
QImage& TwipDevice() {
    static QImage image = [] {
        QImage i(1, 1, QImage::Format_RGB32);
        const int dotsPerMeter = static_cast<int>(kTwipsPerInch / 0.0254 + 0.5);
        i.setDotsPerMeterX(dotsPerMeter);
        i.setDotsPerMeterY(dotsPerMeter);
        return i;
    }();
    return image;
}

// The resolution Qt takes tab stops in: that of the primary screen, or 96.
double DefaultDpiY() {
    if (QCoreApplication::testAttribute(Qt::AA_Use96Dpi)) return 96;
    if (const QScreen* s = QGuiApplication::primaryScreen()) return s->logicalDotsPerInchY();
    return 96;
}

}  // namespace

struct RichEdit::PageLayout {
    int revision = -1;
    double width = -1;
    int tab = 0;
    std::unique_ptr<QTextDocument> doc;
    struct Line {
        int position;
        double top, bottom;
    };
    std::vector<Line> lines;
};

RichEdit::RichEdit(QWidget* parent) : QTextEdit(parent) {
    InstallFontFallbacks();
    QFont f("Courier New");
    f.setPixelSize(11);
    setFont(f);
    document()->setDefaultFont(f);
    setAutoFormatting(QTextEdit::AutoNone);
    setReadOnly(true);
    setPlainText("     ");
    ApplyTabStops();
    connect(this, &QTextEdit::textChanged, this, [this] {
        if (!loading_) emit Changed();
    });
}

RichEdit::~RichEdit() = default;

void RichEdit::ApplyTabStops() {
    setTabStopDistance(defaultTabTwips_ * logicalDpiX() / kTwipsPerInch);
}

void RichEdit::Clear() {
    clear();
}

void RichEdit::LoadRtfDocument(std::string_view rtf) {
    const rtf::Document doc = rtf::ReadRtf(rtf);
    loading_ = true;
    QTextCursor c = textCursor();
    c.beginEditBlock();
    InsertDocument(c, doc);
    c.endEditBlock();
    setTextCursor(c);
    loading_ = false;
    defaultTabTwips_ = doc.defaultTab;
    ApplyTabStops();
    emit Changed();
    QCoreApplication::processEvents();
}

QString RichEdit::Text() const {
    QString t = document()->toRawText();
    t.replace(QChar::ParagraphSeparator, '\n');
    t.replace(QChar::LineSeparator, '\n');
    return t;
}

int RichEdit::TextLength() const {
    return document()->characterCount() - 1;
}

int RichEdit::LineCount() const {
    int n = document()->blockCount();
    if (document()->lastBlock().length() <= 1) --n;
    return n;
}

int RichEdit::SelStart() const {
    return textCursor().selectionStart();
}

int RichEdit::SelLength() const {
    const QTextCursor c = textCursor();
    return c.selectionEnd() - c.selectionStart();
}

void RichEdit::SetSelStart(int pos) {
    QTextCursor c = textCursor();
    c.setPosition(std::clamp(pos, 0, TextLength()));
    setTextCursor(c);
}

void RichEdit::SetSelLength(int len) {
    QTextCursor c = textCursor();
    const int start = c.selectionStart();
    c.setPosition(start);
    c.setPosition(std::clamp(start + std::max(len, 0), 0, TextLength()), QTextCursor::KeepAnchor);
    setTextCursor(c);
}

void RichEdit::SelectAll() {
    selectAll();
}

std::string RichEdit::SelectionRtf() const {
    const QTextCursor c = textCursor();
    rtf::Document d = DocumentFromRange(*document(), c.selectionStart(), c.selectionEnd());
    d.defaultTab = defaultTabTwips_;
    return rtf::WriteRtf(d);
}

std::string RichEdit::SelectionPlainText() const {
    const QTextCursor c = textCursor();
    return rtf::PlainTextCp1252(
        DocumentFromRange(*document(), c.selectionStart(), c.selectionEnd()), "\r\n");
}

bool RichEdit::SaveSelectionToFile(const QString& path, QString* error) const {
    const std::string data =
        path.endsWith(".txt", Qt::CaseInsensitive) ? SelectionPlainText() : SelectionRtf();
    std::string why;
    if (ReplaceFile(QFile::encodeName(path).toStdString(), data, &why)) return true;
    if (error) *error = QString::fromStdString(why);
    return false;
}

void RichEdit::SetReadOnly(bool on) {
    setReadOnly(on);
    if (!on) setTextInteractionFlags(Qt::TextEditorInteraction);
}

void RichEdit::SetWantTabs(bool on) {
    setTabChangesFocus(!on);
}

const RichEdit::PageLayout& RichEdit::LayoutFor(double widthTwips) {
    if (!layout_) layout_ = std::make_unique<PageLayout>();
    PageLayout& l = *layout_;
    if (l.doc && l.revision == document()->revision() && l.width == widthTwips &&
        l.tab == defaultTabTwips_)
        return l;
    l.revision = document()->revision();
    l.width = widthTwips;
    l.tab = defaultTabTwips_;
    l.doc.reset(document()->clone());
    l.doc->documentLayout()->setPaintDevice(&TwipDevice());
    l.doc->setDocumentMargin(0);
    QTextOption option = l.doc->defaultTextOption();
    // Qt scales tab stops by the layout device's resolution over its default one.
    option.setTabStopDistance(defaultTabTwips_ * DefaultDpiY() / kTwipsPerInch);
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    l.doc->setDefaultTextOption(option);
    l.doc->setTextWidth(widthTwips);
    l.lines.clear();
    QAbstractTextDocumentLayout* layout = l.doc->documentLayout();
    for (QTextBlock b = l.doc->begin(); b.isValid(); b = b.next()) {
        const QRectF box = layout->blockBoundingRect(b);
        const QTextLayout* tl = b.layout();
        for (int k = 0; k < tl->lineCount(); ++k) {
            const QTextLine line = tl->lineAt(k);
            const double top = box.top() + line.y();
            l.lines.push_back({b.position() + line.textStart(), top, top + line.height()});
        }
    }
    return l;
}

int RichEdit::FormatRange(QPainter& painter, const QRectF& rectTwips, int start, bool render) {
    const int length = TextLength();
    if (start >= length) return length;
    start = std::max(start, 0);
    const PageLayout& l = LayoutFor(std::max(rectTwips.width(), 1.0));
    if (l.lines.empty()) return length;
    // The line that holds start, then every following line whose bottom is on the page.
    auto first =
        std::upper_bound(l.lines.begin(), l.lines.end(), start,
                         [](int pos, const PageLayout::Line& line) { return pos < line.position; });
    if (first != l.lines.begin()) --first;
    const double top = first->top;
    auto last = first + 1;
    while (last != l.lines.end() && last->bottom - top <= rectTwips.height()) ++last;
    const int next = last == l.lines.end() ? length : last->position;
    const double bottom = (last - 1)->bottom;

    if (render && painter.device() != nullptr) {
        const double sx = painter.device()->logicalDpiX() / kTwipsPerInch;
        const double sy = painter.device()->logicalDpiY() / kTwipsPerInch;
        painter.save();
        painter.translate(rectTwips.left() * sx, rectTwips.top() * sy);
        painter.scale(sx, sy);
        painter.setClipRect(QRectF(0, 0, rectTwips.width(), bottom - top), Qt::IntersectClip);
        painter.translate(0, -top);
        QAbstractTextDocumentLayout::PaintContext ctx;
        ctx.clip = QRectF(0, top, rectTwips.width(), bottom - top);
        ctx.palette.setColor(QPalette::Text, Qt::black);
        l.doc->documentLayout()->draw(&painter, ctx);
        painter.restore();
    }
    return next;
}

void RichEdit::mousePressEvent(QMouseEvent* e) {
    emit MouseDown();
    QTextEdit::mousePressEvent(e);
}

void RichEdit::mouseReleaseEvent(QMouseEvent* e) {
    emit MouseUp();
    QTextEdit::mouseReleaseEvent(e);
}

void RichEdit::mouseMoveEvent(QMouseEvent* e) {
    emit MouseMoved();
    QTextEdit::mouseMoveEvent(e);
}

void RichEdit::dragEnterEvent(QDragEnterEvent* e) {
    bool accept = true;
    emit DragOver(&accept);
    if (!accept) {
        e->ignore();
        return;
    }
    QTextEdit::dragEnterEvent(e);
}

void RichEdit::dragMoveEvent(QDragMoveEvent* e) {
    bool accept = true;
    emit DragOver(&accept);
    if (!accept) {
        e->ignore();
        return;
    }
    QTextEdit::dragMoveEvent(e);
}

void RichEdit::dragLeaveEvent(QDragLeaveEvent* e) {
    QTextEdit::dragLeaveEvent(e);
    emit EndDrag();
}

void RichEdit::dropEvent(QDropEvent* e) {
    QTextEdit::dropEvent(e);
    emit DragDrop();
    emit EndDrag();
}

}  // namespace equat
