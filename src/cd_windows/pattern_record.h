// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// One record of the CD pattern file TOBIRA.DAT, one line of code page 932 text:
//
//   DDDDDDDDDDs=tt tt tt .Title
//
// ten characters of DiscId and the slot digit (together the pattern key), "=", the track order
// (each track as two digits and a blank), the first full stop, then the title as typed. The part
// after "=" is the pattern text, which is what the program keeps per slot.

#include <array>
#include <cstddef>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace tobira {

inline constexpr int kPatternSlots = 10;
inline constexpr int kMaxTrackOrderEntries = 60;
// Longest pattern text kept when the file is read, and longest selector caption, in bytes.
inline constexpr std::size_t kPatternTextLimit = 999;
// Where the pattern text starts in a record (0-based byte offset: after key and "=").
inline constexpr std::size_t kPatternTextOffset = 12;

// The ten pattern texts of the disc in the drive, indexed by slot; empty = slot free.
using PatternTable = std::array<std::string, kPatternSlots>;

// DiscId followed by the slot digit. `slot` must be 0..9.
std::string PatternKey(std::string_view discId, int slot);

// Whether a key can name a record at all: it needs a disc part before the slot digit. A lone
// digit (no disc read yet) would match any line that happens to hold that digit.
constexpr bool IsUsablePatternKey(std::string_view key) {
    return key.size() >= 2;
}

// The record line for a key and a pattern text, without its line end.
std::string PatternRecordLine(std::string_view key, std::string_view patternText);

// The pattern text of a record line: everything from the 13th byte on, cut to
// kPatternTextLimit. Lines shorter than that give an empty text.
std::string PatternTextOfLine(std::string_view line);

// The first `maxBytes` bytes of `text`, one byte fewer when the cut would split a double-byte
// character.
std::string_view CutText(std::string_view text, std::size_t maxBytes);

// A pattern text split at its first full stop.
struct PatternTextParts {
    std::string_view order; // before the full stop; the whole text when there is none
    std::string_view title; // after the full stop; empty when there is none
    bool hasFullStop = false;
};
PatternTextParts SplitPatternText(std::string_view patternText);

// A track order read back: the numbers taken, in order (0..99; which of them are tracks of the
// disc is the caller's business), and whether every pair was a number.
struct TrackOrder {
    std::vector<int> tracks;
    bool complete = true;
};

// Takes two characters as a number, skips three, while two characters remain and fewer than 60
// numbers have been taken. A pair that is not two decimal digits stops the walk with
// complete = false, keeping the numbers before it.
TrackOrder ReadTrackOrder(std::string_view order);

// Each track as "%2.2d " in order. Zero means an empty entry and is left out, as are numbers
// that do not fit in two digits; an empty result means no program.
std::string FormatTrackOrder(std::span<const int> tracks);

} // namespace tobira
