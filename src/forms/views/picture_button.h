// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "forms/controls_state.h"
#include "forms/views/pictures.h"

#include <QAbstractButton>

#include <functional>
#include <string>

namespace tobira {

// A speed button with a face drawn in code. Left press, release and click come as the
// QAbstractButton signals (press, release, then click); a right-button press goes to
// `onRightPress` and raises no click.
class PictureButton final : public QAbstractButton {
    Q_OBJECT
  public:
    PictureButton(ButtonFace face, QWidget* parent);

    std::function<void()> onRightPress;

    // Visibility, enabled state and hint (only when `hints` is on) of a model's button.
    void display(const ButtonState& state, bool hints);

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

  private:
    QString faceName() const;

    ButtonFace face_;
    std::string hint_;
    bool hints_ = false;
};

} // namespace tobira
