#pragma once

#include "app/form_model.h"

namespace tobira {

// The management window of the stored CD programs (TOBIRA.DAT).
class TFormManage final : public FormModel {
  public:
    TFormManage() : FormModel("ＰＡＴＴＥＲＮ ファイルの管理", 420, 300) {}
};

} // namespace tobira
