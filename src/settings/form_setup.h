#pragma once

#include "app/form_model.h"

namespace tobira {

// The settings window: options, volume ranges, applause, reset songs, list font and viewer.
class TFormSetUp final : public FormModel {
  public:
    TFormSetUp() : FormModel("TOBIRAの設定", 400, 330) {}
};

} // namespace tobira
