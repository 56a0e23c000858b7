// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/preview.h"

#include <QFrame>
#include <QLabel>
#include <QPainter>
#include <QScrollArea>
#include <QScrollBar>
#include <QSvgRenderer>

namespace equat {

namespace {
const QColor kDesk{160, 160, 160};
const QColor kPageEdge{64, 64, 64};
}  // namespace

PageImage::PageImage(QWidget* parent) : QWidget(parent) {}
PageImage::~PageImage() = default;

bool PageImage::Load(const QString& fileName) {
    auto page = std::make_unique<QSvgRenderer>(fileName);
    if (!page->isValid()) {
        Clear();
        return false;
    }
    page_ = std::move(page);
    update();
    return true;
}

void PageImage::Clear() {
    page_.reset();
    update();
}

bool PageImage::IsEmpty() const {
    return !page_;
}

void PageImage::paintEvent(QPaintEvent*) {
    if (!page_) return;
    QPainter painter(this);
    page_->render(&painter, QRectF(rect()));
}

void PreviewContent::Build(QScrollArea* box) {
    content = new QWidget;
    content->setObjectName("ScrollBox1Content");
    // White pages with a dark edge on a grey desk, so that each page stands out as paper.
    content->setAutoFillBackground(true);
    QPalette desk = content->palette();
    desk.setColor(QPalette::Window, kDesk);
    content->setPalette(desk);
    auto label = [&](const char* name, const QString& text, int x, int y) {
        auto* l = new QLabel(text, content);
        l->setObjectName(name);
        l->move(x, y);
        l->adjustSize();
        return l;
    };
    auto panel = [&](const char* name, const char* imageName, int y, PageImage*& image) {
        auto* p = new QFrame(content);
        p->setObjectName(name);
        p->setGeometry(5, y, 460, 634);
        p->setAutoFillBackground(true);
        p->setFrameStyle(QFrame::Box | QFrame::Plain);
        QPalette pal = p->palette();
        pal.setColor(QPalette::Window, Qt::white);
        pal.setColor(QPalette::WindowText, kPageEdge);
        p->setPalette(pal);
        image = new PageImage(p);
        image->setObjectName(imageName);
        image->setGeometry(20, 20, 420, 594);
        return p;
    };
    Label11 = label("Label11", "Page 1", 217, 8);
    pnlImage1 = panel("pnlImage1", "Image1", 25, Image1);
    Label12 = label("Label12", "Page 2", 217, 668);
    pnlImage2 = panel("pnlImage2", "Image2", 685, Image2);
    lblfin_scrbox = label("lblfin_scrbox", QString(), 24, 1252);
    lblfin_scrbox->resize(3, 13);
    Label13 = label("Label13", QString(), 24, 1312);
    Label13->resize(3, 13);
    content->setFixedSize(465, 1312 + 13);

    box->setWidget(content);
    box->setWidgetResizable(false);
    box->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    box->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    box->setPalette(desk);
    box->setBackgroundRole(QPalette::Window);
    box->setFrameShape(QFrame::NoFrame);
    // A window of its own above the main window; closing it only hides it.
    box->hide();
    box->setParent(box->parentWidget(), Qt::Tool);
    box->setWindowTitle(QString());
    box->setMinimumWidth(kWidth);
    box->setMaximumWidth(kWidth);
    box->resize(kWidth, kHeight);
}

}  // namespace equat
