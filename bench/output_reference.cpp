// SPDX-License-Identifier: GPL-3.0-or-later
// The sound given to a player in bench/output_response.sh, as a WAV file the measure compares
// the sound server's monitor with:
//   output_reference cd FOLDER SECONDS     a disc image (FOLDER/reference.cue and .bin) of one
//                                          track of noise, whose every few milliseconds are unlike
//                                          any others, and FOLDER/reference.wav of the same samples
//   output_reference midi SONG WAV SECONDS the song rendered through the player's own MIDI device
//                                          and mixer, with the standard SoundFont, at full volume
// Prints the CPU seconds the rendering took.
#include "media/audio_engine.h"
#include "media/cd/cue_bin_writer.h"
#include "media/midi/midi_device.h"
#include "media/midi/midi_soundfont.h"
#include "support/built_synth_module.h"
#include "support/fake_ports.h"
#include "support/wav_writer.h"
#include "text/cp932_convert.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <exception>
#include <filesystem>
#include <string>
#include <vector>

namespace {

using tobira::AudioEngine;

double CpuSeconds() {
    timespec ts{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &ts);
    return static_cast<double>(ts.tv_sec) + static_cast<double>(ts.tv_nsec) / 1e9;
}

// Noise with its highs softened, each channel its own, about -14 dBFS: a correlation over a
// few milliseconds finds its place in the whole track, at any gain.
std::vector<std::int16_t> Noise(long frames) {
    std::uint64_t state = 0x9E3779B97F4A7C15u;
    auto next = [&state] {
        state ^= state << 13;
        state ^= state >> 7;
        state ^= state << 17;
        return static_cast<double>(state >> 11) / 9007199254740992.0 * 2.0 - 1.0;
    };
    std::vector<std::int16_t> samples(static_cast<std::size_t>(frames) * 2);
    double low[2] = {0.0, 0.0};
    for (std::size_t i = 0; i < samples.size(); ++i) {
        double& y = low[i % 2];
        y = 0.6 * y + 0.4 * next();
        samples[i] = static_cast<std::int16_t>(y * 0.6 * 32767.0);
    }
    return samples;
}

std::vector<float> ToFloat(const std::vector<std::int16_t>& samples) {
    std::vector<float> out(samples.size());
    for (std::size_t i = 0; i < samples.size(); ++i)
        out[i] = static_cast<float>(samples[i]) / 32767.0f;
    return out;
}

int WriteDisc(const std::filesystem::path& folder, double seconds) {
    const double start = CpuSeconds();
    tobira::CueTrack track;
    track.samples = Noise(static_cast<long>(seconds * AudioEngine::kSampleRate));
    track.title = "Noise";
    const std::vector<float> reference = ToFloat(track.samples);
    std::filesystem::create_directories(folder);
    tobira::WriteCueBin(folder, "reference", {track}, "Reference", "bench");
    tobira::testing::WriteWav(folder / "reference.wav", {AudioEngine::kSampleRate, 2, 16},
                              reference);
    std::printf("%.2f\n", CpuSeconds() - start);
    return 0;
}

int RenderSong(const std::filesystem::path& song, const std::filesystem::path& wav,
               double seconds) {
    tobira::testing::UseBuiltSynthModule();
    AudioEngine engine;
    tobira::testing::FakeUiPost post;
    tobira::MidiDevice device(engine, post);
    device.setSoundFont(tobira::FindDefaultSoundFont().string());
    device.setFileName(song.string());
    device.open();
    device.settle();
    std::vector<float> sound(static_cast<std::size_t>(seconds * AudioEngine::kSampleRate) *
                             AudioEngine::kChannels);
    const double start = CpuSeconds();
    device.play();
    constexpr std::size_t kBlock = 1024;
    for (std::size_t done = 0; done < sound.size(); done += kBlock * AudioEngine::kChannels) {
        const std::size_t frames = std::min(kBlock, (sound.size() - done) / AudioEngine::kChannels);
        engine.render(sound.data() + done, frames);
    }
    const double cpu = CpuSeconds() - start;
    post.runPending();
    tobira::testing::WriteWav(wav, {AudioEngine::kSampleRate, 2, 16}, sound);
    std::printf("%.2f\n", cpu);
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    try {
        const std::string kind = argc > 1 ? argv[1] : "";
        if (kind == "cd" && argc == 4)
            return WriteDisc(argv[2], std::atof(argv[3]));
        if (kind == "midi" && argc == 5)
            return RenderSong(argv[2], argv[3], std::atof(argv[4]));
    } catch (const std::exception& e) {
        std::fprintf(stderr, "output_reference: %s\n", tobira::Cp932ToUtf8(e.what()).c_str());
        return 1;
    }
    std::fprintf(stderr, "usage: output_reference cd FOLDER SECONDS | midi SONG WAV SECONDS\n");
    return 2;
}
