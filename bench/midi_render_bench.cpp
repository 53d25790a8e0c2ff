// SPDX-License-Identifier: GPL-3.0-or-later
// Rendering cost of the MIDI device against the fluidsynth program on the same file and
// SoundFont, and the loudness of a typical song at the device's gain.
//
//   midi_render_bench [--benchmark_filter=...]
// TOBIRA_BENCH_SOUNDFONT names the SoundFonts, separated by ":" (default: the standard one); the
// level is measured with each, the rendering cost with the first. A SoundFont the synthesizer
// cannot load is reported with its reason, and the others are measured all the same.

#include "media/audio_engine.h"
#include "media/midi/midi_device.h"
#include "media/midi/midi_soundfont.h"
#include "media/media_device.h"
#include "support/built_synth_module.h"
#include "support/fake_ports.h"
#include "support/smf_writer.h"
#include "support/temp_dir.h"
#include "text/cp932_convert.h"
#include "typical_song.h"

#include <benchmark/benchmark.h>

#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <ctime>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

extern char** environ;

namespace {

using tobira::AudioEngine;
using tobira::MidiDevice;
using tobira::bench::TypicalSong;
using tobira::testing::SmfWriter;

const bool kModuleFound = tobira::testing::UseBuiltSynthModule();

constexpr int kRate = AudioEngine::kSampleRate;
constexpr std::size_t kBlock = 1024; // a usual SDL buffer
constexpr std::uint32_t kPpq = 480;  // at 120 BPM: 960 ticks a second

std::vector<std::filesystem::path> SoundFonts() {
    std::vector<std::filesystem::path> fonts;
    if (const char* given = std::getenv("TOBIRA_BENCH_SOUNDFONT")) {
        std::string list = given;
        for (std::size_t from = 0; from <= list.size();) {
            const std::size_t end = std::min(list.find(':', from), list.size());
            if (end > from)
                fonts.emplace_back(list.substr(from, end - from));
            from = end + 1;
        }
    }
    if (fonts.empty())
        fonts.push_back(tobira::FindDefaultSoundFont());
    return fonts;
}

std::filesystem::path SoundFont() {
    return SoundFonts().front();
}

double ProcessCpuSeconds() {
    timespec ts{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &ts);
    return static_cast<double>(ts.tv_sec) + ts.tv_nsec / 1e9;
}

// 60 s, fifteen melodic channels playing four-note chords on every eighth note, drums on
// channel 10: about 240 note starts a second.
SmfWriter DenseSong(int seconds) {
    SmfWriter w(1, kPpq);
    w.tempoBpm(0, 0, 120);
    const std::uint32_t end = static_cast<std::uint32_t>(seconds) * 960;
    for (int channel = 0; channel < 16; ++channel) {
        const int track = w.addTrack();
        if (channel != 9)
            w.programChange(track, 0, channel, (channel * 8 + 1) % 128);
        for (std::uint32_t tick = 0, step = 0; tick < end; tick += 240, ++step) {
            if (channel == 9) {
                w.note(track, tick, 9, step % 2 ? 38 : 36, 110, 120);
                w.note(track, tick, 9, 42, 90, 120);
                continue;
            }
            const int root = 36 + channel * 3 + static_cast<int>(step % 5);
            for (int k : {0, 4, 7, 12})
                w.note(track, tick, channel, root + k, 70 + static_cast<int>(step % 40), 230);
        }
        w.endOfTrack(track, end);
    }
    return w;
}

struct Rendered {
    double cpuSeconds = 0.0;
    double rms = 0.0;
    double peak = 0.0;
    double gain = 0.0;
};

// Plays `midi` through the device into the engine for `seconds`; the SoundFont is loaded before
// the clock starts (the device loads it once for all songs).
// Throws DeviceError when the SoundFont cannot be loaded.
Rendered RenderOurs(const std::filesystem::path& midi, double seconds, bool measureLevel,
                    const std::filesystem::path& soundFont = SoundFont(),
                    bool partsMetered = false) {
    AudioEngine engine;
    tobira::testing::FakeUiPost post;
    MidiDevice device(engine, post);
    device.setSoundFont(soundFont.string());
    device.setFileName(midi.string());
    device.open();
    device.settle();
    // An open part display has the parts' levels measured.
    device.parts().meter(partsMetered);

    Rendered result;
    result.gain = device.synthGain();
    std::vector<float> buffer(kBlock * 2);
    const auto blocks = static_cast<std::size_t>(seconds * kRate / kBlock);
    double sum = 0.0;
    const double start = ProcessCpuSeconds();
    device.play();
    for (std::size_t i = 0; i < blocks; ++i) {
        // The level is taken before the engine clamps, to see the real peaks.
        if (measureLevel)
            device.renderAudio(buffer.data(), kBlock);
        else
            engine.render(buffer.data(), kBlock);
        if (measureLevel)
            for (float s : buffer) {
                sum += double{s} * s;
                result.peak = std::max(result.peak, double{std::fabs(s)});
            }
        benchmark::DoNotOptimize(buffer.data());
    }
    result.cpuSeconds = ProcessCpuSeconds() - start;
    post.runPending();
    result.rms = std::sqrt(sum / (blocks * kBlock * 2));
    return result;
}

struct CliRun {
    double cpuSeconds = 0.0;
    double audioSeconds = 0.0;
};

// fluidsynth -ni -F out.wav -r 44100 <sf2> <mid>: CPU time of the child, and the audio it wrote.
CliRun RunFluidsynth(const std::filesystem::path& midi, const std::filesystem::path& wav) {
    const std::string sf2 = SoundFont().string();
    const std::string mid = midi.string();
    const std::string out = wav.string();
    std::vector<std::string> args{"fluidsynth", "-ni", "-F", out, "-r", "44100", sf2, mid};
    std::vector<char*> argv;
    for (auto& a : args)
        argv.push_back(a.data());
    argv.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    pid_t pid = 0;
    CliRun run;
    if (posix_spawnp(&pid, "fluidsynth", &actions, nullptr, argv.data(), environ) == 0) {
        int status = 0;
        rusage usage{};
        wait4(pid, &status, 0, &usage);
        run.cpuSeconds = usage.ru_utime.tv_sec + usage.ru_utime.tv_usec / 1e6 +
                         usage.ru_stime.tv_sec + usage.ru_stime.tv_usec / 1e6;
    }
    posix_spawn_file_actions_destroy(&actions);
    std::error_code ec;
    const auto bytes = std::filesystem::file_size(wav, ec);
    if (!ec && bytes > 44)
        run.audioSeconds = static_cast<double>(bytes - 44) / 4.0 / kRate;
    return run;
}

// Ours and the fluidsynth program side by side on the same dense songs of 60 s and 30 s. The
// program renders on after the song until its last voice has died, so ours renders as much
// audio as the program wrote for each song: the whole-run ratio compares equal lengths. The
// program's fixed cost (process start, SoundFont load) cancels in the difference between the
// two songs, which is what rendering the 30 s in between costs.
void BM_DenseSongOursVsFluidsynth(benchmark::State& state) {
    if (std::system("command -v fluidsynth >/dev/null 2>&1") != 0) {
        state.SkipWithError("the fluidsynth program is not installed (apt-get install fluidsynth): "
                            "comparison skipped");
        return;
    }
    tobira::testing::TempDir dir;
    DenseSong(60).write(dir / "dense60.mid");
    DenseSong(30).write(dir / "dense30.mid");
    for (auto _ : state) {
        const CliRun cli60 = RunFluidsynth(dir / "dense60.mid", dir / "dense60.wav");
        const CliRun cli30 = RunFluidsynth(dir / "dense30.mid", dir / "dense30.wav");
        const auto length = [](const CliRun& cli, double song) {
            return cli.audioSeconds > 0.0 ? cli.audioSeconds : song;
        };
        Rendered ours60, ours30;
        try {
            ours60 = RenderOurs(dir / "dense60.mid", length(cli60, 60.0), false);
            ours30 = RenderOurs(dir / "dense30.mid", length(cli30, 30.0), false);
        } catch (const tobira::DeviceError& e) {
            state.SkipWithError(tobira::Cp932ToUtf8(e.what()).c_str());
            return;
        }
        const double cliMarginal = cli60.cpuSeconds - cli30.cpuSeconds;
        const double oursMarginal = ours60.cpuSeconds - ours30.cpuSeconds;
        state.SetIterationTime(ours60.cpuSeconds);
        state.counters["ours_60s_cpu_s"] = ours60.cpuSeconds;
        state.counters["cli_60s_cpu_s"] = cli60.cpuSeconds;
        state.counters["audio_60s_s"] = length(cli60, 60.0);
        state.counters["ratio_60s_whole"] = ours60.cpuSeconds / cli60.cpuSeconds;
        state.counters["ratio_marginal_30s"] = oursMarginal / cliMarginal;
    }
}
BENCHMARK(BM_DenseSongOursVsFluidsynth)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3);

