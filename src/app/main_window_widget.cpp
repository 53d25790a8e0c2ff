#include "app/main_window_widget.h"

#include <QApplication>
#include <QCloseEvent>
#include <QMouseEvent>
#include <QWindow>

namespace tobira {

DragPanel::DragPanel(QWidget* parent) : QWidget(parent) {}

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

MainWindowWidget::MainWindowWidget(TFormMain& model, ViewHub& hub)
    : FormWidget(model, hub), main_(model), PanelMainBtm(new DragPanel(this)) {
    setObjectName("FormMain");
    setAttribute(Qt::WA_StyledBackground);
    setStyleSheet("#FormMain { background: black; }");
    setAcceptDrops(true);
    PanelMainBtm->setGeometry(0, 0, model.Width, model.Height);
    PanelMainBtm->lower();
}

void MainWindowWidget::closeEvent(QCloseEvent* event) {
    main_.FormClose();
    FormWidget::closeEvent(event);
    QApplication::quit();
}

} // namespace tobira
