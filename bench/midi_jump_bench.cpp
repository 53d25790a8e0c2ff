// SPDX-License-Identifier: GPL-3.0-or-later
// A jump inside a big song as the player makes it: the position asked for through the device,
// and the one render call of the audio thread that sets up the song's state there and sounds
// its held notes, timed. The song: 380 tracks, 4 MB, over five minutes of notes, controllers,
// bends, program changes and tempo changes on every channel. Goal: 20 ms per jump at most.
//
//   midi_jump_bench [--benchmark_filter=...]
// TOBIRA_BENCH_SOUNDFONT names the SoundFont (default: the standard one).

#include "media/audio_engine.h"
#include "media/midi/midi_device.h"
#include "media/midi/midi_soundfont.h"
#include "support/built_synth_module.h"
#include "support/fake_ports.h"
#include "support/smf_writer.h"
#include "support/temp_dir.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <random>
#include <vector>

namespace {

using tobira::AudioEngine;
using tobira::MidiDevice;

const bool kModuleFound = tobira::testing::UseBuiltSynthModule();

constexpr int kTracks = 380;
constexpr std::uint32_t kPpq = 480;
constexpr std::uint32_t kSongTicks = 320 * 960; // five minutes and more at 120 BPM

void PutVarLen(std::vector<std::uint8_t>& out, std::uint32_t value) {
    std::uint8_t groups[5];
    int n = 0;
    do {
        groups[n++] = static_cast<std::uint8_t>(value & 0x7F);
        value >>= 7;
    } while (value > 0);
    while (n > 1)
        out.push_back(groups[--n] | 0x80);
    out.push_back(groups[0]);
}

void PutBe32(std::vector<std::uint8_t>& out, std::uint32_t value) {
    for (int shift = 24; shift >= 0; shift -= 8)
        out.push_back(static_cast<std::uint8_t>(value >> shift));
}

// One track: a note every eighth on its channel, an expression change every half bar, a bend
// every bar, a program change every half minute, and in the first track a tempo change every
// half minute and a GS reset at the start. Running status, as sequencers write it.
std::vector<std::uint8_t> Track(int number) {
    const auto channel = static_cast<std::uint8_t>(number % 16);
    std::vector<std::uint8_t> body;
    std::uint32_t last = 0;
    const auto at = [&](std::uint32_t tick) {
        PutVarLen(body, tick - last);
        last = tick;
    };
    if (number == 0) {
        const std::uint8_t reset[] = {0xF0, 0x0A, 0x41, 0x10, 0x42, 0x12,
                                      0x40, 0x00, 0x7F, 0x00, 0x41, 0xF7};
        at(0);
        body.insert(body.end(), reset, reset + sizeof reset);
    }
    const int key = 36 + number * 7 % 60;
    for (std::uint32_t tick = 0; tick < kSongTicks; tick += 240) {
        if (number == 0 && tick % (30 * 960) == 0) {
            const std::uint32_t tempo = 400000 + tick / 960 % 7 * 30000;
            at(tick);
            body.insert(body.end(),
                        {0xFF, 0x51, 0x03, static_cast<std::uint8_t>(tempo >> 16),
                         static_cast<std::uint8_t>(tempo >> 8), static_cast<std::uint8_t>(tempo)});
        }
        if (tick % (30 * 960) == 0) {
            at(tick);
            body.insert(body.end(), {static_cast<std::uint8_t>(0xC0 | channel),
                                     static_cast<std::uint8_t>((number + tick / 960) % 100)});
        }
        if (tick % 960 == 0) {
            at(tick);
            body.insert(body.end(), {static_cast<std::uint8_t>(0xB0 | channel), 11,
                                     static_cast<std::uint8_t>(64 + tick / 960 % 64)});
        }
        if (tick % 1920 == 0) {
            at(tick);
            body.insert(body.end(), {static_cast<std::uint8_t>(0xE0 | channel), 0,
                                     static_cast<std::uint8_t>(56 + tick / 1920 % 16)});
        }
        const auto k = static_cast<std::uint8_t>(key + tick / 240 % 12);
        at(tick);
        body.insert(body.end(), {static_cast<std::uint8_t>(0x90 | channel), k, 80});
        // Every fourth note is held over the next three, so that any jump lands in some.
        at(tick + (tick / 240 % 4 == 0 ? 200 : 120));
        body.insert(body.end(), {k, 0});
    }
    at(kSongTicks);
    body.insert(body.end(), {0xFF, 0x2F, 0x00});
    std::vector<std::uint8_t> chunk = {'M', 'T', 'r', 'k'};
    PutBe32(chunk, static_cast<std::uint32_t>(body.size()));
    chunk.insert(chunk.end(), body.begin(), body.end());
    return chunk;
}

std::vector<std::uint8_t> BigSong() {
    std::vector<std::uint8_t> file = {'M', 'T', 'h', 'd', 0, 0, 0, 6, 0, 1};
    file.push_back(static_cast<std::uint8_t>(kTracks >> 8));
    file.push_back(static_cast<std::uint8_t>(kTracks & 0xFF));
    file.push_back(static_cast<std::uint8_t>(kPpq >> 8));
    file.push_back(static_cast<std::uint8_t>(kPpq & 0xFF));
    for (int t = 0; t < kTracks; ++t) {
        const std::vector<std::uint8_t> track = Track(t);
        file.insert(file.end(), track.begin(), track.end());
    }
    return file;
}

void BM_JumpInABigSong(benchmark::State& state) {
    tobira::testing::TempDir dir;
    const auto file = dir.path() / "big.mid";
    const std::vector<std::uint8_t> bytes = BigSong();
    tobira::testing::WriteBytes(file, bytes);
    AudioEngine engine;
    tobira::testing::FakeUiPost post;
    MidiDevice device(engine, post);
    const char* font = std::getenv("TOBIRA_BENCH_SOUNDFONT");
    device.setSoundFont(font ? font : tobira::FindDefaultSoundFont().string());
    device.setFileName(file.string());
    device.open();
    device.settle();
    device.play();
    std::vector<float> buffer(512 * 2);
    device.renderAudio(buffer.data(), 512);

    // Jumps all over the song, backward and forward in turn.
    std::mt19937 random(7);
    std::uniform_int_distribution<std::uint32_t> place(0, device.length() - 1);
    double slowest = 0;
    for (auto _ : state) {
        const std::uint32_t to = place(random);
        const auto begin = std::chrono::steady_clock::now();
        device.playFrom(to);
        device.renderAudio(buffer.data(), 512);
        const double seconds =
            std::chrono::duration<double>(std::chrono::steady_clock::now() - begin).count();
        state.SetIterationTime(seconds);
        slowest = std::max(slowest, seconds);
        benchmark::DoNotOptimize(buffer.data());
        // The song plays on a little between jumps, as it does while a user drags.
        device.renderAudio(buffer.data(), 512);
    }
    post.runPending();
    state.counters["file_MB"] = static_cast<double>(bytes.size()) / (1 << 20);
    state.counters["slowest_ms"] = slowest * 1e3;
    state.counters["goal_ms"] = 20;
}
BENCHMARK(BM_JumpInABigSong)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(200);

} // namespace

BENCHMARK_MAIN();
