// The auto-close countdown of the track control window: it runs while the pointer is away and
// closes the window when it runs out.
#include "cd/form_list.h"

#include <cmath>

namespace tobira {

void TFormList::FormShow() {
    const SetupOptions setup = peers().Options.CurrentOptions();
    if (!setup.AutoClose)
        return;
    CloseCountdown = setup.CloseSeconds;
    TimerCloseEnabled = true;
    UpdateCloseBar();
}

void TFormList::TimerCloseTimer() {
    if (!TimerCloseEnabled)
        return;
    // Hidden by the main window's STOP: nothing is left to close.
    if (!Visible) {
        TimerCloseEnabled = false;
        return;
    }
    if (PanelCloseAqua)
        return;
    const ScreenPoint p = ports().screen.pointerPosition();
    const bool inside = Left < p.x && p.x < Left + Width && Top < p.y && p.y < Top + Height;
    if (inside)
        CloseCountdown = peers().Options.CurrentOptions().CloseSeconds;
    else
        --CloseCountdown;
    if (CloseCountdown < 1) {
        TimerCloseEnabled = false;
        FormClose();
    }
    UpdateCloseBar();
}

void TFormList::PanelCloseClick() {
    PanelCloseAqua = !PanelCloseAqua;
}

void TFormList::UpdateCloseBar() {
    const int full = peers().Options.CurrentOptions().CloseSeconds;
    if (full <= 0)
        return;
    const int width = static_cast<int>(
        std::lround(static_cast<double>(CloseCountdown) / full * (kCloseIndicatorWidth - 6)));
    if (width >= 0)
        PanelBarCloseWidth = width;
}

} // namespace tobira
