// SPDX-License-Identifier: GPL-3.0-or-later
// The CD program selector on a generated five-track disc: which rows start a program, the two
// options mirrored into the track control window, and what every way of closing leaves behind.
#include "support/cd_fixture.h"

#include <fstream>

namespace tobira::testing {
namespace {

using Click = std::function<void(TFormPattern&)>;

// The disc read, three of its slots stored, and the selector opened by PLAY's right button;
// `whileOpen` acts on the dialog while it is up.
struct SelectorFixture : CdFixture {
    SelectorFixture() {
        tick();
        const std::string id = list.LabelCDID.Caption;
        std::ofstream(dir.path() / "TOBIRA.DAT", std::ios::binary)
            << id << "1=03 01 05 .Drive mix\r\n"
            << id << "2=04 02 .  \r\n"
            << id << "4=02 xx 03 .Broken\r\n";
    }
    void open(const std::function<void()>& whileOpen) {
        fakes.windows.onModal = [whileOpen](FormModel&) { whileOpen(); };
        main.SpeedButtonPLAYMouseDown(MouseButton::Right);
    }
    TFormPattern& selector = forms.FormPattern;
};

TEST(PatternSelector, RowsStartAProgramOnlyWhenRegisteredAndInProgramMode) {
    struct Case {
        const char* what;
        int row;
        bool leaveProgramMode; // the play mode changed while the dialog is up
        bool closes;
        std::string entries;
        int playingTrack; // 0: nothing plays
    };
    const Case cases[] = {
        {"free row", 0, false, false, "", 0},
        {"stored row, other mode", 1, true, false, "", 0},
        {"stored row", 1, false, true, "3 1 5", 3},
        {"non-numeric pair", 4, false, true, "2", 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        SelectorFixture f;
        bool visibleAfterClick = false;
        f.open([&] {
            EXPECT_EQ(Cp932ToUtf8(f.selector.SpeedButton[1].Caption), "Drive mix");
            EXPECT_EQ(Cp932ToUtf8(f.selector.SpeedButton[2].Caption), "－ パターン名なし －");
            EXPECT_EQ(Cp932ToUtf8(f.selector.SpeedButton[1].Hint), "トラック順 03 01 05 ");
            EXPECT_TRUE(f.selector.SpeedButton[0].Caption.empty());
            if (c.leaveProgramMode)
                f.main.LabelPlayMode.Caption = "NR";
            f.selector.SpeedButtonClick(c.row);
            visibleAfterClick = f.selector.Visible;
        });
        EXPECT_EQ(visibleAfterClick, !c.closes);
        EXPECT_EQ(f.entries(), c.entries);
        EXPECT_EQ(f.list.SpeedButtonCD[static_cast<std::size_t>(c.row)].Down, c.closes);
        if (c.playingTrack) {
            EXPECT_EQ(f.cd.mode(), DeviceMode::Playing);
            EXPECT_EQ(TrackSecond(f.position()).first, static_cast<unsigned>(c.playingTrack));
            EXPECT_EQ(f.main.OrderPosition, 1);
        } else {
            EXPECT_NE(f.cd.mode(), DeviceMode::Playing);
        }
        if (!c.leaveProgramMode) {
            EXPECT_EQ(f.main.LabelPlayMode.Caption, "PG");
        }
    }
}

TEST(PatternSelector, OptionsMirrorTheTrackControlWindowAndAreConsumed) {
    const Click random = [](TFormPattern& s) { s.SpeedButtonRandomClick(); };
    const Click reverse = [](TFormPattern& s) { s.SpeedButtonReverseClick(); };
    struct Case {
        const char* what;
        std::vector<Click> clicks;
        bool randomOn, reverseOn;
        std::string entries; // slot 1 holds 03 01 05
    };
    const Case cases[] = {
        {"none", {}, false, false, "3 1 5"},
        {"random", {random}, true, false, "1 5 3"}, // draws of 0: 3 1 5 -> 5 1 3 -> 1 5 3
        {"random twice", {random, random}, false, false, "3 1 5"},
        {"random then reverse", {random, reverse}, false, true, "5 1 3"},
        {"reverse then random", {reverse, random}, true, false, "1 5 3"},
        {"reverse twice", {reverse, reverse}, false, false, "3 1 5"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        SelectorFixture f;
        f.open([&] {
            for (const Click& click : c.clicks)
                click(f.selector);
            EXPECT_EQ(f.list.CheckBoxRandom.Down, c.randomOn);
            EXPECT_EQ(f.list.CheckBoxReverse.Down, c.reverseOn);
            EXPECT_EQ(f.selector.SpeedButtonRandom.Font == colors::Red, c.randomOn);
            EXPECT_EQ(f.selector.SpeedButtonReverse.Font == colors::Red, c.reverseOn);
            f.selector.SpeedButtonClick(1);
        });
        EXPECT_EQ(f.entries(), c.entries);
        EXPECT_FALSE(f.list.CheckBoxRandom.Down || f.list.CheckBoxReverse.Down);
        EXPECT_EQ(f.selector.SpeedButtonRandom.Font, colors::Black);
        EXPECT_EQ(f.selector.SpeedButtonReverse.Font, colors::Black);
    }
}

TEST(PatternSelector, ClosingWithoutAChoiceClearsTheOptionsAndKeepsProgramMode) {
    const std::pair<const char*, Click> closes[] = {
        {"Close", [](TFormPattern& s) { s.SpeedButtonCloseClick(); }},
        {"close box", [](TFormPattern& s) { s.FormClose(); }},
    };
    for (const auto& [what, close] : closes) {
        SCOPED_TRACE(what);
        SelectorFixture f;
        f.open([&] {
            f.selector.SpeedButtonReverseClick();
            close(f.selector);
        });
        EXPECT_FALSE(f.list.CheckBoxReverse.Down);
        EXPECT_EQ(f.selector.SpeedButtonReverse.Font, colors::Black);
        EXPECT_EQ(f.main.LabelPlayMode.Caption, "PG");
        EXPECT_NE(f.cd.mode(), DeviceMode::Playing);
        EXPECT_EQ(f.list.PlayOrderLength(), 0);
    }
}

} // namespace
} // namespace tobira::testing
