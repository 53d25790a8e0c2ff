// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Keeps the synthesizer's output below full scale. The gain chosen from the level probe fits a
// typical song, but a SoundFont's loudest instruments, or a song full of them, can peak well
// above it; clipping them in the mix would crackle. The limiter takes the gain down at once
// where a frame would pass the ceiling and lets it recover over a fifth of a second.

#include <cstddef>

namespace tobira {

class PeakLimiter final {
  public:
    // 1 dB below full scale.
    static constexpr float kCeiling = 0.891f;

    explicit PeakLimiter(int sampleRate);

    // Interleaved stereo, in place.
    void process(float* frames, std::size_t count);

  private:
    float gain_ = 1.0f;
    float recovery_; // share of the distance back to 1 regained per frame
};

} // namespace tobira
