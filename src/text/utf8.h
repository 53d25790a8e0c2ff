// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Well-formed UTF-8, and UTF-16 turned into it: one rule for every reader that has to tell or
// decode them (documents, CUE sheets, lyrics, file names).

#include <cstddef>
#include <string>
#include <string_view>

namespace tobira {

// The length of the well-formed UTF-8 sequence at `s[i]` (1 for ASCII); 0 where there is none:
// a stray byte, a cut sequence, an overlong form, a surrogate, a code point past U+10FFFF.
std::size_t Utf8SequenceAt(std::string_view s, std::size_t i);

bool IsValidUtf8(std::string_view s);
// Valid UTF-8 with at least one character beyond ASCII: text that is surely not code page 932.
bool IsUtf8BeyondAscii(std::string_view s);

// `c` as UTF-8; a surrogate or a value past U+10FFFF as U+FFFD.
void AppendUtf8(std::string& out, char32_t c);

// UTF-16 without its mark, as UTF-8. A lone surrogate or an odd last byte becomes U+FFFD.
std::string Utf16ToUtf8(std::string_view bytes, bool littleEndian);

} // namespace tobira
