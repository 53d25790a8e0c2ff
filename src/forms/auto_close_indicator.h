// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace tobira {

// The auto-close indicator of the two control windows: a countdown of whole seconds that runs
// while the pointer is away from the window and closes it when it runs out. A click pauses it.
// The window derives from it, so the fields carry the names of the window's own controls.
class AutoCloseIndicator {
  public:
    // `panelWidth` is the indicator's width in pixels; the bar starts `barWidth` wide.
    AutoCloseIndicator(int panelWidth, int barWidth)
        : PanelBarCloseWidth(barWidth), panelWidth_(panelWidth) {}

    int PanelBarCloseWidth;         // the time left, 3 pixels of frame each side
    bool TimerCloseEnabled = false; // one tick a second while on
    int CloseCountdown = 0;         // seconds left

    // Paused, the indicator shows aqua and the countdown holds.
    bool IsAutoClosePaused() const { return paused_; }
    // A click on the indicator or its bar pauses or resumes the countdown.
    void PanelCloseClick() { paused_ = !paused_; }

  protected:
    ~AutoCloseIndicator() = default;

    // The window shows: with auto-close on, the countdown starts from the full `seconds`.
    void StartCloseCountdown(bool autoClose, int seconds);
    // One tick of TimerClose. True when the countdown ran out: the tick has stopped and the
    // window is to close. A hidden window only stops the tick.
    bool CloseCountdownTick(bool visible, bool pointerInside, int seconds);
    // The window closed: the tick stops and a pause ends.
    void StopCloseCountdown() {
        paused_ = false;
        TimerCloseEnabled = false;
    }
    // The bar follows the countdown of `seconds`; nothing changes without a full time or with
    // a countdown below zero.
    void UpdateCloseBar(int seconds);

  private:
    int panelWidth_;
    bool paused_ = false;
};

} // namespace tobira
