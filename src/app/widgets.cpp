// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/widgets.h"

#include <QComboBox>
#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <algorithm>

#include "core/cp1252.h"
#include "settings/qtcp1252.h"

namespace equat {

SpinField::SpinField(int minimum, int maximum, int value, QWidget* parent) : QSpinBox(parent) {
    setRange(minimum, maximum);
    setValue(value);
    setAcceptDrops(false);
}

void SpinField::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
        case Qt::Key_PageUp:
        case Qt::Key_PageDown:
            event->accept();  // no jump of ten: a field steps by one only
            return;
        default:
            // Arrows step; digits are typed, the field's range refusing what cannot be.
            QSpinBox::keyPressEvent(event);
    }
}

void SpinField::wheelEvent(QWheelEvent* event) {
    event->ignore();
}

void SpinField::contextMenuEvent(QContextMenuEvent* event) {
    if (popupMenu_) popupMenu_->popup(event->globalPos());
    event->accept();
}

void StatusLight::setColor(const QColor& color) {
    if (color == color_) return;
    color_ = color;
    update();
}

void StatusLight::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const int d = std::min(width(), height()) - 1;
    const QRectF circle((width() - d) / 2.0, (height() - d) / 2.0, d, d);
    p.setPen(Qt::black);
    p.setBrush(color_);
    p.drawEllipse(circle);
}

bool Cp1252Validator::IsRepresentable(const QString& text) {
    for (char32_t cp : text.toUcs4())
        if (!UnicodeToCp1252(cp)) return false;
    return true;
}

QValidator::State Cp1252Validator::validate(QString& input, int&) const {
    return IsRepresentable(input) ? Acceptable : Invalid;
}

PaneSplitter::PaneSplitter(QWidget* parent) : QAbstractSlider(parent) {
    setRange(0, 1000);
    setCursor(Qt::SplitVCursor);
    setFocusPolicy(Qt::NoFocus);
}

void PaneSplitter::mousePressEvent(QMouseEvent* event) {
    event->accept();
}

void PaneSplitter::mouseMoveEvent(QMouseEvent* event) {
    if (!(event->buttons() & Qt::LeftButton) || !shareAt) return;
    setValue(shareAt(mapToParent(event->position().toPoint()).y()));
}

QComboBox* KeyStyleList(const QComboBox* window, QWidget* parent) {
    auto* list = new QComboBox(parent);
    if (window)
        for (int i = 0; i < window->count(); ++i) list->addItem(window->itemText(i));
    return list;
}

KeyStyle ChosenKeyStyle(const QComboBox* list) {
    return static_cast<KeyStyle>(std::clamp(list->currentIndex(), 0, kKeyStyleCount - 1));
}

void ShowSetting(QLineEdit* field, const std::string& text) {
    field->setText(FromCp1252(text));
    field->setCursorPosition(0);
}

}  // namespace equat
