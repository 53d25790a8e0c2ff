// SPDX-License-Identifier: GPL-3.0-or-later
#include "media/output/silent_pump.h"

#include "media/audio_engine.h"

#include <pthread.h>

#include <chrono>
#include <vector>

namespace tobira {

namespace {

constexpr std::size_t kRestFrames = AudioEngine::kSampleRate / 2;

} // namespace

std::string SilentPump::open() {
    if (!thread_.joinable()) {
        thread_ = std::thread([this] { run(); });
        pthread_setname_np(thread_.native_handle(), "tobira-pump");
    }
    return {};
}

void SilentPump::close() {
    if (!thread_.joinable())
        return;
    request([this] { requests_.quit(); });
    thread_.join(); // no render call is running once it returns
}

void SilentPump::run() {
    using Clock = std::chrono::steady_clock;
    std::vector<float> scratch(kStepFrames * AudioEngine::kChannels);
    OutputRequests::Snapshot seen;
    bool resting = false;
    std::size_t silent = 0;
    // A whole number of microseconds per step would drift: the deadline is counted in frames
    // from the moment the pump last started to pull.
    Clock::time_point begin = Clock::now();
    std::uint64_t frames = 0;
    std::unique_lock lock(mutex_);
    for (;;) {
        if (requests_.pending(seen)) {
            const OutputRequests::Snapshot now = requests_.take();
            if (now.wakes != seen.wakes) {
                resting = false;
                silent = 0;
            }
            seen = now;
            if (seen.quit)
                return;
        }
        if (!seen.playing || resting) {
            wake_.wait(lock, [&] { return requests_.pending(seen); });
            begin = Clock::now();
            frames = 0;
            continue;
        }
        lock.unlock();
        engine_.render(scratch.data(), kStepFrames);
        silent = engine_.sounding() ? 0 : silent + kStepFrames;
        resting = silent >= kRestFrames;
        frames += kStepFrames;
        lock.lock();
        const auto due =
            begin + std::chrono::microseconds(frames * 1'000'000 / AudioEngine::kSampleRate);
        wake_.wait_until(lock, due, [&] { return requests_.pending(seen); });
    }
}

} // namespace tobira
