#include "volume_fixture.h"

#include <gtest/gtest.h>

namespace tobira {
namespace {

using testing::MainWindowFixture;
using testing::Sjis;

struct VolumeFixture : MainWindowFixture {
    VolumeFixture() { main.FindMixerLines(); }
    void setLevel(int level) {
        main.LabelVol.Caption = marks(level);
        main.LabelVol.Visible = level > 0;
    }
    void pressRange(std::array<ButtonState, TFormSetUp::kRangeButtons + 1>& group, int n) {
        for (auto& b : group)
            b.Down = false;
        group[static_cast<std::size_t>(n)].Down = true;
    }
};

TEST(Volume, FindsTheSpeakersAndTheThreeSourceLines) {
    VolumeFixture f;
    ASSERT_GE(f.main.CdLine, 0);
    ASSERT_GE(f.main.WaveLine, 0);
    ASSERT_GE(f.main.SynthLine, 0);
    EXPECT_EQ(f.mixer.SourceLine(f.main.CdLine), MixerLine::CompactDisc);
    EXPECT_EQ(f.mixer.SourceLine(f.main.WaveLine), MixerLine::WaveOut);
    EXPECT_EQ(f.mixer.SourceLine(f.main.SynthLine), MixerLine::Synthesizer);
}

TEST(Volume, WithoutAMixerNothingIsSentAndNothingFails) {
    testing::FakePorts fakes;
    testing::FakeMediaDevice cd, midi, wave;
    TMixerCtrl noMixer;
    testing::TempDir dir;
    FormSet forms(fakes.ports(), DataPaths::InFolder(dir.path()), MediaDevices{cd, midi, wave},
                  noMixer);
    forms.FormMain.FindMixerLines();
    EXPECT_LT(forms.FormMain.CdLine, 0);
    EXPECT_LT(forms.FormMain.WaveLine, 0);
    EXPECT_LT(forms.FormMain.SynthLine, 0);
    forms.FormMain.SpeedButtonVolUpClick();
    forms.FormMain.SetWaveVolume(50);
    forms.FormMain.SetMidiVolume(50);
    EXPECT_EQ(forms.FormMain.LabelVol.Caption, "IIII");
}

// The level reached by a button press, over the mode's range, as units at the mode's line.
TEST(Volume, LevelAndRangeGiveTheseUnitsInEitherMode) {
    struct Case {
        int range, level;
        std::uint16_t units;
    };
    const Case cases[] = {
        {3, 10, 21626}, {3, 3, 6553}, {5, 3, 3932}, {4, 1, 1310}, {1, 10, 65535}, {2, 5, 16383},
    };
    for (PlayerModeKind mode : {PlayerModeKind::CD, PlayerModeKind::MIDI}) {
        for (const Case& c : cases) {
            VolumeFixture f;
            f.main.PlayerMode = mode;
            const bool cd = mode == PlayerModeKind::CD;
            f.pressRange(cd ? f.setup.SpeedButtonRatio : f.setup.SpeedButtonM, c.range);
            f.markLines();
            // Arrive at the level from below, and once more from above.
            f.setLevel(c.level - 1);
            f.main.SpeedButtonVolUpClick();
            const MixerLine line = cd ? MixerLine::CompactDisc : MixerLine::Synthesizer;
            const MixerLine other = cd ? MixerLine::Synthesizer : MixerLine::CompactDisc;
            EXPECT_EQ(f.units(line), c.units) << c.range << "/" << c.level;
            EXPECT_EQ(f.units(other), MainWindowFixture::kUntouched);
            EXPECT_EQ(f.units(MixerLine::WaveOut), MainWindowFixture::kUntouched);
            if (c.level < 10) {
                f.markLines();
                f.setLevel(c.level + 1);
                f.main.SpeedButtonVolDownClick();
                EXPECT_EQ(f.units(line), c.units) << c.range << "/" << c.level << " down";
            }
            EXPECT_EQ(f.main.LabelVol.Caption, MainWindowFixture::marks(c.level));
        }
    }
}

TEST(Volume, LevelOneDownHidesTheBarAndSendsZero) {
    VolumeFixture f;
    f.setLevel(1);
    f.markLines();
    f.main.SpeedButtonVolDownClick();
    EXPECT_EQ(f.main.LabelVol.Caption, "");
    EXPECT_FALSE(f.main.LabelVol.Visible);
    EXPECT_EQ(f.units(MixerLine::CompactDisc), 0);

    // Nothing below zero; the bar comes back with the first step up.
    f.markLines();
    f.main.SpeedButtonVolDownClick();
    EXPECT_EQ(f.units(MixerLine::CompactDisc), MainWindowFixture::kUntouched);
    f.main.SpeedButtonVolUpClick();
    EXPECT_TRUE(f.main.LabelVol.Visible);
    EXPECT_EQ(f.main.LabelVol.Caption, "I");
    EXPECT_EQ(f.units(MixerLine::CompactDisc), 1966) << "10 % over range 3";
}

TEST(Volume, LevelTenUpChangesAndSendsNothing) {
    VolumeFixture f;
    f.setLevel(10);
    f.markLines();
    f.main.SpeedButtonVolUpClick();
    EXPECT_EQ(f.main.LabelVol.Caption, MainWindowFixture::marks(10));
    EXPECT_EQ(f.units(MixerLine::CompactDisc), MainWindowFixture::kUntouched);
}

TEST(Volume, MuteSendsZeroKeepsTheMarksAndUnmuteRestoresTheLevel) {
    VolumeFixture f;
    f.setLevel(4);
    f.main.SpeedButtonSTOPMouseDown(MouseButton::Right);
    EXPECT_EQ(f.main.LabelVol.Font, colors::Yellow);
    EXPECT_EQ(f.main.LabelVol.Caption, "IIII");
    EXPECT_EQ(f.units(MixerLine::CompactDisc), 0);

    // Muted: the volume buttons do nothing.
    f.main.SpeedButtonVolUpClick();
    f.main.SpeedButtonVolDownClick();
    EXPECT_EQ(f.main.LabelVol.Caption, "IIII");
    EXPECT_EQ(f.units(MixerLine::CompactDisc), 0);

    f.main.SpeedButtonSTOPMouseDown(MouseButton::Right);
    EXPECT_EQ(f.main.LabelVol.Font, colors::Aqua);
    EXPECT_EQ(f.units(MixerLine::CompactDisc), 40 / 3 * 65535 / 100);

    // The left button is STOP itself, not mute.
    f.main.SpeedButtonSTOPMouseDown(MouseButton::Left);
    EXPECT_EQ(f.main.LabelVol.Font, colors::Aqua);
}

TEST(Volume, MutedAtLevelZeroStaysMuted) {
    VolumeFixture f;
    f.setLevel(1);
    f.main.SpeedButtonVolDownClick();
    f.main.SpeedButtonSTOPMouseDown(MouseButton::Right);
    ASSERT_EQ(f.main.LabelVol.Font, colors::Yellow);
    f.markLines();
    f.main.SpeedButtonSTOPMouseDown(MouseButton::Right);
    f.main.SpeedButtonVolUpClick();
    EXPECT_EQ(f.main.LabelVol.Font, colors::Yellow);
    EXPECT_EQ(f.main.LabelVol.Caption, "");
    EXPECT_EQ(f.units(MixerLine::CompactDisc), MainWindowFixture::kUntouched);
}

// The settings window paints the bar teal when both volume controls are off.
TEST(Volume, SwitchedOffBarIgnoresButtonsAndBecomesActiveWithoutSending) {
    VolumeFixture f;
    f.setup.CheckBoxVolCont.Down = false;
    f.setup.CheckBoxMidiVolCont.Down = false;
    f.main.LabelVol.Font = colors::Teal;
    f.setLevel(5);
    f.markLines();
    f.main.SpeedButtonVolUpClick();
    EXPECT_EQ(f.main.LabelVol.Caption, "IIIII");
    f.main.SpeedButtonSTOPMouseDown(MouseButton::Right);
    EXPECT_EQ(f.main.LabelVol.Font, colors::Aqua);
    EXPECT_EQ(f.units(MixerLine::CompactDisc), MainWindowFixture::kUntouched);
}

TEST(Volume, MidiModeWithMidiVolumeOffMovesTheBarAndSendsNothing) {
    VolumeFixture f;
    f.main.PlayerMode = PlayerModeKind::MIDI;
    f.setup.CheckBoxMidiVolCont.Down = false;
    f.setLevel(3);
    f.markLines();
    f.main.SpeedButtonVolUpClick();
    EXPECT_EQ(f.main.LabelVol.Caption, "IIII");
    f.main.SpeedButtonVolDownClick();
    f.main.SpeedButtonVolDownClick();
    EXPECT_EQ(f.main.LabelVol.Caption, "II");
    for (MixerLine line : {MixerLine::CompactDisc, MixerLine::Synthesizer, MixerLine::WaveOut})
        EXPECT_EQ(f.units(line), MainWindowFixture::kUntouched);
}

TEST(Volume, MidiVolumeRewritesTheBarHints) {
    VolumeFixture f;
    f.main.PlayerMode = PlayerModeKind::MIDI;
    f.setLevel(6);
    f.main.SpeedButtonVolUpClick();
    EXPECT_EQ(f.main.LabelVol.Hint, Sjis("実際の音量値は 7 です"));
    EXPECT_EQ(f.main.LabelVolBak.Hint, Sjis("実際の音量値は 7 です"));
}

TEST(Volume, ApplauseLevelMovesOnlyInLiveModeAndStopsAtZeroAndNine) {
    VolumeFixture f;
    f.markLines();
    f.main.SpeedButtonVolUpMouseDown(MouseButton::Right);
    f.main.SpeedButtonVolDownMouseDown(MouseButton::Right);
    EXPECT_EQ(f.main.ProgressBarWave, 3) << "live mode is off";
    EXPECT_EQ(f.units(MixerLine::WaveOut), MainWindowFixture::kUntouched);

    f.main.ImageLIVE = true;
    for (int i = 0; i < 5; ++i)
        f.main.SpeedButtonVolDownMouseDown(MouseButton::Right);
    EXPECT_EQ(f.main.ProgressBarWave, 0);
    EXPECT_EQ(f.units(MixerLine::WaveOut), 0);
    for (int i = 0; i < 12; ++i)
        f.main.SpeedButtonVolUpMouseDown(MouseButton::Right);
    EXPECT_EQ(f.main.ProgressBarWave, 9);
    EXPECT_EQ(f.units(MixerLine::WaveOut), 90 * 65535 / 100);
    EXPECT_EQ(f.main.LabelVol.Caption, "III") << "the right button leaves the main volume alone";

    f.main.ToggleLive();
    f.main.SpeedButtonVolDownMouseDown(MouseButton::Right);
    EXPECT_EQ(f.main.ProgressBarWave, 9);
}

} // namespace
} // namespace tobira
