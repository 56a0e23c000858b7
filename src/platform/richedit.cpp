// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/richedit.h"

#include <QCoreApplication>
#include <QDragMoveEvent>
#include <QFile>
#include <QScrollBar>
#include <QTextBlock>
#include <algorithm>
#include <cerrno>

#include "core/fileio.h"
#include "platform/paginator.h"
#include "platform/rtfqt.h"
#include "rtf/reader.h"
#include "rtf/writer.h"

namespace equat {

namespace {

constexpr double kTwipsPerInch = 1440.0;

}  // namespace

RichEdit::RichEdit(QWidget* parent)
    : QTextEdit(parent), pages_(std::make_unique<Paginator>(*document())) {
    const QFont f = DocumentFont();
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
    LoadDocument(rtf::ReadRtf(rtf));
}

void RichEdit::LoadDocument(const rtf::Document& doc) {
    loading_ = true;
    QTextCursor c = textCursor();
    c.beginEditBlock();
    InsertDocument(c, doc);
    c.endEditBlock();
    setTextCursor(c);
    loading_ = false;
    defaultTabTwips_ = doc.defaultTab;
    pages_->SetDefaultTab(defaultTabTwips_);
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

int RichEdit::FormatRange(QPainter& painter, const QRectF& rectTwips, int start, bool render) {
    return pages_->FormatRange(painter, rectTwips, start, render);
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

KeptSelection::KeptSelection(std::initializer_list<RichEdit*> areas) {
    for (RichEdit* a : areas)
        kept_.push_back({a, a->textCursor(), a->verticalScrollBar()->value(),
                         a->horizontalScrollBar()->value()});
}

KeptSelection::~KeptSelection() {
    for (const Kept& k : kept_) {
        k.area->setTextCursor(k.cursor);
        k.area->verticalScrollBar()->setValue(k.vertical);
        k.area->horizontalScrollBar()->setValue(k.horizontal);
    }
}

void ShowTop(RichEdit* area) {
    area->SetSelStart(0);
    area->verticalScrollBar()->setValue(0);
    area->horizontalScrollBar()->setValue(0);
}

}  // namespace equat
