// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The text of a CUE sheet as rippers write it: UTF-8 or code page 932 on most machines, UTF-16
// or UTF-32 where a title did not fit the writer's code page, with or without a byte-order mark.

#include <string>
#include <string_view>

namespace tobira {

enum class CueEncoding { Utf8, Utf16Le, Utf16Be, Utf32Le, Utf32Be, Cp932 };

// The byte-order mark decides; without one, UTF-16 or UTF-32 shows in the zero bytes of its
// ASCII characters (every sheet's commands are ASCII); else UTF-8 when the bytes are valid
// UTF-8; else code page 932.
CueEncoding DetectCueEncoding(std::string_view bytes);

// The sheet's bytes as UTF-8, its byte-order mark dropped. Never fails: what cannot be decoded
// becomes U+FFFD.
std::string CueTextToUtf8(std::string_view bytes);

} // namespace tobira
