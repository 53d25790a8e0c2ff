// SPDX-License-Identifier: GPL-3.0-or-later
#include "media/cd/cue_text.h"

#include "text/cp932_convert.h"
#include "text/utf8.h"

#include <array>
#include <cstdint>

namespace tobira {
namespace {

constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";
constexpr std::string_view kUtf16LeMark = "\xFF\xFE";
constexpr std::string_view kUtf16BeMark = "\xFE\xFF";
constexpr std::string_view kUtf32LeMark{"\xFF\xFE\0\0", 4};
constexpr std::string_view kUtf32BeMark{"\0\0\xFE\xFF", 4};
constexpr char32_t kReplacement = 0xFFFD;

// A sheet marked as UTF-8 keeps its mark's word; a byte that breaks it becomes U+FFFD.
std::string mendUtf8(std::string_view s) {
    std::string out;
    out.reserve(s.size());
    for (std::size_t i = 0; i < s.size();) {
        const std::size_t n = Utf8SequenceAt(s, i);
        if (n == 0) {
            out += "\xEF\xBF\xBD";
            ++i;
        } else {
            out.append(s.substr(i, n));
            i += n;
        }
    }
    return out;
}

// Zero bytes by their place in a group of four, over the sheet's first few kilobytes: enough
// lines for the commands' ASCII to show the code unit's width and byte order.
CueEncoding fromZeros(std::string_view bytes) {
    const std::size_t window = std::min<std::size_t>(bytes.size(), 4096) / 4 * 4;
    std::array<std::size_t, 4> zeros{};
    for (std::size_t i = 0; i < window; ++i)
        zeros[i % 4] += bytes[i] == '\0';
    const std::size_t groups = window / 4;
    if (groups == 0 || zeros[0] + zeros[1] + zeros[2] + zeros[3] == 0)
        return CueEncoding::Utf8;
    const std::size_t most = groups * 3 / 4;
    const std::size_t few = groups / 4;
    if (zeros[2] > most && zeros[3] > most && zeros[0] <= few)
        return CueEncoding::Utf32Le;
    if (zeros[0] > most && zeros[1] > most && zeros[3] <= few)
        return CueEncoding::Utf32Be;
    const std::size_t odd = zeros[1] + zeros[3];
    const std::size_t even = zeros[0] + zeros[2];
    // Characters of 16 bits whose low byte is zero (U+4E00, U+3000...) put a few zeros on the
    // other side; ASCII puts many on its own.
    if (odd >= groups / 4 && odd > even * 4)
        return CueEncoding::Utf16Le;
    if (even >= groups / 4 && even > odd * 4)
        return CueEncoding::Utf16Be;
    return CueEncoding::Utf8;
}

std::uint32_t unit(std::string_view s, std::size_t at, std::size_t width, bool little) {
    std::uint32_t v = 0;
    for (std::size_t k = 0; k < width; ++k) {
        const auto b = static_cast<unsigned char>(s[at + (little ? width - 1 - k : k)]);
        v = v << 8 | b;
    }
    return v;
}

std::string fromUtf32(std::string_view s, bool little) {
    std::string out;
    out.reserve(s.size());
    for (std::size_t i = 0; i + 4 <= s.size(); i += 4)
        AppendUtf8(out, unit(s, i, 4, little));
    if (s.size() % 4 != 0)
        AppendUtf8(out, kReplacement);
    return out;
}

} // namespace

CueEncoding DetectCueEncoding(std::string_view bytes) {
    // UTF-32 LE's mark begins with UTF-16 LE's: the longer one first.
    if (bytes.starts_with(kUtf32LeMark))
        return CueEncoding::Utf32Le;
    if (bytes.starts_with(kUtf32BeMark))
        return CueEncoding::Utf32Be;
    if (bytes.starts_with(kUtf8Mark))
        return CueEncoding::Utf8;
    if (bytes.starts_with(kUtf16LeMark))
        return CueEncoding::Utf16Le;
    if (bytes.starts_with(kUtf16BeMark))
        return CueEncoding::Utf16Be;
    const CueEncoding wide = fromZeros(bytes);
    if (wide != CueEncoding::Utf8)
        return wide;
    return IsValidUtf8(bytes) ? CueEncoding::Utf8 : CueEncoding::Cp932;
}

std::string CueTextToUtf8(std::string_view bytes) {
    std::string text;
    switch (DetectCueEncoding(bytes)) {
    case CueEncoding::Utf8:
        text = mendUtf8(bytes);
        break;
    case CueEncoding::Cp932:
        return Cp932ToUtf8(bytes);
    case CueEncoding::Utf16Le:
        text = Utf16ToUtf8(bytes, true);
        break;
    case CueEncoding::Utf16Be:
        text = Utf16ToUtf8(bytes, false);
        break;
    case CueEncoding::Utf32Le:
        text = fromUtf32(bytes, true);
        break;
    case CueEncoding::Utf32Be:
        text = fromUtf32(bytes, false);
        break;
    }
    if (std::string_view(text).starts_with(kUtf8Mark))
        text.erase(0, kUtf8Mark.size());
    return text;
}

} // namespace tobira
