// SPDX-License-Identifier: GPL-3.0-or-later
#include "text/cp932_convert.h"

#include "text/hex.h"

#include <gtest/gtest.h>

#include <random>

namespace tobira {
namespace {

using test::Hex;
using test::ToHex;

TEST(Cp932Convert, RoundTripsExactBytes) {
    const struct {
        const char* utf8;
        const char* cp932; // hex
    } cases[] = {
        {"", ""},
        {"ABC 123", "41 42 43 20 31 32 33"},
        {"漢字", "8A BF 8E 9A"},
        {"～", "81 60"},
        {"－", "81 7C"},
        {"￥", "81 8F"},
        {"ｶﾞｲﾄﾞ", "B6 DE B2 C4 DE"},
        {"　", "81 40"},
        {"①Ⅰ", "87 40 87 54"}, // NEC row 13
        {"\\~", "5C 7E"},      // ASCII, not yen sign and overline
        {"\r\n", "0D 0A"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.utf8);
        EXPECT_EQ(ToHex(Utf8ToCp932(c.utf8)), c.cp932);
        const auto exact = TryUtf8ToCp932(c.utf8);
        ASSERT_TRUE(exact.has_value());
        EXPECT_EQ(ToHex(*exact), c.cp932);
        EXPECT_EQ(Cp932ToUtf8(Hex(c.cp932)), c.utf8);
    }
}

TEST(Cp932Convert, UndefinedBytesBecomeReplacementCharacters) {
    const struct {
        const char* name;
        const char* cp932; // hex
        const char* utf8;
    } cases[] = {
        {"A0", "41 A0 42", "A\uFFFDB"},
        {"FD", "FD", "\uFFFD"},
        {"FF FE", "FF FE", "\uFFFD\uFFFD"},
        {"unassigned double-byte 85 40", "41 85 40 42", "A\uFFFDB"},
        {"lone lead byte at the end", "41 81", "A\uFFFD"},
        // The line break after a broken lead byte is text of its own, not its trail.
        {"lead byte before a line break", "81 0A 41", "\uFFFD\nA"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(Cp932ToUtf8(Hex(c.cp932)), c.utf8);
    }
}

TEST(Cp932Convert, RandomBytesAlwaysGiveValidUtf8) {
    std::mt19937 random(7);
    for (int round = 0; round < 500; ++round) {
        std::string bytes(random() % 40, '\0');
        for (char& c : bytes)
            c = static_cast<char>(random());
        std::string utf8 = Cp932ToUtf8(bytes);
        // Apart from the replacement characters, the result is valid UTF-8 of characters that
        // the code page holds, so it converts back without a failure.
        for (auto at = utf8.find("\uFFFD"); at != std::string::npos; at = utf8.find("\uFFFD"))
            utf8.erase(at, 3);
        ASSERT_TRUE(TryUtf8ToCp932(utf8).has_value()) << ToHex(bytes);
    }
}

TEST(Cp932Convert, CharactersOutsideTheCodePage) {
    const struct {
        const char* utf8;
        const char* lossy; // hex
    } cases[] = {
        {"é", "3F"},
        {"\U0001F3B5", "3F"}, // an emoji: one question mark for its four bytes
        {"aé b", "61 3F 20 62"},
        {"\xC3", "3F"}, // cut-off UTF-8
        {"a\xFF"
         "b",
         "61 3F 62"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(ToHex(c.utf8));
        EXPECT_FALSE(TryUtf8ToCp932(c.utf8).has_value());
        EXPECT_EQ(ToHex(Utf8ToCp932(c.utf8)), c.lossy);
    }
}

TEST(Cp932Convert, Paths) {
    const std::string name = Hex("83 4B 83 43 83 68 2F 8B C8 2E 4D 49 44"); // ガイド/曲.MID
    EXPECT_EQ(PathFromCp932(name).string(), "ガイド/曲.MID");
    EXPECT_EQ(Cp932FromPath(PathFromCp932(name)), name);
    EXPECT_FALSE(Cp932FromPath("caf\xC3\xA9.mid").has_value());
}

} // namespace
} // namespace tobira
