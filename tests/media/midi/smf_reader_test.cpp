// SPDX-License-Identifier: GPL-3.0-or-later
#include "media/midi/smf_playable.h"
#include "media/midi/smf_reader.h"
#include "support/smf_writer.h"
#include "support/temp_dir.h"
#include "text/cp932_convert.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <optional>
#include <random>

namespace tobira {
namespace {

using testing::SmfDamage;
using testing::SmfWriter;

SmfSong Parse(const std::vector<std::uint8_t>& bytes) {
    return ParseSmf(bytes);
}

SmfFault FaultOf(const std::vector<std::uint8_t>& bytes) {
    try {
        ParseSmf(bytes);
    } catch (const SmfError& e) {
        EXPECT_STRNE(e.what(), "");
        return e.fault();
    }
    ADD_FAILURE() << "parsed without error";
    return SmfFault::Unreadable;
}

// 480 ticks per quarter; 1920 ticks are four beats.
SmfWriter TempoChangingSong() {
    SmfWriter w(1, 480);
    w.tempoBpm(0, 0, 120);    // 4 beats: 2 s
    w.tempoBpm(0, 1920, 60);  // 4 beats: 4 s
    w.tempoBpm(0, 3840, 240); // 4 beats: 1 s
    int t = w.addTrack();
    for (std::uint32_t tick = 0; tick < 5760; tick += 240)
        w.note(t, tick, 0, 60 + static_cast<int>(tick / 240 % 12), 100, 240);
    return w;
}

TEST(SmfReader, LengthFollowsTheTempoMap) {
    struct Case {
        const char* name;
        SmfWriter writer;
        double seconds;
        std::uint32_t tenths;
        std::uint64_t lastTick;
    };
    std::vector<Case> cases;
    {
        SmfWriter w(0, 480); // no tempo event: 120 BPM
        w.note(0, 0, 0, 60, 100, 1920);
        cases.push_back({"default tempo, format 0", w, 2.0, 20, 1920});
    }
    cases.push_back(
        {"three tempos in track 0, notes in track 1", TempoChangingSong(), 7.0, 70, 5760});
    {
        SmfWriter w(1, 96);
        int t = w.addTrack();
        w.tempo(t, 0, 1000000); // tempo in a later track counts too
        w.note(t, 0, 0, 60, 100, 96);
        w.endOfTrack(t, 96 * 3); // the end-of-track event is the last event
        cases.push_back({"tempo outside track 0, late end of track", w, 3.0, 30, 288});
    }
    {
        SmfWriter w(1, 480);
        w.tempoBpm(0, 0, 60);
        w.tempoBpm(0, 0, 120); // the later of two at one tick is in force
        w.note(0, 0, 0, 60, 100, 960);
        cases.push_back({"two tempos at one tick", w, 1.0, 10, 960});
    }
    {
        SmfWriter w(1, 480);
        w.note(0, 0, 0, 60, 100, 100); // 100/960 s = 0.104 s
        cases.push_back({"rounded to the nearest tenth", w, 100.0 / 960.0, 1, 100});
    }
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SmfSong song = Parse(c.writer.bytes());
        EXPECT_NEAR(song.lengthSeconds(), c.seconds, 1e-9);
        EXPECT_EQ(song.lengthTenths(), c.tenths);
        EXPECT_EQ(song.lastTick(), c.lastTick);
    }
}

TEST(SmfReader, TicksAndSecondsConvertBothWays) {
    SmfSong song = Parse(TempoChangingSong().bytes());
    EXPECT_EQ(song.division(), 480);
    EXPECT_EQ(song.format(), 1);
    EXPECT_EQ(song.trackCount(), 2);
    ASSERT_EQ(song.tempoMap().size(), 3u);
    const std::pair<std::uint64_t, double> points[] = {
        {0, 0.0}, {960, 1.0}, {1920, 2.0}, {2400, 3.0}, {3840, 6.0}, {4800, 6.5}, {5760, 7.0}};
    for (auto [tick, seconds] : points) {
        EXPECT_NEAR(song.secondsAtTick(tick), seconds, 1e-9) << tick;
        EXPECT_EQ(song.tickAtSeconds(seconds + 1e-9), tick) << seconds;
    }
    EXPECT_EQ(song.tickAtSeconds(-1.0), 0u);
    EXPECT_EQ(song.tickAtSeconds(8.0), 5760u + 1920u); // past the end the last tempo goes on
}

using Bytes = std::vector<std::uint8_t>;

Bytes Be(std::uint32_t value, int bytes) {
    Bytes out;
    for (int i = bytes - 1; i >= 0; --i)
        out.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
    return out;
}

Bytes Cat(std::initializer_list<Bytes> parts) {
    Bytes out;
    for (const Bytes& p : parts)
        out.insert(out.end(), p.begin(), p.end());
    return out;
}

Bytes Chunk(const char* id, const Bytes& body, std::optional<std::uint32_t> length = {}) {
    return Cat(
        {Bytes(id, id + 4), Be(length.value_or(static_cast<std::uint32_t>(body.size())), 4), body});
}

Bytes Trk(const Bytes& events) {
    return Chunk("MTrk", events);
}

Bytes Smf(int format, int announced, int division, std::initializer_list<Bytes> chunks) {
    Bytes out =
        Cat({{'M', 'T', 'h', 'd'}, Be(6, 4), Be(format, 2), Be(announced, 2), Be(division, 2)});
    for (const Bytes& c : chunks)
        out.insert(out.end(), c.begin(), c.end());
    return out;
}

const Bytes kNote{0x00, 0x90, 60, 100, 0x60, 0x80, 60, 0}; // a quarter note at 96 ticks
const Bytes kEnd{0x00, 0xFF, 0x2F, 0x00};

// A RIFF chunk: its size little-endian.
Bytes RiffChunk(const char* id, const Bytes& body) {
    Bytes chunk = Chunk(id, body);
    std::reverse(chunk.begin() + 4, chunk.begin() + 8);
    return chunk;
}

Bytes Rmid(const Bytes& smf) {
    const Bytes info =
        RiffChunk("LIST", {'I', 'N', 'F', 'O', 'I', 'S', 'F', 'T', 1, 0, 0, 0, 'x', 0});
    return RiffChunk("RIFF", Cat({{'R', 'M', 'I', 'D'}, info, RiffChunk("data", smf)}));
}

// Every kind of fault real files have: what plays, and how much of it; what cannot, and why.
// What FluidSynth is given of an accepted song reads back as the same song.
TEST(SmfReader, ReadsWhatRealFilesHoldAndRefusesOnlyWhatCannotPlay) {
    Bytes manyTracks = Smf(1, 380, 96, {});
    for (int i = 0; i < 380; ++i)
        manyTracks = Cat({manyTracks, Trk(Cat({kNote, kEnd}))});
    const Bytes plain = Smf(0, 1, 96, {Trk(Cat({kNote, kEnd}))});
    const Bytes garbage{0xDE, 0xAD, 0xBE, 0xEF, 1, 2, 3, 4, 5};
    struct Accepted {
        const char* name;
        Bytes bytes;
        int tracks;
        std::uint64_t lastTick;
        std::size_t messages;
        double seconds;
        bool repaired;
    };
    const Accepted accepted[] = {
        {"format 2: one sequence after another",
         Smf(2, 2, 96, {Trk(Cat({kNote, kEnd})), Trk(Cat({kNote, kEnd}))}), 2, 192, 4, 1.0, false},
        {"format 2: each sequence starts at the first tempo",
         Smf(2, 2, 96,
             {Trk(Cat({{0, 0xFF, 0x51, 3, 0x0F, 0x42, 0x40}, kNote, kEnd})),
              Trk(Cat({kNote, kEnd}))}),
         2, 192, 4, 1.5, false},
        {"running status across a meta event",
         Smf(0, 1, 96,
             {Trk({0, 0x90, 60, 100, 0, 0xFF, 0x01, 1, 'x', 0x60, 60, 0, 0, 0xFF, 0x2F, 0})}),
         1, 96, 2, 0.5, false},
        {"running status across a SysEx",
         Smf(0, 1, 96, {Trk({0, 0x90, 60, 100, 0, 0xF0, 2, 0x7E, 0xF7, 0x60, 60, 0})}), 1, 96, 3,
         0.5, false},
        {"time signature of length 2, tempos of length 2 and 0",
         Smf(0, 1, 96,
             {Trk(Cat({{0, 0xFF, 0x58, 2, 4, 2, 0, 0xFF, 0x51, 2, 1, 2, 0, 0xFF, 0x51, 3, 0, 0, 0},
                       kNote,
                       kEnd}))}),
         1, 96, 2, 0.5, false},
        {"380 tracks", manyTracks, 380, 96, 760, 0.5, false},
        {"chunk length past the end", Smf(0, 1, 96, {Chunk("MTrk", kNote, 1000)}), 1, 96, 2, 0.5,
         true},
        {"no end of track", Smf(0, 1, 96, {Trk(kNote)}), 1, 96, 2, 0.5, false},
        {"a beat of silence", Smf(0, 1, 96, {Trk({0x60, 0xFF, 0x2F, 0})}), 1, 96, 0, 0.5, false},
        {"unknown chunk", Smf(1, 1, 96, {Chunk("XFIH", {1, 2, 3}), Trk(Cat({kNote, kEnd}))}), 1, 96,
         2, 0.5, false},
        {"header counts more tracks", Smf(1, 3, 96, {Trk(Cat({kNote, kEnd}))}), 1, 96, 2, 0.5,
         true},
        {"an extra track chunk", Smf(1, 1, 96, {Trk(Cat({kNote, kEnd})), Trk(Cat({kNote, kEnd}))}),
         2, 96, 4, 0.5, true},
        {"a track chunk named MXrk", Smf(0, 1, 96, {Chunk("MXrk", Cat({kNote, kEnd}))}), 1, 96, 2,
         0.5, true},
        {"trailing garbage", Cat({plain, {0xC3, 0x00, 0x12}}), 1, 96, 2, 0.5, false},
        {"garbage between tracks",
         Smf(1, 2, 96, {Trk(Cat({kNote, kEnd})), garbage, Trk(Cat({kNote, kEnd}))}), 2, 96, 4, 0.5,
         true},
        {"system bytes in a track",
         Smf(0, 1, 96,
             {Trk(Cat({{0, 0xF2, 1, 2, 0, 0xF8, 0, 0xF1, 5, 0, 0xF7, 1, 0xF8}, kNote, kEnd}))}),
         1, 96, 2, 0.5, true},
        {"data bytes above 127 are data, as the peers read them",
         Smf(0, 1, 96, {Trk(Cat({{0, 0x90, 60, 0xFF, 0x60, 0x80, 60, 0x81}, kEnd}))}), 1, 96, 2,
         0.5, true},
        {"a track that breaks off", Smf(0, 1, 96, {Trk(Cat({kNote, {0x10, 0x3C}}))}), 1, 96, 2, 0.5,
         true},
        {"time code: 25 frames of 40 ticks", Smf(0, 1, 0xE728, {Trk(Cat({kNote, kEnd}))}), 1, 96, 2,
         0.096, false},
        {"format 3 as format 1", Smf(3, 2, 96, {Trk(Cat({kNote, kEnd})), Trk(Cat({kNote, kEnd}))}),
         2, 96, 4, 0.5, false},
        {"RIFF RMID", Rmid(plain), 1, 96, 2, 0.5, false},
    };
    for (const Accepted& c : accepted) {
        SCOPED_TRACE(c.name);
        std::vector<SmfEvent> events;
        std::vector<SmfRepair> repairs;
        SmfSong song;
        try {
            song = ParseSmf(c.bytes, events, repairs);
        } catch (const SmfError& e) {
            ADD_FAILURE() << e.what();
            continue;
        }
        EXPECT_EQ(song.trackCount(), c.tracks);
        EXPECT_EQ(song.lastTick(), c.lastTick);
        EXPECT_EQ(events.size(), c.messages);
        EXPECT_NEAR(song.lengthSeconds(), c.seconds, 1e-9);
        EXPECT_EQ(!repairs.empty(), c.repaired);

        std::vector<SmfEvent> again;
        const SmfSong rewritten = ParseSmf(PlayableSmf(song, events), again);
        EXPECT_EQ(rewritten.lastTick(), song.lastTick());
        EXPECT_NEAR(rewritten.lengthSeconds(), song.lengthSeconds(), 1e-9);
        ASSERT_EQ(again.size(), events.size());
        for (std::size_t i = 0; i < again.size(); ++i)
            EXPECT_TRUE(again[i].tick == events[i].tick && again[i].bytes == events[i].bytes) << i;
    }

    struct Refused {
        const char* name;
        Bytes bytes;
        SmfFault fault;
        const char* reason; // UTF-8
    };
    const Refused refused[] = {
        {"empty", {}, SmfFault::NotSmf, "ＭＩＤＩファイル（SMF）ではありません"},
        {"RIFF RMID without data", Rmid({}), SmfFault::NotSmf, "ではありません"},
        {"header cut", {'M', 'T', 'h', 'd', 0, 0, 0, 6, 0}, SmfFault::BadHeader, "ヘッダー"},
        {"zero division", Smf(0, 1, 0, {Trk(Cat({kNote, kEnd}))}), SmfFault::BadDivision, "分解能"},
        {"header only, no track", Smf(0, 0, 96, {}), SmfFault::NoTracks, "トラックがありません"},
        {"meta events only", Smf(0, 1, 96, {Trk({0, 0xFF, 0x03, 1, 'x', 0, 0xFF, 0x2F, 0})}),
         SmfFault::NoEvents, "演奏するイベントがありません"},
        // A data byte with no running status at byte 24 (0-based 23).
        {"broken before any message", Smf(0, 1, 96, {Trk({0, 0x3C, 0x40, 0})}),
         SmfFault::BrokenTrack, "トラックが壊れています（24 バイト目）"},
    };
    for (const Refused& c : refused) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(FaultOf(c.bytes), c.fault);
        try {
            ParseSmf(c.bytes);
        } catch (const SmfError& e) {
            EXPECT_NE(Cp932ToUtf8(e.what()).find(c.reason), std::string::npos)
                << Cp932ToUtf8(e.what());
        }
    }
}

