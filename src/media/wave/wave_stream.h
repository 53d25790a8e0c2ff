// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// One play of a WAV file from its start. A task on the wave device's worker decodes the file a
// piece at a time into a ring a few seconds long, ahead of the audio thread, and sleeps while
// the ring is full; the audio thread takes from the ring and wakes the task when half of it is
// free. Memory stays at the ring's size whatever the file's length.

#include "files/regular_file.h"
#include "media/wave/wave_ring.h"

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

namespace tobira {

class WaveStream final {
  public:
    static constexpr std::size_t kRingFrames = std::size_t{1} << 17; // about 3 s

    WaveStream(std::shared_ptr<RegularFile> file, std::string cp932Path);
    WaveStream(const WaveStream&) = delete;
    WaveStream& operator=(const WaveStream&) = delete;

    // Worker: decodes until the whole sound is in the ring or the stream is cancelled. Returns
    // why the file cannot be played (the message, code page 932), empty when it can.
    std::string run();
    // Any thread: run() returns soon, and nothing more is decoded.
    void cancel();

    // Audio thread: up to `count` frames, fewer when the decoder is behind or at the end.
    // Never waits and never allocates.
    std::size_t take(float* out, std::size_t count);
    // The whole sound has been taken. Any thread.
    bool drained() const;
    // The length at the engine's rate; 0 until the worker has read the file's headers.
    std::uint64_t frames() const { return frames_.load(std::memory_order_acquire); }

    // Returns once the worker has filled the ring, put in the whole sound, failed or been
    // cancelled; true in the last three cases, when run() has returned or is about to.
    bool settle() const;

  private:
    bool finished() const;
    void progressed();

    std::shared_ptr<RegularFile> file_;
    std::string path_;
    WaveRing ring_;
    std::atomic<std::uint64_t> frames_{0};
    std::atomic<bool> written_{false}; // the whole sound is in the ring
    std::atomic<bool> stopped_{false}; // failed or cancelled
    std::atomic<bool> cancelled_{false};
    std::atomic<bool> asked_{false};     // the audio thread has woken the worker
    std::atomic<std::uint32_t> wake_{0}; // the worker sleeps on it
    std::atomic<bool> sleeping_{false};
    std::atomic<std::uint32_t> sleptAt_{0};  // wake_ when the worker went to sleep
    std::atomic<std::uint32_t> progress_{0}; // settle() sleeps on it
};

} // namespace tobira
