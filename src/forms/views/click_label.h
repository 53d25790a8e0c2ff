// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "forms/controls_state.h"
#include "forms/mouse_button.h"
#include "forms/views/accessible_views.h"

#include <QLabel>

#include <functional>
#include <string>

namespace tobira {

// A label of a window's strip that passes presses, releases and clicks on, in the order a
// label reports them: press, then on release click (when released over it) and release.
// Without handlers it ignores the mouse, so a press falls through to the panel beneath it.
// With a painter set it draws that picture instead of its text.
class ClickLabel final : public QLabel {
    Q_OBJECT
  public:
    explicit ClickLabel(QWidget* parent);

    std::function<void(MouseButton)> onPress;
    std::function<void(MouseButton)> onRelease;
    std::function<void()> onClick;
    std::function<void(QPainter&)> painter;
    // Set on a label that shows a level: a screen reader reads it as this value.
    std::function<LevelReading()> level;
    // Set on a label that only draws (a scale behind a level): a screen reader passes it over.
    bool decoration = false;

    // Caption (code page 932), font colour, visibility and hint of a model's label; the hint only
    // when `hints` is on. Changes nothing that is already as the model says.
    void display(const LabelState& state, bool hints);
    void setHint(const std::string& hint, bool hints);
    void setFontColor(Color colour);

  protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

  private:
    std::string caption_;
    std::string hint_;
    bool hints_ = false;
    bool leftDown_ = false;
};

} // namespace tobira
