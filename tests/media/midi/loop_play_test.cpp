// SPDX-License-Identifier: GPL-3.0-or-later
// A game song's loop as the built-in synthesizer plays it, through the MIDI device and
// FluidSynth with the test SoundFont: where each pass starts, the fade, the length told.
#include "media/audio_engine.h"
#include "media/midi/midi_device.h"
#include "support/fake_ports.h"
#include "support/smf_writer.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

namespace tobira {
namespace {

constexpr int kRate = AudioEngine::kSampleRate;
constexpr std::size_t kBlock = kRate / 200; // 5 ms

// One second of intro, a one-second loop from controller 111 to the end: a short note at the
// start of each.
testing::SmfWriter LoopSong() {
    testing::SmfWriter w(0, 480); // 120 BPM: 960 ticks a second
    w.programChange(0, 0, 0, 12);
    w.note(0, 0, 0, 72, 110, 96);
    w.controlChange(0, 960, 0, 111, 0);
    w.note(0, 960, 0, 72, 110, 96);
    w.endOfTrack(0, 1920);
    return w;
}

// The peak of each 5 ms block of the left channel.
std::vector<float> Play(const std::filesystem::path& file, LoopSetting setting, double seconds,
                        std::uint32_t& length) {
    AudioEngine engine;
    testing::FakeUiPost post;
    MidiDevice device{engine, post};
    device.setSoundFont(TOBIRA_TEST_SOUNDFONT);
    device.setLoopSetting(setting);
    device.setFileName(file.string());
    device.open();
    device.settle();
    length = device.length();
    device.play();
    std::vector<float> peaks;
    std::vector<float> buffer(kBlock * 2);
    for (std::size_t at = 0; at < static_cast<std::size_t>(seconds * kRate); at += kBlock) {
        device.renderAudio(buffer.data(), kBlock);
        float peak = 0.0f;
        for (std::size_t i = 0; i < buffer.size(); i += 2)
            peak = std::max(peak, std::abs(buffer[i]));
        peaks.push_back(peak);
    }
    post.runPending();
    return peaks;
}

// The blocks where a note starts: the level rises above a tenth of the loudest after lying
// below a hundredth for 50 ms.
std::vector<double> Onsets(const std::vector<float>& peaks) {
    const float top = *std::max_element(peaks.begin(), peaks.end());
    std::vector<double> onsets;
    int quiet = 10;
    for (std::size_t i = 0; i < peaks.size(); ++i) {
        if (peaks[i] > top * 0.1f && quiet >= 10)
            onsets.push_back(static_cast<double>(i * kBlock) / kRate);
        quiet = peaks[i] < top * 0.01f ? quiet + 1 : 0;
    }
    return onsets;
}

float LoudestIn(const std::vector<float>& peaks, double from, double to) {
    const auto begin = peaks.begin() + static_cast<std::ptrdiff_t>(from * kRate / kBlock);
    const auto end = peaks.begin() + static_cast<std::ptrdiff_t>(to * kRate / kBlock);
    return *std::max_element(begin, end);
}

// Off, a song plays once as written. On, the intro, the loop once and `repeats` times more,
// then on round the loop while it fades out in a straight line to silence at the length told.
// The notes start within a 5 ms block of their time; the level of each pass in the fade is
// the line's within 0.1; after the length told the sound stays below -100 dBFS.
TEST(LoopPlayTest, PlaysTheLoopAsTheSettingSays) {
    testing::TempDir dir;
    const auto file = dir.path() / "loop.mid";
    LoopSong().write(file);
    const struct {
        const char* name;
        LoopSetting setting;
        std::uint32_t length; // tenths
        std::vector<double> onsets;
        double fadeStart;
    } cases[] = {
        {"off", {}, 20, {0, 1}, 2},
        {"twice more, a three-second fade", {2, 3}, 70, {0, 1, 2, 3, 4, 5, 6}, 4},
        {"once more, no fade", {1, 0}, 30, {0, 1, 2}, 3},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        std::uint32_t length = 0;
        const std::vector<float> peaks = Play(file, c.setting, 9.0, length);
        EXPECT_EQ(length, c.length);
        const std::vector<double> onsets = Onsets(peaks);
        ASSERT_EQ(onsets.size(), c.onsets.size());
        for (std::size_t i = 0; i < onsets.size(); ++i)
            EXPECT_NEAR(onsets[i], c.onsets[i], 0.0051) << i;
        const float full = LoudestIn(peaks, 0, 0.5);
        const double fade = c.length / 10.0 - c.fadeStart;
        for (double pass = c.fadeStart; fade > 0 && pass + 0.5 < c.length / 10.0; pass += 1.0) {
            const double expected = 1.0 - (pass - c.fadeStart) / fade;
            EXPECT_NEAR(LoudestIn(peaks, pass, pass + 0.5) / full, expected, 0.1) << pass;
        }
        if (fade > 0) {
            EXPECT_LT(LoudestIn(peaks, c.length / 10.0, 9.0), 1e-5f); // -100 dBFS
        }
    }
}

} // namespace
} // namespace tobira
