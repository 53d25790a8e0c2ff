// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A song as a sound module hears it: every message with the time it is due, in microseconds from
// the start, worked out from the tempo map.

#include "media/midi/smf_reader.h"
#include "media/midi/smf_song.h"

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace tobira {

struct TimedMidiEvent {
    std::uint64_t micros = 0;
    std::vector<std::uint8_t> bytes;
};

class MidiSchedule final {
  public:
    MidiSchedule() = default;
    // `events` in playing order, as ParseSmf gives them.
    MidiSchedule(const SmfSong& song, std::vector<SmfEvent> events);

    const std::vector<TimedMidiEvent>& events() const { return events_; }
    // The time of the song's last event, end of track included.
    std::uint64_t lengthMicros() const { return lengthMicros_; }

    // Index of the first event due at or after `micros`.
    std::size_t firstAtOrAfter(std::uint64_t micros) const;
    // Index of the first event due after `micros`.
    std::size_t firstAfter(std::uint64_t micros) const;

    // The channel state the events before `end` leave behind, as messages that set it again:
    // per channel the bank and other controllers, the program, pitch bend and channel pressure,
    // each with its last value. Notes are not part of it; neither are system exclusive messages,
    // whose settings stay in the module anyway.
    std::vector<std::vector<std::uint8_t>> channelStateBefore(std::size_t end) const;

  private:
    std::vector<TimedMidiEvent> events_;
    std::uint64_t lengthMicros_ = 0;
};

// Reads and parses a song for a sound module. Throws SmfError.
MidiSchedule ScheduleSmf(std::span<const std::uint8_t> bytes);

} // namespace tobira
