// SPDX-License-Identifier: GPL-3.0-or-later
#include "forms/auto_close_indicator.h"

#include <cmath>

namespace tobira {

void AutoCloseIndicator::StartCloseCountdown(bool autoClose, int seconds) {
    if (!autoClose)
        return;
    CloseCountdown = seconds;
    TimerCloseEnabled = true;
    UpdateCloseBar(seconds);
}

bool AutoCloseIndicator::CloseCountdownTick(bool visible, bool pointerInside, int seconds) {
    if (!TimerCloseEnabled)
        return false;
    // Hidden by STOP or a mode switch: nothing is left to close.
    if (!visible) {
        TimerCloseEnabled = false;
        return false;
    }
    if (paused_)
        return false;
    // Resting over the window holds the full time.
    if (pointerInside) {
        CloseCountdown = seconds;
        UpdateCloseBar(seconds);
        return false;
    }
    const bool runOut = --CloseCountdown < 1;
    if (runOut)
        TimerCloseEnabled = false;
    UpdateCloseBar(seconds);
    return runOut;
}

void AutoCloseIndicator::UpdateCloseBar(int seconds) {
    if (seconds <= 0)
        return;
    const int width = static_cast<int>(
        std::lround(static_cast<double>(CloseCountdown) / seconds * (panelWidth_ - 6)));
    if (width >= 0)
        PanelBarCloseWidth = width;
}

} // namespace tobira
