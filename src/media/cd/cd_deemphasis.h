// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The de-emphasis a CD player applies to a track mastered with 50/15 us pre-emphasis: a
// first-order shelf that falls by up to 10.5 dB above 3 kHz, for 44.1 kHz stereo.

#include <array>
#include <cstddef>

namespace tobira {

class CdDeemphasis final {
  public:
    // Filters interleaved stereo frames in place.
    void filter(float* samples, std::size_t frames);
    // Follows frames that are not filtered, so that filtering can start after them without a
    // click.
    void pass(const float* samples, std::size_t frames);
    // Forgets what came before (a seek): the next frame counts as if it had been steady.
    void restart() { fresh_ = true; }

  private:
    void start(const float* frame);

    std::array<float, 2> in_{}, out_{};
    bool fresh_ = true;
};

} // namespace tobira
