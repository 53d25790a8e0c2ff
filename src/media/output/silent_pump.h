// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The output that stands in when no real one opens or the real one fails: a thread of its own
// consumes the engine's sound at real time and drops it, so that every device keeps its clock,
// songs end on time and the lists move on. It holds nothing: a pause stops it at once and a
// flush has nothing to drop.

#include "media/output/audio_output.h"
#include "media/output/output_requests.h"

#include <condition_variable>
#include <mutex>
#include <thread>

namespace tobira {

class AudioEngine;

class SilentPump final : public AudioOutput {
  public:
    explicit SilentPump(AudioEngine& engine) : engine_(engine) {}
    ~SilentPump() override { close(); }
    SilentPump(const SilentPump&) = delete;
    SilentPump& operator=(const SilentPump&) = delete;

    std::string name() const override { return "silent"; }
    std::string open() override;
    void play() override {
        request([this] { requests_.play(); });
    }
    void pause() override {
        request([this] { requests_.pause(); });
    }
    void flush() override {}
    void volumeChanged() override {}
    std::chrono::microseconds delay() const override { return {}; }
    void close() override;

  private:
    template <typename Request> void request(Request ask) {
        {
            // Held by the pump only while it waits, never while it renders.
            std::lock_guard lock(mutex_);
            ask();
        }
        wake_.notify_all();
    }
    void run();

    AudioEngine& engine_;
    OutputRequests requests_;
    std::mutex mutex_;
    std::condition_variable wake_;
    std::thread thread_;
};

} // namespace tobira
