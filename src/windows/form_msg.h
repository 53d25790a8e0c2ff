#pragma once

#include "forms/form_model.h"

#include <array>
#include <string>

namespace tobira {

// A small window with a picture and a few words from the author; each click on it shows the
// next message. Opened from several windows without blocking them.
class TFormMsg final : public FormModel {
  public:
    TFormMsg();

    static constexpr int kMessageCount = 5;

    std::string LabelMessage; // code page 932
    int MessageIndex = 0;

    void Image1Click();

  private:
    std::array<std::string, kMessageCount> messages_;
};

} // namespace tobira
