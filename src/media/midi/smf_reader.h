// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Reads Standard MIDI Files as tolerantly as the best players do. The parser works on bytes
// already in memory, so that the device can read the file on the UI thread and hand what it
// accepted to the synthesizer.
//
// Formats 0, 1 and 2 (2: each track after the one before, from time 0 of its own turn); time
// code divisions; any number of tracks. Real files break the rules in many ways, and a song is
// refused only when it is not an SMF or holds nothing to play (no message, and no silence that
// lasts): running status
// survives meta and system exclusive events, meta events of any length are skipped by their
// length, a chunk whose length runs past the end is read to the end, a missing end of track is
// the end of the chunk, unknown chunks are skipped, the header's track count gives way to the
// chunks that are there, stray system bytes are passed over, and a track that breaks off plays
// up to the break. A RIFF "RMID" file is read through its "data" chunk.

#include "files/regular_file.h"
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
    NotSmf,      // no "MThd" at the start (nor inside a RIFF RMID)
    BadHeader,   // header chunk shorter than six bytes, or cut short
    BadDivision, // zero ticks per quarter note or per frame
    NoTracks,    // not one track chunk
    BrokenTrack, // the tracks break off before any playable message
    NoEvents,    // tracks without a single message, over at their first tick
    Unreadable,  // the file is missing or cannot be read
    TooLarge,    // larger than any MIDI song could be
};

// what() is the reason, in words for the user (code page 932), with the place for BrokenTrack.
class SmfError : public std::runtime_error {
  public:
    // `offset`: the 0-based place in the file where the fault lies (BrokenTrack).
    explicit SmfError(SmfFault fault, std::size_t offset = 0);
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

// A message where it lies in the file, for callers of big songs that need not copy each one:
// the status byte, then `length` bytes of the file from `offset` (a system exclusive message
// that lacks its closing F7 gets one).
struct SmfMessage {
    std::uint64_t tick = 0;
    std::uint32_t offset = 0;
    std::uint32_t length = 0;
    std::uint8_t status = 0;
};

// Something the reader passed over in a song it accepted, for whoever asks why a song sounds
// incomplete: a track that breaks off, bytes that are not events, a wrong track count.
struct SmfRepair {
    std::size_t offset = 0; // 0-based place in the file
    std::string text;       // code page 932
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
// The same, and what was passed over into `repairs`, in file order.
SmfSong ParseSmf(std::span<const std::uint8_t> bytes, std::vector<SmfEvent>& events,
                 std::vector<SmfRepair>& repairs);

// The same as ParseSmf, and every text meta event into `texts`, in playing order (by tick, then
// file order); the messages are checked, not copied.
SmfSong ParseSmfTexts(std::span<const std::uint8_t> bytes, std::vector<SmfText>& texts);

// The same as ParseSmf with events, each message left where it lies in `bytes`.
SmfSong ParseSmfMessages(std::span<const std::uint8_t> bytes, std::vector<SmfMessage>& messages,
                         std::vector<SmfRepair>* repairs = nullptr);
// Which messages to collect: `at` is where the message's data starts in `smf`, the SMF.
using SmfMessageFilter = bool (*)(std::span<const std::uint8_t> smf, std::size_t at,
                                  std::uint8_t status);
// Where a track chunk's events lie in the SMF (UnwrapRmid of the file), and the tick it starts.
struct SmfTrackSpan {
    std::size_t begin = 0;
    std::size_t end = 0;
    std::uint64_t startTick = 0;
};
// The same as ParseSmfMessages, keeping only the messages `keep` accepts, and each track's place
// into `tracks`, in file order: a big song is checked without a copy of each message.
SmfSong ParseSmfLayout(std::span<const std::uint8_t> bytes, std::vector<SmfMessage>& messages,
                       SmfMessageFilter keep, std::vector<SmfTrackSpan>& tracks);
// The message's bytes; `bytes` as given to ParseSmfMessages. A channel message's data bytes
// are read through SmfDataByte.
std::vector<std::uint8_t> MessageBytes(std::span<const std::uint8_t> bytes, const SmfMessage& m);

// A channel message's data byte as it is played: one above 127 is 127.
constexpr std::uint8_t SmfDataByte(std::uint8_t byte) {
    return byte > 0x7F ? 0x7F : byte;
}

// The SMF inside a RIFF "RMID" file (the contents of its "data" chunk, cut at the end of the
// bytes); the bytes themselves when they are not RIFF RMID; empty for an RMID without data.
std::span<const std::uint8_t> UnwrapRmid(std::span<const std::uint8_t> bytes);

// Opens a song file to be read later, perhaps on another thread: it is there, a regular file,
// within the size any song could have. Throws SmfError (Unreadable, TooLarge).
RegularFile OpenSmfFile(const std::filesystem::path& path);
// The whole content of a file OpenSmfFile opened. Throws SmfError (Unreadable, TooLarge).
std::string ReadOpenedSmf(RegularFile& file);
// The bytes of a string read so.
inline std::span<const std::uint8_t> SmfBytesOf(const std::string& read) {
    return {reinterpret_cast<const std::uint8_t*>(read.data()), read.size()};
}

// Reads a whole file. Throws SmfError (Unreadable, TooLarge).
std::vector<std::uint8_t> ReadSmfBytes(const std::filesystem::path& path);

// What a device says when it cannot open a song: "ＭＩＤＩファイル【path】を開けません：" and the
// reason (code page 932).
std::string SmfOpenMessage(const std::string& cp932Path, const SmfError& error);

// ReadSmfBytes then ParseSmf.
SmfSong ReadSmfFile(const std::filesystem::path& path);

} // namespace tobira
