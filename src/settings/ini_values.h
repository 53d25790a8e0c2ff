// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// How the settings file's values are read: integers in decimal or "0x" hexadecimal, and strings
// limited to what a read returns.

#include <cstddef>
#include <string>
#include <string_view>

namespace tobira {

inline constexpr std::size_t kIniStringLimit = 1023;

// `text` without surrounding blanks as an integer: decimal with an optional sign, or, when it is
// longer than two characters and begins with "0x" or "0X", up to eight hexadecimal digits taken
// as a 32-bit pattern ("0xFFFFFFFF" is -1). `fallback` for anything else, including a decimal
// value outside the int range.
int ParseIniInteger(std::string_view text, int fallback);

// At most `limit` bytes of `text`, cut before a double-byte character that would not fit whole.
std::string LimitIniString(std::string_view text, std::size_t limit = kIniStringLimit);

} // namespace tobira
