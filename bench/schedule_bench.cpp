// SPDX-License-Identifier: GPL-3.0-or-later
// Cost of getting a song ready for an external sound module (reading it, timing every message
// on the tempo map) and of feeding the whole song to a queue, on a busy five-minute song.

#include "media/midi/midi_schedule.h"
#include "media/midi/sequencer_player.h"
#include "support/smf_writer.h"

#include <benchmark/benchmark.h>

namespace {

using tobira::testing::SmfWriter;

// Five minutes at 480 ticks a quarter, a tempo change every bar, sixteen tracks of eighth
// notes with a controller each beat: 48,000 messages.
std::vector<std::uint8_t> BusySong() {
    SmfWriter w(1, 480);
    const std::uint32_t end = 5 * 60 * 2 * 480; // at about 120 BPM
    for (std::uint32_t bar = 0; bar < end; bar += 1920)
        w.tempoBpm(0, bar, 110 + (bar / 1920) % 20);
    for (int ch = 0; ch < 16; ++ch) {
        const int t = w.addTrack();
        for (std::uint32_t tick = 0; tick < end; tick += 240) {
            w.note(t, tick, ch, 40 + (tick / 240 + ch) % 40, 90, 200);
            if (tick % 480 == 0)
                w.controlChange(t, tick, ch, 11, 60 + (tick / 480) % 60);
        }
    }
    return w.bytes();
}

class NullSink final : public tobira::MidiEventSink {
  public:
    bool schedule(std::uint64_t, std::span<const std::uint8_t> m) override {
        bytes += m.size();
        return true;
    }
    void sendNow(std::span<const std::uint8_t>) override {}
    void dropQueued() override {}
    void startClock(std::uint64_t micros) override { clock = micros; }
    void haltClock() override {}
    std::uint64_t clockMicros() const override { return clock; }
    void flush() override {}
    std::uint64_t clock = 0;
    std::size_t bytes = 0;
};

void BM_ScheduleSong(benchmark::State& state) {
    const auto bytes = BusySong();
    std::size_t events = 0;
    for (auto _ : state) {
        const tobira::MidiSchedule schedule = tobira::ScheduleSmf(bytes);
        events = schedule.events().size();
        benchmark::DoNotOptimize(schedule.lengthMicros());
    }
    state.counters["messages"] = static_cast<double>(events);
}
BENCHMARK(BM_ScheduleSong)->Unit(benchmark::kMillisecond);

// The feeder's work over the whole song, one pump every 50 ms of clock.
void BM_FeedWholeSong(benchmark::State& state) {
    const tobira::MidiSchedule schedule = tobira::ScheduleSmf(BusySong());
    for (auto _ : state) {
        NullSink sink;
        tobira::SequencerPlayer player(sink);
        player.load(schedule);
        player.play();
        while (player.state() == tobira::SequencerPlayer::State::Playing) {
            sink.clock += 50'000;
            player.pump();
        }
        benchmark::DoNotOptimize(sink.bytes);
    }
}
BENCHMARK(BM_FeedWholeSong)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
