// SPDX-License-Identifier: GPL-3.0-or-later
// The track control window apart from its programs: where it opens, its auto-close countdown,
// and the windows it opens.
#include "player/play_modes.h"
#include "settings/ini_file.h"
#include "settings/settings_keys.h"
#include "support/cd_windows.h"

#include <gtest/gtest.h>

namespace tobira::testing {
namespace {

struct World : CdWindows {
    explicit World(int h = -1, int v = -1) {
        IniFile file(main.Paths.SettingsPath);
        WriteSetting(file, keys::HPOSITION, h);
        WriteSetting(file, keys::VPOSITION, v);
        fakes.screen.size = {1000, 800};
        list.FormCreate();
    }
    // Auto-close on with `seconds`, the window at (100, 100) and shown, the pointer away.
    void showWithAutoClose(int seconds) {
        setup.options.AutoClose = true;
        setup.options.CloseSeconds = seconds;
        list.Left = 100;
        list.Top = 100;
        fakes.screen.pointer = {10, 10};
        list.Show();
    }
    void ticks(int n) {
        for (int i = 0; i < n; ++i)
            list.TimerCloseTimer();
    }
};

TEST(TrackControlWindow, StoredPositionIsUsedOnlyInsideTheScreen) {
    struct Case {
        int h, v;
        int left, top;
    };
    // Screen 1000 x 800: 0 < h < 580 and 0 < v < 610; otherwise centred (420 x 185).
    for (const Case& c :
         {Case{10, 20, 10, 20}, Case{579, 609, 579, 609}, Case{0, 20, 290, 307},
          Case{580, 20, 290, 307}, Case{10, 610, 290, 307}, Case{-1, -1, 290, 307}}) {
        World w(c.h, c.v);
        EXPECT_EQ(w.list.Left, c.left) << c.h << "," << c.v;
        EXPECT_EQ(w.list.Top, c.top) << c.h << "," << c.v;
    }
}

TEST(TrackControlWindow, ProgramLayoutStaysInsideTheWorkArea) {
    struct Case {
        int v;
        std::optional<ScreenArea> area;
        int top; // after the switch to the program layout (317 high)
    };
    for (const Case& c :
         {Case{609, std::nullopt, 800 - 317}, Case{609, ScreenArea{0, 0, 1000, 770}, 770 - 317},
          Case{100, std::nullopt, 100}, Case{700, ScreenArea{0, 40, 1000, 300}, 40}}) {
        World w(10, c.v);
        w.fakes.screen.area = c.area;
        w.list.Top = c.v;
        w.list.ShowModeDisplay(kProgramMode);
        EXPECT_EQ(w.list.Top, c.top) << c.v;
        w.list.ShowModeDisplay(kNormalMode);
        EXPECT_EQ(w.list.Top, c.top) << "back to the entry row only, " << c.v;
    }
}

TEST(TrackControlWindow, AutoCloseCountsWhileThePointerIsAway) {
    World w;
    w.showWithAutoClose(30);
    EXPECT_TRUE(w.list.TimerCloseEnabled);
    EXPECT_EQ(w.list.PanelBarCloseWidth, 60);
    w.ticks(15);
    EXPECT_EQ(w.list.PanelBarCloseWidth, 30);

    // Resting over the window (strictly inside) starts it again from the full time.
    w.fakes.screen.pointer = {101, 101};
    w.ticks(100);
    EXPECT_TRUE(w.list.Visible);
    EXPECT_EQ(w.list.PanelBarCloseWidth, 60);
    w.fakes.screen.pointer = {100, 150}; // on the edge counts as away
    w.ticks(10);
    EXPECT_EQ(w.list.CloseCountdown, 20);

    // Paused: the bar keeps its width.
    w.list.PanelCloseClick();
    EXPECT_TRUE(w.list.IsAutoClosePaused());
    w.ticks(100);
    EXPECT_TRUE(w.list.Visible);
    EXPECT_EQ(w.list.PanelBarCloseWidth, 40);
    w.list.PanelCloseClick();

    w.ticks(19);
    EXPECT_TRUE(w.list.Visible);
    w.list.CheckBoxRandom.Down = true;
    w.ticks(1);
    EXPECT_FALSE(w.list.Visible);
    EXPECT_FALSE(w.list.TimerCloseEnabled);
    EXPECT_EQ(w.list.PanelBarCloseWidth, 0);
    EXPECT_FALSE(w.list.CheckBoxRandom.Down) << "closing by the countdown is a close";

    // Showing it again starts from the full time; showing it while open changes nothing.
    w.list.Show();
    EXPECT_EQ(w.list.CloseCountdown, 30);
    w.ticks(5);
    w.list.Show();
    EXPECT_EQ(w.list.CloseCountdown, 25);
}

TEST(TrackControlWindow, CloseEndsThePauseAndTheTickAndWithoutAutoCloseNothingCounts) {
    World w;
    w.showWithAutoClose(5);
    w.list.PanelCloseClick();
    w.list.FormClose();
    EXPECT_FALSE(w.list.IsAutoClosePaused());
    EXPECT_FALSE(w.list.TimerCloseEnabled);

    w.setup.options.AutoClose = false;
    w.list.Show();
    EXPECT_FALSE(w.list.TimerCloseEnabled);
    w.ticks(10);
    EXPECT_TRUE(w.list.Visible);
}

TEST(TrackControlWindow, LogoAndCtrlOpenTheirWindows) {
    World w;
    w.list.Show();
    w.list.Image1Click();
    EXPECT_TRUE(w.msg.Visible);
    const int repaints = w.fakes.repaint.count;
    w.list.SpeedButtonMANAGClick();
    EXPECT_TRUE(w.manage.Visible);
    EXPECT_GT(w.fakes.repaint.count, repaints);
    EXPECT_TRUE(w.list.Visible) << "neither is modal";
}

} // namespace
} // namespace tobira::testing
