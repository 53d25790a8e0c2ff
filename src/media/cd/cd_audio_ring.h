// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A fixed ring of interleaved stereo float frames between the CD reader and the audio thread.
// Not synchronised itself: the CD device guards it with its one short lock, and only plain
// copies happen while that lock is held.

#include <cstddef>
#include <memory>

namespace tobira {

class CdAudioRing final {
  public:
    explicit CdAudioRing(std::size_t capacityFrames);

    std::size_t capacity() const { return capacityFrames_; }
    std::size_t size() const { return size_; }
    std::size_t space() const { return capacityFrames_ - size_; }

    // Appends up to space() frames; returns how many were taken.
    std::size_t write(const float* frames, std::size_t count);
    // Moves up to `count` frames into `out`; returns how many.
    std::size_t read(float* out, std::size_t count);
    void clear();

  private:
    // Left unset: only written frames are read, and untouched pages cost neither time at start
    // nor memory until the CD plays.
    std::unique_ptr<float[]> samples_;
    std::size_t capacityFrames_;
    std::size_t head_ = 0; // frame index of the oldest frame
    std::size_t size_ = 0;
};

} // namespace tobira
