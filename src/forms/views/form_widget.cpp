// SPDX-License-Identifier: GPL-3.0-or-later
#include "forms/views/form_widget.h"

#include "forms/views/accessible_views.h"
#include "forms/views/view_hub.h"
#include "forms/views/worker_wait.h"
#include "text/cp932_convert.h"

#include <QAccessible>
#include <QCloseEvent>
#include <QEventLoop>
#include <QHideEvent>
#include <QKeyEvent>
#include <QShowEvent>
#include <QTimer>

#include <utility>

namespace tobira {

FormWidget::FormWidget(FormModel& model, ViewHub& hub, QWidget* parent)
    : QWidget(parent, model.Borderless ? Qt::Window | Qt::FramelessWindowHint : Qt::Window),
      model_(model), hub_(hub) {
    hub_.add(this);
    QAccessible::installFactory(&AccessibleView);
}

void FormWidget::render() {
    rendering_ = true;
    const QString caption = QString::fromStdString(Cp932ToUtf8(model_.Caption));
    if (windowTitle() != caption)
        setWindowTitle(caption);
    if (size() != QSize(model_.Width, model_.Height))
        resize(model_.Width, model_.Height);
    if (!model_.PlacedByPlatform && pos() != QPoint(model_.Left, model_.Top))
        move(model_.Left, model_.Top);
    if (isVisible() != model_.Visible)
        setVisible(model_.Visible);
    rendering_ = false;
}

void FormWidget::runModal() {
    if (modalLoop_)
        return;
    // Modality takes effect when a window is shown, so a window already open is shown anew.
    if (isVisible())
        hide();
    setWindowModality(Qt::ApplicationModal);
    model_.Show();
    hub_.refreshAll();
    if (isVisible()) {
        QEventLoop loop;
        modalLoop_ = &loop;
        loop.exec(QEventLoop::DialogExec);
        modalLoop_ = nullptr;
    }
    setWindowModality(Qt::NonModal);
}

void FormWidget::keyPressEvent(QKeyEvent* event) {
    // Escape cancels a modal window as its close box does.
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier && isModal()) {
        close();
        return;
    }
    QWidget::keyPressEvent(event);
}

void FormWidget::hideEvent(QHideEvent* event) {
    QWidget::hideEvent(event);
    // A minimised window is hidden by the system, not closed.
    if (modalLoop_ && !event->spontaneous())
        modalLoop_->quit();
}

void FormWidget::dispatch(const std::function<void()>& handler) {
    hub_.dispatch(handler);
}

void FormWidget::setUpTimer(QTimer& timer, const char* name, int intervalMs,
                            std::function<void()> onTick) {
    timer.setObjectName(QLatin1StringView(name));
    timer.setInterval(intervalMs);
    connect(&timer, &QTimer::timeout, this,
            [this, onTick = std::move(onTick)] { dispatch(onTick); });
}

void FormWidget::keepInStep(QTimer& timer, bool enabled) {
    if (enabled && !timer.isActive())
        timer.start();
    else if (!enabled && timer.isActive())
        timer.stop();
}

void FormWidget::moveEvent(QMoveEvent* event) {
    QWidget::moveEvent(event);
    if (rendering_ || !isVisible())
        return;
    model_.Left = pos().x();
    model_.Top = pos().y();
    model_.PlacedByPlatform = false;
    noteFrame();
}

void FormWidget::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    noteFrame();
}

void FormWidget::noteFrame() {
    // Known once the window manager has framed the window; until then both rectangles agree.
    const QRect outer = frameGeometry();
    const QRect inner = geometry();
    if (outer == inner || model_.Borderless)
        return;
    model_.Frame = FrameExtents{inner.left() - outer.left(), inner.top() - outer.top(),
                                outer.right() - inner.right(), outer.bottom() - inner.bottom()};
}

void FormWidget::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    if (rendering_ || !isVisible())
        return;
    model_.Width = width();
    model_.Height = height();
}

void FormWidget::closeEvent(QCloseEvent* event) {
    if (hub_.workerWait().waiting()) {
        event->ignore(); // a handler is still running: refused, as a busy program refuses it
        return;
    }
    model_.Hide();
    QWidget::closeEvent(event);
}

} // namespace tobira
