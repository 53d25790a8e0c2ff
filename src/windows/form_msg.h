// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "forms/form_model.h"

#include <array>
#include <functional>
#include <string>

namespace tobira {

// What a user reporting a problem needs to tell: versions and what the player uses. Code page
// 932.
struct AboutFacts {
    std::string Qt, FluidSynth, Libcdio, Sdl2;
    std::string SoundFont; // the file in use
    std::string CdDevice;  // the drive or image in use
    std::string Folder;    // the program folder
};

// A small window with a picture and a few words from the author; each click on it shows the
// next message. Below them, the facts a problem report needs. Opened from several windows
// without blocking them.
class TFormMsg final : public FormModel {
  public:
    TFormMsg();

    static constexpr int kMessageCount = 5;

    std::string LabelMessage; // code page 932
    int MessageIndex = 0;
    std::string LabelVersion; // the program's version and date
    AboutFacts About;
    std::string LabelLicence; // code page 932

    // Asked each time the window is shown, since the SoundFont and the CD device can change.
    std::function<AboutFacts()> Facts;

    void FormShow();
    void Image1Click();

  private:
    std::array<std::string, kMessageCount> messages_;
};

} // namespace tobira
