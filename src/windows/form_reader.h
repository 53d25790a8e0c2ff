#pragma once

#include "forms/form_model.h"

namespace tobira {

// The reader of the documents beside a song (TXT, DOC, HED).
class TFormReader final : public FormModel {
  public:
    TFormReader() : FormModel("ＭＩＤＩ ドキュメント表示", 350, 300) {}
};

} // namespace tobira
