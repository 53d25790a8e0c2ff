// SPDX-License-Identifier: GPL-3.0-or-later
#include "text/title_text.h"

#include "text/cp932_convert.h"
#include "text/utf8.h"

namespace tobira {
namespace {

constexpr std::string_view kFullWidthQuestion = "\x81\x48"; // ？

bool IsTrail(unsigned char c) {
    return (c >= 0x40 && c <= 0x7E) || (c >= 0x80 && c <= 0xFC);
}

// `text` without a last UTF-8 sequence that the end cut short.
std::string_view WithoutCutSequence(std::string_view text) {
    for (std::size_t back = 1; back <= 3 && back <= text.size(); ++back) {
        const auto c = static_cast<unsigned char>(text[text.size() - back]);
        if ((c & 0xC0) == 0x80)
            continue; // a continuation byte: look further back for its start
        const std::size_t need = c >= 0xF0 ? 4 : c >= 0xE0 ? 3 : c >= 0xC0 ? 2 : 1;
        return need > back ? text.substr(0, text.size() - back) : text;
    }
    return text;
}

} // namespace

bool IsPlausibleShiftJis(std::string_view text) {
    int doubleBytes = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto c = static_cast<unsigned char>(text[i]);
        if (c < 0x80 || (c >= 0xA1 && c <= 0xDF))
            continue;
        if (c < 0x81 || c > 0x9F)
            return false;
        if (i + 1 == text.size())
            break; // a lead byte cut off at the end
        if (!IsTrail(static_cast<unsigned char>(text[++i])))
            return false;
        ++doubleBytes;
    }
    return doubleBytes > 0;
}

std::string ShortTextToCp932(std::string_view text) {
    const std::string_view whole = WithoutCutSequence(text);
    if (!IsUtf8BeyondAscii(whole) || IsPlausibleShiftJis(text))
        return std::string(text);
    std::string out;
    for (std::size_t i = 0; i < whole.size();) {
        const std::size_t n = Utf8SequenceAt(whole, i);
        const std::optional<std::string> one = TryUtf8ToCp932(whole.substr(i, n));
        out += one ? *one : std::string(kFullWidthQuestion);
        i += n;
    }
    return out;
}

} // namespace tobira
