// SPDX-License-Identifier: GPL-3.0-or-later
// The MIDI player on the real sequencer: play orders, reset songs, transport, volume offsets,
// failures and the time read-out.
#include "files/regular_file.h"
#include "support/midi_fixture.h"

#include <gmock/gmock.h>

#include <sys/stat.h>

namespace tobira::testing {
namespace {

using ::testing::ElementsAre;
using ::testing::ElementsAreArray;
using ::testing::IsEmpty;

struct OrderCase {
    const char* name;
    MidiOrder order;
    int resetType;
    std::vector<Song> songs;
    std::vector<int> randomScript;
    std::vector<std::string> played;
    std::vector<std::string> titles; // as the sequencer started each file
    std::vector<std::string> entries;
};

TEST(MidiPlayTest, PlaysTheListInItsOrderWithResetSongs) {
    const std::vector<OrderCase> cases = {
        {"name order drops the marks but keeps marked songs first",
         MidiOrder::Nor,
         0,
         {{"!2 A", "a.mid"}, {"C", "c.mid"}, {"!1 B", "b.mid"}},
         {},
         {"b.mid", "a.mid", "c.mid"},
         {"+0 B", "+0 A", "+0 C"},
         {"+0 B", "+0 A", "+0 C"}},
        {"new songs first whatever their liking; a resting unmarked song never plays",
         MidiOrder::New,
         0,
         {{"!1 Z", "z.mid", "+0", "3"}, {"A", "a.mid"}, {"B", "b.mid", "+0", "3"}},
         {},
         {"z.mid", "a.mid"},
         {"+0 !1 Z", "+0 A"},
         {"+0 !1 Z", "+0 A"}},
        {"GM reset song before every song",
         MidiOrder::Nor,
         1,
         {{"One", "one.mid"}, {"Two", "two.mid"}},
         {},
         {"GAKUFU_GM.MID", "one.mid", "GAKUFU_GM.MID", "two.mid"},
         {"... No.1", "+0 One", "... No.2", "+0 Two"},
         {"+0 One", "+0 Two"}},
        {"GS reset song",
         MidiOrder::Nor,
         2,
         {{"One", "one.mid"}},
         {},
         {"GAKUFU_GS.MID", "one.mid"},
         {"... No.1", "+0 One"},
         {"+0 One"}},
        // Weighted list [L, L, N] shuffled: i = 2 swaps with 0 (N L L), i = 1 with 0 (L N L).
        {"random play enters a loved song twice",
         MidiOrder::Rnd,
         0,
         {{"L", "l.mid", "+0", "0"}, {"N", "n.mid", "+0", "1"}},
         {0, 0},
         {"l.mid", "n.mid", "l.mid"},
         {"+0 L", "+0 N", "+0 L"},
         {"+0 L", "+0 N", "+0 L"}},
    };
    for (const OrderCase& c : cases) {
        SCOPED_TRACE(c.name);
        MidiFixture f;
        f.setup.RadioGroupReset = c.resetType;
        f.view.ChooseOrder(c.order);
        f.fakes.random.script.assign(c.randomScript.begin(), c.randomScript.end());
        f.writeList(c.songs);
        f.press(&TFormMain::SpeedButtonPLAYClick);
        EXPECT_THAT(f.view.ListBoxTitle.entryTexts(), ElementsAreArray(c.entries));
        f.playOut();
        EXPECT_THAT(f.played, ElementsAreArray(c.played));
        // The star trail follows titles narrower than the label.
        std::vector<std::string> titles;
        for (const std::string& title : f.titles)
            titles.push_back(title.substr(0, title.find("　")));
        EXPECT_THAT(titles, ElementsAreArray(c.titles));
        EXPECT_THAT(f.fakes.messages.shown, IsEmpty());
        // One-way play ends after the last entry.
        EXPECT_EQ(f.main.LabelPLAY.Font, colors::Teal);
        EXPECT_TRUE(f.view.ListBoxTitle.empty());
    }
}

TEST(MidiPlayTest, TransportJumpsWithinTheList) {
    struct Case {
        const char* name;
        int resetType;
        bool endless;
        double before; // seconds of sound before `act`
        std::function<void(MidiFixture&)> act;
        std::vector<std::string> played; // the first files played
    };
    const std::vector<Case> cases = {
        {"NXT on the last entry does nothing",
         0,
         false,
         0.2,
         [](MidiFixture& f) {
             f.press(&TFormMain::SpeedButtonNXTClick); // to two
             f.press(&TFormMain::SpeedButtonNXTClick); // to three
             f.advance(0.3);
             f.press(&TFormMain::SpeedButtonNXTClick); // on three: nothing
         },
         {"one.mid", "two.mid", "three.mid"}},
        {"BAK on the first entry restarts it after its reset song",
         1,
         false,
         0.2,
         [](MidiFixture& f) {
             f.advance(1.0); // the reset song ends, one plays
             f.press(&TFormMain::SpeedButtonBAKClick);
         },
         {"GAKUFU_GM.MID", "one.mid", "GAKUFU_GM.MID", "one.mid", "GAKUFU_GM.MID", "two.mid",
          "GAKUFU_GM.MID", "three.mid"}},
        {"Select jumps to the chosen entry",
         0,
         false,
         0.2,
         [](MidiFixture& f) {
             f.view.ListBoxTitleClick(2);
             f.view.SpeedButtonSelectClick();
             f.fakes.uiPost.runPending();
             f.note();
         },
         {"one.mid", "three.mid"}},
        {"Select during a reset song",
         1,
         false,
         0.1,
         [](MidiFixture& f) {
             f.view.ListBoxTitleClick(1);
             f.view.SpeedButtonSelectClick();
             f.fakes.uiPost.runPending();
             f.note();
         },
         {"GAKUFU_GM.MID", "GAKUFU_GM.MID", "two.mid", "GAKUFU_GM.MID", "three.mid"}},
        {"endless play wraps to the first entry with its reset song",
         1,
         true,
         0.2,
         [](MidiFixture&) {},
         {"GAKUFU_GM.MID", "one.mid", "GAKUFU_GM.MID", "two.mid", "GAKUFU_GM.MID", "three.mid",
          "GAKUFU_GM.MID", "one.mid"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        MidiFixture f;
        f.setup.RadioGroupReset = c.resetType;
        if (c.endless)
            f.main.PanelPOWClick();
        f.writeList({{"1", "one.mid"}, {"2", "two.mid"}, {"3", "three.mid"}});
        f.press(&TFormMain::SpeedButtonPLAYClick);
        f.advance(c.before);
        c.act(f);
        for (int i = 0; i < 40 && f.played.size() < c.played.size(); ++i)
            f.advance(0.5);
        f.advance(c.endless ? 0.5 : 5.0);
        std::vector<std::string> first(
            f.played.begin(),
            f.played.begin() + static_cast<long>(std::min(f.played.size(), c.played.size())));
        EXPECT_THAT(first, ElementsAreArray(c.played));
        if (!c.endless) {
            EXPECT_EQ(f.played.size(), c.played.size());
        }
        EXPECT_THAT(f.fakes.messages.shown, IsEmpty());
    }
}

TEST(MidiPlayTest, PauseHoldsTheSongAndStopEndsThePlay) {
    MidiFixture f;
    f.writeList({{"One", "one.mid"}, {"Two", "two.mid"}});
    f.press(&TFormMain::SpeedButtonPLAYClick);
    f.advance(0.5);
    f.press(&TFormMain::SpeedButtonPAUSEClick);
    EXPECT_EQ(f.main.LabelPAUSE.Font, colors::Yellow);
    f.advance(3.0); // the pause's notice must not advance the list
    EXPECT_THAT(f.played, ElementsAre("one.mid"));
    EXPECT_EQ(f.midi.mode(), DeviceMode::Paused);
    f.press(&TFormMain::SpeedButtonPLAYClick); // PLAY resumes
    EXPECT_EQ(f.main.LabelPAUSE.Font, colors::Teal);
    f.advance(1.0);
    EXPECT_THAT(f.played, ElementsAre("one.mid", "two.mid"));
    EXPECT_EQ(f.view.PanelNumber.Caption, "2");
    EXPECT_EQ(f.view.PanelNumberAll.Caption, "2");
    f.press(&TFormMain::SpeedButtonSTOPClick);
    f.advance(2.0);
    EXPECT_THAT(f.played, ElementsAre("one.mid", "two.mid"));
    EXPECT_EQ(f.main.LabelPLAY.Font, colors::Teal);
    EXPECT_EQ(f.main.LabelMidiTitle.Caption, Sjis("★ MIDI mode (KANADE mode)"));
    EXPECT_EQ(f.view.PanelNumber.Caption, "");
    EXPECT_FALSE(f.midi.isOpen());
}

TEST(MidiPlayTest, SongVolumeOffsetsAtTheSynthesizerLine) {
    struct Case {
        int mainLevel;
        const char* vol;
        int playsAt;
    };
    const Case cases[] = {{3, "-5", 1}, {8, "+5", 10}, {0, "+0", 0}, {5, "x", 5}, {4, "+2", 6}};
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.vol) + " at " + std::to_string(c.mainLevel));
        auto unitsAt = [](int mainLevel, const char* vol) {
            MidiFixture f;
            f.setup.CheckBoxMidiVolCont.Down = true;
            f.main.LabelVol.Caption = std::string(static_cast<std::size_t>(mainLevel), 'I');
            f.writeList({{"One", "one.mid", vol}});
            f.press(&TFormMain::SpeedButtonPLAYClick);
            EXPECT_TRUE(f.main.IsMidiPlaying());
            return f.engine.volume(MixerLine::Synthesizer, 0);
        };
        EXPECT_EQ(unitsAt(c.mainLevel, c.vol), unitsAt(c.playsAt, "+0"));
        EXPECT_NE(unitsAt(1, "+0"), unitsAt(2, "+0"));
    }
}

TEST(MidiPlayTest, FailuresShowTheirMessageAndStop) {
    struct Case {
        const char* name;
        int resetType;
        std::function<void(MidiFixture&)> damage;
        std::string message;
        const char* reason = nullptr; // the line after the message, UTF-8
    };
    const std::string corrupt =
        Sjis("【ＭＩＤＩタイトル】 ") + "+0 Bad\n" + Sjis("【ＭＩＤＩファイル】 ");
    const std::vector<Case> cases = {
        {"missing song", 0,
         [](MidiFixture& f) { std::filesystem::remove(PathFromCp932(f.path("two.mid"))); },
         Sjis("ＭＩＤＩファイル 【 +0 Bad 】 がありません")},
        {"corrupt song", 0,
         [](MidiFixture& f) {
             ShortSong(1.0).write(PathFromCp932(f.path("two.mid")), SmfDamage::HeaderOnly);
         },
         corrupt, "two.mid】を開けません：トラックがありません"},
        {"corrupt song after its reset song", 1,
         [](MidiFixture& f) {
             ShortSong(1.0).write(PathFromCp932(f.path("two.mid")), SmfDamage::BadHeaderLength);
         },
         corrupt, "two.mid】を開けません：ヘッダーが壊れています"},
        // A song that is there but cannot be opened: the described text, then its cause.
        {"folder", 0,
         [](MidiFixture& f) {
             const auto song = PathFromCp932(f.path("two.mid"));
             std::filesystem::remove(song);
             std::filesystem::create_directory(song);
         },
         Sjis("ＭＩＤＩファイル 【 +0 Bad 】 がありません\n"), "は通常のファイルではありません"},
        {"FIFO", 0,
         [](MidiFixture& f) {
             const auto song = PathFromCp932(f.path("two.mid"));
             std::filesystem::remove(song);
             ASSERT_EQ(::mkfifo(song.c_str(), 0644), 0);
         },
         Sjis("ＭＩＤＩファイル 【 +0 Bad 】 がありません\n"), "ありません（FIFO）"},
        {"too large", 0,
         [](MidiFixture& f) {
             std::filesystem::resize_file(PathFromCp932(f.path("two.mid")), read_limit::Song + 1);
         },
         corrupt, "は大きすぎます（上限 64 MB）"},
        {"missing reset song", 3,
         [](MidiFixture& f) { std::filesystem::remove(PathFromCp932(f.path("GAKUFU_88.MID"))); },
         Sjis("指定されたＭＩＤＩ音源初期化ファイル（GAKUFU_GM.MID または GAKUFU_GS.MID または "
              "GAKUFU_88.MID）がありません")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        MidiFixture f;
        f.setup.RadioGroupReset = c.resetType;
        f.writeList({{"Bad", "two.mid"}, {"Good", "three.mid"}});
        c.damage(f);
        f.press(&TFormMain::SpeedButtonPLAYClick);
        f.playOut(10);
        ASSERT_EQ(f.fakes.messages.shown.size(), 1u);
        EXPECT_EQ(f.fakes.messages.shown[0].substr(0, c.message.size()), c.message);
        if (c.reason) {
            const std::string shown = f.fakes.messages.shown[0];
            EXPECT_EQ(shown.substr(shown.rfind('\n') + 1).find(Sjis(c.reason)) != std::string::npos,
                      true)
                << Cp932ToUtf8(shown);
        }
        EXPECT_EQ(f.main.LabelPLAY.Font, colors::Teal);
        EXPECT_EQ(f.main.LabelSTOP.Font, colors::Aqua);
        EXPECT_TRUE(f.view.ListBoxTitle.empty());
        EXPECT_EQ(std::count(f.played.begin(), f.played.end(), "three.mid"), 0);
    }
}

TEST(MidiPlayTest, TimeReadOutFollowsTempoChanges) {
    MidiFixture f;
    // 2 s at 120 BPM, 4 s at 60 BPM, 1 s at 240 BPM: 7 s.
    SmfWriter w(1, 480);
    w.tempoBpm(0, 0, 120);
    w.tempoBpm(0, 1920, 60);
    w.tempoBpm(0, 3840, 240);
    const int t = w.addTrack();
    for (std::uint32_t tick = 0; tick < 5760; tick += 240)
        w.note(t, tick, 0, 60, 100, 240);
    w.write(PathFromCp932(f.path("tempo.mid")));
    f.writeList({{"Tempo", "tempo.mid"}}, false);
    f.press(&TFormMain::SpeedButtonPLAYClick);
    f.advance(5.0);
    EXPECT_NEAR(static_cast<int>(f.midi.length()), 70, 1);
    EXPECT_EQ(f.main.SpeedButtonPLAY.Hint, "Play Time 00:07");
    EXPECT_EQ(f.main.LabelPLAY.Caption, "00:05 PLAY");
    f.setup.CheckBoxTime.Down = true;
    f.advance(1.0);
    EXPECT_EQ(f.main.LabelPLAY.Caption, "00:00 PLAY"); // 7 - 6 - 2, at least 0
}

TEST(MidiPlayTest, TitleHoldsThenScrollsAndReturns) {
    MidiFixture f;
    f.fakes.textWidth.labelWidth = 60; // 10 bytes; the scroll stops at 50 pixels (8 bytes)
    f.writeList({{"Abcdefghij", "a.mid"}});
    ShortSong(20.0).write(PathFromCp932(f.path("a.mid")));
    f.press(&TFormMain::SpeedButtonPLAYClick);
    EXPECT_EQ(f.main.LabelMidiTitle.Caption, "+0 Abcdefghij"); // wider than the label: no stars
    f.advance(3.0);
    EXPECT_EQ(f.main.LabelMidiTitle.Caption, "+0 Abcdefghij"); // held by Timer3
    f.main.Timer3Timer();
    std::vector<std::string> seen;
    for (int i = 0; i < 7; ++i) {
        f.advance(1.0);
        seen.push_back(f.main.LabelMidiTitle.Caption);
    }
    EXPECT_THAT(seen, ElementsAre("0 Abcdefghij", " Abcdefghij", "Abcdefghij", "bcdefghij",
                                  "cdefghij", "      -- Play the MIDI --", "+0 Abcdefghij"));
}

TEST(MidiPlayTest, DroppedMidiFilesBecomeThePlayList) {
    struct Case {
        const char* name;
        bool cdMode;
        std::vector<std::string> dropped;
        std::vector<std::string> entries; // empty: the drop changed nothing
        bool message;
    };
    const std::vector<Case> cases = {
        {"MIDI files of every extension and case, a text file left out",
         false,
         {"x.mid", "notes.txt", "z.KAR", "y.MID"},
         {"+0 x.mid: x.mid", "+0 z.KAR: " + Sjis("さくら さくら"), "+0 y.MID: y.MID"},
         false},
        {"only other files", false, {"notes.txt", "x.wav"}, {}, true},
        {"CD mode", true, {"x.mid"}, {}, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        MidiFixture f;
        ShortSong(1.0, 70).write(PathFromCp932(f.path("x.mid")));
        ShortSong(1.0, 72).write(PathFromCp932(f.path("y.MID")));
        SmfWriter karaoke = ShortSong(1.0, 74);
        karaoke.text(0, 0, 0x03, Sjis("さくら さくら")); // 13 bytes: the length byte is a CR
        karaoke.write(PathFromCp932(f.path("z.KAR")));
        WriteBytes(PathFromCp932(f.path("notes.txt")), {'h', 'i'});
        WriteBytes(PathFromCp932(f.path("x.wav")), {'R', 'I', 'F', 'F'});
        f.writeList({{"One", "one.mid"}});
        f.press(&TFormMain::SpeedButtonPLAYClick);
        f.advance(0.3);
        if (c.cdMode)
            f.main.PlayerMode = PlayerModeKind::CD;
        std::vector<std::string> paths;
        for (const std::string& name : c.dropped)
            paths.push_back(f.path(name));
        const int busyBefore = f.fakes.busy.begun; // the list's read at PLAY
        f.main.PlayDroppedFiles(paths);
        f.fakes.uiPost.runPending();
        f.note();
        EXPECT_EQ(f.fakes.messages.shown.size(), c.message ? 1u : 0u);
        if (c.entries.empty()) {
            EXPECT_THAT(f.view.ListBoxTitle.entryTexts(), ElementsAre("+0 One"));
            EXPECT_THAT(f.played, ElementsAre("one.mid"));
            continue;
        }
        EXPECT_THAT(f.view.ListBoxTitle.entryTexts(), ElementsAreArray(c.entries));
        f.playOut();
        EXPECT_THAT(f.played, ElementsAre("one.mid", "x.mid", "z.KAR", "y.MID"));
        EXPECT_EQ(f.fakes.busy.depth, 0);
        EXPECT_EQ(f.fakes.busy.begun - busyBefore, 1);
    }
}

TEST(MidiPlayTest, DocumentButtonsFollowTheSongsDocuments) {
    MidiFixture f;
    f.writeList({{"One", "one.mid"}, {"Two", "two.mid"}});
    WriteBytes(PathFromCp932(f.path("one.TXT")), {'t'});
    WriteBytes(PathFromCp932(f.path("two.hed")), {'h'});
    f.press(&TFormMain::SpeedButtonPLAYClick);
    auto enabled = [&f] {
        return std::vector<bool>{f.view.SpeedButtonTxt.Enabled, f.view.SpeedButtonDoc.Enabled,
                                 f.view.SpeedButtonHed.Enabled, f.view.SpeedButtonJump.Enabled};
    };
    EXPECT_THAT(enabled(), ElementsAre(true, false, false, false));
    f.view.ListBoxTitleClick(1);
    EXPECT_THAT(enabled(), ElementsAre(true, false, false, true));
    f.advance(1.5);
    EXPECT_THAT(enabled(), ElementsAre(false, false, true, false));
    EXPECT_EQ(f.view.ListBoxTitleItemIndex, 1);
}

TEST(MidiPlayTest, ModeLabelFollowsTheOrderAndSource) {
    MidiFixture f;
    f.view.ChooseOrder(MidiOrder::New);
    f.view.ChooseSource(MidiListSource::BothLists);
    EXPECT_EQ(f.main.LabelMidiMode.Caption, "NEW2");
    f.view.ChooseOrder(MidiOrder::Rnd);
    f.view.ChooseSource(MidiListSource::List1);
    EXPECT_EQ(f.main.LabelMidiMode.Caption, "RND1");
}

} // namespace
} // namespace tobira::testing
