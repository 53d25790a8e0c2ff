// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The title of a new list record, taken from the MIDI file's first text or track-name event
// near its start, else the file's name.

#include "media/midi/midi_file_name.h"

#include <cstddef>
#include <string>
#include <string_view>

namespace tobira {

// How many bytes of a file MidiTitleFromHead needs: an event must start within the first 255
// bytes, its type and length byte follow, and it holds at most 255 bytes of text.
inline constexpr std::size_t kMidiTitleHeadBytes = 512;

// The title from the first bytes of a file (at least kMidiTitleHeadBytes, or the whole file),
// taken as they are: no byte ends a line or the data, since the length byte of a 13- or 26-byte
// title is 0x0D or 0x1A. The first FF 03 and the first FF 01 count when they start within the
// first 255 bytes; their length is the one byte after the pair (0 past the end of the file),
// and their text follows it. Of those with a non-zero length the earlier wins. A Soft Karaoke
// title header loses its "@T"; UTF-8 text becomes code page 932 (ShortTextToCp932). Bytes
// 0..31 are removed; a result of spaces only, or none at all, gives `fileName`. Code page 932.
std::string MidiTitleFromHead(std::string_view head, std::string_view fileName);

// Reads the file (code page 932 path); an RMID file through the SMF it wraps. Throws
// std::system_error when it cannot be opened or read.
std::string ReadMidiTitle(const std::string& path);

// The part of a code page 932 path after its last "/".
std::string_view FileNameOfPath(std::string_view path);

} // namespace tobira
