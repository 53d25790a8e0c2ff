// SPDX-License-Identifier: GPL-3.0-or-later
#include "media/midi/midi_schedule.h"
#include "media/midi/sequencer_player.h"
#include "support/smf_writer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <tuple>
#include <vector>

namespace tobira {
namespace {

using testing::SmfWriter;
using Bytes = std::vector<std::uint8_t>;

// A sink that behaves like a sequencer queue on a clock the test moves: it records what reaches
// the module and when, and what was sent at once.
class RecordingSink final : public MidiEventSink {
  public:
    struct Arrival {
        std::uint64_t micros;
        Bytes bytes;
        bool immediate;
    };
    std::vector<Arrival> arrived;
    std::vector<std::pair<std::uint64_t, Bytes>> queued;
    std::uint64_t clock = 0;
    bool running = false;
    std::size_t room = SIZE_MAX; // how many more messages the queue takes

    bool schedule(std::uint64_t micros, std::span<const std::uint8_t> m) override {
        if (room == 0)
            return false;
        --room;
        queued.emplace_back(micros, Bytes(m.begin(), m.end()));
        return true;
    }
    void sendNow(std::span<const std::uint8_t> m) override {
        arrived.push_back({clock, Bytes(m.begin(), m.end()), true});
    }
    void dropQueued() override { queued.clear(); }
    void startClock(std::uint64_t micros) override {
        clock = micros;
        running = true;
    }
    void haltClock() override { running = false; }
    std::uint64_t clockMicros() const override { return clock; }
    void flush() override {}

    // Lets the clock run to `micros`, delivering what falls due, in queue order.
    void runTo(std::uint64_t micros) {
        if (!running)
            return;
        clock = micros;
        std::stable_sort(queued.begin(), queued.end(),
                         [](const auto& a, const auto& b) { return a.first < b.first; });
        auto due = std::find_if(queued.begin(), queued.end(),
                                [micros](const auto& q) { return q.first > micros; });
        for (auto it = queued.begin(); it != due; ++it)
            arrived.push_back({it->first, it->second, false});
        queued.erase(queued.begin(), due);
    }

