// SPDX-License-Identifier: GPL-3.0-or-later
#include "midi_windows/list_messages.h"
#include "midi_windows/midi_volume.h"
#include "midi_windows/play_list_builder.h"

#include "files/whole_file.h"
#include "support/fake_ports.h"
#include "support/temp_dir.h"
#include "text/cp932_convert.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace tobira {
namespace {

using Lines = std::vector<std::string>;
using testing::FakeMessages;
using testing::FakeRandom;

Lines built(const Lines& work, MidiOrder order, FakeRandom& random) {
    PlayList list;
    EXPECT_TRUE(BuildPlayList(work, order, random, list));
    return list.entryTexts();
}

TEST(BuildPlayList, NameOrderStripsMarksAndKeepsTheirPlace) {
    FakeRandom random;
    PlayList list;
    ASSERT_TRUE(BuildPlayList({"!1 B\t/b.mid\t+0\t1", "!2 A\t/a.mid\t+1\t2", "!\t/e.mid\t+0\t1",
                               "C\t/c.mid\t-1\t0", "D\t/d.mid\t+0\t3"},
                              MidiOrder::Nor, random, list));
    // A title shorter than a mark loses only itself, never the start of its path.
    EXPECT_EQ(list.entryTexts(), (Lines{"+0 B", "+1 A", "+0 ", "-1 C"}));
    EXPECT_EQ(list.paths(), (Lines{"/b.mid", "/a.mid", "/e.mid", "/c.mid"}));
    EXPECT_EQ(list.vols(), (Lines{"+0", "+1", "+0", "-1"}));
    EXPECT_EQ(list.feels(), (Lines{"1", "2", "1", "0"}));
    EXPECT_TRUE(random.requests.empty());
}

TEST(BuildPlayList, NewSongsFirstWhateverTheirFeelThenTheRestShuffled) {
    FakeRandom random;
    random.script = {1, 0};
    const Lines work = {"!1 N1\t/n1.mid\t+0\t3", "!3 N3\t/n3.mid\t+0\t1", "A\t/a.mid\t+0\t1",
                        "B\t/b.mid\t+0\t3", "C\t/c.mid\t+0\t1"};
    // The rest A, B, C: i=2 swaps with random(1)=0 -> C B A; i=1 with 0 -> B C A; B rests.
    EXPECT_EQ(built(work, MidiOrder::New, random), (Lines{"+0 !1 N1", "+0 !3 N3", "+0 C", "+0 A"}));
    EXPECT_EQ(random.requests, (std::vector<int>{1, 0}));
}

TEST(BuildPlayList, RandomWeighsByFeel) {
    FakeRandom random;
    // Feel 2 coins: 4 takes the song, 5 leaves it; then the shuffle of A A B C.
    random.script = {4, 5, 1, 0, 0};
    const Lines work = {"A\t/a.mid\t+0\t0", "B\t/b.mid\t+0\t1", "C\t/c.mid\t+0\t2",
                        "D\t/d.mid\t+0\t2", "E\t/e.mid\t+0\t3", "!1 F\t/f.mid\t+0\t3",
                        "G\t/g.mid\t+0\t7", "H\t/h.mid\t+0\t-1"};
    // i=3 swaps with 1: A C B A; i=2 with 0: B C A A; i=1 with 0: C B A A.
    EXPECT_EQ(built(work, MidiOrder::Rnd, random), (Lines{"+0 C", "+0 B", "+0 A", "+0 A"}));
    EXPECT_EQ(random.requests, (std::vector<int>{10, 10, 2, 1, 0}));
}

TEST(BuildPlayList, RandomWithLoveAndNormalGivesTheLovedSongTwice) {
    FakeRandom random;
    Lines texts = built({"A\t/a.mid\t+0\t0", "B\t/b.mid\t+0\t1"}, MidiOrder::Rnd, random);
    std::sort(texts.begin(), texts.end());
    EXPECT_EQ(texts, (Lines{"+0 A", "+0 A", "+0 B"}));
}

TEST(BuildPlayList, RandomFailsOnAFeelThatIsNoNumber) {
    FakeRandom random;
    PlayList list;
    list.append("+0 X", "/x.mid", "+0", "1");
    EXPECT_FALSE(
        BuildPlayList({"A\t/a.mid\t+0\t1", "B\t/b.mid\t+0\tx"}, MidiOrder::Rnd, random, list));
    EXPECT_EQ(list.size(), 1u); // nothing appended
    // The other orders only look for "3".
    EXPECT_TRUE(BuildPlayList({"B\t/b.mid\t+0\tx"}, MidiOrder::Nor, random, list));
    EXPECT_EQ(list.entryTexts(), (Lines{"+0 X", "+0 B"}));
}

TEST(Shuffle, SwapsEntryIWithRandomOfIMinusOne) {
    FakeRandom random;
    Lines two = {"a", "b"};
    random.script = {5};
    ShuffleVector(two, random);
    EXPECT_EQ(two, (Lines{"b", "a"})); // random(0) is 0: two entries always swap

    FakeRandom scripted;
    scripted.script = {2, 1, 0, 0};
    PlayList list;
    for (const char* s : {"0", "1", "2", "3", "4"})
        list.append(std::string("t") + s, std::string("p") + s, std::string("v") + s,
                    std::string("f") + s);
    // i=4 <-> 2: 0 1 4 3 2; i=3 <-> 1: 0 3 4 1 2; i=2 <-> 0: 4 3 0 1 2; i=1 <-> 0: 3 4 0 1 2.
    ShufflePlayList(list, scripted);
    EXPECT_EQ(scripted.requests, (std::vector<int>{3, 2, 1, 0}));
    EXPECT_EQ(list.entryTexts(), (Lines{"t3", "t4", "t0", "t1", "t2"}));
    EXPECT_EQ(list.paths(), (Lines{"p3", "p4", "p0", "p1", "p2"}));
    EXPECT_EQ(list.vols(), (Lines{"v3", "v4", "v0", "v1", "v2"}));
    EXPECT_EQ(list.feels(), (Lines{"f3", "f4", "f0", "f1", "f2"}));

    Lines none, one = {"x"};
    ShuffleVector(none, random);
    ShuffleVector(one, random);
    EXPECT_EQ(one, (Lines{"x"}));
}

TEST(LoadWorkList, ReadsTheChosenListsOrShowsTheirMessage) {
    enum File { Missing, Empty, Unreadable, Songs };
    // An unreadable list is a folder here; the message ends with that cause.
    const std::string kNotAFile = Utf8ToCp932("（通常のファイルではありません）");
    const struct {
        MidiListSource source;
        File list0, list1;
        Lines lines;         // when loaded
        std::string message; // when not
    } cases[] = {
        {MidiListSource::List0, Songs, Missing, {"!1 z\t/z", "b\t/b"}, ""},
        {MidiListSource::List1, Missing, Songs, {"!1 z\t/z", "b\t/b"}, ""},
        {MidiListSource::List0, Missing, Songs, {}, ListMissingMessage(MidiListSource::List0)},
        {MidiListSource::List1, Songs, Missing, {}, ListMissingMessage(MidiListSource::List1)},
        {MidiListSource::List0, Empty, Songs, {}, ListUnreadableMessage(MidiListSource::List0)},
        {MidiListSource::List1,
         Songs,
         Unreadable,
         {},
         ListUnreadableMessage(MidiListSource::List1) + kNotAFile},
        {MidiListSource::BothLists, Songs, Songs, {"!1 z\t/z", "!1 z\t/z", "b\t/b", "b\t/b"}, ""},
        {MidiListSource::BothLists, Missing, Songs, {"!1 z\t/z", "b\t/b"}, ""},
        {MidiListSource::BothLists, Empty, Songs, {"!1 z\t/z", "b\t/b"}, ""},
        {MidiListSource::BothLists,
         Missing,
         Missing,
         {},
         ListMissingMessage(MidiListSource::BothLists)},
        {MidiListSource::BothLists,
         Empty,
         Empty,
         {},
         ListUnreadableMessage(MidiListSource::BothLists)},
        {MidiListSource::BothLists,
         Missing,
         Empty,
         {},
         ListUnreadableMessage(MidiListSource::BothLists)},
        {MidiListSource::BothLists,
         Unreadable,
         Songs,
         {},
         ListUnreadableMessage(MidiListSource::BothLists) + kNotAFile},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::PrintToString(&c - cases));
        testing::TempDir dir;
        auto make = [&](File f, const char* name) {
            auto path = dir / name;
            if (f == Empty)
                WriteFileAtomically(path, "");
            else if (f == Unreadable)
                std::filesystem::create_directory(path);
            else if (f == Songs)
                WriteFileAtomically(path, "b\t/b\r\n!1 z\t/z\r\n");
            return *Cp932FromPath(path);
        };
        auto list0 = make(c.list0, "GAKUFU.DT0");
        auto list1 = make(c.list1, "GAKUFU.DT1");
        FakeMessages messages;
        testing::FakeBusy busy;
        auto lines = LoadWorkList(c.source, list0, list1, messages, busy);
        EXPECT_EQ(busy.asides, 1);
        if (c.message.empty()) {
            EXPECT_EQ(lines, c.lines);
            EXPECT_TRUE(messages.shown.empty());
        } else {
            EXPECT_FALSE(lines.has_value());
            EXPECT_EQ(messages.shown, (Lines{c.message}));
        }
    }
}

