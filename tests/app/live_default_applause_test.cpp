#include "app/applause_sound.h"
#include "media/wave_file.h"
#include "support/temp_dir.h"
#include "text/cp932_convert.h"

#include <gtest/gtest.h>

#include <cmath>
#include <complex>
#include <filesystem>
#include <fstream>
#include <numbers>

namespace tobira {
namespace {

double rms(const std::vector<std::int16_t>& s, std::size_t from, std::size_t to) {
    double sum = 0;
    for (std::size_t i = from; i < to; ++i)
        sum += double(s[i]) * s[i];
    return std::sqrt(sum / double(to - from)) / 32768.0;
}

// Energy of the left channel between two frequencies, over a window of frames.
double bandEnergy(const std::vector<std::int16_t>& s, std::size_t firstFrame, std::size_t frames,
                  double low, double high) {
    double energy = 0;
    for (std::size_t k = 1; k < frames / 2; ++k) {
        const double f = double(k) * 44100.0 / double(frames);
        if (f < low || f >= high)
            continue;
        std::complex<double> bin;
        for (std::size_t n = 0; n < frames; ++n)
            bin += double(s[2 * (firstFrame + n)]) *
                   std::polar(1.0, -2.0 * std::numbers::pi * double(k * n) / double(frames));
        energy += std::norm(bin);
    }
    return energy;
}

TEST(DefaultApplause, IsAFewSecondsOfClappingThatFadesAndNeverClips) {
    const PcmSound sound = MakeApplause();
    ASSERT_EQ(sound.rate, 44100);
    ASSERT_EQ(sound.channels, 2);
    const std::size_t frames = sound.samples.size() / 2;
    EXPECT_GT(frames, 3u * 44100);
    EXPECT_LT(frames, 6u * 44100);

    int peak = 0;
    for (std::int16_t v : sound.samples)
        peak = std::max(peak, std::abs(int(v)));
    EXPECT_GT(peak, 16000);
    EXPECT_LT(peak, 30000) << "the loudest slaps are rounded off below full scale";

    // Full in the middle, silent at both ends, and no click at the start.
    const double middle = rms(sound.samples, frames / 2, frames / 2 + 44100);
    EXPECT_GT(middle, 0.08);
    EXPECT_LT(middle, 0.2);
    EXPECT_LT(rms(sound.samples, 2 * frames - 4410, 2 * frames), middle / 100);
    EXPECT_LT(std::abs(sound.samples[0]), 200);

    // Claps, not a hum or a hiss: most energy lies where palms ring.
    const double palms = bandEnergy(sound.samples, frames / 3, 2048, 500, 5000);
    const double low = bandEnergy(sound.samples, frames / 3, 2048, 20, 200);
    const double high = bandEnergy(sound.samples, frames / 3, 2048, 12000, 22050);
    EXPECT_GT(palms, 20 * low);
    EXPECT_GT(palms, 5 * high);

    // Many claps: the loudness rises and falls many times in a second.
    int rises = 0;
    bool loud = false;
    const std::size_t block = 441; // 10 ms
    for (std::size_t b = frames / 3; b < frames / 3 + 44100; b += block) {
        const double level = rms(sound.samples, 2 * b, 2 * (b + block));
        if (!loud && level > middle * 1.2)
            ++rises, loud = true;
        else if (loud && level < middle * 0.9)
            loud = false;
    }
    EXPECT_GT(rises, 8);

    // A stereo image, and the same sound every time.
    EXPECT_NE(sound.samples[2 * (frames / 2)], sound.samples[2 * (frames / 2) + 1]);
    EXPECT_EQ(MakeApplause().samples, sound.samples);
}

TEST(DefaultApplause, WavFileReadsBackWithItsExactLength) {
    testing::TempDir dir;
    const PcmSound sound = MakeApplause();
    const std::string bytes = WaveFileBytes(sound);
    ASSERT_EQ(bytes.size(), 44 + sound.samples.size() * 2);
    std::ofstream(dir / "a.wav", std::ios::binary) << bytes;
    const std::vector<float> loaded = LoadWaveFile(*Cp932FromPath(dir / "a.wav"));
    ASSERT_EQ(loaded.size(), sound.samples.size());
    EXPECT_NEAR(loaded[1000], sound.samples[1000] / 32768.0, 1e-3);
}

TEST(DefaultApplause, IsPlacedOnlyIntoAFolderWithoutAnyWavFile) {
    testing::TempDir dir;
    const std::string folder = *Cp932FromPath(dir.path());
    std::filesystem::create_directory(dir / "not-a-sound.wav");
    std::ofstream(dir / "readme.txt") << "x";
    EXPECT_TRUE(PlaceDefaultApplause(folder));
    EXPECT_TRUE(std::filesystem::is_regular_file(dir / "APPLAUSE.WAV"));
    EXPECT_EQ(ListWaveFiles(folder), std::vector<std::string>{"APPLAUSE.WAV"});
    EXPECT_FALSE(PlaceDefaultApplause(folder)) << "already there";

    testing::TempDir own;
    std::ofstream(own / "mine.Wav") << "x";
    EXPECT_FALSE(PlaceDefaultApplause(*Cp932FromPath(own.path())));
    EXPECT_FALSE(std::filesystem::exists(own / "APPLAUSE.WAV"));

    EXPECT_FALSE(PlaceDefaultApplause(folder + "/missing/folder")) << "no throw, no file";
}

TEST(DefaultApplause, WavNamesMatchWithoutRegardToCase) {
    for (const char* yes : {"a.wav", "A.WAV", "b.Wav", ".wav", "x.y.wAv"})
        EXPECT_TRUE(IsWaveFileName(yes)) << yes;
    for (const char* no : {"wav", "a.wave", "a.wa", "a_wav", "a.wav.txt", ""})
        EXPECT_FALSE(IsWaveFileName(no)) << no;
}

} // namespace
} // namespace tobira
