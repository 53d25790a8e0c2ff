// SPDX-License-Identifier: GPL-3.0-or-later
#include "player/applause_sound.h"
#include "media/wave/wave_file.h"
#include "support/temp_dir.h"
#include "text/cp932_convert.h"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>

namespace tobira {
namespace {

double rms(const std::vector<std::int16_t>& s, std::size_t from, std::size_t to) {
    double sum = 0;
    for (std::size_t i = from; i < to; ++i)
        sum += double(s[i]) * s[i];
    return std::sqrt(sum / double(to - from)) / 32768.0;
}

TEST(DefaultApplause, IsAFewSecondsOfClappingThatFadesAndNeverClips) {
    const PcmSound sound = MakeApplause();
    ASSERT_EQ(sound.channels, 2);
    const std::size_t frames = sound.samples.size() / 2;
    EXPECT_GT(frames, 3u * 44100);
    EXPECT_LT(frames, 6u * 44100);
    int peak = 0;
    for (std::int16_t v : sound.samples)
        peak = std::max(peak, std::abs(int(v)));
    EXPECT_GT(peak, 16000);
    EXPECT_LT(peak, 30000);

    // Full in the middle, silent at the end, no click at the start.
    const double middle = rms(sound.samples, frames / 2, frames / 2 + 44100);
    EXPECT_GT(middle, 0.08);
    EXPECT_LT(rms(sound.samples, 2 * frames - 4410, 2 * frames), middle / 100);
    EXPECT_LT(std::abs(sound.samples[0]), 200);

    // Claps: the loudness rises and falls many times a second, unlike a steady hiss.
    int rises = 0;
    bool loud = false;
    for (std::size_t b = frames / 3; b < frames / 3 + 44100; b += 441) {
        const double level = rms(sound.samples, 2 * b, 2 * (b + 441));
        if (!loud && level > middle * 1.2)
            ++rises, loud = true;
        else if (loud && level < middle * 0.9)
            loud = false;
    }
    EXPECT_GT(rises, 8);
    EXPECT_EQ(MakeApplause().samples, sound.samples) << "the same sound every time";

    // The file reads back through the wave player's loader at its exact length.
    testing::TempDir dir;
    std::ofstream(dir / "a.wav", std::ios::binary) << WaveFileBytes(sound);
    EXPECT_EQ(LoadWaveFile(*Cp932FromPath(dir / "a.wav")).size(), sound.samples.size());
}

TEST(DefaultApplause, IsPlacedOnlyIntoAFolderWithoutAnyWavFile) {
    testing::TempDir dir;
    const std::string folder = *Cp932FromPath(dir.path());
    std::filesystem::create_directory(dir / "not-a-sound.wav");
    std::ofstream(dir / "x.wave") << "x";
    EXPECT_TRUE(PlaceDefaultApplause(folder));
    EXPECT_EQ(ListWaveFiles(folder), std::vector<std::string>{"APPLAUSE.WAV"});
    EXPECT_FALSE(PlaceDefaultApplause(folder)) << "already there";

    testing::TempDir own;
    std::ofstream(own / "mine.Wav") << "x";
    EXPECT_FALSE(PlaceDefaultApplause(*Cp932FromPath(own.path())));
    EXPECT_FALSE(std::filesystem::exists(own / "APPLAUSE.WAV"));

    EXPECT_FALSE(PlaceDefaultApplause(folder + "/missing/folder"));
}

} // namespace
} // namespace tobira
