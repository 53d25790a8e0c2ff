// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The sources' own sound of the last steps an output handed on, line by line and before any
// volume, so that it can be mixed again when a volume changes. Output thread only.

#include "media/audio_engine.h"

#include <cstddef>
#include <vector>

namespace tobira {

class LineHistory final {
  public:
    // Keeps at least `frames` frames, in whole steps of `stepFrames`; forgets what it held.
    void reset(std::size_t frames, std::size_t stepFrames);
    void clear() { kept_ = 0; }

    // Where the next step is to be rendered; commit() keeps it.
    LineBuffers next();
    void commit();

    // Frames kept, a whole number of steps.
    std::size_t frames() const { return kept_ * step_; }
    std::size_t stepFrames() const { return step_; }
    // Mixes the last `frames` kept frames (rounded up to whole steps, at most frames()) with
    // the engine's volumes as they stand; returns how many frames it wrote to `out`.
    std::size_t mixLast(const AudioEngine& engine, std::size_t frames, float* out) const;

  private:
    const float* at(int line, std::size_t slot) const;

    std::size_t step_ = 0;
    std::size_t slots_ = 0; // capacity in steps
    std::size_t head_ = 0;  // the slot next() gives
    std::size_t kept_ = 0;  // steps kept
    std::vector<float> ring_;
};

} // namespace tobira
