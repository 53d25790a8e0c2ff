// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings/ini_document.h"

#include <gtest/gtest.h>

#include <optional>
#include <stdexcept>

namespace tobira {
namespace {

TEST(IniDocument, FindsValues) {
    struct Case {
        const char* name;
        std::string file;
        const char* section;
        const char* key;
        std::optional<std::string> expected;
    };
    const Case cases[] = {
        {"crlf", "[BASICDATA]\r\nXPOSITION=12\r\n", "BASICDATA", "XPOSITION", "12"},
        {"lf only", "[BASICDATA]\nXPOSITION=12\nYPOSITION=7\n", "BASICDATA", "YPOSITION", "7"},
        {"no final line end", "[BASICDATA]\r\nXPOSITION=12", "BASICDATA", "XPOSITION", "12"},
        {"key case", "[BASICDATA]\r\nXPOSITION=12\r\n", "BASICDATA", "xposition", "12"},
        {"section case", "[basicdata]\r\nXPOSITION=12\r\n", "BASICDATA", "XPOSITION", "12"},
        {"blanks around =", "[BASICDATA]\r\n  XPOSITION \t=  12 \r\n", "BASICDATA", "XPOSITION",
         "12"},
        {"empty value", "[BASICDATA]\r\nVIEWERTOL=\r\n", "BASICDATA", "VIEWERTOL", ""},
        {"quotes removed", "[BASICDATA]\r\nA=\" x \"\r\n", "BASICDATA", "A", " x "},
        {"lone quote kept", "[BASICDATA]\r\nA=\"x\r\n", "BASICDATA", "A", "\"x"},
        {"equals in value", "[BASICDATA]\r\nA=b=c\r\n", "BASICDATA", "A", "b=c"},
        {"other section", "[OTHER]\r\nXPOSITION=1\r\n[BASICDATA]\r\nXPOSITION=2\r\n", "BASICDATA",
         "XPOSITION", "2"},
        {"key in other section only", "[BASICDATA]\r\nA=1\r\n[OTHER]\r\nB=2\r\n", "BASICDATA", "B",
         std::nullopt},
        {"key before any section", "B=2\r\n[BASICDATA]\r\nA=1\r\n", "BASICDATA", "B", std::nullopt},
        {"comment is no key", "[BASICDATA]\r\n;A=1\r\n", "BASICDATA", "A", std::nullopt},
        {"missing section", "[OTHER]\r\nA=1\r\n", "BASICDATA", "A", std::nullopt},
        {"empty file", "", "BASICDATA", "A", std::nullopt},
        {"first of two", "[BASICDATA]\r\nA=1\r\nA=2\r\n", "BASICDATA", "A", "1"},
        // "]" (5D) and "C" (43) as trail bytes must not end the header or fold in case.
        {"double-byte section", "[\x83\x5D\x83\x43]\r\nA=1\r\n", "\x83\x5D\x83\x43", "A", "1"},
        {"trail byte no letter", "[BASICDATA]\r\n\x83\x43=1\r\n", "BASICDATA", "\x83\x63",
         std::nullopt},
        {"double-byte value", "[BASICDATA]\r\nFONTNAME=\x82\x6C\x82\x72 \x83\x53\r\n", "BASICDATA",
         "FONTNAME", "\x82\x6C\x82\x72 \x83\x53"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(IniDocument::parse(c.file).value(c.section, c.key), c.expected);
    }
}

TEST(IniDocument, WritesKeys) {
    struct Case {
        const char* name;
        std::string before;
        const char* key;
        const char* value;
        std::string after;
    };
    const Case cases[] = {
        {"empty file", "", "XPOSITION", "5", "[BASICDATA]\r\nXPOSITION=5\r\n"},
        {"replace in place keeps the order", "[BASICDATA]\r\nA=1\r\nXPOSITION=12\r\nB=2\r\n",
         "XPOSITION", "5", "[BASICDATA]\r\nA=1\r\nXPOSITION=5\r\nB=2\r\n"},
        {"other case keeps one line", "[BASICDATA]\r\nxposition = 12\r\nB=2\r\n", "XPOSITION", "5",
         "[BASICDATA]\r\nXPOSITION=5\r\nB=2\r\n"},
        {"append at section end before next section",
         "[BASICDATA]\r\nA=1\r\n\r\n; next\r\n[OTHER]\r\nC=3\r\n", "B", "2",
         "[BASICDATA]\r\nA=1\r\nB=2\r\n\r\n; next\r\n[OTHER]\r\nC=3\r\n"},
        {"append to empty section", "[BASICDATA]\r\n[OTHER]\r\nC=3\r\n", "B", "2",
         "[BASICDATA]\r\nB=2\r\n[OTHER]\r\nC=3\r\n"},
        {"append to last section", "[BASICDATA]\r\nA=1\r\n", "B", "2",
         "[BASICDATA]\r\nA=1\r\nB=2\r\n"},
        {"file without the section", "; settings\r\n[OTHER]\r\nA=1\r\n", "B", "2",
         "; settings\r\n[OTHER]\r\nA=1\r\n[BASICDATA]\r\nB=2\r\n"},
        {"no final line end", "[OTHER]\r\nA=1", "B", "2",
         "[OTHER]\r\nA=1\r\n[BASICDATA]\r\nB=2\r\n"},
        {"no final line end in section", "[BASICDATA]\r\nA=1", "B", "2",
         "[BASICDATA]\r\nA=1\r\nB=2\r\n"},
        {"untouched lines keep LF", "[OTHER]\nA=1\n[BASICDATA]\nX=1\nY=2\n", "X", "9",
         "[OTHER]\nA=1\n[BASICDATA]\nX=9\r\nY=2\n"},
        {"same key in other section untouched", "[OTHER]\r\nB=7\r\n[BASICDATA]\r\n", "B", "2",
         "[OTHER]\r\nB=7\r\n[BASICDATA]\r\nB=2\r\n"},
        {"empty value", "", "A", "", "[BASICDATA]\r\nA=\r\n"},
        {"blanks kept by quotes", "", "A", " x", "[BASICDATA]\r\nA=\" x\"\r\n"},
        {"quoted value kept by quotes", "", "A", "\"q\"", "[BASICDATA]\r\nA=\"\"q\"\"\r\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        IniDocument doc = IniDocument::parse(c.before);
        doc.setValue("BASICDATA", c.key, c.value);
        EXPECT_EQ(doc.bytes(), c.after);
        EXPECT_EQ(IniDocument::parse(doc.bytes()).value("BASICDATA", c.key), c.value);
    }
}

TEST(IniDocument, UntouchedFileRoundTripsByteForByte) {
    const std::string file = "; comment\n\n[A]\r\nx = 1 \r\n  [BASICDATA]  \r\nnot an entry\r\nK=v";
    EXPECT_EQ(IniDocument::parse(file).bytes(), file);
}

TEST(IniDocument, RefusesWhatWouldBreakTheFile) {
    struct Case {
        const char* name;
        std::string key;
        std::string value;
    };
    const Case cases[] = {
        {"line break in value", "A", "x\r\nB=1"},
        {"LF in value", "A", "x\nB"},
        {"empty key", "", "1"},
        {"= in key", "A=B", "1"},
        {"section-like key", "[A]", "1"},
        {"comment key", ";A", "1"},
        {"blank around key", " A", "1"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        IniDocument doc = IniDocument::parse("[BASICDATA]\r\nA=0\r\n");
        EXPECT_THROW(doc.setValue("BASICDATA", c.key, c.value), std::invalid_argument);
        EXPECT_EQ(doc.bytes(), "[BASICDATA]\r\nA=0\r\n");
    }
}

// A save of many keys at once must leave the file exactly as the same keys written one by one,
// and a read of a whole section must agree with value(): the one-pass paths are the ones a
// large file takes.
TEST(IniDocument, BatchWritesAndSectionReadsAgreeWithSingleKeys) {
    const std::vector<std::pair<std::string, std::string>> values = {
        {"XPOSITION", "10"}, {"newkey", " spaced "}, {"a", "1"}, {"NEWKEY", "again"}, {"Z", ""}};
    const char* files[] = {
        "",
        "no end",
        "[BASICDATA]\r\nA=0\r\nxposition=5\r\n\r\n; lead\r\n[Other]\r\nA=9",
        "[other]\nK=1\n[basicdata]\nK=2\n[BASICDATA]\nXPOSITION=7\n",
        "[BASICDATA]",
    };
    for (const char* file : files) {
        SCOPED_TRACE(file);
        IniDocument one = IniDocument::parse(file);
        for (const auto& [key, value] : values)
            one.setValue("BASICDATA", key, value);
        IniDocument batch = IniDocument::parse(file);
        batch.setValues("BASICDATA", values);
        EXPECT_EQ(batch.bytes(), one.bytes());

        const std::string bytes = batch.bytes();
        const auto section = IniDocument::indexSection(bytes, "basicdata");
        for (const char* key : {"XPOSITION", "NewKey", "A", "z", "K", "missing"}) {
            const auto found = section.find(key);
            EXPECT_EQ(found == section.end() ? std::nullopt
                                             : std::optional(IniDocument::Unquoted(found->second)),
                      batch.value("BASICDATA", key))
                << key;
        }
    }
}

// Many keys, each also written later in another case and with a double-byte name: the index
// grows through many sizes and still finds every key's first value, and nothing else.
TEST(IniDocument, SectionIndexOfManyKeysKeepsTheFirstOfEqualNames) {
    std::string file = "[BASICDATA]\r\n";
    for (int i = 0; i < 20000; ++i)
        file += "key" + std::to_string(i) + "=" + std::to_string(i) + "\r\n\x83\x4c" +
                std::to_string(i) + "=dbcs\r\n";
    for (int i = 0; i < 20000; i += 7)
        file += "KEY" + std::to_string(i) + "=later\r\n";
    const auto index = IniDocument::indexSections(file).at("BASICDATA");
    EXPECT_EQ(index.size(), 40000u);
    for (int i = 0; i < 20000; i += 13) {
        const auto found = index.find("Key" + std::to_string(i));
        ASSERT_NE(found, index.end()) << i;
        EXPECT_EQ(found->second, std::to_string(i));
        // 0x83 0x4C is a double-byte character; its second byte is no ASCII letter to fold.
        EXPECT_EQ(index.find("\x83\x6c" + std::to_string(i)), index.end());
    }
    EXPECT_EQ(index.find("key20000"), index.end());
}

} // namespace
} // namespace tobira