// A velocity or controller value written above 127 plays as FluidSynth's own player plays it,
// as 127, in every message kind, through every way the song reaches a synthesizer.
TEST(SmfReader, DataBytesAbove127PlayAs127) {
    const struct {
        const char* name;
        Bytes event; // delta time and message
        std::vector<std::uint8_t> played;
    } cases[] = {
        {"velocity 0xFF", {0, 0x90, 60, 0xFF}, {0x90, 60, 127}},
        {"controller value 0xFF", {0, 0xB0, 0x26, 0xFF}, {0xB0, 0x26, 127}},
        {"velocity 0xD0, a status byte's value", {0, 0x91, 0x4B, 0xD0}, {0x91, 0x4B, 127}},
        {"pitch bend 0xDE 0x00", {0, 0xE1, 0xDE, 0x00}, {0xE1, 127, 0}},
        {"program 0x81", {0, 0xC2, 0x81}, {0xC2, 127}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const Bytes file = Smf(0, 1, 96, {Trk(Cat({c.event, kNote, kEnd}))});
        std::vector<SmfEvent> events;
        std::vector<SmfRepair> repairs;
        SmfSong song;
        try {
            song = ParseSmf(file, events, repairs);
        } catch (const SmfError& e) {
            ADD_FAILURE() << e.what();
            continue;
        }
        ASSERT_EQ(events.size(), 3u);
        EXPECT_EQ(events[0].bytes, c.played);
        EXPECT_EQ(song.lastTick(), 96u);
        EXPECT_FALSE(repairs.empty());
        std::vector<SmfMessage> messages;
        ParseSmfMessages(file, messages);
        std::vector<SmfEvent> given;
        ParseSmf(PlayableSmf(song, file, messages), given);
        ASSERT_EQ(given.size(), 3u);
        EXPECT_EQ(given[0].bytes, c.played);
    }
}

// The loop game music marks, in each convention, on any track; a mark that makes no loop is
// none.
TEST(SmfReader, FindsTheLoopAGameWouldPlay) {
    using Marks = std::function<void(SmfWriter&, int track)>;
    const struct {
        const char* name;
        Marks marks;
        std::optional<SmfLoop> loop;
    } cases[] = {
        {"none", [](SmfWriter&, int) {}, std::nullopt},
        {"controller 111: on to the song's end",
         [](SmfWriter& w, int t) { w.controlChange(t, 960, 3, 111, 0); }, SmfLoop{960, 3840}},
        {"markers in any case",
         [](SmfWriter& w, int t) {
             w.text(t, 480, 0x06, "LoopStart");
             w.text(t, 2880, 0x06, "LOOPEND");
         },
         SmfLoop{480, 2880}},
        {"markers before controller 111",
         [](SmfWriter& w, int t) {
             w.controlChange(t, 0, 0, 111, 0);
             w.text(t, 480, 0x06, "loopStart");
             w.text(t, 2880, 0x06, "loopEnd");
         },
         SmfLoop{480, 2880}},
        {"116 and 117",
         [](SmfWriter& w, int t) {
             w.controlChange(t, 240, 0, 116, 0);
             w.controlChange(t, 1920, 0, 117, 127);
         },
         SmfLoop{240, 1920}},
        {"117 before its 116 ends nothing: on to the song's end",
         [](SmfWriter& w, int t) {
             w.controlChange(t, 100, 0, 117, 0);
             w.controlChange(t, 240, 0, 116, 0);
         },
         SmfLoop{240, 3840}},
        {"111 at the very end makes no loop",
         [](SmfWriter& w, int t) { w.controlChange(t, 3840, 0, 111, 0); }, std::nullopt},
        {"markers of no length make none",
         [](SmfWriter& w, int t) {
             w.text(t, 1000, 0x06, "loopStart");
             w.text(t, 1000, 0x06, "loopEnd");
         },
         std::nullopt},
    };
    for (const auto& c : cases) {
        for (int onTrack : {0, 1}) {
            SCOPED_TRACE(std::string(c.name) + (onTrack ? " (second track)" : ""));
            SmfWriter w(1, 480);
            const int notes = w.addTrack();
            for (std::uint32_t tick = 0; tick < 3840; tick += 480)
                w.note(notes, tick, 0, 60, 100, 480);
            c.marks(w, onTrack);
            const SmfSong song = Parse(w.bytes());
            EXPECT_EQ(song.loop(), c.loop);
        }
    }
}

// Random cuts and bit flips of a valid file: every result is a song or an SmfError, never a
// crash or a hang.
TEST(SmfReader, SurvivesTruncationAndBitFlips) {
    SmfWriter w = TempoChangingSong();
    w.gsReset(1, 0);
    w.text(1, 0, 0x03, "\x83\x65\x83\x58\x83\x67");
    const std::vector<std::uint8_t> good = w.bytes();

    // A cut file plays up to the cut: once a cut is accepted, every longer one is too.
    bool accepted = false;
    for (std::size_t keep = 0; keep <= good.size(); ++keep) {
        std::vector<std::uint8_t> cut(good.begin(), good.begin() + keep);
        bool parsed = true;
        try {
            ParseSmf(cut);
        } catch (const SmfError&) {
            parsed = false;
        }
        EXPECT_TRUE(parsed || !accepted) << keep;
        accepted = accepted || parsed;
    }
    EXPECT_TRUE(accepted);

    std::mt19937 rng(1234);
    int parsed = 0;
    for (int round = 0; round < 20000; ++round) {
        std::vector<std::uint8_t> bad = good;
        const int flips = 1 + static_cast<int>(rng() % 4);
        for (int i = 0; i < flips; ++i)
            bad[rng() % bad.size()] ^= static_cast<std::uint8_t>(1u << (rng() % 8));
        if (rng() % 4 == 0)
            bad.resize(rng() % bad.size());
        try {
            SmfSong song = ParseSmf(bad);
            EXPECT_GE(song.lengthSeconds(), 0.0);
            ++parsed;
        } catch (const SmfError&) {
        }
    }
    EXPECT_GT(parsed, 0); // flips inside note data leave a valid file
}

TEST(SmfReader, ReadsFilesAndRefusesWhatIsNotThere) {
    testing::TempDir dir;
    TempoChangingSong().write(dir / "song.mid");
    EXPECT_EQ(ReadSmfFile(dir / "song.mid").lengthTenths(), 70u);

    for (const auto& path : {dir / "missing.mid", dir.path()}) {
        try {
            ReadSmfFile(path);
            ADD_FAILURE() << path;
        } catch (const SmfError& e) {
            EXPECT_EQ(e.fault(), SmfFault::Unreadable);
        }
    }
}

} // namespace
} // namespace tobira
