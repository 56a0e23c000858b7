// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/anchorlayout.h"

#include <QWidget>

namespace equat {

AnchorLayout::AnchorLayout(QWidget* parent, QSize designSize)
    : QLayout(parent), design_(designSize), laidOut_(designSize) {
    setContentsMargins(0, 0, 0, 0);
    // The window sets its own minimum size; the layout must not impose one.
    setSizeConstraint(QLayout::SetNoConstraint);
}

AnchorLayout::~AnchorLayout() {
    for (const Entry& e : entries_) delete e.item;
}

void AnchorLayout::Add(QWidget* control, const QRect& design, unsigned anchors) {
    control->setGeometry(design);
    entries_.push_back({new QWidgetItem(control), design, anchors});
}

QRect AnchorLayout::DesignRect(const QWidget* control) const {
    for (const Entry& e : entries_)
        if (e.item->widget() == control) return e.design;
    return {};
}

QRect AnchorLayout::Placed(const QWidget* control) const {
    for (const Entry& e : entries_)
        if (e.item->widget() == control) return Anchored(e.design, e.anchors, laidOut_ - design_);
    return {};
}

QRect AnchorLayout::Anchored(const QRect& design, unsigned anchors, QSize delta) {
    QRect r = design;
    if (anchors & akRight) {
        if (anchors & akLeft)
            r.setWidth(r.width() + delta.width());
        else
            r.moveLeft(r.left() + delta.width());
    }
    if (anchors & akBottom) {
        if (anchors & akTop)
            r.setHeight(r.height() + delta.height());
        else
            r.moveTop(r.top() + delta.height());
    }
    return r;
}

void AnchorLayout::addItem(QLayoutItem* item) {
    // An item added the generic way stays where it is.
    entries_.push_back({item, item->geometry(), akLeft | akTop});
}

int AnchorLayout::count() const {
    return static_cast<int>(entries_.size());
}

QLayoutItem* AnchorLayout::itemAt(int index) const {
    return index >= 0 && index < count() ? entries_[static_cast<std::size_t>(index)].item : nullptr;
}

QLayoutItem* AnchorLayout::takeAt(int index) {
    if (index < 0 || index >= count()) return nullptr;
    QLayoutItem* item = entries_[static_cast<std::size_t>(index)].item;
    entries_.erase(entries_.begin() + index);
    return item;
}

void AnchorLayout::setGeometry(const QRect& rect) {
    QLayout::setGeometry(rect);
    if (rect.size() == laidOut_) return;
    laidOut_ = rect.size();
    const QSize delta = rect.size() - design_;
    for (const Entry& e : entries_) {
        QWidget* w = e.item->widget();
        if (!w || w->isWindow()) continue;
        // Hidden controls too: they must stand in place when they are shown.
        const QRect r = Anchored(e.design, e.anchors, delta);
        if (r != w->geometry()) w->setGeometry(r);
    }
    if (afterLayout_) afterLayout_();
}

}  // namespace equat
