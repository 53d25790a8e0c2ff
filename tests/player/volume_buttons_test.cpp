// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/volume_fixture.h"

#include <gtest/gtest.h>

namespace tobira {
namespace {

using testing::MainWindowFixture;

struct VolumeFixture : MainWindowFixture {
    VolumeFixture() { main.FindMixerLines(); }
    void setLevel(int level) {
        main.LabelVol.Caption = std::string(static_cast<std::size_t>(level), 'I');
        main.LabelVol.Visible = level > 0;
    }
};

// A button press reaching `level`, over the mode's range, as units at the mode's line only.
TEST(Volume, LevelAndRangeGiveTheseUnitsInEitherMode) {
    struct Case {
        int range, level;
        std::uint16_t units;
    } const cases[] = {{3, 10, 21626}, {3, 3, 6553}, {5, 3, 3932}, {4, 1, 1310}, {1, 10, 65535}};
    for (PlayerModeKind mode : {PlayerModeKind::CD, PlayerModeKind::MIDI}) {
        for (const Case& c : cases) {
            VolumeFixture f;
            const bool cd = mode == PlayerModeKind::CD;
            f.main.PlayerMode = mode;
            auto& group = cd ? f.setup.SpeedButtonRatio : f.setup.SpeedButtonM;
            for (int i = 1; i <= TFormSetUp::kRangeButtons; ++i)
                group[static_cast<std::size_t>(i)].Down = i == c.range;
            f.markLines();
            f.setLevel(c.level - 1);
            f.main.SpeedButtonVolUpClick();
            const MixerLine line = cd ? MixerLine::CompactDisc : MixerLine::Synthesizer;
            EXPECT_EQ(f.units(line), c.units) << c.range << "/" << c.level;
            EXPECT_EQ(f.engine.volume(line, 1), c.units);
            EXPECT_EQ(f.units(cd ? MixerLine::Synthesizer : MixerLine::CompactDisc),
                      MainWindowFixture::kUntouched);
            EXPECT_EQ(f.units(MixerLine::WaveOut), MainWindowFixture::kUntouched);
            if (!cd) {
                const std::string hint = "実際の音量値は " + std::to_string(c.level) + " です";
                EXPECT_EQ(f.main.LabelVol.Hint, testing::Sjis(hint.c_str()));
            }
        }
    }
}

TEST(Volume, LevelOneDownHidesTheBarAndSendsZeroAndLevelTenUpSendsNothing) {
    VolumeFixture f;
    f.setLevel(1);
    f.main.SpeedButtonVolDownClick();
    EXPECT_EQ(f.main.LabelVol.Caption, "");
    EXPECT_FALSE(f.main.LabelVol.Visible);
    EXPECT_EQ(f.units(MixerLine::CompactDisc), 0);
    f.main.SpeedButtonVolUpClick();
    EXPECT_TRUE(f.main.LabelVol.Visible);

    f.setLevel(10);
    f.markLines();
    f.main.SpeedButtonVolUpClick();
    EXPECT_EQ(f.main.LabelVol.Caption, "IIIIIIIIII");
    EXPECT_EQ(f.units(MixerLine::CompactDisc), MainWindowFixture::kUntouched);
}

TEST(Volume, MuteKeepsTheMarksBlocksTheButtonsAndUnmuteRestoresTheLevel) {
    VolumeFixture f;
    f.setLevel(4);
    f.main.SpeedButtonSTOPMouseDown(MouseButton::Right);
    EXPECT_EQ(f.main.LabelVol.Font, colors::Yellow);
    EXPECT_EQ(f.units(MixerLine::CompactDisc), 0);
    f.main.SpeedButtonVolUpClick();
    f.main.SpeedButtonVolDownClick();
    EXPECT_EQ(f.main.LabelVol.Caption, "IIII");
    EXPECT_EQ(f.units(MixerLine::CompactDisc), 0);
    f.main.SpeedButtonSTOPMouseDown(MouseButton::Right);
    EXPECT_EQ(f.main.LabelVol.Font, colors::Aqua);
    EXPECT_EQ(f.units(MixerLine::CompactDisc), 40 / 3 * 65535 / 100);

    // Muted with an empty bar: nothing brings the volume back.
    f.setLevel(0);
    f.main.SpeedButtonSTOPMouseDown(MouseButton::Right);
    f.markLines();
    f.main.SpeedButtonSTOPMouseDown(MouseButton::Right);
    f.main.SpeedButtonVolUpClick();
    EXPECT_EQ(f.main.LabelVol.Font, colors::Yellow);
    EXPECT_EQ(f.main.LabelVol.Caption, "");
    EXPECT_EQ(f.units(MixerLine::CompactDisc), MainWindowFixture::kUntouched);
}

TEST(Volume, MidiModeWithMidiVolumeOffMovesTheBarAndSendsNothing) {
    VolumeFixture f;
    f.main.PlayerMode = PlayerModeKind::MIDI;
    f.setup.CheckBoxMidiVolCont.Down = false;
    f.setLevel(3);
    f.markLines();
    f.main.SpeedButtonVolUpClick();
    f.main.SpeedButtonVolUpClick();
    f.main.SpeedButtonVolDownClick();
    EXPECT_EQ(f.main.LabelVol.Caption, "IIII");
    for (MixerLine line : {MixerLine::CompactDisc, MixerLine::Synthesizer, MixerLine::WaveOut})
        EXPECT_EQ(f.units(line), MainWindowFixture::kUntouched);
}

TEST(Volume, ApplauseLevelMovesOnlyInLiveModeAndStopsAtZeroAndNine) {
    VolumeFixture f;
    f.markLines();
    f.main.SpeedButtonVolUpMouseDown(MouseButton::Right);
    EXPECT_EQ(f.main.ProgressBarWave, 3);
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
    EXPECT_EQ(f.main.LabelVol.Caption, "III") << "the main volume is the left button's";
}

} // namespace
} // namespace tobira
