// SPDX-License-Identifier: GPL-3.0-or-later
// Two hundred CD tracks in endless play through the real CD device and its read-ahead: every
// track starts once in its turn and no second of play runs dry. (Memory over the same run:
// bench/soak_memory_bench.)
#include "support/cd_fixture.h"

#include <cmath>

namespace tobira::testing {
namespace {

TEST(CdSoakTest, TwoHundredTracksInEndlessPlayFollowTheOrderWithoutGaps) {
    constexpr int kTracks = 20;
    constexpr int kStarts = 200;
    CdFixture f(EqualTracks(kTracks, 4));
    f.main.PanelPOWClick();
    ASSERT_TRUE(f.main.EndlessPlay());
    f.startPlaying();

    std::vector<int> starts{f.main.CurrentTrack};
    for (int second = 0; second < kStarts * 4 && starts.size() < kStarts; ++second) {
        f.cd.waitIdle();
        const auto sound = f.engine.render(AudioEngine::kSampleRate);
        double energy = 0;
        for (float s : sound)
            energy += double(s) * s;
        ASSERT_GT(energy, 0.0) << "a silent second at start " << starts.size();
        f.tick();
        if (f.main.CurrentTrack != starts.back())
            starts.push_back(f.main.CurrentTrack);
    }
    ASSERT_EQ(starts.size(), static_cast<std::size_t>(kStarts));
    for (std::size_t i = 0; i < starts.size(); ++i)
        ASSERT_EQ(starts[i], static_cast<int>(i % kTracks) + 1) << "start " << i;
    EXPECT_TRUE(f.main.IsCdPlaying());
}

} // namespace
} // namespace tobira::testing
