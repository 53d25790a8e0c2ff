// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The transport of a song on an external sound module: what to queue when, where the song
// stands, and the module's silence whenever play halts. It has no thread and no lock of its own:
// its owner calls pump() often enough (well within kLookaheadMicros) and serialises all calls.

#include "media/midi/midi_event_sink.h"
#include "media/midi/midi_schedule.h"

#include <cstddef>
#include <cstdint>
#include <optional>

namespace tobira {

class SequencerPlayer final {
  public:
    // How far ahead of the clock messages are queued: enough to ride out a late pump, short
    // enough that what must be forgotten at a halt is little.
    static constexpr std::uint64_t kLookaheadMicros = 300'000;

    explicit SequencerPlayer(MidiEventSink& sink) : sink_(sink) {}

    enum class State { Closed, Stopped, Playing, Paused };
    State state() const { return state_; }

    // A new song, stopped at its start. Silences the module if the old one was playing.
    void load(MidiSchedule schedule);
    // Silences the module if it was playing; no song afterwards.
    void unload();

    // From where stop or pause left off, the start after load or previous, and the start again
    // after the song has ended. Playing on already: nothing changes. True when the song has
    // ended at once (nothing left to play), as pump() would say.
    bool play();
    // From `micros` into the song (clamped to its length). True as for play().
    bool playFrom(std::uint64_t micros);
    // Halts and silences; the position is kept. Paused only when it was playing.
    void stop();
    void pause();
    // Halts and silences, back to the start.
    void rewind();

    // Queues what falls due within the lookahead. Returns true once when the song's last event
    // has been reached: the player is then Stopped at the end.
    bool pump();

    std::uint64_t positionMicros() const;
    std::uint64_t lengthMicros() const { return schedule_.lengthMicros(); }

  private:
    bool start(std::uint64_t micros, std::size_t index);
    void halt(State next);
    // All notes off and controllers reset, on every channel.
    void silence();

    MidiEventSink& sink_;
    MidiSchedule schedule_;
    State state_ = State::Closed;
    // Where the next play starts, and the first event it queues.
    std::uint64_t startMicros_ = 0;
    std::size_t startIndex_ = 0;
    // The next event to queue while playing.
    std::size_t next_ = 0;
    // Stopped by the song's end: the position shows the length until the next start.
    bool atEnd_ = false;
};

} // namespace tobira
