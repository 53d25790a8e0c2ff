// SPDX-License-Identifier: GPL-3.0-or-later
#include "cd_windows/pattern_record.h"

#include "text/cp932_convert.h"

#include <gtest/gtest.h>

namespace tobira {
namespace {

TEST(PatternRecord, KeyAndLineOfTheDocumentedExample) {
    const std::string key = PatternKey("1245120405", 3);
    EXPECT_EQ(key, "12451204053");
    const int tracks[] = {3, 1, 12};
    const std::string text = FormatTrackOrder(tracks) + "." + "Drive mix";
    EXPECT_EQ(PatternRecordLine(key, text), "12451204053=03 01 12 .Drive mix");
    EXPECT_EQ(PatternTextOfLine(PatternRecordLine(key, text)), text);
    EXPECT_THROW(PatternKey("1245120405", 10), std::out_of_range);
    EXPECT_THROW(PatternKey("1245120405", -1), std::out_of_range);
}

TEST(PatternRecord, ReadTrackOrder) {
    const struct {
        const char* name;
        const char* order;
        std::vector<int> tracks;
        bool complete;
    } cases[] = {
        {"as written", "03 01 12 ", {3, 1, 12}, true},
        {"empty", "", {}, true},
        {"last blank missing", "03 01", {3, 1}, true},
        {"a single character left over", "03 01 1", {3, 1}, true},
        {"numbers outside the disc are still taken", "03 99 00 05 ", {3, 99, 0, 5}, true},
        {"a pair that is not a number stops", "03 0x 05 ", {3}, false},
        {"a blank-padded number is not two digits", " 3 04 ", {}, false},
        {"signs are not digits", "-1 04 ", {}, false},
        {"separator is not checked", "03-04+05", {3, 4, 5}, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        auto read = ReadTrackOrder(c.order);
        EXPECT_EQ(read.tracks, c.tracks);
        EXPECT_EQ(read.complete, c.complete);
    }
}

TEST(PatternRecord, ReadTrackOrderTakesAtMostSixtyNumbers) {
    std::string order;
    for (int i = 0; i < 70; ++i)
        order += "07 ";
    order += "xx "; // never reached
    auto read = ReadTrackOrder(order);
    EXPECT_EQ(read.tracks.size(), 60u);
    EXPECT_TRUE(read.complete);
}

TEST(PatternRecord, FormatTrackOrder) {
    const struct {
        const char* name;
        std::vector<int> tracks;
        const char* order;
    } cases[] = {
        {"two digits and a blank each", {3, 1, 12}, "03 01 12 "},
        {"nothing set", {}, ""},
        {"empty entries left out", {0, 5, 0, 0, 60}, "05 60 "},
        {"numbers too wide for the stride left out", {100, 7, -2}, "07 "},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(FormatTrackOrder(c.tracks), c.order);
    }
}

TEST(PatternRecord, SplitPatternText) {
    const struct {
        const char* text;
        const char* order;
        const char* title;
        bool hasFullStop;
    } cases[] = {
        {"03 01 .Drive mix", "03 01 ", "Drive mix", true},
        {"03 .Vol.2. live ", "03 ", "Vol.2. live ", true},
        {"03 01 12 ", "03 01 12 ", "", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        auto parts = SplitPatternText(c.text);
        EXPECT_EQ(parts.order, c.order);
        EXPECT_EQ(parts.title, c.title);
        EXPECT_EQ(parts.hasFullStop, c.hasFullStop);
    }
}

TEST(PatternRecord, PatternTextStartsAtThirteenthByteAndIsCut) {
    const std::string kanji = Utf8ToCp932("曲"); // two bytes
    ASSERT_EQ(kanji.size(), 2u);
    const std::string key = "12451204053=";
    const struct {
        const char* name;
        std::string line;
        std::string text;
    } cases[] = {
        {"shorter than the key", "1245120405", ""},
        {"key and = only", key, ""},
        {"one byte of text", key + "0", "0"},
        // A DiscId of another length shifts the fields; the cut stays at byte 13.
        {"short DiscId", "123453=03 .x", ""},
        {"long DiscId", "1245120405993=03 .x", "3=03 .x"},
        {"999 bytes kept", key + std::string(1200, 'a'), std::string(999, 'a')},
        {"no half kanji at the cut", key + std::string(998, 'a') + kanji + "b",
         std::string(998, 'a')},
        {"whole kanji ending at the cut", key + std::string(997, 'a') + kanji + "b",
         std::string(997, 'a') + kanji},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(PatternTextOfLine(c.line), c.text);
    }
}

} // namespace
} // namespace tobira
