// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Writes Standard MIDI Files for tests: notes, tempo changes, text meta events (code page 932),
// SysEx, and deliberately damaged variants.

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace tobira::testing {

enum class SmfDamage {
    None,
    TruncateInLastEvent, // the file ends inside the last event of the last track
    EventPastTrackEnd,   // the last track's chunk ends inside its end-of-track event
    TrackLengthTooLong,  // the last track's chunk length runs past the end of the file
    MissingTrack,        // the header announces one track more than there is
    LostRunningStatus,   // the first track starts with a data byte
    BadHeaderLength,     // MThd length 5
    HeaderOnly,          // the header, announcing no track, and nothing else
};

class SmfWriter final {
  public:
    // Format 0 keeps everything in track 0; formats 1 and 2 take any number of tracks.
    explicit SmfWriter(int format = 1, int division = 480);

    // Track indexes start at 0; track 0 exists from the start.
    int addTrack();

    void note(int track, std::uint32_t tick, int channel, int key, int velocity,
              std::uint32_t duration);
    // A note that is never released.
    void noteOn(int track, std::uint32_t tick, int channel, int key, int velocity);
    void programChange(int track, std::uint32_t tick, int channel, int program);
    void controlChange(int track, std::uint32_t tick, int channel, int control, int value);
    // `value` 0..16383, 8192 the centre.
    void pitchBend(int track, std::uint32_t tick, int channel, int value);
    void tempo(int track, std::uint32_t tick, std::uint32_t microsPerQuarter);
    void tempoBpm(int track, std::uint32_t tick, double bpm);
    // type 0x01 (text) or 0x03 (track name); `cp932` goes into the file as it is.
    void text(int track, std::uint32_t tick, std::uint8_t type, const std::string& cp932);
    // `body` without the leading F0 (and with the closing F7, as SMF stores it).
    void sysex(int track, std::uint32_t tick, const std::vector<std::uint8_t>& body);
    // The GS reset F0 41 10 42 12 40 00 7F 00 41 F7.
    void gsReset(int track, std::uint32_t tick);
    // Where the track's end-of-track event goes; by default at its last event.
    void endOfTrack(int track, std::uint32_t tick);

    // Running status is used for consecutive channel events of one status.
    std::vector<std::uint8_t> bytes(SmfDamage damage = SmfDamage::None) const;
    void write(const std::filesystem::path& path, SmfDamage damage = SmfDamage::None) const;

  private:
    struct Event {
        std::uint32_t tick;
        int order; // note-offs before everything else at the same tick
        std::size_t sequence;
        std::vector<std::uint8_t> data; // status byte first
    };
    struct Track {
        std::vector<Event> events;
        std::uint32_t endTick = 0;
        bool explicitEnd = false;
    };
    void add(int track, std::uint32_t tick, std::vector<std::uint8_t> data, int order = 1);
    std::vector<std::uint8_t> trackBytes(const Track& track, bool dropFirstStatus) const;

    int format_;
    int division_;
    std::vector<Track> tracks_;
    std::size_t sequence_ = 0;
};

// A song of the dense kind: one track, format 0, 480 ticks a quarter at 120 BPM, that plays
// `pairs` notes (on, then at once off, keys and channels in turn) at each tick of `at`, and
// ends at `endTick`. Six bytes a note: 175,000 notes make a megabyte. Written without a
// SmfWriter, which keeps each event apart: the biggest is tens of millions of notes.
std::vector<std::uint8_t> DenseSmf(std::size_t pairs, const std::vector<std::uint32_t>& at,
                                   std::uint32_t endTick);

// Writes `bytes` to `path` as they are.
void WriteBytes(const std::filesystem::path& path, const std::vector<std::uint8_t>& bytes);

} // namespace tobira::testing
