// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "forms/views/form_widget.h"
#include "cd_windows/form_list.h"

#include <array>

class QAbstractButton;
class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTimer;
class QToolButton;

namespace tobira {

class ClickLabel;

// The view of TFormList, the CD track control window: the logo, the auto-close indicator, the
// play order's 60 entry buttons under the mode's name, SET/MON, "+ Random"/"+ Reverse", "<" ">"
// and CLOSE; in program mode below them the edit list, the pattern title and the slot panel
// (the ten slots, SAVE and CTRL). Hints follow the main window's hint setting.
class FormListWidget final : public FormWidget {
    Q_OBJECT
  public:
    FormListWidget(TFormList& model, const bool& showHints, ViewHub& hub);

    void render() override;
    void keepTimersInStep() override;

  protected:
    void closeEvent(QCloseEvent* event) override;
    // The right button on a slot button releases the slot.
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    QToolButton* makeToggle(QAnyStringView name, QRect geometry);
    void makeProgramPanel();

    TFormList& list_;
    const bool& showHints_; // the main window's hint switch, read at every render
    ClickLabel *Image1, *LabelORG, *LabelDST, *LabelCDID;
    std::array<QToolButton*, TFormList::kEntries + 1> SpeedButton{}; // [1] .. [60]
    QToolButton *SpeedButtonSET, *SpeedButtonMON, *SpeedButtonBAK, *SpeedButtonNXT;
    QCheckBox *CheckBoxRandom, *CheckBoxReverse;
    QPushButton* ButtonClose;
    ClickLabel *PanelClose, *PanelBarClose;
    QTimer* TimerClose;
    std::array<QToolButton*, TFormList::kEntries + 1> SpeedButtonEdit{}; // SpeedButton61 .. 120
    QLabel* LabelPattern;
    QLineEdit* EditPattern;
    std::array<QToolButton*, kPatternSlots> SpeedButtonCD{};
    QToolButton *SpeedButtonSAVE, *SpeedButtonMANAG;
};

} // namespace tobira
