// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "forms/controls_state.h"
#include "player/form_main.h"
#include "forms/form_model.h"

#include <string>

namespace tobira {

// The borderless announcement shown for two seconds when the player switches between CD and
// MIDI mode.
//
// Its title names the player mode, "TOBIRA" for CD and "KANADE" for MIDI. The mode itself is
// TFormMain::PlayerMode; the switch keeps this title in step with it, so the title is a read-out,
// never consulted.
class TFormMode final : public FormModel {
  public:
    static constexpr int kTimer1Interval = 2000; // ms
    static constexpr int kGap = 15;              // pixels between it and the main window

    TFormMode();

    LabelState PanelANN; // the announcement text and its colour, on navy
    bool Timer1Enabled = false;

    // The title for `mode`.
    void SetPlayerMode(PlayerModeKind mode);

    // Shows `text` in `colour` next to `main` and starts the two-second timer: above the main
    // window when its top is in the lower half of the screen, else below it; left edges aligned.
    void Announce(const std::string& text, Color colour, const FormModel& main, ScreenSize screen);

    // The timer's first tick ends the announcement.
    void Timer1Timer();
};

} // namespace tobira
