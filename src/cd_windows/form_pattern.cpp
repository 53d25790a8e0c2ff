// SPDX-License-Identifier: GPL-3.0-or-later
#include "cd_windows/form_pattern.h"

#include "cd_windows/form_list.h"
#include "player/form_main.h"
#include "player/play_modes.h"
#include "text/cp932_convert.h"

namespace tobira {
namespace {

ButtonState Option(const char* caption) {
    ButtonState b;
    b.Caption = Utf8ToCp932(caption);
    return b;
}

} // namespace

TFormPattern::TFormPattern(Ports ports)
    : FormModel("ＣＤプログラムセレクタ", 282, 200), SpeedButtonRandom(Option("＋Random ")),
      SpeedButtonReverse(Option("＋Reverse ")), SpeedButtonClose(Option("Close")), ports_(ports) {}

void TFormPattern::FormShow() {
    const bool program = main_->PlayModeIndex() == kProgramMode;
    for (ButtonState& row : SpeedButton)
        row.Enabled = program && !row.Caption.empty();
}

void TFormPattern::SpeedButtonClick(int slot) {
    ports_.repaint.repaintNow();
    if (slot < 0 || slot >= kPatternSlots)
        return;
    if (main_->PlayModeIndex() != kProgramMode ||
        SpeedButton[static_cast<std::size_t>(slot)].Caption.empty())
        return;
    // The slot button goes down and its click runs, as if the user had pressed it there: the
    // click toggles, so it starts from up.
    TFormList& list = *list_;
    list.SpeedButtonCD[static_cast<std::size_t>(slot)].Down = false;
    list.SpeedButtonCDClick(slot);
    Hide();
    FormClose();
}

void TFormPattern::SpeedButtonRandomClick() {
    TFormList& list = *list_;
    if (IsRandomOn()) {
        list.CheckBoxRandom.Down = false;
        ShowOrderOptions(false, IsReverseOn());
        return;
    }
    list.CheckBoxRandom.Down = true;
    list.CheckBoxReverse.Down = false;
    ShowOrderOptions(true, false);
}

void TFormPattern::SpeedButtonReverseClick() {
    TFormList& list = *list_;
    if (IsReverseOn()) {
        list.CheckBoxReverse.Down = false;
        ShowOrderOptions(IsRandomOn(), false);
        return;
    }
    list.CheckBoxReverse.Down = true;
    list.CheckBoxRandom.Down = false;
    ShowOrderOptions(false, true);
}

void TFormPattern::SpeedButtonCloseClick() {
    Hide();
    FormClose();
}

void TFormPattern::FormClose() {
    ShowOrderOptions(false, false);
    list_->CheckBoxRandom.Down = false;
    list_->CheckBoxReverse.Down = false;
}

bool TFormPattern::IsRandomOn() const {
    return SpeedButtonRandom.Font == colors::Red;
}

bool TFormPattern::IsReverseOn() const {
    return SpeedButtonReverse.Font == colors::Red;
}

void TFormPattern::ShowOrderOptions(bool random, bool reverse) {
    SpeedButtonRandom.Font = random ? colors::Red : colors::Black;
    SpeedButtonReverse.Font = reverse ? colors::Red : colors::Black;
}

} // namespace tobira
