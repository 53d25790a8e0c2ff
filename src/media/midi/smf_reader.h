#pragma once
// Reads and validates Standard MIDI Files. The parser works on bytes already in memory, so
// that the device can read the file on the UI thread and hand the same bytes to FluidSynth.
// It accepts exactly what FluidSynth's own loader plays: formats 0 and 1, ticks-per-quarter
// divisions, F0 system exclusive. A file FluidSynth would silently refuse is an error here.

#include "media/midi/smf_song.h"

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <span>
#include <stdexcept>
#include <string>
#include <vector>

namespace tobira {

enum class SmfFault {
    NotSmf,            // no "MThd" at the start
    BadHeader,         // header chunk of the wrong length, or cut short
    UnsupportedFormat, // format 2 (independent sequences) or above
    SmpteDivision,     // time code division
    BadDivision,       // zero ticks per quarter note
    BadTrackCount,     // no tracks, or more than FluidSynth's 128
    MissingTrack,      // fewer track chunks than the header announces
    ChunkTruncated,    // a chunk's length runs past the end of the file
    BadChunk,          // a chunk name that is not ASCII: the file is garbage from there on
    EventTruncated,    // an event runs past the end of its track chunk
    BadDeltaTime,      // a variable-length number longer than four bytes
    NoRunningStatus,   // a data byte where no running status is in force
    UnsupportedEvent,  // F7 escapes and system common or real-time bytes
    BadMetaEvent,      // a meta event with a length its type does not allow
    BadTempo,          // tempo of zero microseconds per quarter note
    Unreadable,        // the file is missing or cannot be read
    TooLarge,          // larger than any MIDI song could be
};

// what() is the reason, in words for the user (code page 932).
class SmfError : public std::runtime_error {
  public:
    explicit SmfError(SmfFault fault);
    SmfFault fault() const { return fault_; }

  private:
    SmfFault fault_;
};

// One message of a track as a sound module receives it: a channel message with its status
// byte, or a whole system exclusive message from F0 to F7.
struct SmfEvent {
    std::uint64_t tick = 0;
    std::vector<std::uint8_t> bytes;
};

// A text meta event (types 01 to 0F: text, lyric, marker…), its bytes as the file holds them.
struct SmfText {
    std::uint64_t tick = 0;
    int track = 0; // counted from 0 in file order
    std::uint8_t type = 0;
    std::string bytes;
};

// Throws SmfError for anything but a playable file.
SmfSong ParseSmf(std::span<const std::uint8_t> bytes);
// The same, and every channel and system exclusive message into `events`, in playing order:
// by tick, then by track, then as the track lists them. Meta events are not messages.
SmfSong ParseSmf(std::span<const std::uint8_t> bytes, std::vector<SmfEvent>& events);
// The same, and every text meta event into `texts`, in the order of ParseSmf's events.
SmfSong ParseSmf(std::span<const std::uint8_t> bytes, std::vector<SmfEvent>& events,
                 std::vector<SmfText>& texts);

// Reads a whole file. Throws SmfError (Unreadable, TooLarge).
std::vector<std::uint8_t> ReadSmfBytes(const std::filesystem::path& path);

// ReadSmfBytes then ParseSmf.
SmfSong ReadSmfFile(const std::filesystem::path& path);

} // namespace tobira
