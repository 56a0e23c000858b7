// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <QWidget>
#include <memory>

class QFrame;
class QLabel;
class QScrollArea;
class QSvgRenderer;

namespace equat {

// An image control that shows a page image scaled to fill it; empty, it shows nothing (its
// white panel shows through).
class PageImage : public QWidget {
    Q_OBJECT
  public:
    explicit PageImage(QWidget* parent = nullptr);
    ~PageImage() override;
    // Loads a page image file; false (and empty) when it cannot be read.
    bool Load(const QString& fileName);
    void Clear();
    bool IsEmpty() const;

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    std::unique_ptr<QSvgRenderer> page_;
};

// The preview's content inside the scroll box: "Page 1" and "Page 2" on white panels, each
// with its page image, and two empty labels that extend the scrollable height.
struct PreviewContent {
    static constexpr int kWidth = 493;
    static constexpr int kHeight = 497;

    QWidget* content = nullptr;
    QLabel* Label11 = nullptr;
    QFrame* pnlImage1 = nullptr;
    PageImage* Image1 = nullptr;
    QLabel* Label12 = nullptr;
    QFrame* pnlImage2 = nullptr;
    PageImage* Image2 = nullptr;
    QLabel* lblfin_scrbox = nullptr;
    QLabel* Label13 = nullptr;

    // Fills the scroll box and makes it a floating window of its own, still hidden.
    void Build(QScrollArea* box);
};

}  // namespace equat
