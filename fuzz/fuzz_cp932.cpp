// SPDX-License-Identifier: GPL-3.0-or-later
// Code page 932 text operations and conversions: no operation splits a double-byte character,
// conversions give valid UTF-8, and each operation keeps the shape it promises.
#include "fuzz_support.h"
#include "text/cp932_chars.h"
#include "text/cp932_convert.h"
#include "text/full_width.h"
#include "text/search.h"
#include "text/trim.h"
#include "text/upper_case.h"

#include <algorithm>
#include <stdexcept>
#include <vector>

using namespace tobira;

namespace {

bool IsValidUtf8(std::string_view s) {
    std::size_t i = 0;
    while (i < s.size()) {
        const auto c = static_cast<unsigned char>(s[i]);
        std::size_t n = c < 0x80         ? 1
                        : (c >> 5) == 6  ? 2
                        : (c >> 4) == 14 ? 3
                        : (c >> 3) == 30 ? 4
                                         : 0;
        if (n == 0 || i + n > s.size())
            return false;
        for (std::size_t k = 1; k < n; ++k)
            if ((static_cast<unsigned char>(s[i + k]) & 0xC0) != 0x80)
                return false;
        i += n;
    }
    return true;
}

// The byte offsets at which characters start.
std::vector<std::size_t> Starts(std::string_view text) {
    std::vector<std::size_t> starts;
    for (std::size_t i = 0; i < text.size(); i += CharLengthAt(text, i))
        starts.push_back(i);
    return starts;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text = fuzz::AsText(data, size);
    const auto starts = Starts(text);

    FUZZ_CHECK(CopyChars(text, 1, static_cast<long long>(size) + 1) == text);
    if (!starts.empty()) {
        const long long first = static_cast<long long>(size % starts.size()) + 1;
        const std::string part = CopyChars(text, first, 3);
        FUZZ_CHECK(text.substr(starts[first - 1]).starts_with(part));
        for (std::size_t i = 1; i <= size; ++i) {
            const bool trail = IsTrailByte(text, static_cast<long long>(i));
            FUZZ_CHECK(trail == !std::binary_search(starts.begin(), starts.end(), i - 1));
        }
    }
    try {
        (void)IsTrailByte(text, 0);
        FUZZ_CHECK(false);
    } catch (const std::out_of_range&) {
    }

    const std::string upper = UpperCaseCp932(text);
    FUZZ_CHECK(upper.size() == size && Starts(upper) == starts);
    FUZZ_CHECK(UpperCaseCp932(upper) == upper);

    const std::string wide = ToFullWidth(text);
    FUZZ_CHECK(wide.size() >= size - size / 2 && wide.size() <= 2 * size);
    FUZZ_CHECK(ToFullWidth(wide) == wide);
    std::string normalised;
    NormaliseForLooseSearch(text, normalised);
    FUZZ_CHECK(normalised == NormaliseForLooseSearch(text));
    FUZZ_CHECK(NormaliseForLooseSearch(normalised) == normalised);

    const std::string trimmed = TrimSpaces(text);
    FUZZ_CHECK(text.find(trimmed) != std::string_view::npos);
    FUZZ_CHECK(TrimSpaces(trimmed) == trimmed);
    FUZZ_CHECK(TrimLeftSpaces(TrimRightSpaces(text)) == trimmed);

    if (!starts.empty()) {
        const std::size_t at = starts[starts.size() / 2];
        const std::string_view keyword = text.substr(at, CharLengthAt(text, at));
        FUZZ_CHECK(ContainsAt(keyword, text));
    }
    FUZZ_CHECK(!ContainsAt("", text));

    const std::string utf8 = Cp932ToUtf8(text);
    FUZZ_CHECK(IsValidUtf8(utf8));
    const std::string back = Utf8ToCp932(utf8);
    FUZZ_CHECK(IsValidUtf8(Cp932ToUtf8(back)));
    // Input taken as UTF-8: a lossless conversion converts back to the same text.
    if (auto strict = TryUtf8ToCp932(text)) {
        FUZZ_CHECK(IsValidUtf8(text));
        FUZZ_CHECK(Utf8ToCp932(text) == *strict);
    }
    if (auto path = Cp932FromPath(PathFromCp932(text)))
        FUZZ_CHECK(Cp932ToUtf8(*path) == Cp932ToUtf8(text));
    return 0;
}
