#pragma once

#include "app/form_model.h"

#include <QWidget>

#include <functional>

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

  protected:
    // Runs a model handler, then lets every view draw the result.
    void dispatch(const std::function<void()>& handler);

    void moveEvent(QMoveEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

    FormModel& model_;
    ViewHub& hub_;

  private:
    bool rendering_ = false;
};

} // namespace tobira
