// SPDX-License-Identifier: GPL-3.0-or-later
// Play orders, the marks, the mode display of the track control window and program mode.
#include "support/cd_fixture.h"
#include "app/seeded_random.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <numeric>

namespace tobira::testing {
namespace {

TEST(CdOrder, OrdersOfSevenTracks) {
    CdFixture f(EqualTracks(7, 1));
    f.tick();
    struct Case {
        const char* code;
        const char* order;
    };
    for (const Case& c :
         {Case{"NR", "1 2 3 4 5 6 7"}, Case{"OE", "1 3 5 7 2 4 6"}, Case{"EO", "2 4 6 1 3 5 7"},
          Case{"RV", "7 6 5 4 3 2 1"}, Case{"PG", "1 2 3 4 5 6 7"}, Case{"", "1 2 3 4 5 6 7"},
          Case{"XX", "1 2 3 4 5 6 7"}}) {
        f.main.LabelPlayMode.Caption = c.code;
        f.list.SpeedButton[9].Caption = "stale";
        f.main.BuildPlayOrder();
        EXPECT_EQ(f.entries(), c.order) << c.code;
        EXPECT_EQ(f.list.PlayOrderLength(), 7);
        EXPECT_TRUE(f.list.EntryEmpty(9));
    }
}

TEST(CdOrder, RandomOrderIsAPermutation) {
    CdFixture f(EqualTracks(7, 1));
    f.tick();
    f.main.LabelPlayMode.Caption = "RD";
    // Scripted draws pick among the tracks not used yet.
    f.fakes.random.script = {3, 0, 4, 0, 1, 1, 0};
    f.main.BuildPlayOrder();
    EXPECT_EQ(f.entries(), "4 1 7 2 5 6 3");
    // A generator that keeps giving the same number still ends.
    f.main.BuildPlayOrder();
    EXPECT_EQ(f.entries(), "1 2 3 4 5 6 7");

    // Any draws at all give every track once.
    SeededRandom random;
    random.seed(7);
    for (int n : {1, 2, 13, 60}) {
        for (int round = 0; round < 20; ++round) {
            f.fakes.random.script.clear();
            for (int i = 0; i < n; ++i)
                f.fakes.random.script.push_back(random.random(1000));
            f.main.TrackCount = n;
            f.main.BuildPlayOrder();
            std::vector<int> tracks;
            for (int k = 1; k <= f.list.PlayOrderLength(); ++k)
                tracks.push_back(f.list.EntryTrack(k));
            std::sort(tracks.begin(), tracks.end());
            std::vector<int> all(static_cast<std::size_t>(n));
            std::iota(all.begin(), all.end(), 1);
            EXPECT_EQ(tracks, all) << n << " tracks";
        }
    }
}

TEST(CdOrder, TrackMarkColours) {
    CdFixture f;
    struct Case {
        int tracks, current;
        const char* first;
        int yellow;
        int aqua; // marks 0 .. aqua-1 aqua (besides the yellow one), the rest dim
    };
    for (const Case& c : {Case{13, 12, "11", 1, 3}, Case{20, 12, "11", 1, 10},
                          Case{5, 5, "01", 4, 5}, Case{60, 60, "51", 9, 10}}) {
        f.main.TrackCount = c.tracks;
        f.main.CurrentTrack = static_cast<std::uint8_t>(c.current);
        f.main.OrderPosition = 2;
        f.main.LabelMarks[0].Font = colors::Aqua; // nothing yellow: the track "changed"
        f.main.RefreshTrackMarks();
        EXPECT_EQ(f.main.LabelMarks[0].Caption, c.first);
        for (int i = 0; i < 10; ++i) {
            const Color want = i == c.yellow ? colors::Yellow
                               : i < c.aqua  ? colors::Aqua
                                             : colors::Teal;
            EXPECT_EQ(f.main.LabelMarks[i].Font, want) << c.tracks << " tracks, mark " << i;
        }
        EXPECT_EQ(f.list.SpeedButton[2].Font, colors::Red);
        EXPECT_EQ(f.list.SpeedButton[1].Font, colors::Black);
        for (LabelState& mark : f.main.LabelMarks)
            mark.Font = colors::Aqua;
    }
}

TEST(CdOrder, ModeMarksChooseOnlyWhileStopped) {
    CdFixture f(EqualTracks(7, 5));
    f.tick();
    f.main.LabelMarkMouseDown(2, MouseButton::Left);
    EXPECT_EQ(f.main.LabelPlayMode.Caption, "OE");
    EXPECT_EQ(f.main.LabelPlayMode.Hint, Sjis("奇数→偶数再生"));
    EXPECT_EQ(f.main.LabelPlayMode.Font, colors::White);
    EXPECT_EQ(f.main.LabelMarks[2].Font, colors::White);
    f.main.LabelMarkMouseUp(2, MouseButton::Left);
    EXPECT_EQ(f.main.LabelPlayMode.Font, colors::Aqua);
    EXPECT_EQ(f.main.LabelMarks[2].Font, colors::Aqua);

    f.main.SpeedButtonPLAYClick();
    EXPECT_EQ(f.entries(), "1 3 5 7 2 4 6");
    EXPECT_EQ(f.list.LabelORG.Caption, "Odd to Even Mode");
    f.advance(1);
    f.main.LabelMarkMouseDown(4, MouseButton::Left);
    f.main.LabelMarkMouseUp(4, MouseButton::Left);
    EXPECT_EQ(f.main.LabelPlayMode.Caption, "OE");
    EXPECT_EQ(f.main.LabelMarks[4].Caption, "05");
    EXPECT_NE(f.main.LabelMarks[4].Font, colors::White);
}

TEST(CdOrder, JumpByMark) {
    CdFixture f(EqualTracks(7, 5));
    f.startPlaying();
    f.advance(1);
    f.main.LabelMarkClick(3); // "04"
    EXPECT_EQ(f.main.OrderPosition, 4);
    EXPECT_EQ(f.position(), PackTmsf(4, 0, 0, 0));
    EXPECT_EQ(f.list.SpeedButton[4].Font, colors::Red);
    EXPECT_EQ(f.list.FirstDownEntry(), 0);
    f.advance(1);
    EXPECT_EQ(f.main.LabelMarks[3].Font, colors::Yellow);

    f.main.LabelMarkClick(8); // "09": beyond the last track
    EXPECT_EQ(f.main.OrderPosition, 4);
    f.main.LabelPlayMode.Caption = "PG"; // program play ignores the marks
    f.main.LabelMarkClick(0);
    EXPECT_EQ(f.main.OrderPosition, 4);
}

TEST(CdOrder, ProgramModeFromPlayRightClickAndPlay) {
    CdFixture f;
    // A stored pattern for this disc colours the identity and its slot.
    std::ofstream(f.dir / "TOBIRA.DAT") << "05002500053=05 01 .Two\r\n";
    f.tick();
    EXPECT_EQ(f.list.LabelCDID.Font, colors::Aqua);
    EXPECT_EQ(f.list.SpeedButtonCD[3].Font, colors::Red);
    EXPECT_EQ(f.list.SpeedButtonCD[2].Font, colors::Black);
    EXPECT_EQ(f.list.Height, TFormList::kNormalHeight);
    EXPECT_FALSE(f.list.SpeedButtonSET.Enabled);
    EXPECT_FALSE(f.list.CheckBoxRandom.Visible);

    struct Case {
        int mainTop, selectorTop;
    };
    const int h = f.forms.FormPattern.Height;
    for (const Case& c : {Case{100, 100 + 68 + 15}, Case{540, 540 - h - 15}}) {
        f.main.Top = c.mainTop;
        f.main.Left = 77;
        f.main.LabelPlayMode.Caption = "NR";
        f.main.SpeedButtonPLAYMouseDown(MouseButton::Right);
        ASSERT_FALSE(f.fakes.windows.modals.empty());
        EXPECT_EQ(f.fakes.windows.modals.back(), &f.forms.FormPattern);
        EXPECT_EQ(f.forms.FormPattern.Top, c.selectorTop);
        EXPECT_EQ(f.forms.FormPattern.Left, 77);
        EXPECT_EQ(f.main.LabelPlayMode.Caption, "PG");
    }
    EXPECT_FALSE(f.forms.FormPattern.SpeedButton[3].Caption.empty());

    f.main.SpeedButtonPLAYClick();
    EXPECT_EQ(f.cd.mode(), DeviceMode::Stopped); // the track control window starts a program
    EXPECT_TRUE(f.list.Visible);
    EXPECT_EQ(f.list.LabelORG.Caption, "Original Track");
    EXPECT_EQ(f.list.LabelDST.Caption, "Edit Track");
    EXPECT_EQ(f.list.Height, TFormList::kProgramHeight);
    EXPECT_TRUE(f.list.SpeedButtonSET.Enabled && f.list.SpeedButtonSET.Down);
    EXPECT_TRUE(f.list.SpeedButtonMON.Enabled);
    EXPECT_TRUE(f.list.CheckBoxRandom.Visible && f.list.SpeedButtonNXT.Visible);
    EXPECT_EQ(f.entries(), "1 2 3 4 5");

    // Stopping while a disc is read: back to normal mode's display after a reset.
    f.main.LabelPlayMode.Caption = "NR";
    f.main.ShowModeMarks(false);
    EXPECT_EQ(f.list.Height, TFormList::kNormalHeight);
    EXPECT_TRUE(f.list.LabelDST.Caption.empty());
    EXPECT_FALSE(f.list.SpeedButtonBAK.Visible);
}

TEST(CdOrder, StartFromEntryPlaysThatEntry) {
    CdFixture f;
    f.startPlaying();
    f.advance(1);
    f.list.SpeedButton[3].Down = true;
    f.main.StartFromEntry();
    EXPECT_EQ(f.main.OrderPosition, 3);
    EXPECT_EQ(f.position(), PackTmsf(3, 0, 0, 0));
    EXPECT_EQ(f.main.LabelSTOP.Caption, "STOP");
    EXPECT_EQ(f.main.LabelPLAY.Font, colors::Aqua);
    f.advance(4); // and the order goes on from there
    EXPECT_EQ(f.main.OrderPosition, 4);
    EXPECT_EQ(f.position(), PackTmsf(4, 0, 0, 0));
}

} // namespace
} // namespace tobira::testing
