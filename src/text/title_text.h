// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Short texts of unknown encoding, such as a MIDI file's title: older files write Shift-JIS,
// newer ones UTF-8, and nothing in the file says which.

#include <string>
#include <string_view>

namespace tobira {

// Whether `text` reads as Japanese Shift-JIS: every double-byte character in the rows of
// symbols, full-width letters, kana and the common kanji (lead bytes 81-9F), at least one of
// them, and no byte that code page 932 leaves undefined. UTF-8 Japanese read this way begins its
// characters with E3-E9, which these rows never use.
bool IsPlausibleShiftJis(std::string_view text);

// The text in code page 932: as it stands, unless it is valid UTF-8 beyond ASCII and no
// plausible Shift-JIS; then converted, each character code page 932 lacks becoming the
// full-width "？". A UTF-8 sequence cut off at the end (a title cut at its length byte) is
// dropped.
std::string ShortTextToCp932(std::string_view text);

} // namespace tobira
