// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Sound on its way from the decoding thread to the audio thread: a fixed ring of stereo frames
// with one writer and one reader, neither of which ever waits for the other or allocates.

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace tobira {

class WaveRing final {
  public:
    explicit WaveRing(std::size_t frames);
    WaveRing(const WaveRing&) = delete;
    WaveRing& operator=(const WaveRing&) = delete;

    std::size_t capacity() const { return capacity_; }
    // Frames the writer may add now. Writer thread (the reader may be under way).
    std::size_t room() const;
    // Adds up to room() frames; returns how many. Writer thread.
    std::size_t write(const float* frames, std::size_t count);
    // Frames the reader may take now. Any thread.
    std::size_t held() const;
    // Takes up to `count` frames into `out`; returns how many. Reader thread.
    std::size_t read(float* out, std::size_t count);

  private:
    std::size_t capacity_;
    std::vector<float> samples_;
    // Frames written and read since the start; each side stores only its own.
    std::atomic<std::uint64_t> written_{0};
    std::atomic<std::uint64_t> read_{0};
};

} // namespace tobira
