// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings/ini_values.h"

#include <charconv>
#include <algorithm>
#include <cstdint>

namespace tobira {
namespace {

std::string_view trimBlanks(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t'))
        s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t'))
        s.remove_suffix(1);
    return s;
}

} // namespace

int ParseIniInteger(std::string_view text, int fallback) {
    std::string_view t = trimBlanks(text);
    if (t.size() > 2 && t[0] == '0' && (t[1] == 'x' || t[1] == 'X')) {
        std::string_view digits = t.substr(2);
        std::uint32_t bits = 0;
        auto [end, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), bits, 16);
        if (ec != std::errc() || end != digits.data() + digits.size())
            return fallback;
        return static_cast<int>(bits); // two's complement: the pattern as written
    }
    // from_chars takes no "+", which a hand-edited file may well carry.
    if (t.size() > 1 && t.front() == '+' && t[1] != '-')
        t.remove_prefix(1);
    int value = 0;
    auto [end, ec] = std::from_chars(t.data(), t.data() + t.size(), value, 10);
    if (t.empty() || ec != std::errc() || end != t.data() + t.size())
        return fallback;
    return value;
}

std::string LimitIniString(std::string_view text, std::size_t limit) {
    std::size_t cut = 0;
    while (cut < text.size()) {
        auto b = static_cast<unsigned char>(text[cut]);
        std::size_t width = ((b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC)) ? 2 : 1;
        if (cut + width > limit)
            break;
        cut += width;
    }
    return std::string(text.substr(0, std::min(cut, text.size())));
}

} // namespace tobira
