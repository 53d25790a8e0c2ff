// SPDX-License-Identifier: GPL-3.0-or-later
#include "text/cp932_chars.h"

#include "text/hex.h"
#include "text/trim.h"

#include <gtest/gtest.h>

#include <limits>
#include <random>
#include <stdexcept>
#include <vector>

namespace tobira {
namespace {

using test::Hex;
using test::ToHex;

TEST(IsTrailByte, FindsTheSecondByteOfEachCharacter) {
    const struct {
        const char* name;
        const char* text; // hex
        long long index;
        bool expected;
    } cases[] = {
        {"first byte, even if it looks like a trail", "40 41", 1, false},
        {"first byte that is a lead byte", "81 40", 1, false},
        {"0x40 after 0x81 is a trail", "81 40 40", 2, true},
        {"the at sign after a full-width space", "81 40 40", 3, false},
        {"ASCII", "41 42 43", 2, false},
        // 亜亜 (88 9F 88 9F): every byte is a lead-byte value; only pairing tells them apart.
        {"run of lead values, 2nd", "88 9F 88 9F 41", 2, true},
        {"run of lead values, 3rd", "88 9F 88 9F 41", 3, false},
        {"run of lead values, 4th", "88 9F 88 9F 41", 4, true},
        {"after the run", "88 9F 88 9F 41", 5, false},
        // ａａ (82 81 82 81): the trail 81 is itself a lead value.
        {"full-width small letters", "82 81 82 81", 3, false},
        {"full-width small letters, last", "82 81 82 81", 4, true},
        {"half-width kana are single bytes", "B6 DE 41", 2, false},
        {"lone lead byte at the end", "41 81", 2, false},
        {"lead then non-trail value still pairs", "81 0A 41", 2, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(IsTrailByte(Hex(c.text), c.index), c.expected);
    }
}

TEST(IsTrailByte, IndexOutsideTheTextFails) {
    const struct {
        const char* text;
        long long index;
    } cases[] = {{"41 42", 0}, {"41 42", -1}, {"41 42", 3}, {"", 1}, {"", 0}};
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.text) + " @ " + std::to_string(c.index));
        try {
            IsTrailByte(Hex(c.text), c.index);
            ADD_FAILURE() << "no exception";
        } catch (const std::exception& e) {
            EXPECT_STREQ(e.what(), "Illegal Index");
        }
    }
}

// Reference: walk forward from the start, a lead byte taking the next byte with it.
std::vector<bool> TrailMapByWalking(const std::string& text) {
    std::vector<bool> trail(text.size(), false);
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (IsLeadByte(static_cast<unsigned char>(text[i])) && i + 1 < text.size())
            trail[++i] = true;
    }
    return trail;
}

TEST(IsTrailByte, AgreesWithAForwardWalkOnRandomText) {
    std::mt19937 random(31);
    const unsigned char pool[] = {0x20, 0x40, 0x41, 0x7F, 0x80, 0x81, 0x88, 0x9F,
                                  0xA0, 0xB6, 0xDF, 0xE0, 0xEF, 0xFC, 0xFD};
    for (int round = 0; round < 2000; ++round) {
        std::string text(1 + random() % 16, '\0');
        for (char& c : text)
            c = static_cast<char>(pool[random() % sizeof pool]);
        const auto expected = TrailMapByWalking(text);
        for (std::size_t i = 0; i < text.size(); ++i)
            ASSERT_EQ(IsTrailByte(text, static_cast<long long>(i + 1)), expected[i])
                << ToHex(text) << " @ " << i + 1;
    }
}

TEST(CopyChars, CountsCharactersNotBytes) {
    constexpr long long kMax = std::numeric_limits<long long>::max();
    const std::string abc = Hex("82 60 42 82 62"); // ＡBＣ
    const struct {
        const char* name;
        std::string text;
        long long first;
        long long count;
        const char* expected; // hex
    } cases[] = {
        {"from 2, count 999", abc, 2, 999, "42 82 62"},
        {"first character", abc, 1, 1, "82 60"},
        {"last character", abc, 3, 1, "82 62"},
        {"whole text", abc, 1, 3, "82 60 42 82 62"},
        {"past the end", abc, 4, 1, ""},
        {"count zero", abc, 1, 0, ""},
        {"negative count", abc, 1, -2, ""},
        {"numbering before the text", abc, 0, 2, "82 60"},
        {"entirely before the text", abc, -5, 3, ""},
        {"huge count does not wrap", abc, 2, kMax, "42 82 62"},
        {"huge first", abc, kMax, kMax, ""},
        {"empty text", "", 1, 5, ""},
        {"lone lead byte at the end", Hex("41 81"), 2, 1, "81"},
        {"trail in lead range", Hex("88 9F 88 9F 41"), 2, 1, "88 9F"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(ToHex(CopyChars(c.text, c.first, c.count)), c.expected);
    }
}

TEST(CopyChars, PiecesJoinToTheWholeText) {
    // How the title scroll uses it: character by character, never half a character.
    const std::string text = Hex("82 60 42 88 9F 20 B6 DE 81 40 7A 81");
    std::string joined;
    for (long long i = 1; i <= 20; ++i)
        joined += CopyChars(text, i, 1);
    EXPECT_EQ(ToHex(joined), ToHex(text));
    EXPECT_EQ(ToHex(CopyChars(text, 1, 4) + CopyChars(text, 5, 100)), ToHex(text));
}

TEST(TrimSpaces, RemovesBothKindsOfSpaceAtTheEnds) {
    const struct {
        const char* name;
        const char* text;  // hex
        const char* left;  // expected, hex
        const char* right; // expected, hex
        const char* both;  // expected, hex
    } cases[] = {
        {"empty", "", "", "", ""},
        {"full then half at each end", "81 40 20 41 42 20 81 40", "41 42 20 81 40",
         "81 40 20 41 42", "41 42"},
        {"only spaces", "20 81 40 20 81 40", "", "", ""},
        {"inner spaces stay", "41 20 81 40 42", "41 20 81 40 42", "41 20 81 40 42",
         "41 20 81 40 42"},
        {"trailing at sign stays", "41 42 43 40", "41 42 43 40", "41 42 43 40", "41 42 43 40"},
        {"leading at sign stays", "40 41", "40 41", "40 41", "40 41"},
        // ＝ (81 81) then an at sign: 81 40 at the end is not a full-width space.
        {"81 40 across characters", "81 81 40", "81 81 40", "81 81 40", "81 81 40"},
        {"space pair after a lead-range trail", "88 9F 81 40", "88 9F 81 40", "88 9F", "88 9F"},
        // 82 20 is one double-byte character: its 20 is not a space.
        {"0x20 as a trail byte", "82 20", "82 20", "82 20", "82 20"},
        {"lone lead byte at the end", "20 41 81", "41 81", "20 41 81", "41 81"},
        {"lone 0x81 only", "81", "81", "81", "81"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string text = Hex(c.text);
        EXPECT_EQ(ToHex(TrimLeftSpaces(text)), c.left);
        EXPECT_EQ(ToHex(TrimRightSpaces(text)), c.right);
        EXPECT_EQ(ToHex(TrimSpaces(text)), c.both);
    }
}

} // namespace
} // namespace tobira
