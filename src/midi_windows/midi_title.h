#pragma once
// The title of a new list record, taken from the MIDI file's first text or track-name event
// near its start, else the file's name.

#include <cstddef>
#include <string>
#include <string_view>

namespace tobira {

// How many bytes of a file MidiTitleFromHead needs: an event must start within the first 255
// collected bytes and holds at most 255, and each collected byte costs at most three file bytes
// (a one-byte line and its CR LF).
inline constexpr std::size_t kMidiTitleHeadBytes = 4096;

// The title from the first bytes of a file (at least kMidiTitleHeadBytes, or the whole file).
// The head is read as text lines (a line ends at CR, an LF right after it is skipped, a lone LF
// is text, 0x1A ends the data), joined until they hold 256 bytes or a line is empty. The first
// FF 03 and the first FF 01 count when they start within the first 255 bytes; their length is
// the one byte after the pair. Of those with a non-zero length the earlier wins. Bytes 0..31
// are removed; a result of spaces only, or none at all, gives `fileName`. Code page 932.
std::string MidiTitleFromHead(std::string_view head, std::string_view fileName);

// Reads the file (code page 932 path). Throws std::system_error when it cannot be opened or
// read.
std::string ReadMidiTitle(const std::string& path);

// The part of a code page 932 path after its last "/".
std::string_view FileNameOfPath(std::string_view path);

// Whether the file's extension is ".MID" in any case (code page 932 path).
bool IsMidiFileName(std::string_view path);

} // namespace tobira
