// SPDX-License-Identifier: GPL-3.0-or-later
#include "player/form_mode.h"

namespace tobira {

TFormMode::TFormMode() : FormModel("TOBIRA", 282, 47) {
    Borderless = true;
    PanelANN.Font = colors::Aqua;
}

void TFormMode::SetPlayerMode(PlayerModeKind mode) {
    Caption = mode == PlayerModeKind::CD ? "TOBIRA" : "KANADE";
}

void TFormMode::Announce(const std::string& text, Color colour, const FormModel& main,
                         ScreenSize screen) {
    PanelANN.Caption = text;
    PanelANN.Font = colour;
    // Doubled rather than halved, so an odd screen height compares exactly.
    Top = 2 * main.Top >= screen.height ? main.Top - Height - kGap : main.Top + main.Height + kGap;
    Left = main.Left;
    Show();
    Timer1Enabled = true;
}

void TFormMode::Timer1Timer() {
    Timer1Enabled = false;
    Hide();
}

} // namespace tobira
