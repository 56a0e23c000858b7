// SPDX-License-Identifier: GPL-3.0-or-later
// The anchor layout on its own: a parent with a few anchored children, resized.
#include "platform/anchorlayout.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QWidget>

namespace equat {
namespace {

TEST(AnchorLayout, KeepsTheDistancesToTheAnchoredEdges) {
    int argc = 1;
    char name[] = "anchorlayout_test";
    char* argv[] = {name};
    QApplication app(argc, argv);

    struct Row {
        unsigned anchors;
        QRect design;
        QRect at300x160;  // the parent grown by 100 x 60
    };
    const Row rows[] = {
        {akLeft | akTop, {10, 10, 20, 20}, {10, 10, 20, 20}},
        {akLeft | akTop | akRight, {10, 40, 180, 20}, {10, 40, 280, 20}},
        {akTop | akRight, {170, 10, 20, 20}, {270, 10, 20, 20}},
        {akLeft | akRight | akBottom, {0, 70, 200, 10}, {0, 130, 300, 10}},
        {akRight | akBottom, {150, 80, 40, 15}, {250, 140, 40, 15}},
        {akLeft | akTop | akRight | akBottom, {5, 5, 190, 60}, {5, 5, 290, 120}},
        {0, {-50, 30, 40, 40}, {-50, 30, 40, 40}},
    };
    QWidget parent;
    parent.resize(200, 100);
    auto* layout = new AnchorLayout(&parent, QSize(200, 100));
    std::vector<QWidget*> children;
    for (const Row& r : rows) {
        children.push_back(new QWidget(&parent));
        layout->Add(children.back(), r.design, r.anchors);
    }
    auto* floating = new QWidget(&parent);
    layout->Add(floating, {0, 0, 30, 30});
    floating->setParent(&parent, Qt::Tool);
    floating->setGeometry(500, 500, 30, 30);
    parent.show();

    for (const QSize size : {QSize(300, 160), QSize(200, 100)}) {
        parent.resize(size);
        QApplication::processEvents();
        for (std::size_t i = 0; i < children.size(); ++i) {
            const QRect expected = size == QSize(200, 100) ? rows[i].design : rows[i].at300x160;
            EXPECT_EQ(children[i]->geometry(), expected) << "row " << i << " at " << size.width();
            EXPECT_EQ(layout->DesignRect(children[i]), rows[i].design);
        }
        EXPECT_EQ(floating->geometry(), QRect(500, 500, 30, 30)) << "a window keeps its place";
    }

    // A control moved on purpose stays while it is shown and hidden at the same size.
    children[0]->move(77, 7);
    children[0]->hide();
    children[0]->show();
    QApplication::processEvents();
    EXPECT_EQ(children[0]->pos(), QPoint(77, 7));
    EXPECT_TRUE(layout->DesignRect(&parent).isNull());
}

}  // namespace
}  // namespace equat
