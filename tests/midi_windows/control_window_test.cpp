// SPDX-License-Identifier: GPL-3.0-or-later
// The MIDI control window as a whole: auto-close, documents and the reader, stored geometry.
#include "midi_windows/form_view.h"

#include "midi_windows/pages_support.h"
#include "settings/ini_file.h"
#include "settings/settings_keys.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace tobira::testing {
namespace {

struct ControlWindowTest : PagesFixture, ::testing::Test {
    ControlWindowTest() {
        forms.FormSetUp.CheckBoxClose.Down = true;
        forms.FormSetUp.ScrollBarClose = 30;
        view.Left = 100, view.Top = 100, view.Width = 246, view.Height = 347;
    }
    void pointerInside(bool inside) {
        fakes.screen.pointer = inside ? ScreenPoint{200, 200} : ScreenPoint{10, 10};
    }
    // Ticks until the window hides; the number of ticks, or -1 after `limit`.
    int ticksUntilHidden(int limit = 100) {
        for (int t = 1; t <= limit; ++t) {
            view.TimerCloseTimer();
            if (!view.Visible)
                return t;
        }
        return -1;
    }
};

TEST_F(ControlWindowTest, AutoCloseCountsWhileThePointerIsAway) {
    view.FormShow();
    EXPECT_EQ(view.PanelBarCloseWidth, TFormView::kCloseIndicatorWidth - 6);
    pointerInside(false);
    EXPECT_EQ(ticksUntilHidden(), 30);
    EXPECT_FALSE(view.TimerCloseEnabled);
    EXPECT_EQ(view.PanelBarCloseWidth, 0);

    // Inside holds the counter full; leaving starts the full period again.
    view.FormShow();
    for (int i = 0; i < 10; ++i)
        view.TimerCloseTimer();
    pointerInside(true);
    for (int i = 0; i < 100; ++i)
        view.TimerCloseTimer();
    EXPECT_TRUE(view.Visible);
    EXPECT_EQ(view.CloseCountdown, 30);
    pointerInside(false);
    for (int i = 0; i < 15; ++i)
        view.TimerCloseTimer();
    EXPECT_EQ(view.PanelBarCloseWidth, 27);

    // Paused: open indefinitely.
    view.PanelCloseClick();
    EXPECT_TRUE(view.IsAutoClosePaused());
    EXPECT_EQ(ticksUntilHidden(500), -1);
    view.PanelCloseClick();
    EXPECT_EQ(ticksUntilHidden(), 15);

    // Shown again: from 30, and the indicator runs again after a paused close.
    view.FormShow();
    view.PanelCloseClick();
    view.SpeedButtonCloseClick();
    EXPECT_FALSE(view.IsAutoClosePaused());
    view.FormShow();
    EXPECT_EQ(ticksUntilHidden(), 30);

    // Option off: no countdown at all.
    forms.FormSetUp.CheckBoxClose.Down = false;
    view.FormShow();
    EXPECT_EQ(ticksUntilHidden(), -1);
}

TEST_F(ControlWindowTest, TheViewerGetsThePathAsOneArgumentAndNoShell) {
    const std::string path = *Cp932FromPath(folder / "a b 'q' \"d\"; $(touch x).TXT");
    writeText(path, "doc");
    forms.FormSetUp.EditTool = "/usr/bin/viewer";
    view.OpenDocument(path);
    ASSERT_EQ(fakes.processes.started.size(), 1u);
    EXPECT_EQ(fakes.processes.started[0].program, "/usr/bin/viewer");
    EXPECT_EQ(fakes.processes.started[0].arguments, std::vector<std::string>{path});
    EXPECT_FALSE(forms.FormReader.Visible);
    EXPECT_FALSE(std::filesystem::exists(folder / "x"));
}

TEST_F(ControlWindowTest, TheReaderShowsReloadsAndKeepsItsTextWhenTheFileIsGone) {
    const std::string first = *Cp932FromPath(folder / "song.TXT");
    writeText(first, Sjis("一行目\r\n二行目"));
    TFormReader& reader = forms.FormReader;
    view.OpenDocument(first);
    EXPECT_TRUE(reader.Visible);
    EXPECT_EQ(reader.MemoReader, Sjis("一行目\r\n二行目"));
    EXPECT_EQ(reader.Caption, "song.TXT");

    writeText(first, "changed");
    reader.FormActivate();
    EXPECT_EQ(reader.MemoReader, "changed");

    // Gone: an activation keeps the text and says nothing (its box would activate the reader
    // again); opening the document, a user's action, says why.
    std::filesystem::remove(PathFromCp932(first));
    reader.FormActivate();
    EXPECT_EQ(reader.MemoReader, "changed");
    EXPECT_EQ(reader.Caption, "song.TXT");
    EXPECT_TRUE(fakes.messages.shown.empty());
    view.OpenDocument(first);
    ASSERT_EQ(fakes.messages.shown.size(), 1u);
    EXPECT_NE(fakes.messages.shown[0].find(first), std::string::npos);

    // Closing the control window takes the reader along.
    view.FormShow();
    view.SpeedButtonCloseClick();
    EXPECT_FALSE(reader.Visible);
}

TEST_F(ControlWindowTest, ANewSongOpensItsFirstDocumentWhileTheReaderShows) {
    const std::string songPath = song("s/tune.mid", "Tune");
    writeText(*Cp932FromPath(folder / "s/tune.doc"), "doc");
    writeText(*Cp932FromPath(folder / "s/tune.HED"), "hed");
    view.ShowSongDocuments(songPath);
    EXPECT_FALSE(view.SpeedButtonTxt.Enabled);
    EXPECT_TRUE(view.SpeedButtonDoc.Enabled);
    EXPECT_FALSE(forms.FormReader.Visible) << "a hidden reader stays hidden";
    forms.FormReader.Show();
    view.ShowSongDocuments(songPath);
    EXPECT_EQ(forms.FormReader.MemoReader, "doc");
}

TEST_F(ControlWindowTest, GeometryIsReadAtCreationAndSavedBack) {
    struct Case {
        int left, top, width, height;
        int wantLeft, wantTop, wantWidth, wantHeight;
    };
    // Screen 1920 x 1080; the control window is at least 246 wide, a height below 331 becomes
    // 347; a position at 0 or within 100/50 pixels of the edges centres it.
    const Case cases[] = {
        {50, 60, 300, 400, 50, 60, 300, 400},
        {0, 60, 200, 265, (1920 - 246) / 2, (1080 - 347) / 2, 246, 347},
        {1820, 60, 300, 400, (1920 - 300) / 2, (1080 - 400) / 2, 300, 400},
        {50, 1030, 300, 400, (1920 - 300) / 2, (1080 - 400) / 2, 300, 400},
    };
    for (const Case& c : cases) {
        PagesFixture first;
        IniFile settings(first.paths.SettingsPath);
        WriteSetting(settings, keys::LPOSITION, c.left);
        WriteSetting(settings, keys::TPOSITION, c.top);
        WriteSetting(settings, keys::VIEWWIDTH, c.width);
        WriteSetting(settings, keys::VIEWHEIGH, c.height);
        WriteSetting(settings, keys::SPOSITION, c.left + 1);
        WriteSetting(settings, keys::UPOSITION, c.top + 1);
        WriteSetting(settings, keys::READWIDTH, 500);
        WriteSetting(settings, keys::READHEIGH, 600);
        first.forms.CreateAll();
        const TFormView& v = first.view;
        EXPECT_EQ((std::array{v.Left, v.Top, v.Width, v.Height}),
                  (std::array{c.wantLeft, c.wantTop, c.wantWidth, c.wantHeight}))
            << c.left << "," << c.top;
        const TFormReader& r = first.forms.FormReader;
        EXPECT_EQ(std::pair(r.Width, r.Height), std::pair(500, 600));

        // The state save writes back what the windows hold, and the next start reads it.
        first.forms.FormMain.SaveWindowState();
        PagesFixture next;
        std::filesystem::copy_file(PathFromCp932(first.paths.SettingsPath),
                                   PathFromCp932(next.paths.SettingsPath));
        next.forms.CreateAll();
        EXPECT_EQ((std::array{next.view.Left, next.view.Top, next.view.Width, next.view.Height}),
                  (std::array{v.Left, v.Top, v.Width, v.Height}));
        EXPECT_EQ((std::array{next.forms.FormReader.Left, next.forms.FormReader.Top}),
                  (std::array{r.Left, r.Top}));
    }
}

TEST_F(ControlWindowTest, StartFoldersAndFontComeFromTheSettings) {
    IniFile settings(paths.SettingsPath);
    WriteSetting(settings, keys::OPENFOLD0, "/music/zero");
    WriteSetting(settings, keys::FONTNAME, "IPAGothic");
    WriteSetting(settings, keys::FONTSIZE, "12");
    forms.CreateAll();
    EXPECT_EQ(view.StartFolder(0), "/music/zero");
    EXPECT_EQ(view.ListFont.name, "IPAGothic");
    EXPECT_EQ(view.ListFont.size, 12);
    EXPECT_EQ(forms.FormReader.MemoReaderFont.size, 12);
}

} // namespace
} // namespace tobira::testing
