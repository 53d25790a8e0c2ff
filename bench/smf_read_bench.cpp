// Opening a big song as the MIDI device does: the file read, every track parsed and merged into
// playing order, and the song written again for FluidSynth's player (the few messages that
// select instruments, which the device copies besides, are left out). A 4 MB file of 380
// tracks; the goal is 50 ms.

#include "media/midi/smf_playable.h"
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

void BM_OpenBigSong(benchmark::State& state) {
    tobira::testing::TempDir dir;
    const std::vector<std::uint8_t> song = BigSong();
    tobira::testing::WriteBytes(dir / "big.mid", song);
    std::size_t messages = 0;
    for (auto _ : state) {
        std::vector<tobira::SmfMessage> found;
        const std::vector<std::uint8_t> file = tobira::ReadSmfBytes(dir / "big.mid");
        const tobira::SmfSong parsed = tobira::ParseSmfMessages(file, found);
        const std::vector<std::uint8_t> playable = tobira::PlayableSmf(parsed, file, found);
        benchmark::DoNotOptimize(playable.data());
        messages = found.size();
        state.counters["tracks"] = parsed.trackCount();
    }
    state.counters["file_mb"] = static_cast<double>(song.size()) / 1e6;
    state.counters["messages"] = static_cast<double>(messages);
}
BENCHMARK(BM_OpenBigSong)->Unit(benchmark::kMillisecond);

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
