// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <QLayout>
#include <QRect>
#include <QSize>
#include <functional>
#include <vector>

namespace equat {

// Which edges of its parent a control keeps its distance to when the parent is resized.
enum Anchor : unsigned { akLeft = 1, akTop = 2, akRight = 4, akBottom = 8 };

// Places each control at its design rectangle for the design size of the parent, and on
// every other size keeps the control's distances to the edges it is anchored to: anchored
// to both opposite edges it stretches, to the far one only it moves, otherwise it stays.
// Controls that have become windows of their own keep their own place.
class AnchorLayout : public QLayout {
  public:
    AnchorLayout(QWidget* parent, QSize designSize);
    ~AnchorLayout() override;

    // `control` must be a child of the parent; it is placed at `design` at once.
    void Add(QWidget* control, const QRect& design, unsigned anchors = akLeft | akTop);
    // Called after every placing of the controls, for a change of its own on top of them.
    void SetAfterLayout(std::function<void()> fn) { afterLayout_ = std::move(fn); }
    // The design rectangle of a control, or a null rectangle when it is not laid out here.
    QRect DesignRect(const QWidget* control) const;
    // Where the anchors put a control at the size last laid out.
    QRect Placed(const QWidget* control) const;
    // Where a design rectangle goes for a parent of the given size.
    static QRect Anchored(const QRect& design, unsigned anchors, QSize delta);

    void addItem(QLayoutItem* item) override;
    int count() const override;
    QLayoutItem* itemAt(int index) const override;
    QLayoutItem* takeAt(int index) override;
    QSize sizeHint() const override { return design_; }
    QSize minimumSize() const override { return {0, 0}; }
    void setGeometry(const QRect& rect) override;

  private:
    struct Entry {
        QLayoutItem* item;
        QRect design;
        unsigned anchors;
    };
    std::vector<Entry> entries_;
    QSize design_;
    // The size last laid out: showing or hiding a control asks for a new layout, which must
    // not undo a control moved on purpose (the please-wait notice) while the size is the same.
    QSize laidOut_;
    std::function<void()> afterLayout_;
};

}  // namespace equat
