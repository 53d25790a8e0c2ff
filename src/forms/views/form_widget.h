// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "forms/form_model.h"

#include <QWidget>

#include <functional>

class QEventLoop;
class QTimer;

namespace tobira {

class ViewHub;

// The Qt view of a window's model: caption, geometry and visibility. Views of windows with
// controls derive from it and draw those too. A user's move, resize or close goes back into the
// model, so that the model always holds what the screen shows.
class FormWidget : public QWidget {
    Q_OBJECT
  public:
    FormWidget(FormModel& model, ViewHub& hub, QWidget* parent = nullptr);

    // Draws the model. Derived views extend it and call the base first.
    virtual void render();
    // A window that is hidden and stays hidden is not drawn (the one-second tick would redraw
    // every hidden window for nothing); only its timers follow the model.
    bool needsRender() const { return isVisible() || model_.Visible; }
    // Starts and stops the view's timers as the model says. Views with timers override it and
    // call it from render() too.
    virtual void keepTimersInStep() {}

    // Shows the window modally: returns once it has been hidden again (by its model or by the
    // user closing it).
    void runModal();

    FormModel& model() const { return model_; }

  protected:
    // Runs a model handler, then lets every view draw the result.
    void dispatch(const std::function<void()>& handler);

    // A timer of this view: each timeout runs the model's handler `onTick`.
    void setUpTimer(QTimer& timer, const char* name, int intervalMs, std::function<void()> onTick);
    // Runs `timer` while the model's flag says so. Starting a running timer again would move
    // its phase, so it is only switched.
    static void keepInStep(QTimer& timer, bool enabled);

    void moveEvent(QMoveEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void showEvent(QShowEvent* event) override;

    FormModel& model_;
    ViewHub& hub_;

  private:
    void noteFrame();

    bool rendering_ = false;
    QEventLoop* modalLoop_ = nullptr;
};

} // namespace tobira
