// SPDX-License-Identifier: GPL-3.0-or-later
#include "forms/views/drag_panel.h"

#include "forms/views/pictures.h"

#include <QMouseEvent>
#include <QPainter>
#include <QWindow>

namespace tobira {

DragPanel::DragPanel(QWidget* parent, int ruleY) : QWidget(parent), ruleY_(ruleY) {}

void DragPanel::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton)
        return;
    releaseMouse();
    QWindow* handle = window()->windowHandle();
    // The window manager's own move loop, as when dragging a caption bar; without a window
    // manager (Xvfb, offscreen) there is none, so follow the pointer ourselves.
    manualDrag_ = !(handle && handle->startSystemMove());
    if (manualDrag_)
        grabOffset_ = event->globalPosition().toPoint() - window()->pos();
}

void DragPanel::mouseMoveEvent(QMouseEvent* event) {
    if (manualDrag_ && (event->buttons() & Qt::LeftButton))
        window()->move(event->globalPosition().toPoint() - grabOffset_);
}

void DragPanel::mouseReleaseEvent(QMouseEvent*) {
    manualDrag_ = false;
}

void DragPanel::paintEvent(QPaintEvent*) {
    QPainter p(this);
    PaintBodyPanel(p, QRectF(rect()), ruleY_);
}

} // namespace tobira
