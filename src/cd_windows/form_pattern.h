// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "forms/controls_state.h"
#include "forms/form_model.h"
#include "ports/ports.h"
#include "cd_windows/pattern_record.h"

#include <array>

namespace tobira {

class TFormList;
class TFormMain;

// The modal selector of a stored CD program, placed next to the main window. It keeps nothing
// of its own: the rows are filled by ReadPatternFile, a choice goes through the track control
// window's slot buttons, and the two options are that window's check boxes, mirrored here in red.
class TFormPattern final : public FormModel {
  public:
    explicit TFormPattern(Ports ports);

    // One row per pattern slot, SpeedButton0 .. SpeedButton9: the pattern's title and order.
    std::array<ButtonState, kPatternSlots> SpeedButton;
    // "＋Random " and "＋Reverse ": red = on; never both.
    ButtonState SpeedButtonRandom, SpeedButtonReverse;
    ButtonState SpeedButtonClose;

    // The main window (its play mode) and the track control window, which applies the pattern.
    // Set once by the window set.
    void SetPeers(const TFormMain& main, TFormList& list) {
        main_ = &main;
        list_ = &list;
    }

    // Before the dialog shows: a row is live exactly when it holds a pattern to apply.
    void FormShow();
    // A click on row `slot` (0..9): in program mode a row with a caption applies that slot's
    // pattern through the track control window and closes the dialog; otherwise nothing.
    void SpeedButtonClick(int slot);
    void SpeedButtonRandomClick();
    void SpeedButtonReverseClick();
    // "Close".
    void SpeedButtonCloseClick();
    // The dialog closes, by any means: both options off, here and in the track control window.
    void FormClose();

    bool IsRandomOn() const;
    bool IsReverseOn() const;

  private:
    // Which of the two options is lit; at most one is.
    void ShowOrderOptions(bool random, bool reverse);

    Ports ports_;
    const TFormMain* main_ = nullptr;
    TFormList* list_ = nullptr;
};

} // namespace tobira
