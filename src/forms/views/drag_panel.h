// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QWidget>

namespace tobira {

// The body of the borderless main window: a press with the left button drags the whole window.
// It draws the body picture, with the rule above the buttons at `ruleY`.
class DragPanel final : public QWidget {
    Q_OBJECT
  public:
    DragPanel(QWidget* parent, int ruleY);

  protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

  private:
    int ruleY_;
    bool manualDrag_ = false;
    QPoint grabOffset_;
};

} // namespace tobira
