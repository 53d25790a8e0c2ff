// SPDX-License-Identifier: GPL-3.0-or-later
#include "media/audio_engine.h"
#include "media/cd/cd_device.h"
#include "media/cd/demo_disc.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <fstream>
#include <iterator>
#include <set>
#include <string>
#include <vector>

namespace tobira {
namespace {

std::vector<char> ReadBytes(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

TEST(CueBinWriterTest, GivenSamplesAreStoredAsTheyAreAndTheLastSectorIsFilledWithSilence) {
    struct Case {
        std::size_t frames;
        std::int64_t sectors;
    };
    for (const Case c : {Case{1, 1}, Case{588, 1}, Case{589, 2}, Case{3 * 588, 3}}) {
        SCOPED_TRACE(c.frames);
        testing::TempDir dir;
        CueTrack track;
        for (std::size_t i = 0; i < c.frames * 2; ++i)
            track.samples.push_back(static_cast<std::int16_t>(i % 2 ? -1000 - i : 1000 + i));
        const CueImage image = WriteCueBin(dir.path(), "disc", {track, {.sectors = 1}});
        EXPECT_EQ(image.trackStarts, (std::vector<std::int64_t>{0, c.sectors}));
        const std::vector<char> bin = ReadBytes(image.bin);
        ASSERT_EQ(bin.size(), static_cast<std::size_t>((c.sectors + 1) * kCdSectorBytes));
        for (std::size_t i = 0; i < static_cast<std::size_t>(c.sectors) * 588 * 2; ++i) {
            const auto stored =
                static_cast<std::int16_t>(static_cast<unsigned char>(bin[2 * i]) |
                                          static_cast<unsigned char>(bin[2 * i + 1]) << 8);
            ASSERT_EQ(stored, i < track.samples.size() ? track.samples[i] : 0) << i;
        }
    }
}

// Loudness of the left channel, 0..1.
double Rms(const std::vector<float>& stereo) {
    double sum = 0;
    for (std::size_t i = 0; i < stereo.size(); i += 2)
        sum += stereo[i] * stereo[i];
    return std::sqrt(sum / static_cast<double>(stereo.size() / 2));
}

TEST(DemoDiscTest, SixTitledPiecesOfTwentyToFortySecondsThatPlayAsADisc) {
    testing::TempDir dir;
    const CueImage image = WriteDemoDisc(dir / "demo");
    ASSERT_EQ(image.trackStarts.size(), 6u);
    // A title for the disc and one for each piece, all different.
    std::ifstream cue(image.cue);
    std::set<std::string> titles;
    for (std::string line; std::getline(cue, line);)
        if (line.find("TITLE \"") != std::string::npos)
            titles.insert(line.substr(line.find('"')));
    EXPECT_EQ(titles.size(), 7u);

    AudioEngine engine;
    CdDevice cd(engine);
    cd.setFileName(image.cue.string());
    cd.open();
    cd.waitIdle();
    ASSERT_EQ(cd.mode(), DeviceMode::Stopped);
    ASSERT_EQ(cd.tracks(), 6);
    // The same titles reach the player as the disc's CD-Text.
    const DiscText text = cd.discText();
    EXPECT_EQ(text.disc, (CdText{"TOBIRA Demo Disc", "TOBIRA"}));
    std::set<std::string> trackTitles;
    for (const CdText& track : text.tracks)
        trackTitles.insert(track.title);
    EXPECT_EQ(trackTitles.size(), 6u);
    EXPECT_EQ(trackTitles.count(""), 0u);
    for (int track = 1; track <= 6; ++track) {
        const std::uint32_t length = cd.trackLength(track);
        const int seconds = static_cast<int>(MsfMinute(length) * 60 + MsfSecond(length));
        EXPECT_GE(seconds, 20) << track;
        EXPECT_LE(seconds, 40) << track;
    }

    // Each piece sounds from its first seconds, without clipping, and each sounds its own way.
    std::set<long> loudness;
    for (int track = 1; track <= 6; ++track) {
        cd.playFrom(static_cast<std::uint32_t>(track));
        std::vector<float> sound(2 * AudioEngine::kSampleRate * 3);
        for (int second = 0; second < 3; ++second) {
            cd.waitIdle();
            engine.render(sound.data() + second * 2 * AudioEngine::kSampleRate,
                          AudioEngine::kSampleRate);
        }
        float peak = 0;
        for (float v : sound)
            peak = std::max(peak, std::abs(v));
        const double rms = Rms(sound);
        EXPECT_GT(rms, 0.01) << track;
        EXPECT_LT(peak, 0.99f) << track;
        loudness.insert(std::lround(rms * 10000));
    }
    EXPECT_EQ(loudness.size(), 6u);
}

} // namespace
} // namespace tobira
