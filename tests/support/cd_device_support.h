// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Shared by the CD device tests: a disc image with three distinct tones, and ways to listen.

#include "media/audio_engine.h"
#include "media/cd/cd_device.h"
#include "media/cd/cue_bin_writer.h"
#include "support/temp_dir.h"

#include <cmath>
#include <cstddef>
#include <numbers>
#include <vector>

namespace tobira::testing {

inline constexpr int kRate = AudioEngine::kSampleRate;

// Track 1: 3 s of 441 Hz, track 2: 2 s + 10 sectors of 882 Hz, track 3: 3 s of 1764 Hz.
inline std::vector<CueTrack> ThreeTracks() {
    return {{.seconds = 3, .frequency = 441, .level = 0.3},
            {.sectors = 2 * 75 + 10, .frequency = 882, .level = 0.5},
            {.seconds = 3, .frequency = 1764, .level = 0.7}};
}

// The sample the image holds at `frame` of a track with this tone, as the device renders it.
inline float ToneSample(double frequency, double level, std::int64_t frame) {
    const double v =
        level * std::sin(2 * std::numbers::pi * frequency * static_cast<double>(frame) / kRate);
    return static_cast<float>(std::lround(v * 32767)) / 32768.0f;
}

// Renders `frames` through the engine, waiting for the read-ahead before each second, so the
// result never depends on how fast the worker thread is.
inline std::vector<float> Listen(AudioEngine& engine, CdDevice& cd, std::size_t frames) {
    std::vector<float> out(frames * 2);
    for (std::size_t done = 0; done < frames;) {
        cd.waitIdle();
        const std::size_t n = std::min<std::size_t>(frames - done, kRate);
        engine.render(out.data() + done * 2, n);
        done += n;
    }
    return out;
}

struct Sound {
    double frequency = 0; // from the upward zero crossings of the left channel
    double peak = 0;
};

inline Sound Analyse(const std::vector<float>& stereo, std::size_t from = 0,
                     std::size_t frames = 0) {
    const std::size_t total = stereo.size() / 2;
    if (frames == 0 || from + frames > total)
        frames = total - from;
    Sound s;
    int crossings = 0;
    for (std::size_t i = from; i < from + frames; ++i) {
        s.peak = std::max(s.peak, static_cast<double>(std::abs(stereo[2 * i])));
        if (i > from && stereo[2 * (i - 1)] < 0 && stereo[2 * i] >= 0)
            ++crossings;
    }
    s.frequency = frames ? crossings * static_cast<double>(kRate) / static_cast<double>(frames) : 0;
    return s;
}

} // namespace tobira::testing
