// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "player/form_main.h"
#include "forms/views/form_widget.h"
#include "forms/views/pictures.h"

#include <QTimer>

#include <array>
#include <utility>
#include <vector>

namespace tobira {

class ClickLabel;
class DragPanel;
class PictureButton;

// The view of TFormMain: the borderless black 282 x 68 strip of lamps, marks, time, volume bar
// and buttons. It draws the model on every render() and turns clicks, right-button presses,
// drags and the two timers into the model's handlers.
class FormMainWidget final : public FormWidget {
    Q_OBJECT
  public:
    FormMainWidget(TFormMain& model, ViewHub& hub);

    void render() override;
    void keepTimersInStep() override;

    // Iconifies the window; when the user restores it, it is shown again.
    void iconify();

  protected:
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

  private:
    // The five lamps and what each stands for (UTF-8).
    std::array<std::pair<ClickLabel*, const char*>, 5> lamps() const;
    ClickLabel* makeLabel(QAnyStringView name, QRect geometry,
                          Qt::Alignment alignment = Qt::AlignLeft);
    PictureButton* makeButton(QAnyStringView name, ButtonFace face, QRect geometry,
                              ButtonState TFormMain::*state);

    TFormMain& main_;
    DragPanel* PanelMainBtm;
    ClickLabel *LabelBAK, *LabelNXT, *LabelPLAY, *LabelPAUSE, *LabelSTOP;
    ClickLabel *LabelPlayMode, *LabelTotalMUSIC, *LabelTIME;
    std::array<ClickLabel*, 10> LabelMarks{};
    ClickLabel *LabelVolBak, *LabelVol;
    ClickLabel *LabelMidiTitle, *LabelMidiMode;
    ClickLabel *PanelPOW, *ImageLIVE, *ProgressBarWave, *ImageLogo;
    PictureButton *SpeedButtonBAK, *SpeedButtonNXT, *SpeedButtonPLAY, *SpeedButtonPAUSE,
        *SpeedButtonSTOP, *SpeedButtonPOW, *SpeedButtonVolDown, *SpeedButtonVolUp;
    std::vector<std::pair<PictureButton*, ButtonState TFormMain::*>> buttons_;
    QTimer Timer1, Timer3;
    bool logoIsMidi_ = false;
    int wavePosition_ = -1;
    Color powColour_{1, 2, 3};
};

} // namespace tobira
