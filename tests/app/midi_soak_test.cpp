// SPDX-License-Identifier: GPL-3.0-or-later
// A thousand songs back to back through the real sequencer, each after the GM reset song, in
// name order and in random order: every play request ends exactly once (the order neither
// skips nor stalls) and nothing sounds after the last song's tail. (Memory over the same run:
// bench/soak_memory_bench.)
#include "support/midi_fixture.h"

#include <gmock/gmock.h>

namespace tobira::testing {
namespace {

double Peak(const std::vector<float>& samples) {
    float peak = 0;
    for (float s : samples)
        peak = std::max(peak, std::abs(s));
    return peak;
}

TEST(MidiSoakTest, AThousandSongsEachPlayOnceAfterItsResetSongAndLeaveNoNoteBehind) {
    constexpr int kSongs = 500; // per order
    MidiFixture f;
    f.setup.RadioGroupReset = 1;
    f.writeShortSongs(kSongs);

    std::vector<std::string> expected;
    for (MidiOrder order : {MidiOrder::Nor, MidiOrder::Rnd}) {
        SCOPED_TRACE(static_cast<int>(order));
        f.view.ChooseOrder(order);
        f.played.clear();
        f.press(&TFormMain::SpeedButtonPLAYClick);
        for (int t = 0; t < kSongs * 20 && f.main.LabelPLAY.Font != colors::Teal; ++t)
            f.advance(0.5);
        ASSERT_EQ(f.main.LabelPLAY.Font, colors::Teal) << "the list did not end";
        ASSERT_EQ(f.played.size(), 2u * kSongs);
        std::vector<std::string> songs;
        for (std::size_t i = 0; i < f.played.size(); i += 2) {
            ASSERT_EQ(f.played[i], "GAKUFU_GM.MID") << "entry " << i;
            songs.push_back(f.played[i + 1]);
        }
        std::vector<std::string> sorted = songs;
        std::sort(sorted.begin(), sorted.end());
        ASSERT_EQ(std::adjacent_find(sorted.begin(), sorted.end()), sorted.end())
            << "a song played twice";
        if (order == MidiOrder::Nor)
            EXPECT_EQ(songs, sorted);
        else
            EXPECT_NE(songs, sorted) << "random order played in name order";
    }
    EXPECT_THAT(f.fakes.messages.shown, ::testing::IsEmpty());

    // The last song's tail rings out; after it, silence.
    f.advance(5);
    EXPECT_EQ(Peak(f.engine.render(AudioEngine::kSampleRate)), 0.0);
}

} // namespace
} // namespace tobira::testing
