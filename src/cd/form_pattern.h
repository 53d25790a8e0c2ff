#pragma once

#include "app/form_model.h"

namespace tobira {

// The modal selector of a stored CD program, placed next to the main window.
class TFormPattern final : public FormModel {
  public:
    TFormPattern() : FormModel("ＣＤプログラムセレクタ", 282, 200) {}
};

} // namespace tobira
