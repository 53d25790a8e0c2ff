// SPDX-License-Identifier: GPL-3.0-or-later
#include "text/full_width.h"

#include "text/cp932_convert.h"
#include "text/hex.h"

#include <gtest/gtest.h>

#include <random>

namespace tobira {
namespace {

using test::Hex;
using test::ToHex;

struct ByteCase {
    const char* name;
    const char* input;    // hex
    const char* expected; // hex
};

TEST(ToFullWidth, ConvertsByteExactly) {
    const ByteCase cases[] = {
        {"empty", "", ""},
        {"letters and digits Abc123", "41 62 63 31 32 33", "82 60 82 82 82 83 82 50 82 51 82 52"},
        {"half-width space", "20", "81 40"},
        {"[CD] gets corner brackets", "5B 43 44 5D", "81 75 82 62 82 63 81 76"},
        {"C:\\MIDI gets yen sign", "43 3A 5C 4D 49 44 49",
         "82 62 81 46 81 8F 82 6C 82 68 82 63 82 68"},
        {"tilde is overline", "7E", "81 50"},
        {"ｶﾞｷﾞﾊﾟﾎﾟ folds the marks", "B6 DE B7 DE CA DF CE DF", "83 4B 83 4D 83 70 83 7C"},
        {"ﾀﾞ crosses the 5F column", "C0 DE", "83 5F"},
        {"ﾊﾞ voiced", "CA DE", "83 6F"},
        {"ｳﾞ has no combined form", "B3 DE", "83 45 81 4A"},
        {"ｱﾟ has no combined form", "B1 DF", "83 41 81 4B"},
        // Any kana that takes a mark adds 2 for ﾟ, so ｶﾟ gives キ (a combination nobody writes).
        {"ｶﾟ gives the code + 2", "B6 DF", "83 4C"},
        {"ﾄﾟ likewise gives the code + 2", "C4 DF", "83 69"},
        {"ﾞ alone", "DE", "DE"},
        {"ﾟ after a letter", "41 DF", "82 60 DF"},
        {"ｰﾞ: long mark then lone ﾞ", "B0 DE", "81 5B DE"},
        {"kana at the very end", "B6", "83 4A"},
        {"｢ and ｣ stay half-width", "A2 41 A3", "A2 82 60 A3"},
        {"half-width punctuation ｡､･", "A1 A4 A5", "81 42 81 41 81 45"},
        {"controls, DEL, 80, A0, FD-FF unchanged", "00 09 0D 0A 7F 80 A0 FD FE FF",
         "00 09 0D 0A 7F 80 A0 FD FE FF"},
        // The second byte of a double-byte character is never converted on its own.
        {"full-width space, not an at sign", "81 40", "81 40"},
        {"trail bytes that look like ASCII", "83 5C 82 61 95 5C", "83 5C 82 61 95 5C"},
        {"trail byte that looks like kana", "81 B6 81 DE", "81 B6 81 DE"},
        {"lone lead byte at the end", "41 81", "82 60 81"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(ToHex(ToFullWidth(Hex(c.input))), c.expected);
    }
}

TEST(ToFullWidth, SymbolTable) {
    // The full-width form of each symbol, written as text so the bytes are checked against the
    // code page's own mapping rather than against a second copy of the same table.
    const struct {
        char half;
        const char* full;
    } cases[] = {
        {' ', "　"}, {'!', "！"},  {'"', "”"},  {'#', "＃"}, {'$', "＄"}, {'%', "％"}, {'&', "＆"},
        {'\'', "’"}, {'(', "（"},  {')', "）"}, {'=', "＝"}, {'`', "‘"},  {'|', "｜"}, {'-', "－"},
        {'^', "＾"}, {'\\', "￥"}, {'~', "￣"}, {'{', "｛"}, {'@', "＠"}, {'[', "「"}, {'+', "＋"},
        {'*', "＊"}, {'}', "｝"},  {';', "；"}, {':', "："}, {']', "」"}, {'<', "＜"}, {'>', "＞"},
        {'?', "？"}, {'_', "＿"},  {',', "，"}, {'.', "．"}, {'/', "／"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(1, c.half));
        const std::string out = ToFullWidth(std::string(1, c.half));
        EXPECT_EQ(out.size(), 2u);
        EXPECT_EQ(Cp932ToUtf8(out), c.full);
    }
}

TEST(ToFullWidth, EveryKanaAndEveryMarkedKana) {
    const std::string half =
        Utf8ToCp932("ｦｧｨｩｪｫｬｭｮｯｱｲｳｴｵｶｷｸｹｺｻｼｽｾｿﾀﾁﾂﾃﾄﾅﾆﾇﾈﾉﾊﾋﾌﾍﾎﾏﾐﾑﾒﾓﾔﾕﾖﾗﾘﾙﾚﾛﾜﾝｰ");
    EXPECT_EQ(Cp932ToUtf8(ToFullWidth(half)),
              "ヲァィゥェォャュョッアイウエオカキクケコサシスセソタチツテトナニヌネノハヒフヘホマミ"
              "ムメモヤユヨラリルレロワンー");

    const struct {
        const char* half;
        const char* full;
    } marked[] = {
        {"ｶﾞｷﾞｸﾞｹﾞｺﾞｻﾞｼﾞｽﾞｾﾞｿﾞﾀﾞﾁﾞﾂﾞﾃﾞﾄﾞ", "ガギグゲゴザジズゼゾダヂヅデド"},
        {"ﾊﾞﾋﾞﾌﾞﾍﾞﾎﾞﾊﾟﾋﾟﾌﾟﾍﾟﾎﾟ", "バビブベボパピプペポ"},
        {"ｶﾞｲﾄﾞ", "ガイド"},
        {"ﾅﾞﾏﾟｦﾞ", "ナ゛マ゜ヲ゛"},
    };
    for (const auto& m : marked) {
        SCOPED_TRACE(m.full);
        EXPECT_EQ(Cp932ToUtf8(ToFullWidth(Utf8ToCp932(m.half))), m.full);
    }
}

TEST(ToFullWidth, AlreadyFullWidthTextIsUnchanged) {
    for (const char* utf8 : {"ガイド　ＭＩＤＩ「曲」", "漢字　表示", "＠＿～－￥", "ｱ"}) {
        const std::string full = ToFullWidth(Utf8ToCp932(utf8));
        EXPECT_EQ(ToFullWidth(full), full) << utf8;
    }
}

// On any bytes at all: no read past the end, no split character, and a second pass changes
// nothing (it would, if a trail byte of the first result had been treated as a character).
TEST(ToFullWidth, RandomBytesAreStable) {
    std::mt19937 random(932);
    const unsigned char pool[] = {0x20, 0x40, 0x41, 0x5C, 0x61, 0x7E, 0x81, 0x82, 0x9F, 0xA0,
                                  0xA2, 0xB3, 0xB6, 0xCA, 0xDE, 0xDF, 0xE0, 0xFC, 0xFD};
    for (int round = 0; round < 2000; ++round) {
        std::string text(random() % 12, '\0');
        for (char& c : text)
            c = static_cast<char>(pool[random() % sizeof pool]);
        const std::string once = ToFullWidth(text);
        ASSERT_LE(once.size(), text.size() * 2);
        ASSERT_EQ(ToFullWidth(once), once) << ToHex(text);
    }
}

} // namespace
} // namespace tobira
