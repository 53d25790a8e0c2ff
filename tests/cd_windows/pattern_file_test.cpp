// SPDX-License-Identifier: GPL-3.0-or-later
#include "cd_windows/pattern_file.h"

#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>

namespace tobira {
namespace {

namespace fs = std::filesystem;
using testing::TempDir;

const std::string kDisc = "1245120405";

std::vector<std::string_view> views(const std::vector<std::string>& lines) {
    return {lines.begin(), lines.end()};
}

std::string slurp(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

void spit(const fs::path& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

TEST(PatternLines, Split) {
    const struct {
        const char* name;
        std::string bytes;
        std::vector<std::string_view> lines;
    } cases[] = {
        {"zero bytes", "", {}},
        {"one empty line", "\r\n", {""}},
        {"CR LF", "a\r\nb\r\n", {"a", "b"}},
        {"last line without end", "a\r\nb", {"a", "b"}},
        {"LF and lone CR", "a\nb\rc\r\n\r\n", {"a", "b", "c", ""}},
        {"CR CR LF", "a\r\r\n", {"a", ""}},
        {"blank lines kept", "\r\n  \r\nx\r\n", {"", "  ", "x"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(SplitPatternLines(c.bytes), c.lines);
    }
}

TEST(PatternTable, KeySearch) {
    const struct {
        const char* name;
        std::string discId;
        std::vector<std::string> lines;
        PatternTable expected;
    } cases[] = {
        {"own records in any order, other discs ignored",
         kDisc,
         {"99999999993=05 .other", kDisc + "7=02 01 .b", "", kDisc + "0=01 .a"},
         {"01 .a", "", "", "", "", "", "", "02 01 .b", "", ""}},
        // The key is looked for anywhere in a line, so a title holding it wins when it comes
        // first.
        {"key inside another disc's title",
         kDisc,
         {"99999999991=05 .copy of " + kDisc + "1", kDisc + "1=02 .real"},
         {"", "05 .copy of " + kDisc + "1", "", "", "", "", "", "", "", ""}},
        {"first of two records with one key",
         kDisc,
         {kDisc + "4=01 .first", kDisc + "4=02 .second"},
         {"", "", "", "", "01 .first", "", "", "", "", ""}},
        {"record without full stop",
         kDisc,
         {kDisc + "2=03 04 "},
         {"", "", "03 04 ", "", "", "", "", "", "", ""}},
        {"key with nothing after it leaves the slot free", kDisc, {kDisc + "6"}, {}},
        // No disc read yet: a lone slot digit must not pick up other discs' records.
        {"empty DiscId matches nothing", "", {kDisc + "0=01 .a", "0123456789"}, {}},
        {"overlapping occurrences",
         "1111111111",
         {"111111111112=01 .x"},
         {"", "=01 .x", "=01 .x", "", "", "", "", "", "", ""}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        auto lines = views(c.lines);
        EXPECT_EQ(BuildPatternTable(lines, c.discId), c.expected);
    }
}

// The table is built in one pass; it must agree with searching each slot's key on its own.
TEST(PatternTable, AgreesWithSearchingEachKey) {
    std::mt19937 random(31);
    // Pieces of the DiscId, which overlaps itself, so that keys turn up often and overlap.
    const std::string discId = "0101";
    const char* pieces[] = {"0", "1", "2", "3", "01", "0101", "010", ".", " ", "="};
    for (int round = 0; round < 2000; ++round) {
        std::vector<std::string> lines(1 + random() % 8);
        for (auto& line : lines) {
            std::size_t count = random() % 10;
            for (std::size_t i = 0; i < count; ++i)
                line += pieces[random() % std::size(pieces)];
        }
        auto v = views(lines);
        PatternTable naive;
        for (int slot = 0; slot < kPatternSlots; ++slot) {
            if (auto at = FindPatternLine(v, PatternKey(discId, slot)))
                naive[slot] = PatternTextOfLine(v[*at]);
        }
        ASSERT_EQ(BuildPatternTable(v, discId), naive) << "round " << round;
    }
}

TEST(PatternRecordBytes, Append) {
    const struct {
        const char* name;
        std::string before;
        std::string after;
    } cases[] = {
        {"new file", "", "K5=03 .t\r\n"},
        {"after a complete line", "a\r\n", "a\r\nK5=03 .t\r\n"},
        {"after a line without end", "a", "a\r\nK5=03 .t\r\n"},
        {"after an LF line", "a\n", "a\nK5=03 .t\r\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(AppendRecordBytes(c.before, "K5", "03 .t"), c.after);
    }
}

TEST(PatternRecordBytes, Remove) {
    const struct {
        const char* name;
        std::string before;
        std::string key;
        std::optional<std::string> after;
    } cases[] = {
        {"only the first of two", "A1=01 .x\r\nB\r\nA1=02 .y\r\n", "A1", "B\r\nA1=02 .y\r\n"},
        {"line ends made CR LF", "x\nA1=01\ny", "A1", "x\r\ny\r\n"},
        {"not found", "A1=01 .x\r\n", "A2", std::nullopt},
        {"the only line", "A1=01 .x\r\n", "A1", ""},
        {"lone digit is no key", "A1=01 .x\r\n", "1", std::nullopt},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(RemoveRecordBytes(c.before, c.key), c.after);
    }
}

class PatternFileTest : public ::testing::Test {
  protected:
    fs::path file() const { return dir / "TOBIRA.DAT"; }
    std::string path() const { return file().string(); } // ASCII, so also code page 932
    std::size_t entries() const {
        return static_cast<std::size_t>(
            std::distance(fs::directory_iterator(dir.path()), fs::directory_iterator()));
    }
    TempDir dir;
};

TEST_F(PatternFileTest, SavingIntoANewFileWritesExactlyOneLine) {
    AppendPatternRecord(path(), PatternKey(kDisc, 5), "03 01 .Title");
    EXPECT_EQ(slurp(file()), kDisc + "5=03 01 .Title\r\n");
    EXPECT_EQ(entries(), 1u); // no temporary file left behind
}

TEST_F(PatternFileTest, RefusedAppendLeavesTheFileAlone) {
    const std::string before = kDisc + "1=01 .a\r\n";
    spit(file(), before);
    EXPECT_THROW(AppendPatternRecord(path(), PatternKey("", 2), "01 .x"), std::invalid_argument);
    EXPECT_THROW(AppendPatternRecord(path(), PatternKey(kDisc, 2), "01 .two\r\nlines"),
                 std::invalid_argument);
    fs::permissions(file(), fs::perms::owner_read | fs::perms::group_read);
    EXPECT_THROW(AppendPatternRecord(path(), PatternKey(kDisc, 2), "01 .x"), std::system_error);
    EXPECT_EQ(slurp(file()), before);
    EXPECT_EQ(entries(), 1u);
}

TEST_F(PatternFileTest, DeleteRemovesFirstRecordThenTheSecondShows) {
    spit(file(), kDisc + "3=01 .first\r\nother\r\n" + kDisc + "3=02 .second\r\n");
    EXPECT_TRUE(DeletePatternRecord(path(), PatternKey(kDisc, 3)));
    EXPECT_EQ(slurp(file()), "other\r\n" + kDisc + "3=02 .second\r\n");
    auto lines = ReadPatternLines(path());
    ASSERT_TRUE(lines);
    EXPECT_EQ(BuildPatternTable(views(*lines), kDisc)[3], "02 .second");
}

TEST_F(PatternFileTest, DeleteWithoutRecordTouchesNothing) {
    EXPECT_FALSE(DeletePatternRecord(path(), PatternKey(kDisc, 3)));
    EXPECT_FALSE(fs::exists(file()));

    const std::string before = "x\n" + kDisc + "4=01 .a"; // LF and no final line end
    spit(file(), before);
    auto time = fs::last_write_time(file());
    EXPECT_FALSE(DeletePatternRecord(path(), PatternKey(kDisc, 3)));
    EXPECT_EQ(slurp(file()), before);
    EXPECT_EQ(fs::last_write_time(file()), time);
}

TEST_F(PatternFileTest, DeleteThatCannotWriteKeepsTheOldFile) {
    const std::string before = kDisc + "3=01 .a\r\n";
    spit(file(), before);
    fs::permissions(file(), fs::perms::owner_read);
    EXPECT_THROW(DeletePatternRecord(path(), PatternKey(kDisc, 3)), std::system_error);
    EXPECT_EQ(slurp(file()), before);
    EXPECT_EQ(entries(), 1u);
}

TEST_F(PatternFileTest, WriteLinesReplacesTheFile) {
    spit(file(), "old\r\n");
    WritePatternLines(path(), {kDisc + "0=01 .a", "", kDisc + "1=02 .b"});
    EXPECT_EQ(slurp(file()), kDisc + "0=01 .a\r\n\r\n" + kDisc + "1=02 .b\r\n");
    WritePatternLines(path(), {});
    EXPECT_EQ(slurp(file()), "");
    EXPECT_THROW(WritePatternLines(path(), {"a\rb"}), std::invalid_argument);
    EXPECT_EQ(slurp(file()), "");
    EXPECT_EQ(entries(), 1u);
}

} // namespace
} // namespace tobira
