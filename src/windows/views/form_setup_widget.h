// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "forms/views/form_widget.h"
#include "windows/form_setup.h"

#include <array>
#include <vector>

class QAbstractButton;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QRadioButton;
class QScrollBar;
class QToolButton;
class QPushButton;

namespace tobira {

class MixerCtrlWidget;
class TMixerCtrl;

// The setup window: fixed size, its options in groups, the save and close buttons, and a small
// window of its own for the mixer panel.
class FormSetUpWidget final : public FormWidget {
    Q_OBJECT
  public:
    FormSetUpWidget(TFormSetUp& model, TMixerCtrl& mixer, ViewHub& hub);
    ~FormSetUpWidget() override;
    void render() override;
    // The mixer panel's own window.
    QWidget* mixerWindow() const { return mixerWindow_; }

  protected:
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    QCheckBox* makeCheckBox(const char* name, ButtonState TFormSetUp::*state,
                            void (TFormSetUp::*click)());
    QPushButton* makeButton(const char* name, void (TFormSetUp::*click)());

    TFormSetUp& setup_;
    std::vector<std::pair<QCheckBox*, ButtonState TFormSetUp::*>> checkBoxes_;
    std::array<QToolButton*, TFormSetUp::kRangeButtons + 1> SpeedButtonRatio{};
    std::array<QToolButton*, TFormSetUp::kRangeButtons + 1> SpeedButtonM{};
    std::array<QToolButton*, TFormSetUp::kLiveButtons + 1> SpeedButtonLive{};
    std::array<QRadioButton*, TFormSetUp::kResetItems> RadioGroupReset{};
    QWidget* PanelLive;
    QWidget* GroupReset;
    QScrollBar* ScrollBarClose;
    QLabel* PanelClose;
    QLineEdit* EditTool;
    QWidget* PanelTool;
    QLabel *PanelFontName, *PanelFontSize, *PanelSoundFont;
    QComboBox *ComboBoxCdDevice, *ComboBoxMidiOut, *ComboBoxLoopCount, *ComboBoxLoopFade;
    QPushButton *ButtonSave, *ButtonClose, *ButtonTool, *ButtonFont, *ButtonSoundFont,
        *ButtonSoundFontStandard, *ButtonMixer;
    QToolButton* SpeedButton1;
    QLabel *LabelProduct, *LabelVersion;
    QWidget* mixerWindow_;
    MixerCtrlWidget* mixerPanel_;
};

} // namespace tobira
