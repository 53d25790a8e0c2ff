// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// One background thread that runs tasks one after another, in the order they were given. The
// MIDI device loads SoundFonts and instruments on it, so that a later task always sees what the
// earlier ones left.

#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>

namespace tobira {

class SerialWorker final {
  public:
    SerialWorker();
    // Finishes the task under way and drops the ones not started.
    ~SerialWorker();
    SerialWorker(const SerialWorker&) = delete;
    SerialWorker& operator=(const SerialWorker&) = delete;

    void post(std::function<void()> task);
    // Returns when every task posted before has run.
    void drain();

  private:
    void run();

    std::mutex mutex_;
    std::condition_variable changed_;
    std::deque<std::function<void()>> tasks_;
    bool busy_ = false;
    bool quit_ = false;
    std::thread thread_;
};

} // namespace tobira
