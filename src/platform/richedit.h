#pragma once
#include <QTextEdit>
#include <string>
#include <string_view>

class QPainter;
class QRectF;

namespace equat {

// The rich-text area of the window: a QTextEdit that reads and writes RTF through our own
// reader and writer, and lays out pages for printing and preview.
class RichEdit : public QTextEdit {
    Q_OBJECT
  public:
    // Courier New 11 pixels high, read-only, no link detection, content five spaces.
    explicit RichEdit(QWidget* parent = nullptr);

    // Empties the content (one change notification).
    void Clear();

    // Replaces the selection with a complete RTF document (all of a cleared control), as one
    // change, then lets pending events run once.
    void LoadRtfDocument(std::string_view rtf);

    // Whole plain text; its length with each paragraph end counting one; lines without a
    // last empty one.
    QString Text() const;
    int TextLength() const;
    int LineCount() const;

    int SelStart() const;
    int SelLength() const;
    void SetSelStart(int pos);   // collapses the selection there
    void SetSelLength(int len);  // from SelStart; 0 empties the selection
    void SelectAll();

    // The selection as RTF (our writer) or as Windows-1252 plain text.
    std::string SelectionRtf() const;
    std::string SelectionPlainText() const;
    // Writes the selection to a file, plain text for a ".txt" name in any letter case,
    // otherwise RTF; replaced atomically. On failure returns false and sets *error.
    bool SaveSelectionToFile(const QString& path, QString* error = nullptr) const;

    void SetReadOnly(bool on);
    void SetWantTabs(bool on);  // Tab inserts a tab character

    // Lays out the text from character position start into rect (in twips) on the painter's
    // device and, when render is true, draws it. Returns the first position that did not fit
    // (TextLength() when everything fitted).
    int FormatRange(QPainter& painter, const QRectF& rectTwips, int start, bool render = true);

  signals:
    void Changed();
    void MouseDown();
    void MouseUp();
    void MouseMoved();
    void DragOver(bool* accept);
    void DragDrop();
    void EndDrag();
};

}  // namespace equat
