// SPDX-License-Identifier: GPL-3.0-or-later
// The control window's size rule, showing and closing, and its auto-close countdown: it runs
// while the pointer is away and closes the window when it runs out.
#include "midi_windows/form_view.h"

#include "player/form_main.h"
#include "windows/form_msg.h"
#include "windows/form_reader.h"

namespace tobira {

void TFormView::FormResize() {
    if (Width < kMinWidth)
        Width = kMinWidth;
    if (Height < kMinHeight)
        Height = kResizedHeight;
}

void TFormView::FormShow() {
    // Showing a window that is up already is no new showing.
    if (Visible)
        return;
    Show();
    ShowHint = peers().Main.ShowHints;
    const SetupOptions setup = peers().Options.CurrentOptions();
    StartCloseCountdown(setup.AutoClose, setup.CloseSeconds);
}

void TFormView::FormClose() {
    Hide();
    StopCloseCountdown();
    peers().Reader.Hide();
}

void TFormView::TimerCloseTimer() {
    const bool inside = TimerCloseEnabled && ContainsPoint(ports_.screen.pointerPosition());
    if (CloseCountdownTick(Visible, inside, peers().Options.CurrentOptions().CloseSeconds))
        FormClose();
}

} // namespace tobira
