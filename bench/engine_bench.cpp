// SPDX-License-Identifier: GPL-3.0-or-later
// What the audio thread pays per block, and how long open() keeps the UI thread busy.

#include "media/audio_engine.h"
#include "media/wave/wave_device.h"
#include "media/wave/wave_file.h"
#include "support/fake_ports.h"
#include "support/wav_writer.h"
#include "text/cp932_convert.h"

#include <benchmark/benchmark.h>

#include <filesystem>
#include <string>
#include <unistd.h>

namespace {

using namespace tobira;

// A WAV file in the temp folder for the length of the run.
struct TempWav {
    TempWav(testing::WavFormat format, long frames) {
        file = std::filesystem::temp_directory_path() /
               ("tobira-engine-bench-" + std::to_string(getpid()) + ".wav");
        testing::WriteToneWav(file, format, frames);
    }
    ~TempWav() { std::filesystem::remove(file); }
    std::string cp932() const { return *Cp932FromPath(file); }
    std::filesystem::path file;
};

void BM_RenderWithWavePlaying(benchmark::State& state) {
    const TempWav wav({44100, 2, 16}, 10 * 44100);
    AudioEngine engine;
    testing::FakeUiPost post;
    WaveDevice wave(engine, post);
    wave.setFileName(wav.cp932());
    wave.open();
    wave.settle();
    wave.play();
    const auto frames = static_cast<std::size_t>(state.range(0));
    std::vector<float> out(frames * AudioEngine::kChannels);
    for (auto _ : state) {
        engine.render(out.data(), frames);
        benchmark::DoNotOptimize(out.data());
        if (wave.mode() != DeviceMode::Playing)
            wave.play();
    }
    state.SetItemsProcessed(state.iterations() * state.range(0)); // frames
}
BENCHMARK(BM_RenderWithWavePlaying)->Arg(256)->Arg(1024)->Arg(4096);

// A typical applause: a few seconds of 22.05 kHz mono, converted to 44.1 kHz float stereo.
void BM_LoadWaveFile(benchmark::State& state) {
    const TempWav wav({22050, 1, 16}, 22050 * state.range(0));
    const std::string path = wav.cp932();
    for (auto _ : state)
        benchmark::DoNotOptimize(LoadWaveFile(path));
}
BENCHMARK(BM_LoadWaveFile)->Arg(1)->Arg(5)->Arg(20)->Unit(benchmark::kMillisecond);

// What the UI thread pays to start an applause of that length: the decoding is the worker's.
void BM_WaveOpenAndPlay(benchmark::State& state) {
    const TempWav wav({22050, 1, 16}, 22050 * state.range(0));
    AudioEngine engine;
    testing::FakeUiPost post;
    WaveDevice wave(engine, post);
    wave.setFileName(wav.cp932());
    for (auto _ : state) {
        wave.open();
        wave.play();
    }
    wave.close();
}
BENCHMARK(BM_WaveOpenAndPlay)->Arg(1)->Arg(20)->Arg(600)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
