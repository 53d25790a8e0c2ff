// SPDX-License-Identifier: GPL-3.0-or-later
// The switch between CD and MIDI mode, with the real CD device on a generated disc image and a
// recording MIDI device.
#include "support/cd_fixture.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace tobira::testing {
namespace {

bool Called(const FakeMediaDevice& device, const std::string& name) {
    return std::find(device.calls.begin(), device.calls.end(), name) != device.calls.end();
}

void RightClickBAK(CdFixture& f) {
    f.main.SpeedButtonBAKMouseDown(MouseButton::Right);
    f.cd.waitIdle();
}

// The strip of each mode: the CD read-outs and the MIDI title line never show together.
void ExpectStripOf(const TFormMain& main, PlayerModeKind mode) {
    const bool cd = mode == PlayerModeKind::CD;
    EXPECT_EQ(main.PlayerMode, mode);
    EXPECT_EQ(main.ImageLogoIsMidi, !cd);
    EXPECT_EQ(main.LabelPlayMode.Visible, cd);
    EXPECT_EQ(main.LabelTotalMUSIC.Visible, cd);
    EXPECT_EQ(main.LabelTIME.Visible, cd);
    for (const LabelState& mark : main.LabelMarks)
        EXPECT_EQ(mark.Visible, cd);
    EXPECT_EQ(main.LabelMidiTitle.Visible, !cd);
    EXPECT_EQ(main.LabelMidiMode.Visible, !cd);
    EXPECT_EQ(main.LabelSTOP.Caption, "STOP");
    EXPECT_EQ(main.LabelSTOP.Font, colors::Aqua);
}

void ExpectAnnouncement(const TFormMode& mode, const char* text, Color colour, const char* title) {
    EXPECT_TRUE(mode.Visible);
    EXPECT_TRUE(mode.Timer1Enabled);
    EXPECT_EQ(mode.PanelANN.Caption, text);
    EXPECT_EQ(mode.PanelANN.Font, colour);
    EXPECT_EQ(mode.Caption, title);
}

TEST(ModeSwitch, PlayingOrPausedCdStopsAtTrackOneAndTheDeviceClosesAndReopens) {
    for (const bool paused : {false, true}) {
        SCOPED_TRACE(paused ? "paused" : "playing");
        CdFixture f(EqualTracks(5, 5));
        TFormMode& mode = f.forms.FormMode;
        EXPECT_EQ(mode.Caption, "TOBIRA");
        EXPECT_FALSE(mode.Visible);
        f.startPlaying();
        f.main.SpeedButtonNXTClick();
        f.advance(2);
        ASSERT_EQ(TrackSecond(f.position()).first, 2u);
        if (paused)
            f.main.SpeedButtonPAUSEClick();
        f.list.Show();

        RightClickBAK(f);
        ExpectStripOf(f.main, PlayerModeKind::MIDI);
        EXPECT_FALSE(f.cd.isOpen());
        EXPECT_EQ(f.main.CurrentTrack, 1);
        EXPECT_EQ(f.main.OrderPosition, 1);
        EXPECT_FALSE(f.list.Visible);
        EXPECT_EQ(f.main.LabelMidiTitle.Caption, Sjis("★ MIDI mode (KANADE mode)"));
        EXPECT_EQ(f.main.LabelMidiTitle.Font, colors::Aqua);
        EXPECT_EQ(f.main.LabelMidiMode.Caption, "NOR0");
        ExpectAnnouncement(mode, "CD >> MIDI", colors::Yellow, "KANADE");
        // Sound no longer comes from the disc.
        f.engine.render(AudioEngine::kSampleRate);
        mode.Timer1Timer();
        EXPECT_FALSE(mode.Visible);
        EXPECT_FALSE(mode.Timer1Enabled);

        f.forms.FormView.Show();
        RightClickBAK(f);
        ExpectStripOf(f.main, PlayerModeKind::CD);
        EXPECT_TRUE(f.cd.isOpen());
        EXPECT_TRUE(Called(f.midi, "close"));
        EXPECT_EQ(f.main.LabelTotalMUSIC.Caption, "05");
        EXPECT_FALSE(f.forms.FormView.Visible);
        ExpectAnnouncement(mode, "MIDI >> CD", colors::Aqua, "TOBIRA");

        // Nothing resumes; PLAY starts the disc again from track 1.
        f.tick();
        EXPECT_NE(f.cd.mode(), DeviceMode::Playing);
        f.main.SpeedButtonPLAYClick();
        f.advance(1);
        EXPECT_EQ(f.cd.mode(), DeviceMode::Playing);
        EXPECT_EQ(TrackSecond(f.position()).first, 1u);
    }
}

TEST(ModeSwitch, PlayingOrPausedMidiStopsAndItsDeviceCloses) {
    for (const DeviceMode midiMode : {DeviceMode::Playing, DeviceMode::Paused}) {
        SCOPED_TRACE(midiMode == DeviceMode::Playing ? "playing" : "paused");
        CdFixture f;
        RightClickBAK(f);
        // As the MIDI player leaves the lamps while a song plays or is paused.
        f.midi.currentMode = midiMode;
        f.main.LabelPLAY.Font = colors::Aqua;
        if (midiMode == DeviceMode::Paused)
            f.main.LabelPAUSE.Font = colors::Yellow;
        f.main.LabelMidiTitle.Caption = "SONG";
        f.midi.calls.clear();

        RightClickBAK(f);
        ExpectStripOf(f.main, PlayerModeKind::CD);
        ASSERT_FALSE(f.midi.calls.empty());
        EXPECT_EQ(f.midi.calls.front(), "stop");
        EXPECT_EQ(f.midi.calls.back(), "close");
        EXPECT_EQ(f.main.LabelPLAY.Font, colors::Teal);
        EXPECT_EQ(f.main.LabelPLAY.Caption, "00:00 PLAY");
        EXPECT_TRUE(f.cd.isOpen());
    }
}

TEST(ModeSwitch, TheNoDiscLampStaysInCdMode) {
    CdFixture f;
    f.tick();
    f.main.SpeedButtonSTOPClick(); // ejects the stopped disc
    f.tick();
    ASSERT_EQ(f.main.LabelPLAY.Caption, "NO DISC");
    RightClickBAK(f);
    EXPECT_EQ(f.main.LabelPLAY.Caption, "00:00 PLAY");
    EXPECT_EQ(f.main.LabelPLAY.Font, colors::Teal);
}

TEST(ModeSwitch, ErrorsClosingTheOldDeviceAreIgnored) {
    CdFixture f;
    f.midi.failing = {"close"};
    RightClickBAK(f);
    RightClickBAK(f);
    ExpectStripOf(f.main, PlayerModeKind::CD);
}

TEST(ModeSwitch, AnImageThatVanishedIsNoDiscAfterTheSwitch) {
    CdFixture f;
    f.tick();
    RightClickBAK(f);
    f.forms.FormMode.Timer1Timer();
    std::filesystem::remove(f.image.cue);
    std::filesystem::remove(f.image.bin);

    // The switch completes: no disc, and the user is told once which image is missing.
    RightClickBAK(f);
    ExpectStripOf(f.main, PlayerModeKind::CD);
    EXPECT_TRUE(f.cd.isOpen());
    f.cd.waitIdle();
    f.main.Timer1Timer();
    EXPECT_EQ(f.main.LabelPLAY.Caption, "NO DISC");
    ASSERT_EQ(f.fakes.messages.shown.size(), 1u);
    EXPECT_NE(f.fakes.messages.shown.back().find("disc.cue"), std::string::npos);

    // Back and forth again: the same trouble is not told twice.
    RightClickBAK(f);
    f.forms.FormMode.Timer1Timer();
    RightClickBAK(f);
    f.cd.waitIdle();
    f.main.Timer1Timer();
    EXPECT_EQ(f.fakes.messages.shown.size(), 1u);
}

TEST(ModeSwitch, TheAnnouncementGoesAboveTheWindowInTheLowerHalfOfTheScreen) {
    struct Case {
        int screenHeight, mainTop, announcementTop;
    };
    // 282 x 68 main window, 47 high announcement, 15 pixels apart.
    const Case cases[] = {
        {1080, 540, 540 - 47 - 15}, {1080, 539, 539 + 68 + 15}, {1081, 540, 540 + 68 + 15},
        {1081, 541, 541 - 47 - 15}, {1080, 0, 68 + 15},         {768, 700, 700 - 47 - 15},
    };
    CdFixture f;
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.screenHeight << " " << c.mainTop);
        f.fakes.screen.size = {1920, c.screenHeight};
        f.main.Left = 37;
        f.main.Top = c.mainTop;
        RightClickBAK(f);
        EXPECT_EQ(f.forms.FormMode.Top, c.announcementTop);
        EXPECT_EQ(f.forms.FormMode.Left, 37);
        EXPECT_EQ(f.forms.FormMode.Width, f.main.Width);
        EXPECT_EQ(f.forms.FormMode.Height, 47);
    }
}