// The cost of an open part display: the dense song rendered with the parts' levels measured,
// and without, one after the other in each iteration so that both meet the same load.
void BM_DenseSongPartDisplay(benchmark::State& state) {
    tobira::testing::TempDir dir;
    DenseSong(60).write(dir / "dense60.mid");
    for (auto _ : state) {
        Rendered closed, open;
        try {
            closed = RenderOurs(dir / "dense60.mid", 60.0, false);
            open = RenderOurs(dir / "dense60.mid", 60.0, false, SoundFont(), true);
        } catch (const tobira::DeviceError& e) {
            state.SkipWithError(tobira::Cp932ToUtf8(e.what()).c_str());
            return;
        }
        state.SetIterationTime(open.cpuSeconds);
        state.counters["closed_cpu_s"] = closed.cpuSeconds;
        state.counters["open_cpu_s"] = open.cpuSeconds;
        state.counters["open_over_closed"] = open.cpuSeconds / closed.cpuSeconds;
    }
}
BENCHMARK(BM_DenseSongPartDisplay)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(3);

// RMS and peak (dBFS, before the engine's clamp) of a typical song at the gain the device chose.
void TypicalSongLevel(benchmark::State& state, const std::filesystem::path& soundFont) {
    tobira::testing::TempDir dir;
    TypicalSong(30).write(dir / "typical.mid");
    for (auto _ : state) {
        Rendered r;
        try {
            r = RenderOurs(dir / "typical.mid", 30.0, true, soundFont);
        } catch (const tobira::DeviceError& e) {
            state.SkipWithError(tobira::Cp932ToUtf8(e.what()).c_str());
            return;
        }
        state.SetIterationTime(r.cpuSeconds);
        state.counters["gain"] = r.gain;
        state.counters["rms_dbfs"] = 20.0 * std::log10(std::max(r.rms, 1e-12));
        state.counters["peak_dbfs"] = 20.0 * std::log10(std::max(r.peak, 1e-12));
    }
}

} // namespace

int main(int argc, char** argv) {
    for (const std::filesystem::path& font : SoundFonts())
        benchmark::RegisterBenchmark(("BM_TypicalSongLevel/" + font.filename().string()).c_str(),
                                     TypicalSongLevel, font)
            ->UseManualTime()
            ->Unit(benchmark::kMillisecond)
            ->Iterations(1);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
