// SPDX-License-Identifier: GPL-3.0-or-later
// The track control window's program mode on a generated disc: composing a program in the edit
// list, storing and releasing it in a slot, applying a stored pattern and playing it through.
#include "support/cd_fixture.h"
#include "cd_windows/pattern_file.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

namespace tobira::testing {
namespace {

std::string ReadAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

void WriteAll(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

// Program mode with the disc read and stopped: PLAY fills the order with the disc's tracks.
void EnterProgramMode(CdFixture& f) {
    f.tick();
    f.main.LabelPlayMode.Caption = "PG";
    f.main.SpeedButtonPLAYClick();
}

std::string EditList(const TFormList& list) {
    std::string text;
    for (int k = 1; k <= TFormList::kEntries; ++k) {
        const std::string& caption = list.SpeedButtonEdit[static_cast<std::size_t>(k)].Caption;
        if (caption.empty())
            break;
        text += (k > 1 ? " " : "") + caption;
    }
    return text;
}

// The captions of entries 1 .. n ("" = empty).
std::vector<std::string> Entries(const TFormList& list, int n) {
    std::vector<std::string> out;
    for (int k = 1; k <= n; ++k)
        out.push_back(list.SpeedButton[static_cast<std::size_t>(k)].Caption);
    return out;
}

TEST(TrackControlProgram, TheEditListTakesSixtyAndShiftsOnRemoval) {
    CdFixture f(EqualTracks(3, 1));
    EnterProgramMode(f);
    for (int i = 0; i < TFormList::kEntries; ++i) {
        f.list.SpeedButton[2].Down = true;
        f.list.SpeedButtonEntryClick(2);
    }
    EXPECT_EQ(f.list.FirstFreeEditPlace(), 0);
    // A full list takes nothing more, and the clicked entry does not stay down.
    f.list.SpeedButton[3].Down = true;
    f.list.SpeedButtonEntryClick(3);
    EXPECT_FALSE(f.list.SpeedButton[3].Down);
    EXPECT_EQ(f.list.SpeedButtonEdit[60].Caption, "2");
    EXPECT_TRUE(f.fakes.messages.shown.empty());

    f.list.SpeedButtonEdit[60].Caption = "3";
    f.list.SpeedButtonEditClick(1);
    EXPECT_EQ(f.list.FirstFreeEditPlace(), 60);
    EXPECT_EQ(f.list.SpeedButtonEdit[59].Caption, "3");

    struct Case {
        const char* before;
        int click;
        const char* after;
    };
    for (const Case& c : {Case{"1 2 3", 2, "1 3"}, Case{"1 2 3", 3, "1 2"},
                          Case{"1 2 3", 5, "1 2 3"}, Case{"1", 1, ""}}) {
        f.list.ClearTrackLists();
        std::istringstream in(c.before);
        std::string track;
        for (int k = 1; in >> track; ++k)
            f.list.SpeedButtonEdit[static_cast<std::size_t>(k)].Caption = track;
        f.list.SpeedButtonEditClick(c.click);
        EXPECT_EQ(EditList(f.list), c.after) << c.before << " click " << c.click;
    }
    f.list.SpeedButtonEdit[1].Caption = "12";
    f.list.SpeedButtonEdit[2].Caption = "7";
    EXPECT_EQ(f.list.BuildTrackOrder(), "12 07 ");
    // Entry 60 itself just empties.
    for (int k = 1; k <= TFormList::kEntries; ++k)
        f.list.SpeedButtonEdit[static_cast<std::size_t>(k)].Caption = std::to_string(k % 3 + 1);
    f.list.SpeedButtonEditClick(60);
    EXPECT_EQ(f.list.FirstFreeEditPlace(), 60);
    EXPECT_EQ(f.list.SpeedButtonEdit[59].Caption, "3");
}

TEST(TrackControlProgram, SaveAndReleaseWithEveryMessage) {
    CdFixture f(EqualTracks(5, 1));
    EnterProgramMode(f);
    const std::string key = f.main.DiscId + "5";
    auto& shown = f.fakes.messages.shown;
    auto& slot5 = f.list.SpeedButtonCD[5];

    f.list.SpeedButtonSAVEClick();
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown.back(), Sjis("Ｐａｔｔｅｒｎ ＳＥＬボタンを指定してください"));

    // A free slot pressed down is only chosen; SAVE without a program keeps the choice.
    f.list.SpeedButtonCDClick(5);
    EXPECT_TRUE(slot5.Down);
    f.list.SpeedButtonSAVEClick();
    EXPECT_EQ(shown.back(), Sjis("再生パターンが設定されていません"));
    EXPECT_TRUE(slot5.Down);
    EXPECT_FALSE(std::filesystem::exists(f.main.Paths.PatternPath));

    for (int entry : {3, 1, 5})
        f.list.SpeedButtonEntryClick(entry);
    f.list.EditPattern = Sjis("ドライブ.mix");
    f.list.SpeedButtonSAVEClick();
    EXPECT_EQ(shown.back(), Sjis("あなたの設定した再生パターンを保存しました"));
    EXPECT_EQ(ReadAll(f.main.Paths.PatternPath),
              key + "=03 01 05 ." + Sjis("ドライブ.mix") + "\r\n");
    EXPECT_EQ(f.main.Patterns[5], "03 01 05 ." + Sjis("ドライブ.mix"));
    EXPECT_EQ(slot5.Font, colors::Red);
    EXPECT_EQ(slot5.Hint, Sjis("トラック順= ") + f.main.Patterns[5]);
    EXPECT_FALSE(slot5.Down);
    EXPECT_TRUE(f.list.EditPattern.empty());
    EXPECT_EQ(EditList(f.list), "3 1 5") << "the edit list is kept";

    // The same slot again: already set; the choice and the title go.
    EXPECT_FALSE(f.main.SpeedButtonPLAYShowHint);
    f.list.SpeedButtonCDClick(5); // applies it (it is registered) and plays
    EXPECT_TRUE(slot5.Down);
    EXPECT_TRUE(f.main.SpeedButtonPLAYShowHint) << "program play switches PLAY's hint on";
    f.list.EditPattern = "x";
    f.list.SpeedButtonSAVEClick();
    EXPECT_EQ(shown.back(),
              Sjis("このボタンは既に設定澄みです．パターン選択ボタンの右クリックで［設"
                   "定解除］してください．"));
    EXPECT_FALSE(slot5.Down);
    EXPECT_TRUE(f.list.EditPattern.empty());
    f.main.SpeedButtonSTOPClick();

    // The right button: nothing on a free slot; a registered one leaves the file.
    const std::size_t before = shown.size();
    f.list.SpeedButtonCDMouseDown(4, MouseButton::Right);
    f.list.SpeedButtonCDMouseDown(5, MouseButton::Left);
    EXPECT_EQ(shown.size(), before);
    f.list.SpeedButtonCDMouseDown(5, MouseButton::Right);
    EXPECT_EQ(shown.back(), Sjis("このボタンの再生パターン解除をおこないました"));
    EXPECT_EQ(ReadAll(f.main.Paths.PatternPath), "");
    EXPECT_EQ(slot5.Font, colors::Black);
    EXPECT_TRUE(slot5.Hint.empty());
    EXPECT_TRUE(f.main.Patterns[5].empty());

    // A slot whose record was removed by hand meanwhile: failure, and it stays red.
    f.list.SpeedButtonCDClick(5);
    f.list.SpeedButtonEdit[1].Caption = "2";
    f.list.SpeedButtonSAVEClick();
    WriteAll(f.main.Paths.PatternPath, "other line\r\n");
    f.list.SpeedButtonCDMouseDown(5, MouseButton::Right);
    EXPECT_EQ(shown.back(), Sjis("このボタンの再生パターン解除ができませんでした"));
    EXPECT_EQ(slot5.Font, colors::Red);

    // A write that fails: message, choice and title cleared, the table unchanged.
    std::filesystem::remove(f.main.Paths.PatternPath);
    std::filesystem::create_directory(f.main.Paths.PatternPath);
    f.list.SpeedButtonCDClick(7);
    f.list.EditPattern = "t";
    f.list.SpeedButtonSAVEClick();
    EXPECT_EQ(shown.back(), Sjis("再生パターンの保存ができませんでした"));
    EXPECT_FALSE(f.list.SpeedButtonCD[7].Down);
    EXPECT_TRUE(f.list.EditPattern.empty());
    EXPECT_TRUE(f.main.Patterns[7].empty());
    EXPECT_EQ(f.list.SpeedButtonCD[7].Font, colors::Black);
}

TEST(TrackControlProgram, ApplyPatternLeavesGapsAndStopsAtABadPair) {
    CdFixture f(EqualTracks(12, 1));
    EnterProgramMode(f);
    struct Case {
        const char* text;
        bool random, reverse;
        bool result;
        std::vector<std::string> entries; // the first four
        const char* title;
    };
    const Case cases[] = {
        {"03 99 05 .Gap", false, false, true, {"3", "", "5", ""}, "Gap"},
        {"03 12 13 00 07 .", false, false, true, {"3", "12", "", ""}, ""},
        {"03 x1 05 .Bad", false, false, false, {"3", "", "", ""}, "Bad"},
        {"03 01 05 .R", false, true, true, {"5", "1", "3", ""}, "R"},
        {"03 1x 05 .R", false, true, false, {"3", "", "", ""}, "R"},
        {"02 04 06", false, false, true, {"2", "4", "6", ""}, "kept"}, // no full stop
    };
    for (const Case& c : cases) {
        f.main.Patterns[1] = c.text;
        f.list.EditPattern = "kept";
        f.list.CheckBoxRandom.Down = c.random;
        f.list.CheckBoxReverse.Down = c.reverse;
        f.list.SpeedButtonEdit[1].Caption = "9";
        EXPECT_EQ(f.list.ApplyPattern(1), c.result) << c.text;
        EXPECT_EQ(Entries(f.list, 4), c.entries) << c.text;
        EXPECT_EQ(f.list.EditPattern, c.title) << c.text;
        EXPECT_FALSE(f.list.CheckBoxRandom.Down || f.list.CheckBoxReverse.Down) << c.text;
        EXPECT_TRUE(f.list.SpeedButtonEdit[1].Caption.empty()) << "track lists cleared";
    }
    // The gap ends the order after entry 1 for everything that stops at the first empty one.
    f.main.Patterns[1] = "03 99 05 .";
    f.list.ApplyPattern(1);
    EXPECT_EQ(f.list.PlayOrderLength(), 1);

    // A pair that is not a number: the slot click plays nothing.
    f.main.Patterns[2] = "04 zz .";
    f.list.SpeedButtonCD[2].Font = colors::Red;
    f.list.SpeedButtonCDClick(2);
    f.cd.waitIdle();
    EXPECT_EQ(f.cd.mode(), DeviceMode::Stopped);
    EXPECT_EQ(f.entries(), "4");
    // A first entry that is no track of the disc: nothing to start, nothing thrown.
    f.main.Patterns[3] = "77 02 .";
    f.list.SpeedButtonCD[3].Font = colors::Red;
    EXPECT_NO_THROW(f.list.SpeedButtonCDClick(3));
    f.cd.waitIdle();
    EXPECT_EQ(f.cd.mode(), DeviceMode::Stopped);
}

TEST(TrackControlProgram, ShuffleDrawsBelowTheEntryBeforeAndReverseFlips) {
    CdFixture f(EqualTracks(6, 1));
    EnterProgramMode(f);
    auto setOrder = [&](std::initializer_list<const char*> tracks) {
        f.list.ClearPlayOrder();
        int k = 1;
        for (const char* t : tracks)
            f.list.SpeedButton[static_cast<std::size_t>(k++)].Caption = t;
    };
    // Two entries always swap, whatever the generator gives.
    for (int draw : {0, 1, 5, 99}) {
        setOrder({"4", "2"});
        f.fakes.random.script = {draw};
        f.list.ShufflePlayOrder();
        EXPECT_EQ(f.entries(), "2 4") << draw;
    }
    setOrder({"4"});
    f.fakes.random.requests.clear();
    f.list.ShufflePlayOrder();
    EXPECT_EQ(f.entries(), "4");
    EXPECT_TRUE(f.fakes.random.requests.empty());

    // k from the last index down to 1, each draw from 0 .. k-2.
    setOrder({"1", "2", "3", "4", "5"});
    f.fakes.random.requests.clear();
    f.fakes.random.script = {2, 0, 1, 0};
    f.list.ShufflePlayOrder();
    EXPECT_EQ(f.fakes.random.requests, (std::vector<int>{3, 2, 1, 0}));
    // k=4: swap 4,2 -> 1 2 5 4 3; k=3: swap 3,0 -> 4 2 5 1 3; k=2: random(1)=0 -> 5 2 4 1 3;
    // k=1: swap 1,0 -> 2 5 4 1 3.
    EXPECT_EQ(f.entries(), "2 5 4 1 3");

    f.list.ReversePlayOrder();
    EXPECT_EQ(f.entries(), "3 1 4 5 2");
    f.list.ClearPlayOrder();
    f.list.ReversePlayOrder();
    EXPECT_TRUE(f.list.EntryEmpty(1));
}

TEST(TrackControlProgram, AProgramPlaysEndToEnd) {
    // Tracks of 5 to 9 seconds, so that the totals tell the tracks apart.
    std::vector<CueTrack> tracks;
    for (int i = 0; i < 5; ++i)
        tracks.push_back({.seconds = 5.0 + i, .frequency = 200.0 + 100 * i, .level = 0.2});
    CdFixture f(tracks);
    EnterProgramMode(f);
    EXPECT_EQ(f.list.LabelORG.Caption, "Original Track");
    for (int entry : {3, 5, 3})
        f.list.SpeedButtonEntryClick(entry);
    f.list.SpeedButtonCDClick(0);
    f.list.SpeedButtonSAVEClick();
    ASSERT_EQ(f.main.Patterns[0], "03 05 03 .");

    f.list.SpeedButtonCDClick(0);
    f.cd.waitIdle();
    EXPECT_EQ(f.list.LabelORG.Caption, "Program Mode");
    EXPECT_EQ(f.entries(), "3 5 3");
    EXPECT_TRUE(f.main.IsCdPlaying());
    EXPECT_EQ(f.main.LabelPlayMode.Caption, "PG");
    EXPECT_EQ(f.main.LabelSTOP.Caption, "STOP");
    EXPECT_FALSE(f.main.LabelTIME.Visible);

    std::vector<unsigned> played;
    for (int second = 0; second < 40 && f.main.IsCdPlaying(); ++second) {
        const unsigned track = TrackSecond(f.position()).first;
        if (played.empty() || played.back() != track)
            played.push_back(track);
        if (second == 1) {
            EXPECT_EQ(f.main.LabelTotalMUSIC.Hint,
                      Sjis("選択トラック合計時間 00分23秒／全トラック時間 00分35秒"));
        }
        f.advance(1);
    }
    EXPECT_EQ(played, (std::vector<unsigned>{3, 5, 3}));
    EXPECT_FALSE(f.main.IsCdPlaying()) << "a one-way program stops after its last entry";
}

} // namespace
} // namespace tobira::testing