TEST(LoadPlayList, EmptiesThePlayListAndReportsABadFeelAsUnreadable) {
    testing::TempDir dir;
    WriteFileAtomically(dir / "GAKUFU.DT1", "A\t/a.mid\t+0\tlove\r\n");
    const std::string list0 = *Cp932FromPath(dir / "GAKUFU.DT0");
    const std::string list1 = *Cp932FromPath(dir / "GAKUFU.DT1");
    FakeRandom random;
    FakeMessages messages;
    testing::FakeBusy busy;
    PlayList list;
    list.append("+0 old", "/old.mid", "+0", "1");
    EXPECT_FALSE(LoadPlayList(MidiListSource::List1, MidiOrder::Rnd, list0, list1, random, messages,
                              busy, list));
    EXPECT_TRUE(list.empty());
    EXPECT_EQ(messages.shown, (Lines{ListUnreadableMessage(MidiListSource::List1)}));

    messages.shown.clear();
    EXPECT_TRUE(LoadPlayList(MidiListSource::List1, MidiOrder::Nor, list0, list1, random, messages,
                             busy, list));
    EXPECT_EQ(list.entryTexts(), (Lines{"+0 A"}));
    EXPECT_TRUE(messages.shown.empty());

    // Only resting songs: an empty play list, and no message.
    WriteFileAtomically(dir / "GAKUFU.DT0", "A\t/a.mid\t+0\t3\r\n");
    EXPECT_FALSE(LoadPlayList(MidiListSource::List0, MidiOrder::Nor, list0, list1, random, messages,
                              busy, list));
    EXPECT_TRUE(messages.shown.empty());
}

