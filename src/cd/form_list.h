#pragma once

#include "app/form_model.h"

namespace tobira {

// The CD track control window: the play order's 60 entries and the ten stored programs.
class TFormList final : public FormModel {
  public:
    TFormList() : FormModel("ＣＤ トラックコントロール", 420, 185) {}
};

} // namespace tobira
