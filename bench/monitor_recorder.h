// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Records a sound server's monitor source as it plays: `parec` writes raw float32 stereo at
// 44.1 kHz, and the time each piece arrives is kept beside it, so that a sample of the recording
// can be placed on the monotonic clock the calls are timed with.

#include <sys/types.h>

#include <filesystem>
#include <string>
#include <thread>

namespace tobira::bench {

class MonitorRecorder final {
  public:
    // Starts parec on `source` (e.g. "nul.monitor"); writes `folder`/monitor.f32, stamps.txt
    // ("<monotonic ns> <bytes so far>" a line) and parec.log. Throws std::runtime_error when
    // parec cannot be started.
    MonitorRecorder(const std::string& source, const std::filesystem::path& folder);
    ~MonitorRecorder();
    MonitorRecorder(const MonitorRecorder&) = delete;
    MonitorRecorder& operator=(const MonitorRecorder&) = delete;

  private:
    void read(const std::filesystem::path& folder);

    pid_t pid_ = -1;
    int fd_ = -1;
    std::thread reader_;
};

} // namespace tobira::bench
