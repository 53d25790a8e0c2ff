#pragma once

#include "forms/form_model.h"

namespace tobira {

// The MIDI selector: registered song folders and their files.
class TFormMidi final : public FormModel {
  public:
    TFormMidi() : FormModel("ＭＩＤＩ セレクタ", 280, 194) {}
};

} // namespace tobira
