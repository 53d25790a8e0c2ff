// SPDX-License-Identifier: GPL-3.0-or-later
#include "text/search.h"

#include "text/cp932_convert.h"
#include "text/full_width.h"
#include "text/hex.h"
#include "text/upper_case.h"

#include <gtest/gtest.h>

#include <random>

namespace tobira {
namespace {

using test::Hex;
using test::ToHex;

TEST(UpperCaseCp932, FoldsSmallLettersOnly) {
    const struct {
        const char* name;
        const char* text;     // hex
        const char* expected; // hex
    } cases[] = {
        {"ASCII and its neighbours", "60 61 7A 7B 40 41", "60 41 5A 7B 40 41"},
        {"full-width a and z", "82 81 82 9A", "82 60 82 79"},
        {"around full-width a-z", "82 80 82 9B 82 60", "82 80 82 9B 82 60"},
        // A trail byte with a small letter's value is part of another character.
        {"trail bytes that look like a-z", "83 61 88 7A 82 61", "83 61 88 7A 82 61"},
        {"half-width kana", "B6 DE 61", "B6 DE 41"},
        {"lone lead byte at the end", "61 82", "41 82"},
        {"lead byte eats the next byte, whatever it is", "82 61 61", "82 61 41"},
        {"Cyrillic gap byte 84 7F", "84 7F", "84 7F"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(ToHex(UpperCaseCp932(Hex(c.text))), c.expected);
    }
}

TEST(UpperCaseCp932, WholeAlphabets) {
    const struct {
        const char* small;
        const char* capital;
    } cases[] = {
        {"abcdefghijklmnopqrstuvwxyz", "ABCDEFGHIJKLMNOPQRSTUVWXYZ"},
        {"ａｂｃｄｅｆｇｈｉｊｋｌｍｎｏｐｑｒｓｔｕｖｗｘｙｚ",
         "ＡＢＣＤＥＦＧＨＩＪＫＬＭＮＯＰＱＲＳＴＵＶＷＸＹＺ"},
        {"αβγδεζηθικλμνξοπρστυφχψω", "ΑΒΓΔΕΖΗΘΙΚΛΜΝΞΟΠΡΣΤΥΦΧΨΩ"},
        {"абвгдеёжзийклмнопрстуфхцчшщъыьэюя", "АБВГДЕЁЖЗИЙКЛМНОПРСТУФХЦЧШЩЪЫЬЭЮЯ"},
        {"漢字かなカナｶﾅ１２３", "漢字かなカナｶﾅ１２３"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.small);
        const std::string small = Utf8ToCp932(c.small);
        ASSERT_EQ(Cp932ToUtf8(small), c.small); // every letter exists in the code page
        EXPECT_EQ(Cp932ToUtf8(UpperCaseCp932(small)), c.capital);
        EXPECT_EQ(Cp932ToUtf8(UpperCaseCp932(Utf8ToCp932(c.capital))), c.capital);
    }
}

TEST(NormaliseForLooseSearch, HalfAndFullWidthSmallAndCapitalMeet) {
    const std::string midi = Hex("82 6C 82 68 82 63 82 68"); // ＭＩＤＩ
    for (const char* form : {"midi", "MIDI", "Midi", "ｍｉｄｉ", "ＭＩＤＩ", "ｍIdＩ"}) {
        SCOPED_TRACE(form);
        EXPECT_EQ(ToHex(NormaliseForLooseSearch(Utf8ToCp932(form))), ToHex(midi));
    }
    EXPECT_EQ(ToHex(NormaliseForLooseSearch(Utf8ToCp932("ｶﾞｲﾄﾞ"))),
              ToHex(NormaliseForLooseSearch(Utf8ToCp932("ガイド"))));
}

// The normalisation is one pass over the text; it must equal its two steps done one after the
// other, on any bytes.
TEST(NormaliseForLooseSearch, EqualsFullWidthThenUpperCase) {
    std::mt19937 random(2024);
    const unsigned char pool[] = {0x20, 0x40, 0x5C, 0x61, 0x7A, 0x80, 0x81, 0x82, 0x83, 0x84,
                                  0x9A, 0xA2, 0xB3, 0xB6, 0xBF, 0xCA, 0xDE, 0xDF, 0xFC, 0xFD};
    for (int round = 0; round < 3000; ++round) {
        std::string text(random() % 14, '\0');
        for (char& c : text)
            c = static_cast<char>(pool[random() % sizeof pool]);
        ASSERT_EQ(ToHex(NormaliseForLooseSearch(text)), ToHex(UpperCaseCp932(ToFullWidth(text))))
            << ToHex(text);
    }
    const std::string longText(1000, 'a'); // past the short-text buffer
    EXPECT_EQ(NormaliseForLooseSearch(longText), UpperCaseCp932(ToFullWidth(longText)));
    EXPECT_EQ(NormaliseForLooseSearch(longText).size(), 2000u);
}

TEST(ContainsAt, MatchesOnlyAtCharacterBoundaries) {
    const struct {
        const char* name;
        const char* keyword; // hex
        const char* text;    // hex
        bool expected;
    } cases[] = {
        {"empty keyword", "", "41 42", false},
        {"empty text", "41", "", false},
        {"both empty", "", "", false},
        {"keyword equals text", "41 42", "41 42", true},
        {"keyword longer than text", "41 42 43", "41 42", false},
        {"at the end", "43", "41 42 43", true},
        {"at sign vs the 40 of a full-width space", "40", "41 81 40 42", false},
        {"real at sign after a full-width space", "40", "81 40 40", true},
        // ｂ` is 82 82 60; Ａ (82 60) inside it starts on a trail byte.
        {"double-byte keyword straddling characters", "82 60", "82 82 60", false},
        {"the same keyword later at a boundary", "82 60", "82 82 60 82 60", true},
        {"keyword starts on a lead-range trail", "9F 82", "88 9F 82 60", false},
        {"after a run of lead-range characters", "82 60", "88 9F 88 9F 82 60", true},
        {"after a run, shifted by one", "9F 88", "88 9F 88 9F 82 60", false},
        {"half-width kana are single bytes", "DE", "B6 DE", true},
        {"kana byte as a trail", "DE", "81 DE", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(ContainsAt(Hex(c.keyword), Hex(c.text)), c.expected);
    }
}

// Searching many lines at once finds exactly the lines ContainsAt finds, each once.
TEST(LinesContaining, FindsTheLinesContainsAtFinds) {
    const struct {
        const char* name;
        const char* keyword;            // hex
        std::vector<const char*> lines; // hex
        std::vector<std::size_t> expected;
    } cases[] = {
        {"empty keyword", "", {"41", ""}, {}},
        {"no lines", "41", {}, {}},
        {"each matching line once", "41", {"41 41", "42", "41", "", "42 41"}, {0, 2, 4}},
        {"the whole line", "41 42", {"41 42", "41 42"}, {0, 1}},
        {"not across the end of a line", "41 42", {"43 41", "42 43"}, {}},
        {"not across an LF either", "41 0A 42", {"41", "42"}, {}},
        {"a trail-byte hit, then a real one", "82 60", {"82 82 60 82 60", "82 82 60"}, {0}},
        {"a line ending in a lone lead byte", "82", {"41 82", "82 41"}, {0, 1}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        LineBlock block;
        for (const char* line : c.lines)
            block.add(Hex(line));
        ASSERT_EQ(block.size(), c.lines.size());
        for (std::size_t i = 0; i < c.lines.size(); ++i)
            EXPECT_EQ(block.line(i), Hex(c.lines[i]));
        EXPECT_EQ(LinesContaining(Hex(c.keyword), block), c.expected);
    }
}

bool LooseMatch(const char* keyword, const char* title) {
    return ContainsAt(NormaliseForLooseSearch(Utf8ToCp932(keyword)),
                      NormaliseForLooseSearch(Utf8ToCp932(title)));
}

TEST(ContainsAt, LooseAndStrictSearch) {
    const struct {
        const char* keyword;
        const char* title;
        bool loose;
        bool strict;
    } cases[] = {
        {"midi", "ＭＩＤＩ曲集", true, false},
        {"ＭＩＤＩ", "my midi songs", true, false},
        {"ｶﾞｲﾄﾞ", "ガイド・ライン", true, false},
        {"ガイド", "ｶﾞｲﾄﾞ", true, false},
        {"ｶ", "ガイド", false, false},
        {"ガ", "カ゛イド", false, false},
        {"C:\\MIDI", "Ｃ：￥ＭＩＤＩ", true, false},
        {"ｿﾅﾀ", "月光ソナタ", true, false},
        {"ソナタ", "月光ソナタ", true, true},
        {"", "anything", false, false},
        {"abc", "", false, false},
        {"abd", "ABC", false, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.keyword) + " in " + c.title);
        EXPECT_EQ(LooseMatch(c.keyword, c.title), c.loose);
        EXPECT_EQ(ContainsAt(Utf8ToCp932(c.keyword), Utf8ToCp932(c.title)), c.strict);
    }
}

} // namespace
} // namespace tobira
