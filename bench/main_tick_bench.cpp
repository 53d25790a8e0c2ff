// SPDX-License-Identifier: GPL-3.0-or-later
// The CPU cost of one Timer1 tick of the main window while the real CD device plays a disc
// image: the device queries, the end-of-entry check, the marks, the hints and the time display.
// The goal is well under 1 ms a tick.
//
//   main_tick_bench [--benchmark_filter=...]

#include "support/cd_fixture.h"

#include <benchmark/benchmark.h>

namespace {

using tobira::CueTrack;
using tobira::testing::CdFixture;

// One long silent track in the middle of a 20-track disc, so that the ticks measured never
// reach the end of an entry.
std::vector<CueTrack> Disc() {
    std::vector<CueTrack> tracks(20, CueTrack{.seconds = 4, .frequency = 0});
    tracks[11] = CueTrack{.seconds = 120, .frequency = 0};
    return tracks;
}

void BM_TickWhilePlaying(benchmark::State& state) {
    CdFixture f(Disc());
    f.setup.CheckBoxTime.Down = state.range(0) != 0; // remaining time instead of elapsed
    f.startPlaying();
    f.list.SpeedButton[12].Down = true;
    f.main.StartFromEntry(); // track 12, the long one
    f.advance(3);
    if (!f.main.IsCdPlaying() || f.main.OrderPosition != 12) {
        state.SkipWithError("the disc does not play the long track");
        return;
    }
    for (auto _ : state) {
        f.main.Timer1Timer();
        benchmark::DoNotOptimize(f.main.LabelPLAY.Caption.data());
    }
    if (!f.main.IsCdPlaying())
        state.SkipWithError("the disc stopped while measuring");
}
BENCHMARK(BM_TickWhilePlaying)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

// The tick that finds the entry's end and starts the next one (a device command and the
// applause hook), with the sound rendered in between kept out of the measurement.
void BM_TickThatStartsTheNextEntry(benchmark::State& state) {
    CdFixture f(std::vector<CueTrack>(2, CueTrack{.seconds = 4, .frequency = 0}));
    f.main.PanelPOWClick(); // endless, so the order never ends
    f.startPlaying();
    for (auto _ : state) {
        state.PauseTiming();
        f.passWithoutTicks(3); // 3 of 4 s: fewer than two seconds left
        state.ResumeTiming();
        f.main.Timer1Timer();
    }
    if (!f.main.IsCdPlaying())
        state.SkipWithError("the disc stopped while measuring");
}
BENCHMARK(BM_TickThatStartsTheNextEntry)->Unit(benchmark::kMicrosecond)->Iterations(200);

} // namespace

BENCHMARK_MAIN();
