// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Where a sequencer sends its messages: a queue with a clock of its own, in front of a sound
// module. The ALSA sequencer is the real one; tests record what reaches it.
//
// Every method may throw DeviceError when the module has gone (unplugged, its program ended).

#include <cstdint>
#include <span>

namespace tobira {

class MidiEventSink {
  public:
    virtual ~MidiEventSink() = default;

    // Queues one whole message to reach the module when the clock shows `micros`; at once when
    // that time has passed. False when the queue is full for now: nothing was queued, try again
    // later.
    virtual bool schedule(std::uint64_t micros, std::span<const std::uint8_t> message) = 0;
    // Sends one whole message at once, ahead of anything queued.
    virtual void sendNow(std::span<const std::uint8_t> message) = 0;
    // Forgets every queued message that has not reached the module yet.
    virtual void dropQueued() = 0;
    // Sets the clock to `micros` and lets it run.
    virtual void startClock(std::uint64_t micros) = 0;
    // Halts the clock where it is.
    virtual void haltClock() = 0;
    virtual std::uint64_t clockMicros() const = 0;
    // Hands what was queued or sent so far on to the module.
    virtual void flush() = 0;
};

} // namespace tobira
