// SPDX-License-Identifier: GPL-3.0-or-later
// The auto-close countdown of the track control window: it runs while the pointer is away and
// closes the window when it runs out.
#include "cd_windows/form_list.h"

namespace tobira {

void TFormList::FormShow() {
    const SetupOptions setup = peers().Options.CurrentOptions();
    StartCloseCountdown(setup.AutoClose, setup.CloseSeconds);
}

void TFormList::TimerCloseTimer() {
    const bool inside = TimerCloseEnabled && ContainsPoint(ports().screen.pointerPosition());
    if (CloseCountdownTick(Visible, inside, peers().Options.CurrentOptions().CloseSeconds))
        FormClose();
}

} // namespace tobira
