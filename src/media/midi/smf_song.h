// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What the player needs to know about a Standard MIDI File: its timing. FluidSynth gives
// neither the division nor a tick-to-time conversion, so the device computes the song length
// and the read-out position from this tempo map.

#include <cstdint>
#include <optional>
#include <vector>

namespace tobira {

struct SmfTempo {
    std::uint64_t tick = 0;
    std::uint32_t microsPerQuarter = 500000;
};

// The part of a song that game music repeats: from startTick up to endTick, which then leads
// back to startTick.
struct SmfLoop {
    std::uint64_t startTick = 0;
    std::uint64_t endTick = 0;
    friend bool operator==(const SmfLoop&, const SmfLoop&) = default;
};

// Where a song marks its loop, as the conventions of game music write it; each the earliest in
// the song. Ticks as the song counts them.
struct SmfLoopMarks {
    std::optional<std::uint64_t> startMarker; // a marker "loopStart" (any case)
    std::optional<std::uint64_t> endMarker;   // a marker "loopEnd"
    std::optional<std::uint64_t> control111;  // the loop start; the song's end is its end
    std::optional<std::uint64_t> control116;  // a loop start, ended by the next 117
    std::optional<std::uint64_t> control117;  // the loop end of a 116
    // Each mark kept as the earlier of the two.
    void merge(const SmfLoopMarks& other);
    // The loop these marks make in a song that ends at `lastTick`: the markers first, then
    // 116/117, then 111; none when no loop of any length is marked.
    std::optional<SmfLoop> loop(std::uint64_t lastTick) const;
};

class SmfSong final {
  public:
    SmfSong() = default;
    // `tempos` in file order; only their ticks need not be sorted. `division` is ticks per
    // quarter note (> 0).
    SmfSong(int format, int trackCount, int division, std::vector<SmfTempo> tempos,
            std::uint64_t lastTick);

    int format() const { return format_; }
    int trackCount() const { return trackCount_; }
    int division() const { return division_; }
    // Sorted by tick; always starts with the tempo in force at tick 0 (120 BPM unless the file
    // sets another there).
    const std::vector<SmfTempo>& tempoMap() const { return tempoMap_; }
    // Tick of the last event of any track (end-of-track included).
    std::uint64_t lastTick() const { return lastTick_; }

    double secondsAtTick(std::uint64_t tick) const;
    // The last tick that is not later than `seconds` (0 for negative times).
    std::uint64_t tickAtSeconds(double seconds) const;

    // The loop the song marks, if any.
    const std::optional<SmfLoop>& loop() const { return loop_; }
    void setLoop(std::optional<SmfLoop> loop) { loop_ = loop; }

    // Time of the last event.
    double lengthSeconds() const { return secondsAtTick(lastTick_); }
    // The same in tenths of a second, rounded to the nearest tenth.
    std::uint32_t lengthTenths() const;

  private:
    int format_ = 0;
    int trackCount_ = 0;
    int division_ = 480;
    std::vector<SmfTempo> tempoMap_{SmfTempo{}};
    std::uint64_t lastTick_ = 0;
    std::optional<SmfLoop> loop_;
};

} // namespace tobira
