// SPDX-License-Identifier: GPL-3.0-or-later
// How much faster than real time a disc image plays through the CD device and the audio engine:
// the worker reads and converts on its own thread while this thread pulls 1024-frame blocks, as
// the SDL callback does, as fast as it can. The goals: at least 500 x real time from a BIN
// image, at least 100 x from a FLAC image (decoded on the worker thread).
//
//   cd_render_bench [--benchmark_filter=...]

#include "media/audio_engine.h"
#include "media/cd/cd_device.h"
#include "media/cd/cue_bin_writer.h"
#include "support/cue_files.h"
#include "support/temp_dir.h"

#include <benchmark/benchmark.h>

#include <ctime>
#include <string>
#include <vector>

namespace {

using tobira::AudioEngine;
using tobira::CdDevice;
using tobira::DeviceMode;

constexpr int kRate = AudioEngine::kSampleRate;
constexpr std::size_t kBlock = 1024;
constexpr int kTracks = 10;
constexpr int kTrackSeconds = 6;

double ProcessCpuSeconds() {
    timespec ts{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &ts);
    return static_cast<double>(ts.tv_sec) + static_cast<double>(ts.tv_nsec) / 1e9;
}

// The whole disc, from track 1 to its end, as fast as the device delivers it. Blocks that find
// the read-ahead empty come out silent and are simply pulled again.
void BM_PlayWholeDisc(benchmark::State& state) {
    tobira::testing::TempDir dir;
    std::vector<tobira::CueTrack> tracks;
    for (int t = 0; t < kTracks; ++t)
        tracks.push_back({.seconds = kTrackSeconds, .frequency = 220.0 * (t + 1)});
    auto image = tobira::WriteCueBin(dir.path(), "bench", tracks);
    if (state.range(0) == 1) {
        // The same disc as one FLAC file.
        const std::vector<char> bin = tobira::testing::ReadFileBytes(image.bin);
        tobira::testing::WriteCueFile(dir / "bench.flac", tobira::testing::CueFileKind::Flac, bin,
                                      0, image.totalSectors);
        std::string sheet = "FILE \"bench.flac\" WAVE\n";
        for (int t = 0; t < kTracks; ++t)
            sheet += "TRACK " + std::to_string(t + 1) + " AUDIO\nINDEX 01 " +
                     tobira::CueTime(image.trackStarts[static_cast<std::size_t>(t)]) +
                     "\n";
        tobira::testing::WriteFileBytes(image.cue, sheet);
        std::filesystem::remove(image.bin);
    }

    AudioEngine engine;
    CdDevice cd(engine);
    cd.setFileName(image.cue.string());
    cd.open();
    cd.waitIdle();

    std::vector<float> block(kBlock * 2);
    double audioSeconds = 0;
    double cpuSeconds = 0;
    std::int64_t starved = 0;
    for (auto _ : state) {
        const double cpuBefore = ProcessCpuSeconds();
        cd.playFrom(1);
        std::int64_t blocks = 0;
        while (cd.mode() == DeviceMode::Playing) {
            const auto before = cd.position();
            engine.render(block.data(), kBlock);
            benchmark::DoNotOptimize(block.data());
            starved += cd.position() == before;
            ++blocks;
        }
        cpuSeconds += ProcessCpuSeconds() - cpuBefore;
        audioSeconds += kTracks * kTrackSeconds;
        state.counters["blocks"] = static_cast<double>(blocks);
    }
    state.counters["x_realtime"] = benchmark::Counter(audioSeconds, benchmark::Counter::kIsRate);
    state.counters["cpu_x_realtime"] = audioSeconds / cpuSeconds;
    state.counters["starved_blocks"] =
        static_cast<double>(starved) / static_cast<double>(state.iterations());
}
BENCHMARK(BM_PlayWholeDisc)
    ->ArgName("flac")
    ->Arg(0)
    ->Arg(1)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

} // namespace

BENCHMARK_MAIN();
