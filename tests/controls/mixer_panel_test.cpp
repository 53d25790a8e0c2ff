// SPDX-License-Identifier: GPL-3.0-or-later
#include "controls/mixer_ctrl.h"

#include <gtest/gtest.h>

namespace tobira {
namespace {

// A panel over a live engine, its window created.
struct Panel {
    AudioEngine engine;
    TMixerCtrl panel{&engine};
    Panel() { panel.CreateWnd(); }
    int column(MixerLine line) const {
        for (std::size_t i = 0; i < panel.Columns().size(); ++i) {
            const auto& c = panel.Columns()[i];
            if (!c.IsDestination && panel.SourceLine(c.Tag) == line)
                return static_cast<int>(i);
        }
        return -1;
    }
};

TEST(MixerPanel, ScaleSpansTheWholeDeviceRange) {
    TMixerCtrl panel;
    EXPECT_EQ(panel.ValueFromPosition(0), 65535u) << "top is loudest";
    EXPECT_EQ(panel.ValueFromPosition(1), 65278u) << "one step down";
    EXPECT_EQ(panel.ValueFromPosition(255), 0u);
    for (int position = 0; position <= 255; ++position)
        EXPECT_EQ(panel.PositionFromValue(panel.ValueFromPosition(position)), position);
}

TEST(MixerPanel, ColumnsFollowTheWantedLines) {
    Panel p;
    ASSERT_EQ(p.panel.Columns().size(), 4u) << "speakers, wave, synthesizer, CD";
    EXPECT_TRUE(p.panel.Columns()[0].IsDestination);
    EXPECT_EQ(p.panel.LineLabels.size(), 4u);

    p.panel.SetLines({TMixerCtrlLine::mclCD, TMixerCtrlLine::mclLine});
    ASSERT_EQ(p.panel.Columns().size(), 2u) << "a type not in Lines gets no column";
    EXPECT_EQ(p.column(MixerLine::CompactDisc), 1);

    p.panel.SetLines({});
    ASSERT_EQ(p.panel.Columns().size(), 1u);
    EXPECT_TRUE(p.panel.Columns()[0].IsDestination);
}

TEST(MixerPanel, SliderAndMuteReachTheLine) {
    Panel p;
    const int cd = p.column(MixerLine::CompactDisc);
    p.panel.SliderChange(cd, 0);
    EXPECT_EQ(p.engine.volume(MixerLine::CompactDisc, 0), 65535);
    EXPECT_EQ(p.engine.volume(MixerLine::CompactDisc, 1), 65535);
    p.panel.SliderChange(cd, 1);
    EXPECT_EQ(p.engine.volume(MixerLine::CompactDisc, 1), 65278);
    p.panel.SliderChange(cd, 255);
    EXPECT_EQ(p.engine.volume(MixerLine::CompactDisc, 0), 0);
    p.panel.MuteClick(0, true);
    EXPECT_TRUE(p.engine.mute(MixerLine::Speakers));
}

TEST(MixerPanel, ChangeByAnotherPartMovesTheColumnWithoutWritingBack) {
    Panel p;
    int writes = 0;
    p.engine.addControlListener([&](MixerLine) { ++writes; });
    p.engine.setVolume(MixerLine::Synthesizer, 0, 32768);
    const int synth = p.column(MixerLine::Synthesizer);
    EXPECT_EQ(p.panel.Columns()[synth].Position, p.panel.PositionFromValue(65535))
        << "highest channel";
    p.engine.setVolume(MixerLine::Synthesizer, 1, 32768);
    EXPECT_EQ(p.panel.Columns()[synth].Position, p.panel.PositionFromValue(32768));
    p.engine.setMute(MixerLine::WaveOut, true);
    EXPECT_TRUE(p.panel.Columns()[p.column(MixerLine::WaveOut)].Mute);
    EXPECT_EQ(writes, 3) << "only the three outside changes";
}

TEST(MixerPanel, TrackBarRangeAboveTheLimitIsRefused) {
    TMixerCtrl panel;
    EXPECT_FALSE(panel.SetTrackBarMax(40000));
    EXPECT_EQ(panel.TrackBar.Max, 255);
    EXPECT_TRUE(panel.SetTrackBarMax(1000));
    EXPECT_EQ(panel.TrackBar.Max, 1000);
}

TEST(MixerPanel, WithoutAMixerThereAreNoColumnsAndNothingHappens) {
    TMixerCtrl panel;
    panel.CreateWnd();
    EXPECT_TRUE(panel.Columns().empty());
    panel.SliderChange(0, 10);
    panel.MuteClick(0, true);
    EXPECT_EQ(panel.FindSource(mixer_component::CompactDisc), -1);
}

} // namespace
} // namespace tobira
