// The control window's size rule, showing and closing, and its auto-close countdown: it runs
// while the pointer is away and closes the window when it runs out.
#include "midi_windows/form_view.h"

#include "player/form_main.h"
#include "windows/form_msg.h"
#include "windows/form_reader.h"
#include "windows/form_setup.h"

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
    const TFormSetUp& setup = peers().SetUp;
    if (!setup.CheckBoxClose.Down)
        return;
    CloseCountdown = setup.ScrollBarClose;
    TimerCloseEnabled = true;
    UpdateCloseBar();
}

void TFormView::FormClose() {
    Hide();
    PanelClose.Font = colors::Yellow;
    peers().Reader.Hide();
    TimerCloseEnabled = false;
}

void TFormView::TimerCloseTimer() {
    if (!TimerCloseEnabled)
        return;
    // Hidden by STOP or the switch to CD mode: nothing is left to close.
    if (!Visible) {
        TimerCloseEnabled = false;
        return;
    }
    if (IsAutoClosePaused())
        return;
    const int full = peers().SetUp.ScrollBarClose;
    const ScreenPoint p = ports_.screen.pointerPosition();
    if (ContainsPoint(p)) {
        CloseCountdown = full;
        UpdateCloseBar();
        return;
    }
    if (--CloseCountdown < 1)
        FormClose();
    UpdateCloseBar();
}

void TFormView::PanelCloseClick() {
    PanelClose.Font = IsAutoClosePaused() ? colors::Yellow : colors::Aqua;
}

void TFormView::UpdateCloseBar() {
    if (const auto width =
            CloseBarWidth(CloseCountdown, peers().SetUp.ScrollBarClose, kCloseIndicatorWidth))
        PanelBarCloseWidth = *width;
}

} // namespace tobira
