// SPDX-License-Identifier: GPL-3.0-or-later
// Documents beside songs come in the encodings Linux and older Windows editors write.
#include "text/document_text.h"

#include <gtest/gtest.h>

using namespace tobira;

TEST(DocumentText, EachEncodingComesBackAsTheTextItHolds) {
    const std::string kana = "\xE3\x81\x82"; // あ in UTF-8
    struct Case {
        const char* what;
        std::string bytes;
        std::string text;
        TextEncoding encoding;
    } cases[] = {
        {"UTF-8 without a mark", "a" + kana + "\r\n", "a" + kana + "\r\n", TextEncoding::Utf8},
        {"UTF-8 with a mark",
         "\xEF\xBB\xBF"
         "a\r\n",
         "a\r\n", TextEncoding::Utf8},
        {"UTF-16 LE",
         std::string("\xFF\xFE"
                     "a\0\x42\x30",
                     6),
         "a" + kana, TextEncoding::Utf8},
        {"UTF-16 BE, a pair", std::string("\xFE\xFF\xD8\x3D\xDE\x00", 6), "\xF0\x9F\x98\x80",
         TextEncoding::Utf8},
        {"UTF-16, lone surrogate and odd byte", std::string("\xFF\xFE\x00\xD8x", 5),
         "\xEF\xBF\xBD\xEF\xBF\xBD", TextEncoding::Utf8},
        {"Shift-JIS", "\x82\xa0\r\n", "\x82\xa0\r\n", TextEncoding::Cp932},
        {"Shift-JIS that starts like UTF-8", "\xE3\x81\x82\x82\xa0", "\xE3\x81\x82\x82\xa0",
         TextEncoding::Cp932},
        {"overlong UTF-8 is no UTF-8", "\xC0\xAF", "\xC0\xAF", TextEncoding::Cp932},
        {"ASCII", "plain", "plain", TextEncoding::Cp932},
    };
    for (const Case& c : cases) {
        const DocumentText document = DecodeDocument(c.bytes);
        EXPECT_EQ(document.text, c.text) << c.what;
        EXPECT_EQ(document.encoding, c.encoding) << c.what;
    }
}
