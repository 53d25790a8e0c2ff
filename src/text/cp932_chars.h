// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Character structure of code page 932 text: one byte (ASCII, half-width katakana) or a lead
// byte followed by one more byte. Every walk over a text goes by these rules, so no operation
// ever splits a double-byte character.

#include <cstddef>
#include <string>
#include <string_view>

namespace tobira {

// 0x81-0x9F and 0xE0-0xFC start a double-byte character.
constexpr bool IsLeadByte(unsigned char c) {
    return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC);
}

// Byte length of the character that starts at `pos` (pos < text.size()): 2 for a lead byte with
// a byte after it, otherwise 1 (a lone lead byte at the end is a character of its own).
constexpr std::size_t CharLengthAt(std::string_view text, std::size_t pos) {
    return IsLeadByte(static_cast<unsigned char>(text[pos])) && pos + 1 < text.size() ? 2 : 1;
}

// Whether the byte at the 1-based `index` is the second byte of a double-byte character.
// Throws std::out_of_range with what() "Illegal Index" when index < 1 or index > text.size().
bool IsTrailByte(std::string_view text, long long index);

// Characters number `first` .. `first + count - 1` (1-based, a double-byte character counts as
// one). Numbers outside the text are simply not there: CopyChars("AB", 2, 999) is "B".
std::string CopyChars(std::string_view text, long long first, long long count);

} // namespace tobira
