// SPDX-License-Identifier: GPL-3.0-or-later
#include "text/list_collation.h"
#include "midi_windows/list_file.h"
#include "files/whole_file.h"
#include "support/temp_dir.h"
#include "text/cp932_convert.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <random>
#include <sys/stat.h>
#include <system_error>

namespace tobira {
namespace {

using Lines = std::vector<std::string>;

std::string sjis(const char* utf8) {
    return Utf8ToCp932(utf8);
}

TEST(SplitListText, EndsLinesAtCrLfOrCrLfAndTextAtNul) {
    const struct {
        std::string bytes;
        Lines lines;
    } cases[] = {
        {"", {}},
        {"a", {"a"}},
        {"a\r\n", {"a"}},
        {"a\r\nb\r\n", {"a", "b"}},
        {"a\rb\nc", {"a", "b", "c"}},
        {"a\n\rb", {"a", "", "b"}}, // LF then CR are two line ends
        {"a\r\n\r\nb\r\n", {"a", "", "b"}},
        {"\r\n", {""}},
        {"a\r\nb", {"a", "b"}},
        {std::string("a\r\nb\0c\r\nd", 9), {"a", "b"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.bytes);
        EXPECT_EQ(SplitListText(c.bytes), c.lines);
    }
}

TEST(JoinListText, PutsCrLfAfterEveryLine) {
    EXPECT_EQ(JoinListText({}), "");
    EXPECT_EQ(JoinListText({"a", "", "b"}), "a\r\n\r\nb\r\n");
    EXPECT_EQ(SplitListText(JoinListText({"a", "", "b"})), (Lines{"a", "", "b"}));
}

// The order of the sort keys, with the bytes as the final tie-break.
int keyThenBytes(const std::string& a, const std::string& b) {
    int r = ListCollationKey(a).compare(ListCollationKey(b));
    return r != 0 ? r : a.compare(b);
}

// Each row must sort strictly before the next.
TEST(ListCollation, KeepsTheOrderThePlayerReliesOn) {
    const Lines ascending = {
        "",
        "\t/untitled.mid",
        "!1 B\t/b.mid\t+0\t1",
        "!1 beta\t/b.mid\t+0\t1", // case ignored: "B" + TAB before "BE"
        "!1 z\t/z.mid\t+0\t1",
        "!2 a\t/a.mid\t+0\t1",
        "!3 A\t/a.mid\t+0\t1",
        " space first\t/s.mid", // other symbols after "!"
        "#1\t/h.mid",
        "(live)\t/l.mid",
        sjis("「括弧」\t/k.mid"),
        "1999\t/n.mid",
        sjis("２０００\t/n.mid"), // full-width digits among the digits
        "a\t/a.mid",
        "A\t/b.mid", // case ignored: the path decides
        "ab\t/a.mid",
        sjis("ＡＢＣ\t/a.mid"),
        "abd\t/a.mid",
        "Zebra\t/z.mid",
        sjis("Ωmega\t/o.mid"),
        sjis("あいうえお\t/k.mid"),
        sjis("カキクケコ\t/k.mid"),
        sjis("さくら\t/k.mid"),
        sjis("ｻｸﾗ\t/k.mid"), // half-width katakana with the kana, after equal full-width ones
        sjis("愛\t/k.mid"),
        sjis("桜\t/k.mid"),
    };
    for (std::size_t i = 0; i + 1 < ascending.size(); ++i) {
        SCOPED_TRACE(Cp932ToUtf8(ascending[i]) + " < " + Cp932ToUtf8(ascending[i + 1]));
        EXPECT_LT(CompareListLines(ascending[i], ascending[i + 1]), 0);
        EXPECT_GT(CompareListLines(ascending[i + 1], ascending[i]), 0);
        EXPECT_LT(keyThenBytes(ascending[i], ascending[i + 1]), 0);
    }
    for (const auto& line : ascending)
        EXPECT_EQ(CompareListLines(line, line), 0);

    Lines shuffled = ascending;
    std::mt19937 rng(7);
    for (int round = 0; round < 20; ++round) {
        std::shuffle(shuffled.begin(), shuffled.end(), rng);
        SortListLines(shuffled);
        ASSERT_EQ(shuffled, ascending);
    }
}

// Long lists are sorted by weighing a few characters at a time; the result must be the order
// of the full comparison whatever the lines share, wherever they end and however often a line
// repeats.
TEST(ListCollation, LongListsSortAsTheComparisonOrders) {
    Lines pieces = {"a",    "A",    "b",    "B",    "!1 ",  "!",
                    "1",    " ",    "\t",   "+0",   "~",    "\x81",
                    "\xE0", "\x9F", "\x01", "\x7F", "\xFD", "/home/user/midi/folder"};
    for (const char* text : {"ａ", "ｱ", "ア", "あ", "ｶﾞ", "ガ", "１", "夜明けの交響曲"})
        pieces.push_back(sjis(text));
    std::mt19937 rng(11);
    auto pick = [&](std::size_t n) {
        return std::uniform_int_distribution<std::size_t>(0, n - 1)(rng);
    };
    auto randomText = [&](std::size_t maxPieces) {
        std::string text;
        for (std::size_t n = pick(maxPieces + 1); n > 0; --n)
            text += pieces[pick(pieces.size())];
        return text;
    };
    // Lines made of a few shared stems and short tails: they tie over many characters and part
    // at every depth.
    Lines stems;
    for (int i = 0; i < 6; ++i)
        stems.push_back(randomText(24));
    Lines lines;
    for (int i = 0; i < 4000; ++i) {
        if (!lines.empty() && pick(8) == 0) {
            lines.push_back(lines[pick(lines.size())]); // the same song listed again
            continue;
        }
        std::string line;
        for (std::size_t n = pick(4); n > 0; --n)
            line += stems[pick(stems.size())] + randomText(3);
        lines.push_back(line);
    }
    Lines expected = lines;
    std::sort(expected.begin(), expected.end(), [](const std::string& a, const std::string& b) {
        return CompareListLines(a, b) < 0;
    });
    Lines sorted = lines;
    SortListLines(sorted);
    EXPECT_EQ(sorted, expected);

    // Loading sorts the same way; NUL never occurs in a loaded line, and CR or LF end it.
    testing::TempDir dir;
    Lines loadable;
    for (const auto& line : expected)
        if (line.find_first_of(std::string_view("\r\n\0", 3)) == std::string::npos)
            loadable.push_back(line);
    Lines shuffled = loadable;
    std::shuffle(shuffled.begin(), shuffled.end(), rng);
    WriteFileAtomically(dir / "GAKUFU.DT0", JoinListText(shuffled));
    EXPECT_EQ(ReadListFile(*Cp932FromPath(dir / "GAKUFU.DT0")), loadable);
}

TEST(ListCollation, IgnoresCaseAndWidthOfLettersButNotOfSymbols) {
    EXPECT_EQ(ListCollationKey("Hello"), ListCollationKey("hELLO"));
    EXPECT_EQ(ListCollationKey("AZ09"), ListCollationKey(sjis("ａｚ０９")));
    EXPECT_EQ(ListCollationKey(sjis("あ")), ListCollationKey(sjis("ア")));
    EXPECT_EQ(ListCollationKey(sjis("ア")), ListCollationKey(sjis("ｱ")));
    // A full-width "！" is no new-song mark and must not sort among the marks.
    EXPECT_GT(CompareListLines(sjis("！0"), "!3 z"), 0);
    EXPECT_NE(CompareListLines("Hello", "hELLO"), 0);
}

TEST(ListFile, LoadsSortedAndWritesInHeldOrderWithCrLf) {
    testing::TempDir dir;
    const std::string path = *Cp932FromPath(dir / "GAKUFU.DT0");
    WriteFileAtomically(
        dir / "GAKUFU.DT0",
        "b\t/b.mid\t+0\t1\r\n!2 a\t/a.mid\t+0\t1\nA\t/A.mid\t+1\t0\r!1 z\t/z.mid\t-2\t2");
    auto lines = ReadListFile(path);
    ASSERT_TRUE(lines.has_value());
    const Lines expected = {"!1 z\t/z.mid\t-2\t2", "!2 a\t/a.mid\t+0\t1", "A\t/A.mid\t+1\t0",
                            "b\t/b.mid\t+0\t1"};
    EXPECT_EQ(*lines, expected);

    WriteListFile(path, *lines);
    EXPECT_EQ(
        *ReadWholeFile(dir / "GAKUFU.DT0"),
        "!1 z\t/z.mid\t-2\t2\r\n!2 a\t/a.mid\t+0\t1\r\nA\t/A.mid\t+1\t0\r\nb\t/b.mid\t+0\t1\r\n");
    EXPECT_EQ(ReadListFile(path), expected);
}

TEST(ListFile, MissingIsNoErrorButUnreadableThrows) {
    testing::TempDir dir;
    EXPECT_FALSE(ReadListFile(*Cp932FromPath(dir / "GAKUFU.DT1")).has_value());
    std::filesystem::create_directory(dir / "GAKUFU.DT1");
    EXPECT_THROW(ReadListFile(*Cp932FromPath(dir / "GAKUFU.DT1")), std::system_error);
}

TEST(ListFile, FailedWriteLeavesTheOldFileWhole) {
    testing::TempDir dir;
    const auto file = dir / "GAKUFU.DT0";
    const std::string path = *Cp932FromPath(file);
    WriteListFile(path, {"old\t/old.mid\t+0\t1"});
    // A write-protected list is refused, even for the super-user, and nothing else is left.
    ::chmod(file.c_str(), 0444);
    EXPECT_THROW(WriteListFile(path, {"new\t/new.mid\t+0\t1"}), std::system_error);
    EXPECT_EQ(*ReadWholeFile(file), "old\t/old.mid\t+0\t1\r\n");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()),
                            std::filesystem::directory_iterator()),
              1);
    // Into a folder that does not exist: nothing is made.
    EXPECT_THROW(WriteListFile(*Cp932FromPath(dir / "none" / "GAKUFU.DT0"), {"x"}),
                 std::system_error);
}

} // namespace
} // namespace tobira
