// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "forms/views/form_widget.h"
#include "midi_windows/form_parts.h"

#include <array>

class QLabel;
class QTimer;
class QToolButton;

namespace tobira {

class ClickLabel;
class PartMeter;

// The view of TFormParts: the module's line at the top, then a row a part: number, instrument,
// meter, mute and solo. The meters' tick redraws this window alone, and only when the model
// says something changed.
class FormPartsWidget final : public FormWidget {
    Q_OBJECT
  public:
    FormPartsWidget(TFormParts& model, ViewHub& hub);
    void render() override;
    void keepTimersInStep() override;

  protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

  private:
    struct Row {
        ClickLabel* LabelPart;
        QLabel* LabelInstrument;
        PartMeter* Meter;
        QToolButton* SpeedButtonMute;
        QToolButton* SpeedButtonSolo;
    };
    TFormParts& parts_;
    QTimer* TimerParts;
    QLabel* LabelMode;
    QLabel* LabelMaster;
    QLabel* LabelReverb;
    QLabel* LabelChorus;
    QToolButton* SpeedButtonMelody;
    std::array<Row, TFormParts::kParts> rows_{};
};

} // namespace tobira
