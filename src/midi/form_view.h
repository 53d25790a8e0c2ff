#pragma once

#include "app/form_model.h"

namespace tobira {

// The MIDI control window: the play list, the two song lists, search and albums.
class TFormView final : public FormModel {
  public:
    TFormView() : FormModel("ＭＩＤＩ コントロール", 246, 265) {}
};

} // namespace tobira
