// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/inspect/inspect_output.h"

#include "text/cp932_convert.h"

#include <cstdio>

namespace tobira::inspect {

void Line(const std::string& cp932) {
    // A name may hold an escape sequence or a carriage return that would rewrite the terminal:
    // control characters are shown as \xNN; a line break of the program's own text stays.
    std::string shown;
    for (const char c : Cp932ToUtf8(cp932)) {
        const auto b = static_cast<unsigned char>(c);
        if ((b < 0x20 && c != '\n') || b == 0x7F) {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\x%02X", b);
            shown += escaped;
        } else {
            shown += c;
        }
    }
    std::fwrite(shown.data(), 1, shown.size(), stdout);
    std::fputc('\n', stdout);
}

void Field(const char* utf8Label, const std::string& cp932Value) {
    Line("  " + Utf8ToCp932(utf8Label) + ": " + cp932Value);
}

std::string Sjis(const char* utf8) {
    return Utf8ToCp932(utf8);
}

} // namespace tobira::inspect
