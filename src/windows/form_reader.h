#pragma once

#include "app/form_model.h"

namespace tobira {

// The reader of the documents beside a song (TXT, DOC, HED).
class TFormReader final : public FormModel {
  public:
    TFormReader() : FormModel("ＭＩＤＩ ドキュメント表示", 350, 300) {}

    // The text's font, the list font of the settings; an empty name keeps the view's own.
    FontChoice MemoFont{"", 10};
};

} // namespace tobira
