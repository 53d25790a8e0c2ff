#pragma once

#include "app/form_model.h"

namespace tobira {

// The borderless announcement shown for two seconds when the player switches between CD and
// MIDI mode.
class TFormMode final : public FormModel {
  public:
    TFormMode() : FormModel("TOBIRA", 282, 47) { Borderless = true; }
};

} // namespace tobira
