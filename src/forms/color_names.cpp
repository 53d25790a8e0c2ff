// SPDX-License-Identifier: GPL-3.0-or-later
#include "forms/color_names.h"

#include <array>
#include <charconv>
#include <cstdio>

namespace tobira {
namespace {

struct NamedColor {
    std::string_view name;
    Color color;
};

// In the order a name is chosen when writing; the two aliases at the end are only read.
constexpr std::array<NamedColor, 22> kNamed{{
    {"clBlack", {0x00, 0x00, 0x00}},      {"clMaroon", {0x80, 0x00, 0x00}},
    {"clGreen", {0x00, 0x80, 0x00}},      {"clOlive", {0x80, 0x80, 0x00}},
    {"clNavy", {0x00, 0x00, 0x80}},       {"clPurple", {0x80, 0x00, 0x80}},
    {"clTeal", {0x00, 0x80, 0x80}},       {"clGray", {0x80, 0x80, 0x80}},
    {"clSilver", {0xC0, 0xC0, 0xC0}},     {"clRed", {0xFF, 0x00, 0x00}},
    {"clLime", {0x00, 0xFF, 0x00}},       {"clYellow", {0xFF, 0xFF, 0x00}},
    {"clBlue", {0x00, 0x00, 0xFF}},       {"clFuchsia", {0xFF, 0x00, 0xFF}},
    {"clAqua", {0x00, 0xFF, 0xFF}},       {"clWhite", {0xFF, 0xFF, 0xFF}},
    {"clMoneyGreen", {0xC0, 0xDC, 0xC0}}, {"clSkyBlue", {0xA6, 0xCA, 0xF0}},
    {"clCream", {0xFF, 0xFB, 0xF0}},      {"clMedGray", {0xA0, 0xA0, 0xA4}},
    {"clLtGray", {0xC0, 0xC0, 0xC0}},     {"clDkGray", {0x80, 0x80, 0x80}},
}};

bool sameText(std::string_view a, std::string_view b) {
    if (a.size() != b.size())
        return false;
    auto lower = [](char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c; };
    for (std::size_t i = 0; i < a.size(); ++i)
        if (lower(a[i]) != lower(b[i]))
            return false;
    return true;
}

std::optional<unsigned long long> parseNumber(std::string_view text) {
    int base = 10;
    if (text.starts_with('$')) {
        text.remove_prefix(1), base = 16;
    } else if (text.starts_with("0x") || text.starts_with("0X")) {
        text.remove_prefix(2), base = 16;
    }
    unsigned long long value = 0;
    auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value, base);
    if (text.empty() || error != std::errc() || end != text.data() + text.size())
        return std::nullopt;
    return value;
}

} // namespace

std::string ColorToIdent(Color color) {
    for (const NamedColor& named : kNamed)
        if (named.color == color)
            return std::string(named.name);
    char text[16];
    std::snprintf(text, sizeof text, "$00%02X%02X%02X", color.b, color.g, color.r);
    return text;
}

std::optional<Color> IdentToColor(std::string_view ident) {
    for (const NamedColor& named : kNamed)
        if (sameText(named.name, ident))
            return named.color;
    const auto value = parseNumber(ident);
    if (!value || *value > 0xFFFFFF)
        return std::nullopt;
    return Color{static_cast<std::uint8_t>(*value & 0xFF),
                 static_cast<std::uint8_t>((*value >> 8) & 0xFF),
                 static_cast<std::uint8_t>((*value >> 16) & 0xFF)};
}

} // namespace tobira
