// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The main window's strip as text, for comparing two players that should be in the same state.

#include "player/form_main.h"

#include <string>

namespace tobira::testing {

inline std::string ColourText(Color c) {
    return std::to_string(c.r) + "," + std::to_string(c.g) + "," + std::to_string(c.b);
}

inline std::string StripText(const TFormMain& main) {
    std::string text;
    for (const LabelState* lamp :
         {&main.LabelPLAY, &main.LabelPAUSE, &main.LabelSTOP, &main.LabelPlayMode, &main.LabelVol,
          &main.LabelMidiTitle, &main.LabelMidiMode})
        text += lamp->Caption + "/" + ColourText(lamp->Font) + " ";
    text += "POW " + ColourText(main.PanelPOW.Font) + " order " +
            std::to_string(main.OrderPosition) + " track " + std::to_string(main.CurrentTrack) +
            " mode " + std::to_string(static_cast<int>(main.PlayerMode));
    return text;
}

} // namespace tobira::testing
