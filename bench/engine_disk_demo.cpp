// SPDX-License-Identifier: GPL-3.0-or-later
// Plays a generated applause-length WAV through the real output and the wave player, then
// reads back what SDL wrote and prints its RMS per second. Meant for SDL's disk driver:
//   SDL_AUDIODRIVER=disk SDL_DISKAUDIODELAY=0 SDL_DISKAUDIOFILE=/tmp/out.raw engine_disk_demo
// The sound is 3 s of 440 Hz at 22.05 kHz mono, one second each at amplitude 0.5, 0.25 and
// 0.125, so the expected RMS per second is about 0.354, 0.177, 0.088, then silence.

#include "media/audio_engine.h"
#include "media/media_device.h"
#include "media/output/sdl_audio_output.h"
#include "media/wave/wave_device.h"
#include "support/fake_ports.h"
#include "support/wav_writer.h"
#include "text/cp932_convert.h"

#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <unistd.h>
#include <vector>

using namespace tobira;

int main() {
    const char* driver = std::getenv("SDL_AUDIODRIVER");
    const char* rawName = std::getenv("SDL_DISKAUDIOFILE");
    if (!driver || std::string(driver) != "disk" || !rawName) {
        std::fprintf(stderr, "run with SDL_AUDIODRIVER=disk SDL_DISKAUDIODELAY=0 "
                             "SDL_DISKAUDIOFILE=<raw file>\n");
        return 2;
    }
    const std::filesystem::path wav = std::filesystem::temp_directory_path() /
                                      ("tobira-disk-demo-" + std::to_string(getpid()) + ".wav");
    const testing::WavFormat format{22050, 1, 16};
    std::vector<float> samples;
    for (double amplitude : {0.5, 0.25, 0.125}) {
        auto second = testing::MakeTone(format, format.rate, 440.0, amplitude);
        samples.insert(samples.end(), second.begin(), second.end());
    }
    testing::WriteWav(wav, format, samples);

    const auto begin = std::chrono::steady_clock::now();
    std::size_t expectedFrames = 0;
    std::string driverName;
    try {
        AudioEngine engine;
        testing::FakeUiPost post;
        WaveDevice wave(engine, post);
        wave.setFileName(*Cp932FromPath(wav));
        wave.open();
        wave.settle();
        expectedFrames = wave.length() * std::size_t{AudioEngine::kSampleRate} / 1000;
        SdlAudioOutput output(engine);
        if (const std::string reason = output.open(); !reason.empty())
            throw DeviceError(reason);
        driverName = output.driverName();
        wave.play();
        output.play();
        while (wave.mode() == DeviceMode::Playing)
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        output.close();
    } catch (const DeviceError& e) {
        std::fprintf(stderr, "%s\n", Cp932ToUtf8(e.what()).c_str());
        std::filesystem::remove(wav);
        return 1;
    }
    const double wall =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - begin).count();
    std::filesystem::remove(wav);

    std::ifstream raw(rawName, std::ios::binary);
    std::vector<float> out;
    float v;
    while (raw.read(reinterpret_cast<char*>(&v), sizeof v))
        out.push_back(v);
    const std::size_t perSecond = std::size_t{AudioEngine::kSampleRate} * AudioEngine::kChannels;
    std::printf("driver %s, wall time %.3f s, %zu frames written (%.2f s), sound %zu frames\n",
                driverName.c_str(), wall, out.size() / 2, double(out.size()) / perSecond,
                expectedFrames);
    // The disk driver runs on with silence until the output stops: show the first seconds.
    for (std::size_t s = 0; s * perSecond < out.size() && s < 6; ++s) {
        double sum = 0;
        const std::size_t end = std::min(out.size(), (s + 1) * perSecond);
        for (std::size_t i = s * perSecond; i < end; ++i)
            sum += double(out[i]) * out[i];
        std::printf("second %zu: RMS %.4f\n", s + 1, std::sqrt(sum / double(end - s * perSecond)));
    }
    return 0;
}
