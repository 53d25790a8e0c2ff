// SPDX-License-Identifier: GPL-3.0-or-later
#include "files/shown_name.h"

#include "text/cp932_convert.h"
#include "text/utf8.h"

#include <cstdio>

namespace tobira {
namespace {

void appendEscaped(std::string& out, unsigned char b) {
    char text[8];
    std::snprintf(text, sizeof text, "\\x%02X", b);
    out += text;
}

} // namespace

std::string ShownName(const std::filesystem::path& path) {
    const std::string& bytes = path.native();
    std::string out;
    for (std::size_t i = 0; i < bytes.size();) {
        const auto b = static_cast<unsigned char>(bytes[i]);
        const std::size_t n = Utf8SequenceAt(bytes, i);
        if (b < 0x20 || b == 0x7F || n == 0) {
            appendEscaped(out, b);
            ++i;
            continue;
        }
        const std::string_view character = std::string_view(bytes).substr(i, n);
        // A character written as another's code (the wave dash as the full-width tilde) would
        // show a name that is not the file's.
        if (auto converted = TryUtf8ToCp932(character);
            converted && Cp932ToUtf8(*converted) == character) {
            out += *converted;
        } else {
            for (std::size_t k = 0; k < n; ++k)
                appendEscaped(out, static_cast<unsigned char>(bytes[i + k]));
        }
        i += n;
    }
    return out;
}

bool HasRecordBreak(std::string_view cp932Path) {
    // CR, LF and TAB are never trail bytes of a double-byte character.
    return cp932Path.find_first_of("\r\n\t") != std::string_view::npos;
}

std::string RecordBreakMessage() {
    return Utf8ToCp932("名前に改行またはタブがあるため使えません:");
}

} // namespace tobira
