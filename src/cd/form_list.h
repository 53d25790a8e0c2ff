#pragma once

#include "app/controls_state.h"
#include "app/form_model.h"

#include <array>

namespace tobira {

// The CD track control window: the play order's 60 entries and the ten stored programs.
class TFormList final : public FormModel {
  public:
    static constexpr int kEntries = 60;

    TFormList() : FormModel("ＣＤ トラックコントロール", 420, 185) {}

    // The play order: SpeedButton1 .. SpeedButton60 at [1] .. [60] ([0] is unused), each
    // caption a track number; the order ends at the first empty caption.
    std::array<ButtonState, kEntries + 1> SpeedButton;

    // The entries before the first empty one; 60 when all are filled.
    int PlayOrderLength() const {
        for (int i = 1; i <= kEntries; ++i)
            if (SpeedButton[static_cast<std::size_t>(i)].Caption.empty())
                return i - 1;
        return kEntries;
    }
};

} // namespace tobira
