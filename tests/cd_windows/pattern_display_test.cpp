// SPDX-License-Identifier: GPL-3.0-or-later
#include "cd_windows/pattern_display.h"

#include "support/fake_ports.h"
#include "support/temp_dir.h"
#include "text/cp932_convert.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <optional>

namespace tobira {
namespace {

namespace fs = std::filesystem;
using testing::FakeMessages;
using testing::TempDir;

const std::string kDisc = "1245120405";

std::string sj(const char* utf8) {
    return Utf8ToCp932(utf8);
}

struct Controls {
    std::array<ButtonState, kPatternSlots> slots;
    std::array<ButtonState, kPatternSlots> rows;
    LabelState cdId;
    PatternControls view() { return {slots, rows, cdId}; }
};

std::string manyLines(int count, const std::string& first) {
    std::string bytes = first + "\r\n";
    for (int i = 1; i < count; ++i)
        bytes += std::to_string(1000000000 + i) + "0=01 .other disc\r\n";
    return bytes;
}

TEST(ReadPatternFile, FromTheFile) {
    const std::string unreadable =
        sj("パターンファイル（ＴＯＢＩＲＡ．ＤＡＴ）が読み込めないか、または空です");
    const struct {
        const char* name;
        std::optional<std::string> bytes; // none: no file; "<dir>": a folder in its place
        std::string discId;
        PatternReadResult result;
        int registeredSlot; // -1: none
    } cases[] = {
        {"zero bytes", "", kDisc, PatternReadResult::Unreadable, -1},
        {"one empty line", "\r\n", kDisc, PatternReadResult::Read, -1},
        {"a folder in its place", "<dir>", kDisc, PatternReadResult::Unreadable, -1},
        // The old reader counted lines in eight bits and gave up beyond 256.
        {"257 lines, own record first", manyLines(257, kDisc + "4=02 01 .t"), kDisc,
         PatternReadResult::Read, 4},
        {"300 lines, own record last", manyLines(299, "x") + kDisc + "8=03 .t\r\n", kDisc,
         PatternReadResult::Read, 8},
        {"no disc read yet", kDisc + "0=01 .t\r\n0123456789\r\n", "", PatternReadResult::Read, -1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TempDir dir;
        const fs::path file = dir / "TOBIRA.DAT";
        if (c.bytes == "<dir>")
            fs::create_directory(file);
        else if (c.bytes)
            std::ofstream(file, std::ios::binary) << *c.bytes;

        // What an earlier disc left on display, which this read must replace.
        Controls controls;
        PatternTable table;
        table[1] = "09 .stale";
        ShowPatternTable(table, controls.view());
        controls.cdId.Caption = c.discId;
        FakeMessages messages;

        EXPECT_EQ(ReadPatternFile(file.string(), table, controls.view(), messages), c.result);
        if (c.result == PatternReadResult::Unreadable)
            EXPECT_EQ(messages.shown, std::vector<std::string>{unreadable});
        else
            EXPECT_TRUE(messages.shown.empty());
        for (int slot = 0; slot < kPatternSlots; ++slot) {
            SCOPED_TRACE(slot);
            bool registered = slot == c.registeredSlot;
            EXPECT_EQ(table[slot].empty(), !registered);
            EXPECT_EQ(controls.slots[slot].Font, registered ? colors::Red : colors::Black);
            EXPECT_EQ(controls.rows[slot].Hint.empty(), !registered);
        }
        EXPECT_EQ(controls.cdId.Font, c.registeredSlot >= 0 ? colors::Aqua : colors::White);
    }
}

TEST(ReadPatternFile, MissingFileChangesNothing) {
    TempDir dir;
    Controls controls;
    controls.cdId.Caption = kDisc;
    PatternTable table;
    table[2] = "01 .kept";
    ShowPatternTable(table, controls.view());
    const Controls before = controls;
    FakeMessages messages;

    EXPECT_EQ(ReadPatternFile((dir / "TOBIRA.DAT").string(), table, controls.view(), messages),
              PatternReadResult::Missing);
    EXPECT_TRUE(messages.shown.empty());
    EXPECT_EQ(table[2], "01 .kept");
    EXPECT_EQ(controls.slots[2].Hint, before.slots[2].Hint);
    EXPECT_EQ(controls.rows[2].Caption, "kept");
    EXPECT_EQ(controls.cdId.Font, colors::Aqua);
}

TEST(PatternDisplay, SlotButtonHints) {
    ButtonState button;
    ShowSlotButton(button, "03 01 .mix");
    EXPECT_EQ(button.Font, colors::Red);
    EXPECT_EQ(button.Hint, sj("トラック順＝03 01 .mix"));
    ShowSavedSlotButton(button, "05 .new");
    EXPECT_EQ(button.Font, colors::Red);
    EXPECT_EQ(button.Hint, sj("トラック順= 05 .new"));
    ShowSlotButton(button, "");
    EXPECT_EQ(button.Font, colors::Black);
    EXPECT_EQ(button.Hint, "");
}

TEST(PatternDisplay, SelectorRows) {
    const std::string noName = sj("－ パターン名なし －");
    const std::string longTitle(1200, 'L');
    const struct {
        const char* name;
        std::string text;
        std::string caption;
        std::string hint;
    } cases[] = {
        {"title and order", "03 01 .Drive mix", "Drive mix", sj("トラック順 03 01 ")},
        {"empty title", "03 .", noName, sj("トラック順 03 ")},
        {"blank title", "03 .   ", noName, sj("トラック順 03 ")},
        {"full-width blank title", "03 ." + sj("　"), noName, sj("トラック順 03 ")},
        {"blanks around a title stay", "03 . x ", " x ", sj("トラック順 03 ")},
        {"title with full stops", "03 .a.b", "a.b", sj("トラック順 03 ")},
        {"no full stop: all of it is the title", "03 04 ", "03 04 ", sj("トラック順 ")},
        {"long title cut", "01 ." + longTitle, std::string(999, 'L'), sj("トラック順 01 ")},
        {"free slot", "", "", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ButtonState row;
        row.Caption = "previous";
        row.Hint = "previous";
        ShowSelectorRow(row, c.text);
        EXPECT_EQ(row.Caption, c.caption);
        EXPECT_EQ(row.Hint, c.hint);
    }
}

} // namespace
} // namespace tobira
