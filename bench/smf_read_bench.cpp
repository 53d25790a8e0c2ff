// SPDX-License-Identifier: GPL-3.0-or-later
// Opening a big song as the MIDI device does: on the UI thread the file read and every track
// checked, the few messages that select instruments kept; on the loader the tracks merged into
// the play stream. A 4 MB file of 380 tracks (the goal is 50 ms), and a dense file of 63 MB:
// ten million notes at one instant.

#include "media/midi/midi_stream.h"
#include "media/midi/smf_reader.h"
#include "support/smf_writer.h"
#include "support/temp_dir.h"

#include <benchmark/benchmark.h>

namespace {

using tobira::testing::SmfWriter;

// 380 tracks over all 16 channels, each with its own notes and controllers: about 4 MB.
std::vector<std::uint8_t> BigSong() {
    SmfWriter w(1, 480);
    w.tempoBpm(0, 0, 120);
    for (int t = 0; t < 380; ++t) {
        const int track = t == 0 ? 0 : w.addTrack();
        const int channel = t % 16;
        w.programChange(track, 0, channel, t % 128);
        for (std::uint32_t tick = 0; tick < 480u * 4 * 200; tick += 480u * 4 * 200 / 900) {
            w.note(track, tick, channel, 36 + (tick / 60 + t) % 60, 64 + t % 60, 100);
            w.controlChange(track, tick, channel, 11, (tick / 30) % 128);
        }
    }
    return w.bytes();
}

std::vector<std::uint8_t> Song(bool dense) {
    return dense ? tobira::testing::DenseSmf(11'000'000, {0}, 9600) : BigSong();
}

bool ProgramChange(std::span<const std::uint8_t>, std::size_t, std::uint8_t status) {
    return (status & 0xF0) == 0xC0;
}

void BM_OpenBigSong(benchmark::State& state) {
    tobira::testing::TempDir dir;
    const std::vector<std::uint8_t> song = Song(state.range(0) != 0);
    tobira::testing::WriteBytes(dir / "big.mid", song);
    for (auto _ : state) {
        std::vector<tobira::SmfMessage> found;
        std::vector<tobira::SmfTrackSpan> tracks;
        const std::vector<std::uint8_t> file = tobira::ReadSmfBytes(dir / "big.mid");
        const tobira::SmfSong parsed = tobira::ParseSmfLayout(file, found, ProgramChange, tracks);
        benchmark::DoNotOptimize(found.data());
        state.counters["tracks"] = parsed.trackCount();
    }
    state.counters["file_mb"] = static_cast<double>(song.size()) / 1e6;
}
BENCHMARK(BM_OpenBigSong)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

void BM_StreamBigSong(benchmark::State& state) {
    const std::vector<std::uint8_t> song = Song(state.range(0) != 0);
    std::vector<tobira::SmfMessage> found;
    std::vector<tobira::SmfTrackSpan> tracks;
    const tobira::SmfSong parsed = tobira::ParseSmfLayout(song, found, ProgramChange, tracks);
    for (auto _ : state) {
        const tobira::MidiStream stream(song, parsed, tracks);
        state.counters["messages"] = static_cast<double>(stream.messages());
        state.counters["stream_mb"] = static_cast<double>(stream.bytes()) / 1e6;
    }
}
BENCHMARK(BM_StreamBigSong)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// Parsing alone, and with every message copied out as the inspection and the ALSA output do.
void BM_ParseBigSong(benchmark::State& state) {
    const std::vector<std::uint8_t> song = BigSong();
    for (auto _ : state) {
        std::vector<tobira::SmfEvent> events;
        if (state.range(0))
            benchmark::DoNotOptimize(tobira::ParseSmf(song, events));
        else
            benchmark::DoNotOptimize(tobira::ParseSmf(song));
    }
}
BENCHMARK(BM_ParseBigSong)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
