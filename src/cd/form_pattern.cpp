#include "cd/form_pattern.h"

#include "app/form_set.h"
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

void TFormPattern::SpeedButtonClick(int slot) {
    ports_.repaint.repaintNow();
    if (slot < 0 || slot >= kPatternSlots)
        return;
    if (forms_->FormMain.PlayModeIndex() != kProgramMode ||
        SpeedButton[static_cast<std::size_t>(slot)].Caption.empty())
        return;
    // The slot button goes down and its click runs, as if the user had pressed it there: the
    // click toggles, so it starts from up.
    TFormList& list = forms_->FormList;
    list.SpeedButtonCD[static_cast<std::size_t>(slot)].Down = false;
    list.SpeedButtonCDClick(slot);
    Hide();
    FormClose();
}

void TFormPattern::SpeedButtonRandomClick() {
    TFormList& list = forms_->FormList;
    if (SpeedButtonRandom.Font == colors::Red) {
        list.CheckBoxRandom.Down = false;
        SpeedButtonRandom.Font = colors::Black;
        return;
    }
    list.CheckBoxRandom.Down = true;
    list.CheckBoxReverse.Down = false;
    SpeedButtonRandom.Font = colors::Red;
    SpeedButtonReverse.Font = colors::Black;
}

void TFormPattern::SpeedButtonReverseClick() {
    TFormList& list = forms_->FormList;
    if (SpeedButtonReverse.Font == colors::Red) {
        list.CheckBoxReverse.Down = false;
        SpeedButtonReverse.Font = colors::Black;
        return;
    }
    list.CheckBoxReverse.Down = true;
    list.CheckBoxRandom.Down = false;
    SpeedButtonReverse.Font = colors::Red;
    SpeedButtonRandom.Font = colors::Black;
}

void TFormPattern::SpeedButtonCloseClick() {
    Hide();
    FormClose();
}

void TFormPattern::FormClose() {
    SpeedButtonRandom.Font = colors::Black;
    SpeedButtonReverse.Font = colors::Black;
    forms_->FormList.CheckBoxRandom.Down = false;
    forms_->FormList.CheckBoxReverse.Down = false;
}

} // namespace tobira
