// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Song time in the audio engine's frames, for the MIDI device's parts.

#include "media/audio_engine.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace tobira::midi_frames {

inline constexpr int kRate = AudioEngine::kSampleRate;

inline std::uint64_t FramesAt(double seconds) {
    return static_cast<std::uint64_t>(std::llround(std::max(0.0, seconds) * kRate));
}

inline std::uint64_t MicrosAtFrame(std::uint64_t frame) {
    return frame / kRate * 1'000'000 + frame % kRate * 1'000'000 / kRate;
}

} // namespace tobira::midi_frames
