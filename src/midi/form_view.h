#pragma once

#include "app/controls_state.h"
#include "app/form_model.h"
#include "text/cp932_convert.h"

namespace tobira {

// The MIDI control window: the play list, the two song lists, search and albums.
class TFormView final : public FormModel {
  public:
    TFormView() : FormModel("ＭＩＤＩ コントロール", 246, 265) {
        SpeedButtonLst0.Caption = "List 0";
        SpeedButtonLst1.Caption = "List 1";
        SpeedButtonLst2.Caption = "2 List";
        SpeedButtonLst0.Down = true;
        SpeedButtonNor.Caption = "Nor";
        SpeedButtonNew.Caption = "New";
        SpeedButtonRnd.Caption = "Rnd";
        SpeedButtonNor.Down = true;
        SpeedButtonNor.Hint = Utf8ToCp932("名前順に再生する");
        SpeedButtonNew.Hint = Utf8ToCp932("新曲を優先して再生");
        SpeedButtonRnd.Hint = Utf8ToCp932("ランダムに再生");
    }

    // Source of the play list, one group: exactly one is down.
    ButtonState SpeedButtonLst0, SpeedButtonLst1, SpeedButtonLst2;
    // Play order, one group.
    ButtonState SpeedButtonNor, SpeedButtonNew, SpeedButtonRnd;
};

} // namespace tobira