TEST(ListMessages, AreTheProgramsTexts) {
    EXPECT_EQ(Cp932ToUtf8(ListMissingMessage(MidiListSource::List0)),
              "リスト０ファイル（ＧＡＫＵＦＵ．ＤＴ０）がありません");
    EXPECT_EQ(
        Cp932ToUtf8(ListUnreadableMessage(MidiListSource::BothLists)),
        "リスト０とリスト１の両ファイル（ＧＡＫＵＦＵ．ＤＴ０とＧＡＫＵＦＵ．ＤＴ１）が読み込めな"
        "いか、または空です");
}

TEST(MidiVolumeLevel, AddsTheOffsetWithinTheBar) {
    const struct {
        int main;
        const char* vol;
        int level;
    } cases[] = {
        {3, "-5", 1},
        {0, "+0", 0},
        {8, "+5", 10},
        {5, "+0", 5},
        {5, "-2", 3},
        {1, "-1", 1},
        {10, "+1", 10},
        {4, "x", 4},
        {4, "", 4},
        {6, "+2147483647", 10},
        {6, "-2147483648", 1},
        // Turned all the way down stays silent, whatever the song's offset.
        {0, "-3", 0},
        {0, "+2", 2},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.main) + " " + c.vol);
        EXPECT_EQ(MidiVolumeLevel(c.main, c.vol), c.level);
    }
}

} // namespace
} // namespace tobira