TEST(ModeSwitch, TheLeftButtonKeepsItsBackFunction) {
    CdFixture f;
    f.main.SpeedButtonBAKMouseDown(MouseButton::Left);
    f.main.SpeedButtonBAKMouseUp(MouseButton::Left);
    f.main.SpeedButtonBAKClick();
    EXPECT_EQ(f.main.PlayerMode, PlayerModeKind::CD);
    EXPECT_FALSE(f.forms.FormMode.Visible);
}

TEST(ModeSwitch, MidiStartOpensInMidiModeWithTheAnnouncement) {
    for (const bool midiStart : {false, true}) {
        SCOPED_TRACE(midiStart);
        TempDir dir;
        const CueImage image = WriteCueBin(dir.path(), "disc", EqualTracks(3, 2));
        const DataPaths paths = DataPaths::InFolder(dir.path());
        {
            IniFile file(paths.SettingsPath);
            WriteSetting(file, keys::CDDEVICE, image.cue.string());
            WriteSetting(file, keys::MIDISTART, midiStart);
            WriteSetting(file, keys::LISTSELEC, 2);
            WriteSetting(file, keys::MODESELEC, 1);
        }
        FakePorts fakes;
        fakes.screen.size = {1920, 1080};
        AudioEngine engine;
        CdDevice cd{engine};
        FakeMediaDevice midi, wave;
        TMixerCtrl mixer{&engine};
        mixer.CreateWnd();
        FormSet forms{fakes.ports(), paths, MediaDevices{cd, midi, wave}, mixer};
        forms.CreateAll();
        cd.waitIdle();

        const TFormMain& main = forms.FormMain;
        if (!midiStart) {
            EXPECT_EQ(main.PlayerMode, PlayerModeKind::CD);
            EXPECT_FALSE(main.LabelMidiTitle.Visible);
            EXPECT_TRUE(cd.isOpen());
            EXPECT_FALSE(forms.FormMode.Visible);
            continue;
        }
        ExpectStripOf(main, PlayerModeKind::MIDI);
        EXPECT_FALSE(cd.isOpen());
        EXPECT_EQ(main.LabelMidiMode.Caption, "NEW2");
        ExpectAnnouncement(forms.FormMode, "CD >> MIDI", colors::Yellow, "KANADE");
        // Beside the main window, not where the side windows are centred.
        EXPECT_EQ(forms.FormMode.Left, main.Left);
        EXPECT_EQ(forms.FormMode.Top, 2 * main.Top >= 1080 ? main.Top - 62 : main.Top + 83);
    }
}

} // namespace
} // namespace tobira::testing
