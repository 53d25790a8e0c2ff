// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "player/form_mode.h"
#include "forms/views/form_widget.h"

#include <QTimer>

class QLabel;

namespace tobira {

// The view of TFormMode: a navy panel with a 3-pixel bevel and the announcement in large bold
// italic letters. It never takes the keyboard focus, so typing goes on where it was. Its timer
// runs while the model's Timer1Enabled is set.
class FormModeWidget final : public FormWidget {
    Q_OBJECT
  public:
    FormModeWidget(TFormMode& model, ViewHub& hub);
    void render() override;
    void keepTimersInStep() override;

  private:
    TFormMode& mode_;
    QLabel* PanelANN;
    QTimer Timer1;
    Color textColour_{1, 2, 3};
};

} // namespace tobira