    std::vector<Arrival> scheduledArrivals() const {
        std::vector<Arrival> out;
        std::copy_if(arrived.begin(), arrived.end(), std::back_inserter(out),
                     [](const Arrival& a) { return !a.immediate; });
        return out;
    }
};

// Plays with pumps every 50 ms of clock until the player reports the end (or `until`).
int PlayThrough(SequencerPlayer& player, RecordingSink& sink, std::uint64_t until = UINT64_MAX) {
    int ends = 0;
    while (player.state() == SequencerPlayer::State::Playing && sink.clock < until) {
        sink.runTo(std::min(sink.clock + 50'000, until));
        ends += player.pump();
    }
    return ends;
}

MidiSchedule Schedule(const SmfWriter& w) {
    return ScheduleSmf(w.bytes());
}

// Three tempos (2 s, 4 s, then 1 s for four beats each at 480 ticks a quarter), notes in two
// tracks, a GS reset and a system exclusive stored without its end byte.
struct Song {
    SmfWriter writer{1, 480};
    // Expected arrivals: tick, bytes, in playing order.
    std::vector<std::pair<std::uint32_t, Bytes>> expected;
};

double SecondsAt(std::uint32_t tick) {
    if (tick <= 1920)
        return tick / 960.0;
    if (tick <= 3840)
        return 2.0 + (tick - 1920) / 480.0;
    return 6.0 + (tick - 3840) / 1920.0;
}

Song TempoSong() {
    struct Expect {
        std::uint32_t tick;
        int track;
        int rank; // the writer puts a track's note-offs first at a tick
        std::size_t sequence;
        Bytes bytes;
    };
    std::vector<Expect> expect;
    const auto add = [&expect](std::uint32_t tick, int track, int rank, Bytes bytes) {
        expect.push_back({tick, track, rank, expect.size(), std::move(bytes)});
    };
    Song s;
    SmfWriter& w = s.writer;
    w.tempoBpm(0, 0, 120);
    w.tempoBpm(0, 1920, 60);
    w.tempoBpm(0, 3840, 240);
    const int a = w.addTrack();
    const int b = w.addTrack();
    w.gsReset(a, 0);
    add(0, a, 1, {0xF0, 0x41, 0x10, 0x42, 0x12, 0x40, 0x00, 0x7F, 0x00, 0x41, 0xF7});
    w.sysex(b, 0, {0x7E, 0x7F, 0x09, 0x01}); // stored without F7
    add(0, b, 1, {0xF0, 0x7E, 0x7F, 0x09, 0x01, 0xF7});
    w.programChange(a, 0, 0, 19);
    add(0, a, 1, {0xC0, 19});
    for (std::uint32_t tick = 0; tick < 5760; tick += 480) {
        const auto key = static_cast<std::uint8_t>(60 + tick / 480);
        w.note(a, tick, 0, key, 100, 240);
        add(tick, a, 1, {0x90, key, 100});
        add(tick + 240, a, 0, {0x90, key, 0});
        w.note(b, tick + 120, 9, 36, 90, 60);
        add(tick + 120, b, 1, {0x99, 36, 90});
        add(tick + 180, b, 0, {0x99, 36, 0});
    }
    std::sort(expect.begin(), expect.end(), [](const Expect& x, const Expect& y) {
        return std::tie(x.tick, x.track, x.rank, x.sequence) <
               std::tie(y.tick, y.track, y.rank, y.sequence);
    });
    for (Expect& e : expect)
        s.expected.push_back({e.tick, std::move(e.bytes)});
    return s;
}

TEST(SequencerPlayer, PlaysEveryMessageWholeInOrderOnTheTempoMap) {
    Song song = TempoSong();
    RecordingSink sink;
    SequencerPlayer player(sink);
    player.load(Schedule(song.writer));
    EXPECT_EQ(player.lengthMicros(), 6'875'000u) << "the last note-off, at tick 5520";
    player.play();
    ASSERT_EQ(PlayThrough(player, sink), 1) << "one end";

    const auto got = sink.scheduledArrivals();
    ASSERT_EQ(got.size(), song.expected.size());
    for (std::size_t i = 0; i < got.size(); ++i) {
        SCOPED_TRACE("message " + std::to_string(i));
        const auto& [tick, bytes] = song.expected[i];
        EXPECT_EQ(got[i].bytes, bytes);
        EXPECT_NEAR(static_cast<double>(got[i].micros), SecondsAt(tick) * 1e6, 1000.0);
    }
    EXPECT_EQ(player.state(), SequencerPlayer::State::Stopped);
    EXPECT_EQ(player.positionMicros(), player.lengthMicros());
}

bool IsSilence(const std::vector<RecordingSink::Arrival>& sent, std::size_t from) {
    // Reset controllers then all notes off, on each of the 16 channels.
    if (sent.size() < from + 32)
        return false;
    for (std::uint8_t ch = 0; ch < 16; ++ch) {
        const auto& reset = sent[from + 2 * ch];
        const auto& off = sent[from + 2 * ch + 1];
        if (!reset.immediate || reset.bytes != Bytes{static_cast<std::uint8_t>(0xB0 | ch), 121, 0})
            return false;
        if (!off.immediate || off.bytes != Bytes{static_cast<std::uint8_t>(0xB0 | ch), 123, 0})
            return false;
    }
    return true;
}

TEST(SequencerPlayer, HaltsSilenceTheModuleAndResumeWhereTheyLeftOff) {
    // A note about every 99 ms (19 ticks at 120 BPM and 96 ticks a quarter), with the
    // expression and the program set at the start.
    SmfWriter w(1, 96);
    w.controlChange(0, 0, 2, 11, 80);
    w.programChange(0, 0, 2, 5);
    for (std::uint32_t i = 0; i < 40; ++i)
        w.note(0, i * 19, 2, 40 + static_cast<int>(i), 100, 10); // 19 ticks ~ 99 ms
    struct Case {
        const char* name;
        void (SequencerPlayer::*halt)();
        SequencerPlayer::State state;
        bool backToStart;
    };
    const Case cases[] = {
        {"stop", &SequencerPlayer::stop, SequencerPlayer::State::Stopped, false},
        {"pause", &SequencerPlayer::pause, SequencerPlayer::State::Paused, false},
        {"previous", &SequencerPlayer::rewind, SequencerPlayer::State::Stopped, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        RecordingSink sink;
        SequencerPlayer player(sink);
        player.load(ScheduleSmf(w.bytes()));
        player.play();
        PlayThrough(player, sink, 1'000'000);
        const std::size_t before = sink.arrived.size();
        (player.*c.halt)();
        EXPECT_EQ(player.state(), c.state);
        EXPECT_TRUE(sink.queued.empty()) << "what was queued ahead is forgotten";
        EXPECT_TRUE(IsSilence(sink.arrived, before));
        EXPECT_EQ(player.positionMicros(), c.backToStart ? 0u : 1'000'000u);

        // Every note plays exactly once over the halt, and after a resume the channel's
        // expression and program are back before its next note.
        sink.arrived.erase(sink.arrived.begin() + static_cast<long>(before),
                           sink.arrived.begin() + static_cast<long>(before) + 32);
        const std::size_t resumedAt = sink.arrived.size();
        player.play();
        ASSERT_EQ(PlayThrough(player, sink), 1);
        std::vector<int> notes;
        for (const auto& a : sink.arrived)
            if (a.bytes[0] == 0x92 && a.bytes[2] > 0)
                notes.push_back(a.bytes[1]);
        std::vector<int> expectedNotes;
        if (c.backToStart)
            for (int i = 40; i < 51; ++i)
                expectedNotes.push_back(i); // the first second, before the rewind
        for (int i = 40; i < 80; ++i)
            expectedNotes.push_back(i);
        EXPECT_EQ(notes, expectedNotes);
        if (!c.backToStart) {
            ASSERT_GT(sink.arrived.size(), resumedAt + 2);
            EXPECT_EQ(sink.arrived[resumedAt].bytes, (Bytes{0xC2, 5}));
            EXPECT_EQ(sink.arrived[resumedAt + 1].bytes, (Bytes{0xB2, 11, 80}));
        }
    }
}

TEST(SequencerPlayer, AFullQueueLosesNothing) {
    Song song = TempoSong();
    RecordingSink sink;
    sink.room = 3;
    SequencerPlayer player(sink);
    player.load(Schedule(song.writer));
    player.play();
    while (player.state() == SequencerPlayer::State::Playing) {
        sink.runTo(sink.clock + 50'000);
        sink.room = 3; // the module took some; room for a few more
        player.pump();
    }
    const auto got = sink.scheduledArrivals();
    ASSERT_EQ(got.size(), song.expected.size());
    for (std::size_t i = 0; i < got.size(); ++i)
        EXPECT_EQ(got[i].bytes, song.expected[i].second) << "message " << i;
}

TEST(SequencerPlayer, PlayFromStartsLaterWithTheChannelStateOfThatPoint) {
    SmfWriter w(1, 480);              // 120 BPM: 960 ticks a second
    w.controlChange(0, 0, 0, 0, 1);   // bank
    w.controlChange(0, 0, 0, 7, 90);  // volume
    w.controlChange(0, 0, 0, 101, 0); // a parameter number: not a state of its own
    w.programChange(0, 0, 0, 10);
    w.controlChange(0, 960, 0, 7, 70); // one second in
    w.note(0, 1920, 0, 64, 100, 480);  // two seconds in
    RecordingSink sink;
    SequencerPlayer player(sink);
    player.load(ScheduleSmf(w.bytes()));
    player.playFrom(1'500'000);
    EXPECT_EQ(sink.clock, 1'500'000u);
    std::vector<Bytes> immediate;
    for (const auto& a : sink.arrived)
        immediate.push_back(a.bytes);
    EXPECT_EQ(immediate, (std::vector<Bytes>{{0xB0, 0, 1}, {0xC0, 10}, {0xB0, 7, 70}}));
    PlayThrough(player, sink);
    const auto got = sink.scheduledArrivals();
    ASSERT_EQ(got.size(), 2u);
    EXPECT_EQ(got[0].bytes, (Bytes{0x90, 64, 100}));
    EXPECT_EQ(got[0].micros, 2'000'000u);
}

TEST(SequencerPlayer, NothingLeftToPlayEndsAtTheStart) {
    // A song file over at its first tick is refused by the reader; an empty schedule stands for it.
    const MidiSchedule empty;
    SmfWriter song(0, 480);
    song.note(0, 0, 0, 60, 100, 960);
    struct Case {
        const char* name;
        MidiSchedule schedule;
        bool (SequencerPlayer::*start)();
        std::uint64_t from;
        bool ended;
    };
    const Case cases[] = {
        {"an empty song", empty, &SequencerPlayer::play, 0, true},
        {"from its end", ScheduleSmf(song.bytes()), nullptr, 1'000'000, true},
        {"from past its end", ScheduleSmf(song.bytes()), nullptr, 5'000'000, true},
        {"from just before its end", ScheduleSmf(song.bytes()), nullptr, 999'000, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        RecordingSink sink;
        SequencerPlayer player(sink);
        player.load(c.schedule);
        const bool ended = c.start ? (player.*c.start)() : player.playFrom(c.from);
        EXPECT_EQ(ended, c.ended);
        EXPECT_EQ(player.state(),
                  c.ended ? SequencerPlayer::State::Stopped : SequencerPlayer::State::Playing);
        if (c.ended) {
            EXPECT_EQ(player.positionMicros(), player.lengthMicros());
        }
    }
}

} // namespace
} // namespace tobira
