// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The text of a document beside a song, in whatever encoding it was written: most text files on
// Linux are UTF-8, older ones Shift-JIS, and a few UTF-16 with a byte order mark.

#include <string>
#include <string_view>

namespace tobira {

enum class TextEncoding { Cp932, Utf8 };

struct DocumentText {
    std::string text; // in `encoding`, without a byte order mark
    TextEncoding encoding = TextEncoding::Cp932;
};

// UTF-8 with or without a byte order mark, and UTF-16 of either byte order with one, come back
// as UTF-8; anything else (plain ASCII included) is code page 932, as it stands. Text without a
// mark counts as UTF-8 only when it is valid UTF-8 and holds a character beyond ASCII.
DocumentText DecodeDocument(std::string bytes);

} // namespace tobira
