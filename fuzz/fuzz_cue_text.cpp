// SPDX-License-Identifier: GPL-3.0-or-later
// The text of a CUE sheet in any encoding: always valid UTF-8; the same text written in any
// encoding with its byte-order mark reads back the same and gives the same sheet; ASCII text
// is recognised in UTF-16 and UTF-32 without a mark too.
#include "fuzz_support.h"
#include "media/cd/cue_sheet.h"

#include <algorithm>
#include <optional>
#include <string>
#include <vector>

using namespace tobira;

namespace {

// Code points of valid UTF-8; empty for invalid input.
std::optional<std::u32string> decode(std::string_view s) {
    std::u32string out;
    for (std::size_t i = 0; i < s.size();) {
        const auto c = static_cast<unsigned char>(s[i]);
        const std::size_t more = c < 0x80   ? 0
                                 : c < 0xC2 ? 9
                                 : c < 0xE0 ? 1
                                 : c < 0xF0 ? 2
                                 : c < 0xF5 ? 3
                                            : 9;
        if (more == 9 || i + more >= s.size() + (more == 0))
            return std::nullopt;
        char32_t v = more == 0 ? c : c & (0x3F >> more);
        for (std::size_t k = 1; k <= more; ++k) {
            const auto b = static_cast<unsigned char>(s[i + k]);
            if ((b & 0xC0) != 0x80)
                return std::nullopt;
            v = v << 6 | (b & 0x3F);
        }
        const char32_t least[] = {0, 0x80, 0x800, 0x10000};
        if (v < least[more] || v > 0x10FFFF || (v >= 0xD800 && v < 0xE000))
            return std::nullopt;
        out += v;
        i += more + 1;
    }
    return out;
}

void put(std::string& out, std::uint32_t v, int bytes, bool little) {
    for (int k = 0; k < bytes; ++k)
        out += static_cast<char>(v >> 8 * (little ? k : bytes - 1 - k));
}

std::string encode(const std::u32string& text, int width, bool little, bool mark) {
    std::string out;
    std::u32string all = mark ? U"\uFEFF" + text : text;
    for (char32_t c : all) {
        if (width == 4) {
            put(out, c, 4, little);
        } else if (c >= 0x10000) {
            put(out, 0xD800 + ((c - 0x10000) >> 10), 2, little);
            put(out, 0xDC00 + ((c - 0x10000) & 0x3FF), 2, little);
        } else {
            put(out, c, 2, little);
        }
    }
    return out;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes = fuzz::AsText(data, size);
    const std::string text = CueTextToUtf8(bytes);
    const auto points = decode(text);
    FUZZ_CHECK(points);

    const CueParseResult sheet = ParseCueSheet(bytes);
    FUZZ_CHECK(sheet.sheet || !sheet.problem.what.empty());
    const std::vector<std::string> written = {
        "\xEF\xBB\xBF" + text,           encode(*points, 2, true, true),
        encode(*points, 2, false, true), encode(*points, 4, true, true),
        encode(*points, 4, false, true),
    };
    // UTF-16 LE's mark followed by U+0000 is UTF-32 LE's mark: no reader can tell them apart.
    const bool markAmbiguous = !text.empty() && text[0] == '\0';
    for (const std::string& again : written) {
        if (markAmbiguous)
            break;
        FUZZ_CHECK(CueTextToUtf8(again) == text);
        const CueParseResult same = ParseCueSheet(again);
        FUZZ_CHECK(same.sheet.has_value() == sheet.sheet.has_value());
        FUZZ_CHECK(same.problem.line == sheet.problem.line);
        if (same.sheet)
            FUZZ_CHECK(same.sheet->tracks.size() == sheet.sheet->tracks.size());
    }

    // Plain ASCII of two characters or more, without a mark: the zero bytes tell the width and
    // the byte order.
    const bool ascii =
        points->size() >= 2 &&
        std::all_of(points->begin(), points->end(), [](char32_t c) { return c > 0 && c < 0x80; });
    if (ascii) {
        FUZZ_CHECK(DetectCueEncoding(encode(*points, 2, true, false)) == CueEncoding::Utf16Le);
        FUZZ_CHECK(DetectCueEncoding(encode(*points, 2, false, false)) == CueEncoding::Utf16Be);
        FUZZ_CHECK(DetectCueEncoding(encode(*points, 4, true, false)) == CueEncoding::Utf32Le);
        FUZZ_CHECK(DetectCueEncoding(encode(*points, 4, false, false)) == CueEncoding::Utf32Be);
        FUZZ_CHECK(CueTextToUtf8(encode(*points, 2, true, false)) == text);
    }
    return 0;
}
