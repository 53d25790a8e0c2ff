// SPDX-License-Identifier: GPL-3.0-or-later
#include "media/midi/midi_schedule.h"

#include <algorithm>
#include <array>

namespace tobira {
namespace {

// Turns ticks into microseconds along a tempo map, for ticks that never decrease. Exact
// integer arithmetic: times are rounded once, never summed from rounded pieces.
class TickClock {
  public:
    explicit TickClock(const SmfSong& song) : map_(song.tempoMap()), division_(song.division()) {}

    std::uint64_t micros(std::uint64_t tick) {
        while (index_ + 1 < map_.size() && map_[index_ + 1].tick <= tick) {
            scaled_ +=
                Wide{map_[index_ + 1].tick - map_[index_].tick} * map_[index_].microsPerQuarter;
            ++index_;
        }
        const Wide scaled =
            scaled_ + Wide{tick - map_[index_].tick} * map_[index_].microsPerQuarter;
        const Wide division = static_cast<Wide>(division_);
        return static_cast<std::uint64_t>((scaled + division / 2) / division);
    }

  private:
    using Wide = unsigned __int128;
    const std::vector<SmfTempo>& map_;
    int division_;
    std::size_t index_ = 0;
    Wide scaled_ = 0; // microseconds times the division, up to the current tempo's start
};

bool IsChannelMessage(const std::vector<std::uint8_t>& bytes) {
    return !bytes.empty() && bytes[0] >= 0x80 && bytes[0] < 0xF0;
}

// Controllers that are not a lasting state of their own: data entry and parameter numbers only
// mean something in sequence, and the channel mode messages act once.
bool ChasedController(int controller) {
    if (controller == 6 || controller == 38)
        return false;
    if (controller >= 96 && controller <= 101)
        return false;
    return controller < 120;
}

} // namespace

MidiSchedule::MidiSchedule(const SmfSong& song, std::vector<SmfEvent> events) {
    TickClock clock(song);
    events_.reserve(events.size());
    for (SmfEvent& event : events)
        events_.push_back(TimedMidiEvent{clock.micros(event.tick), std::move(event.bytes)});
    lengthMicros_ = TickClock(song).micros(song.lastTick());
}

std::size_t MidiSchedule::firstAtOrAfter(std::uint64_t micros) const {
    return static_cast<std::size_t>(
        std::partition_point(events_.begin(), events_.end(),
                             [micros](const TimedMidiEvent& e) { return e.micros < micros; }) -
        events_.begin());
}

std::size_t MidiSchedule::firstAfter(std::uint64_t micros) const {
    return static_cast<std::size_t>(
        std::partition_point(events_.begin(), events_.end(),
                             [micros](const TimedMidiEvent& e) { return e.micros <= micros; }) -
        events_.begin());
}

std::vector<std::vector<std::uint8_t>> MidiSchedule::channelStateBefore(std::size_t end) const {
    struct Channel {
        std::array<int, 128> controllers;
        int program = -1;
        int bendLsb = -1, bendMsb = -1;
        int pressure = -1;
    };
    std::array<Channel, 16> channels;
    for (Channel& c : channels)
        c.controllers.fill(-1);
    end = std::min(end, events_.size());
    for (std::size_t i = 0; i < end; ++i) {
        const std::vector<std::uint8_t>& m = events_[i].bytes;
        if (!IsChannelMessage(m))
            continue;
        Channel& c = channels[m[0] & 0x0F];
        switch (m[0] & 0xF0) {
        case 0xB0:
            if (ChasedController(m[1]))
                c.controllers[m[1]] = m[2];
            break;
        case 0xC0:
            c.program = m[1];
            break;
        case 0xD0:
            c.pressure = m[1];
            break;
        case 0xE0:
            c.bendLsb = m[1];
            c.bendMsb = m[2];
            break;
        default:
            break;
        }
    }
    std::vector<std::vector<std::uint8_t>> state;
    for (std::uint8_t ch = 0; ch < 16; ++ch) {
        const Channel& c = channels[ch];
        const auto control = [&](int number) {
            if (c.controllers[number] >= 0)
                state.push_back({static_cast<std::uint8_t>(0xB0 | ch),
                                 static_cast<std::uint8_t>(number),
                                 static_cast<std::uint8_t>(c.controllers[number])});
        };
        // The bank select takes effect at the next program change, so both go first.
        control(0);
        control(32);
        if (c.program >= 0)
            state.push_back(
                {static_cast<std::uint8_t>(0xC0 | ch), static_cast<std::uint8_t>(c.program)});
        for (int number = 1; number < 128; ++number)
            if (number != 32)
                control(number);
        if (c.bendMsb >= 0)
            state.push_back({static_cast<std::uint8_t>(0xE0 | ch),
                             static_cast<std::uint8_t>(c.bendLsb),
                             static_cast<std::uint8_t>(c.bendMsb)});
        if (c.pressure >= 0)
            state.push_back(
                {static_cast<std::uint8_t>(0xD0 | ch), static_cast<std::uint8_t>(c.pressure)});
    }
    return state;
}

MidiSchedule ScheduleSmf(std::span<const std::uint8_t> bytes) {
    std::vector<SmfEvent> events;
    const SmfSong song = ParseSmf(bytes, events);
    return MidiSchedule(song, std::move(events));
}

} // namespace tobira
