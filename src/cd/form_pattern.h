#pragma once

#include "app/controls_state.h"
#include "app/form_model.h"
#include "cd/pattern_record.h"

#include <array>

namespace tobira {

// The modal selector of a stored CD program, placed next to the main window.
class TFormPattern final : public FormModel {
  public:
    TFormPattern() : FormModel("ＣＤプログラムセレクタ", 282, 200) {}

    // One row per pattern slot, SpeedButton0 .. SpeedButton9: the pattern's title and order.
    std::array<ButtonState, kPatternSlots> SpeedButton;
};

} // namespace tobira
