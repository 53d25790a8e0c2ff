// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What the UI thread asks of an output thread, as states and counters: the UI thread writes
// them and the output thread reads them between two render steps. Neither waits on the other.

#include <atomic>
#include <cstdint>

namespace tobira {

class OutputRequests final {
  public:
    struct Snapshot {
        std::uint32_t serial = 0;
        bool playing = false;
        bool quit = false;
        std::uint32_t wakes = 0;
        std::uint32_t flushes = 0;
        std::uint32_t volumes = 0;
    };

    // UI thread.
    void play() {
        playing_.store(true, std::memory_order_relaxed);
        wakes_.fetch_add(1, std::memory_order_relaxed);
        changed();
    }
    void pause() {
        playing_.store(false, std::memory_order_relaxed);
        changed();
    }
    void flush() {
        flushes_.fetch_add(1, std::memory_order_relaxed);
        changed();
    }
    void volumeChanged() {
        volumes_.fetch_add(1, std::memory_order_relaxed);
        changed();
    }
    void quit() {
        quit_.store(true, std::memory_order_relaxed);
        changed();
    }

    // Output thread: whether anything was asked since `seen` was taken.
    bool pending(const Snapshot& seen) const {
        return serial_.load(std::memory_order_acquire) != seen.serial;
    }
    Snapshot take() const {
        Snapshot now;
        // The serial first: a request that comes meanwhile leaves it behind, so it is seen again.
        now.serial = serial_.load(std::memory_order_acquire);
        now.playing = playing_.load(std::memory_order_relaxed);
        now.quit = quit_.load(std::memory_order_relaxed);
        now.wakes = wakes_.load(std::memory_order_relaxed);
        now.flushes = flushes_.load(std::memory_order_relaxed);
        now.volumes = volumes_.load(std::memory_order_relaxed);
        return now;
    }

  private:
    void changed() { serial_.fetch_add(1, std::memory_order_release); }

    std::atomic<std::uint32_t> serial_{0};
    std::atomic<bool> playing_{false};
    std::atomic<bool> quit_{false};
    std::atomic<std::uint32_t> wakes_{0};
    std::atomic<std::uint32_t> flushes_{0};
    std::atomic<std::uint32_t> volumes_{0};
};

} // namespace tobira
