// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A PulseAudio daemon of the test's own, with one null sink, and a recording of that sink's
// monitor: what a user would have heard, frame by frame, with the time each frame was heard.

#include "support/temp_dir.h"

#include <sys/types.h>

#include <chrono>
#include <cstddef>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace tobira::testing {

class PrivatePulse final {
  public:
    // Empty when the daemon and parec are installed, else what is missing.
    static std::string Missing();

    // Starts the daemon and points this process's clients at it (PULSE_SERVER).
    PrivatePulse();
    ~PrivatePulse();
    PrivatePulse(const PrivatePulse&) = delete;
    PrivatePulse& operator=(const PrivatePulse&) = delete;

    bool running() const { return daemon_ > 0; }
    // Ends the daemon at once, as a crash or a kill would.
    void kill();

  private:
    TempDir dir_;
    pid_t daemon_ = -1;
    std::string oldServer_;
};

// Records the null sink's monitor as float stereo at 44.1 kHz.
class MonitorRecording final {
  public:
    using Clock = std::chrono::steady_clock;

    MonitorRecording();
    ~MonitorRecording();
    MonitorRecording(const MonitorRecording&) = delete;
    MonitorRecording& operator=(const MonitorRecording&) = delete;

    std::size_t frames() const;
    // The recording so far, interleaved L R.
    std::vector<float> samples() const;
    // When frame `frame` was heard: the sink plays at its rate, so frames are that far apart;
    // each read tells the latest a frame can have been heard.
    Clock::time_point heardAt(std::size_t frame) const;
    // The frame heard at `time` (0 before the recording began).
    std::size_t frameAt(Clock::time_point time) const;

  private:
    void read();

    pid_t recorder_ = -1;
    int pipe_ = -1;
    std::thread reader_;
    mutable std::mutex mutex_;
    std::vector<float> samples_;
    // Of all reads: the time of the first frame, as early as the reads allow.
    Clock::time_point start_ = Clock::time_point::max();
};

} // namespace tobira::testing
