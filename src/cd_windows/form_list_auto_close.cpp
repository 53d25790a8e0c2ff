// The auto-close countdown of the track control window: it runs while the pointer is away and
// closes the window when it runs out.
#include "cd_windows/form_list.h"

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
    if (ContainsPoint(p))
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
    if (const auto width = CloseBarWidth(
            CloseCountdown, peers().Options.CurrentOptions().CloseSeconds, kCloseIndicatorWidth))
        PanelBarCloseWidth = *width;
}

} // namespace tobira
