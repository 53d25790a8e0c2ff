// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "ports/ports.h"

namespace tobira {

// Message boxes and the file, folder and font choosers on Qt. Texts are converted from code page
// 932 at this border; a chosen path that code page 932 cannot hold is refused with a message.
class QtDialogs final : public MessagePort, public ChooserPort {
  public:
    void showMessage(const std::string& text) override;
    bool askYesNo(const std::string& text) override;
    Answer askYesNoCancel(const std::string& text) override;
    void beep() override;

    std::optional<std::string> chooseOpenFile(const std::string& caption,
                                              const std::string& initialFolder,
                                              const std::string& filter) override;
    std::optional<std::string> chooseFolder(const std::string& caption,
                                            const std::string& initialFolder) override;
    std::optional<FontChoice> chooseFont(const FontChoice& current) override;
};

} // namespace tobira
