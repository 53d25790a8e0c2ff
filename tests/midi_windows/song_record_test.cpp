// SPDX-License-Identifier: GPL-3.0-or-later
#include "midi_windows/song_record.h"

#include <gtest/gtest.h>

#include <climits>

namespace tobira {
namespace {

TEST(SplitListLine, TakesAFieldOnlyWhenATabFollowsItExceptFeel) {
    const std::string longPath = "/home/user/" + std::string(400, 'x') + "/song.mid";
    const struct {
        std::string line;
        SongRecord expected;
    } cases[] = {
        {"", {}},
        {"no tab at all", {}},
        {"Title", {}},
        {"T\t/p.mid", {"T", "No Path", "+0", "1"}},
        {"T\t/p.mid\t", {"T", "/p.mid", "+0", "1"}},
        {"T\t/p.mid\t+2", {"T", "/p.mid", "+0", "1"}},
        {"T\t/p.mid\t+2\t", {"T", "/p.mid", "+2", "1"}},
        {"T\t/p.mid\t+2\t0", {"T", "/p.mid", "+2", "0"}},
        {"T\t/p.mid\t-3\t0\tfifth\tsixth", {"T", "/p.mid", "-3", "0"}},
        {"\t\t\t", {"", "", "", "1"}},
        {"!1 New\t/a.mid\t+0\t3", {"!1 New", "/a.mid", "+0", "3"}},
        {"T\t/p.mid\tx\ty", {"T", "/p.mid", "x", "y"}}, // not repaired here
        // A long path keeps its later fields: the line is never cut.
        {"Long\t" + longPath + "\t-1\t2", {"Long", longPath, "-1", "2"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.line);
        EXPECT_EQ(SplitListLine(c.line), c.expected);
    }
}

TEST(SplitListLine, RoundTripsWhatJoinWrites) {
    SongRecord record{"!2 \x83\x65\x83\x58\x83\x67", "/m/\x8a\xbf.mid", "-5", "2"};
    EXPECT_EQ(JoinListLine(record), "!2 \x83\x65\x83\x58\x83\x67\t/m/\x8a\xbf.mid\t-5\t2");
    EXPECT_EQ(SplitListLine(JoinListLine(record)), record);
}

TEST(ParseListNumber, AcceptsSignAndDigitsOnly) {
    const struct {
        const char* text;
        std::optional<int> value;
    } cases[] = {
        {"+0", 0},
        {"-0", 0},
        {"+5", 5},
        {"-5", -5},
        {"3", 3},
        {"", {}},
        {"+", {}},
        {"-", {}},
        {"x", {}},
        {"1.5", {}},
        {" 1", {}},
        {"1 ", {}},
        {"+-1", {}},
        {"2147483647", INT_MAX},
        {"-2147483648", INT_MIN},
        {"2147483648", {}},
        {"99999999999999999999", {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(ParseListNumber(c.text), c.value);
    }
}

} // namespace
} // namespace tobira
