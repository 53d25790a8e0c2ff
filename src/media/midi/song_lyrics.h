// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The lyrics of a karaoke song, line by line, each syllable with the time it is sung: from
// lyric meta events (FF 05, as Japanese karaoke and XF files have them) or, in Soft Karaoke
// files (.kar), from their text events (FF 01). Texts are code page 932 whatever the file
// used: Shift-JIS as it is, UTF-8 converted, Latin-1 letters without their accents.

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace tobira {

struct LyricSyllable {
    std::uint64_t micros = 0; // from the start of the song
    std::string text;         // code page 932
};

struct LyricLine {
    std::vector<LyricSyllable> syllables; // at least one, in time order
    std::uint64_t startMicros() const { return syllables.front().micros; }
    std::string text() const;
};

class SongLyrics final {
  public:
    SongLyrics() = default;
    explicit SongLyrics(std::vector<LyricLine> lines) : lines_(std::move(lines)) {}

    bool empty() const { return lines_.empty(); }
    const std::vector<LyricLine>& lines() const { return lines_; }
    // The line being sung at `micros`: the last one begun by then; -1 before the first.
    int lineAt(std::uint64_t micros) const;
    // Bytes of line `line`'s text sung by `micros` (whole syllables).
    std::size_t sungBytes(int line, std::uint64_t micros) const;

  private:
    std::vector<LyricLine> lines_;
};

// The lyrics of a Standard MIDI File's bytes: its FF 05 events when it has any, else, when
// `karaoke` (a .kar file) or the file calls itself a Soft Karaoke file, its text events without
// the "@" header ones. "/" starts a new line, "\" a new paragraph (also a new line here); in
// lyric events line ends (CR, LF) and XF's "<" too. Empty for a song without lyrics or a file
// that cannot be read.
SongLyrics ParseSongLyrics(std::span<const std::uint8_t> smf, bool karaoke);

// The lyrics of the song file at `cp932Path` (a name ending in .kar counts as karaoke).
SongLyrics ReadSongLyrics(const std::string& cp932Path);

} // namespace tobira
