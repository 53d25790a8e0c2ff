// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings/ini_values.h"

#include <gtest/gtest.h>

namespace tobira {
namespace {

TEST(ParseIniInteger, DecimalHexAndNonNumbers) {
    constexpr int kFallback = -77;
    struct Case {
        const char* text;
        int expected;
    };
    const Case cases[] = {
        {"30", 30},
        {"-1", -1},
        {"+5", 5},
        {" 12 ", 12},
        {"\t12", 12},
        {"0", 0},
        {"007", 7},
        {"2147483647", 2147483647},
        {"-2147483648", -2147483647 - 1},
        {"0x64", 100},
        {"0X64", 100},
        {"0xff", 255},
        {"0x7FFFFFFF", 2147483647},
        {"0xFFFFFFFF", -1},
        {"0x", kFallback},
        {"0X", kFallback},
        {"0xZZ", kFallback},
        {"0x64z", kFallback},
        {"0x-1", kFallback},
        {"0x100000000", kFallback},
        {"abc", kFallback},
        {"", kFallback},
        {"   ", kFallback},
        {"12abc", kFallback},
        {"1 2", kFallback},
        {"-", kFallback},
        {"+", kFallback},
        {"+-1", kFallback},
        {"--1", kFallback},
        {"1.5", kFallback},
        {"2147483648", kFallback},
        {"-2147483649", kFallback},
        {"99999999999999999999", kFallback},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(ParseIniInteger(c.text, kFallback), c.expected);
    }
}

TEST(LimitIniString, CutsAtWholeCharacters) {
    const std::string ascii(1100, 'a');
    const std::string kanji = "\x8A\xBF"; // one double-byte character
    struct Case {
        const char* name;
        std::string text;
        std::size_t expectedSize;
    };
    const Case cases[] = {
        {"short", "abc", 3},
        {"exactly the limit", std::string(1023, 'a'), 1023},
        {"over the limit", ascii, 1023},
        {"double-byte ends at the limit", std::string(1021, 'a') + kanji + "b", 1023},
        {"double-byte across the limit", std::string(1022, 'a') + kanji, 1022},
        {"half-width kana is one byte", std::string(1022, 'a') + "\xB1\xB1", 1023},
        {"only double-byte",
         [&] {
             std::string s;
             for (int i = 0; i < 600; ++i)
                 s += kanji;
             return s;
         }(),
         1022},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::string cut = LimitIniString(c.text);
        EXPECT_EQ(cut.size(), c.expectedSize);
        EXPECT_EQ(cut, c.text.substr(0, c.expectedSize));
    }
}

} // namespace
} // namespace tobira
