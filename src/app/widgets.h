// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <QAbstractSlider>
#include <QColor>
#include <QSpinBox>
#include <QValidator>
#include <QWidget>
#include <functional>
#include <string>

#include "core/sheet.h"

class QComboBox;
class QLineEdit;
class QMenu;

namespace equat {

// The graphs of the key, the same words in the window's menu and the class-set dialog.
inline constexpr char kGraphsCaption[] = "&Graphes dans le corrigé";
inline constexpr char kGraphsHint[] =
    "Sous chaque solution du corrigé, son graphe : la parabole avec son axe, son sommet et ses "
    "racines, les deux droites et leur intersection, ou la droite graduée";

// A spin field that takes a typed number or its arrows (buttons and keys); Page Up, Page Down
// and the wheel are refused, so that scrolling the window never changes a count, and the
// context menu is the one given (may be empty).
class SpinField : public QSpinBox {
    Q_OBJECT
  public:
    SpinField(int minimum, int maximum, int value, QWidget* parent = nullptr);
    void setPopupMenu(QMenu* menu) { popupMenu_ = menu; }

  protected:
    void keyPressEvent(QKeyEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

  private:
    QMenu* popupMenu_ = nullptr;
};

// The border between the two documents, dragged up or down. Its value is the subject's share
// of the two heights in thousandths; 0 (the design value) leaves the design's division.
class PaneSplitter : public QAbstractSlider {
    Q_OBJECT
  public:
    explicit PaneSplitter(QWidget* parent = nullptr);

  protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    // The share for a border at y of the parent; set by the window, which knows the panes.
  public:
    std::function<int(int y)> shareAt;
};

// The status light: a small circle whose fill colour is its only state.
class StatusLight : public QWidget {
    Q_OBJECT
  public:
    explicit StatusLight(QWidget* parent = nullptr) : QWidget(parent) {}
    QColor color() const { return color_; }
    void setColor(const QColor& color);

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    QColor color_{0, 128, 0};
};

// A list of the key styles, the window's items in their order (none without the window's).
QComboBox* KeyStyleList(const QComboBox* window, QWidget* parent);
// The style chosen in such a list.
KeyStyle ChosenKeyStyle(const QComboBox* list);
// A text of the settings (Windows-1252) in a field, shown from its start.
void ShowSetting(QLineEdit* field, const std::string& text);

// Accepts only texts whose every character exists in Windows-1252, the code page of the
// documents and of the settings file, so nothing typed can be lost on the way.
class Cp1252Validator : public QValidator {
    Q_OBJECT
  public:
    using QValidator::QValidator;
    State validate(QString& input, int& pos) const override;
    static bool IsRepresentable(const QString& text);
};

}  // namespace equat
