// SPDX-License-Identifier: GPL-3.0-or-later
// The output stops pulling while no device has sound to give (AudioEngine::sounding) and a
// device wakes it before it starts. Stopping must lose nothing: what a device renders after a
// rest in which nobody pulled equals what it renders when silence was pulled all along.
#include "media/audio_engine.h"
#include "media/midi/midi_device.h"
#include "support/fake_ports.h"
#include "support/smf_writer.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <cmath>

namespace tobira {
namespace {

constexpr std::size_t kBlock = 1024; // one buffer of the SDL output

// A loud chord from tick 0, held 0.5 s.
testing::SmfWriter Chord() {
    testing::SmfWriter w(0, 480);
    for (int key : {60, 64, 67})
        w.note(0, 0, 0, key, 120, 480);
    w.endOfTrack(0, 480);
    return w;
}

struct Player {
    AudioEngine engine;
    testing::FakeUiPost post;
    MidiDevice device{engine, post};
    int wakes = 0;
    std::vector<float> block = std::vector<float>(kBlock * 2);

    explicit Player(const std::filesystem::path& song) {
        engine.setWakeHandler([this] { ++wakes; });
        device.setSoundFont(TOBIRA_TEST_SOUNDFONT);
        device.setFileName(song.string());
        device.open();
        device.settle();
    }
    const std::vector<float>& render() {
        engine.render(block.data(), kBlock);
        post.runPending();
        return block;
    }
    // Renders until the engine says nothing sounds any more; the blocks it took.
    int renderUntilSilent(int limit) {
        int blocks = 0;
        while (engine.sounding() && blocks < limit) {
            render();
            ++blocks;
        }
        return blocks;
    }
};

TEST(OutputIdleTest, ASongAfterARestStartsExactlyAsWithoutTheRest) {
    testing::TempDir dir;
    Chord().write(dir / "chord.mid");

    // Each player plays the chord once, is stopped in the middle of it, and rests until the
    // engine reports silence. Then the one output stops pulling (as the SDL output does while
    // idle) and the other goes on pulling silence for three seconds.
    std::vector<float> firstBlock[2];
    for (bool pulledWhileResting : {false, true}) {
        Player p(dir / "chord.mid");
        p.device.play();
        for (int i = 0; i < 10; ++i)
            p.render();
        p.device.stop();
        // The released notes ring on: the output must not stop during their tail.
        EXPECT_TRUE(p.engine.sounding());
        float tailPeak = 0.0f;
        for (float s : p.render())
            tailPeak = std::max(tailPeak, std::fabs(s));
        EXPECT_GT(tailPeak, 1e-3f) << "the tail after stop rings";
        const int restBlocks = p.renderUntilSilent(1000);
        EXPECT_LT(restBlocks, 1000) << "the device reports silence after its tail";
        if (pulledWhileResting)
            for (int i = 0; i < 3 * 44100 / static_cast<int>(kBlock); ++i) {
                for (float s : p.render())
                    ASSERT_EQ(s, 0.0f) << "silence while resting";
            }

        const int wakesBefore = p.wakes;
        p.device.previous();
        p.device.play();
        EXPECT_EQ(p.wakes, wakesBefore + 1) << "play wakes the output";
        EXPECT_TRUE(p.engine.sounding());
        firstBlock[pulledWhileResting] = p.render();
    }
    EXPECT_EQ(firstBlock[0], firstBlock[1]);
    float peak = 0.0f;
    for (float s : firstBlock[0])
        peak = std::max(peak, std::fabs(s));
    EXPECT_GT(peak, 1e-2f) << "the song sounds in its first block";
}

} // namespace
} // namespace tobira
