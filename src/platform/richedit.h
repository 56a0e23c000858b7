// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <QTextCursor>
#include <QTextEdit>
#include <initializer_list>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

class QPainter;
class QRectF;

namespace equat {

namespace rtf {
struct Document;
}

class Paginator;

// The rich-text area of the window: a QTextEdit that reads and writes RTF through our own
// reader and writer; its Paginator lays out pages for printing and preview. It is always in
// rich-text mode and streams its selection: a load replaces the selection, a save writes it.
class RichEdit : public QTextEdit {
    Q_OBJECT
  public:
    // Courier New 11 pixels high, read-only, no link detection, content five spaces.
    explicit RichEdit(QWidget* parent = nullptr);
    ~RichEdit() override;

    // Empties the content (one change notification).
    void Clear();

    // Replaces the selection with a complete RTF document (all of a cleared control), as one
    // change and one undo step, then lets pending events run once. Malformed RTF loads the
    // text it holds. The caret ends after the inserted text.
    void LoadRtfDocument(std::string_view rtf);
    // The same with a document already made (a generated sheet's, from its model).
    void LoadDocument(const rtf::Document& doc);

    // Whole plain text, paragraphs separated by '\n'; its length with each paragraph end
    // counting one (the positions FormatRange and the selection use); lines (paragraphs)
    // without a last empty one.
    QString Text() const;
    int TextLength() const;
    int LineCount() const;

    int SelStart() const;
    int SelLength() const;
    void SetSelStart(int pos);   // collapses the selection there
    void SetSelLength(int len);  // from SelStart; 0 empties the selection
    void SelectAll();

    // The selection as RTF (our writer) or as Windows-1252 plain text with CR LF line ends.
    std::string SelectionRtf() const;
    std::string SelectionPlainText() const;
    // Writes the selection to a file, plain text for a ".txt" name in any letter case,
    // otherwise RTF; replaced atomically. On failure returns false and sets *error.
    bool SaveSelectionToFile(const QString& path, QString* error = nullptr) const;

    void SetReadOnly(bool on);
    void SetWantTabs(bool on);  // Tab inserts a tab character

    // The page layout of the content (printing, preview, PDF, page images).
    Paginator& Pages() { return *pages_; }
    // Formats a range of the text onto a device: Paginator::FormatRange of the content.
    int FormatRange(QPainter& painter, const QRectF& rectTwips, int start, bool render = true);

  signals:
    void Changed();
    void MouseDown();
    void MouseUp();
    void MouseMoved();
    void DragOver(bool* accept);
    void DragDrop();
    void EndDrag();

  protected:
    void mousePressEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void dragEnterEvent(QDragEnterEvent* e) override;
    void dragMoveEvent(QDragMoveEvent* e) override;
    void dragLeaveEvent(QDragLeaveEvent* e) override;
    void dropEvent(QDropEvent* e) override;

  private:
    void ApplyTabStops();

    bool loading_ = false;
    int defaultTabTwips_ = 720;
    std::unique_ptr<Paginator> pages_;
};

// Puts back the selection, the caret and the scroll position of each area when it goes out
// of scope: an output that selects a whole document to put it out must not leave it
// selected, where one key press in edit mode would replace it.
class KeptSelection {
  public:
    explicit KeptSelection(std::initializer_list<RichEdit*> areas);
    ~KeptSelection();
    KeptSelection(const KeptSelection&) = delete;
    KeptSelection& operator=(const KeptSelection&) = delete;

  private:
    struct Kept {
        RichEdit* area;
        QTextCursor cursor;
        int vertical, horizontal;
    };
    std::vector<Kept> kept_;
};

// Shows the beginning of a document just loaded: the caret and the view at its top.
void ShowTop(RichEdit* area);

}  // namespace equat
