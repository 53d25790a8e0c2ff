// SPDX-License-Identifier: GPL-3.0-or-later
// A disc played as a good CD player plays it: pre-emphasised tracks de-emphasised from their
// first sample to their last, the others untouched; a drive read slowly, far ahead.
#include "media/audio_engine.h"
#include "media/cd/cd_device.h"
#include "support/cd_device_support.h"
#include "support/cue_files.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <complex>
#include <fstream>
#include <numbers>
#include <vector>

namespace tobira {
namespace {

using testing::kRate;
using testing::Listen;

constexpr std::size_t kSector = kCdFramesPerSector;

std::vector<std::int16_t> noise(std::int64_t sectors, std::uint32_t seed) {
    std::vector<std::int16_t> out(static_cast<std::size_t>(sectors) * kSector * 2);
    for (auto& v : out) {
        seed = seed * 1664525u + 1013904223u;
        v = static_cast<std::int16_t>(static_cast<std::int32_t>(seed >> 16) / 4);
    }
    return out;
}

// The analogue 50/15 us emphasis a mastering studio applied: +10.5 dB at the top.
std::complex<double> emphasis(double hz) {
    const std::complex<double> s(0, 2 * std::numbers::pi * hz);
    return (1.0 + s * 50e-6) / (1.0 + s * 15e-6);
}

const std::vector<double> kTones = {100,  250,  500,   1000,  2000,  4000,
                                    6000, 8000, 10000, 12000, 14000, 16000};
constexpr double kLevel = 0.02;

// Equal tones at every frequency, run through the emphasis curve.
std::vector<std::int16_t> emphasisedTones(std::int64_t sectors) {
    std::vector<std::int16_t> out(static_cast<std::size_t>(sectors) * kSector * 2);
    for (std::size_t n = 0; n < out.size() / 2; ++n) {
        double v = 0;
        for (double hz : kTones) {
            const std::complex<double> e = emphasis(hz);
            v += kLevel * std::abs(e) *
                 std::cos(2 * std::numbers::pi * hz * static_cast<double>(n) / kRate + std::arg(e));
        }
        out[2 * n] = out[2 * n + 1] = static_cast<std::int16_t>(std::lround(v * 32767));
    }
    return out;
}

// The level of a tone over `frames` frames of the left channel from `from` (whole cycles).
double level(const std::vector<float>& stereo, std::size_t from, std::size_t frames, double hz) {
    std::complex<double> sum;
    for (std::size_t n = 0; n < frames; ++n)
        sum += static_cast<double>(stereo[2 * (from + n)]) *
               std::polar(1.0, -2 * std::numbers::pi * hz * static_cast<double>(n) / kRate);
    return 2 * std::abs(sum) / static_cast<double>(frames);
}

TEST(CdDiscPlayTest, PreEmphasisedTracksComeOutFlatAndOthersUntouched) {
    testing::TempDir dir;
    const CueImage image = WriteCueBin(dir.path(), "disc",
                                       {{.samples = noise(75, 1)},
                                        {.preEmphasis = true, .samples = emphasisedTones(90)},
                                        {.samples = noise(60, 3)}});
    AudioEngine engine;
    CdDevice cd(engine);
    cd.setFileName(image.cue.string());
    cd.open();
    cd.waitIdle();
    cd.playFrom(1);
    const std::vector<float> heard =
        Listen(engine, cd, static_cast<std::size_t>(image.totalSectors) * kSector);

    const std::vector<char> bin = testing::ReadFileBytes(image.bin);
    std::size_t first = heard.size(), last = 0;
    for (std::size_t i = 0; i < heard.size(); ++i) {
        const auto v = static_cast<std::int16_t>(static_cast<unsigned char>(bin[2 * i]) |
                                                 static_cast<unsigned char>(bin[2 * i + 1]) << 8);
        if (heard[i] != static_cast<float>(v) / 32768.0f) {
            first = std::min(first, i / 2);
            last = i / 2;
        }
    }
    // Bit for bit the image outside track 2, and filtered from its first frame to its last.
    EXPECT_EQ(first, 75 * kSector);
    EXPECT_EQ(last, 165 * kSector - 1);

    double worst = 0;
    for (double hz : kTones) {
        const double db = 20 * std::log10(level(heard, 75 * kSector + 2205, kRate, hz) / kLevel);
        EXPECT_NEAR(db, 0.0, 0.5) << hz << " Hz";
        worst = std::max(worst, std::abs(db));
    }
    RecordProperty("worst_db_x1000", static_cast<int>(worst * 1000));
}

TEST(CdDiscPlayTest, ADiscIsReadSlowlyAndFarAhead) {
    testing::TempDir dir;
    const CueImage image = WriteCueBin(dir.path(), "disc", {{.samples = noise(13 * 75, 5)}});
    AudioEngine engine;
    CdDevice cd(engine, {.pollInterval = std::chrono::hours(1)});
    cd.setFileName(image.cue.string());
    cd.open();
    cd.waitIdle();
    EXPECT_EQ(cd.speedRequests(), 1u);

    // Once the read-ahead is full, the disc's sound changes under it: what was read ahead
    // still plays, and only that.
    cd.playFrom(1);
    cd.waitIdle();
    const std::vector<char> bin = testing::ReadFileBytes(image.bin);
    {
        std::fstream same(image.bin, std::ios::in | std::ios::out | std::ios::binary);
        const std::string zeros(bin.size(), '\0');
        same.write(zeros.data(), static_cast<std::streamsize>(zeros.size()));
    }
    const std::vector<float> heard = Listen(engine, cd, 12 * kRate);
    std::size_t ahead = 0;
    while (ahead < heard.size() / 2 &&
           heard[2 * ahead] == static_cast<float>(static_cast<std::int16_t>(
                                   static_cast<unsigned char>(bin[4 * ahead]) |
                                   static_cast<unsigned char>(bin[4 * ahead + 1]) << 8)) /
                                   32768.0f)
        ++ahead;
    // The file's own buffer may hold a little more.
    EXPECT_GE(ahead, CdDevice::kReadAheadFrames);
    EXPECT_LT(ahead, CdDevice::kReadAheadFrames + 2 * kSector);
    EXPECT_EQ(CdDevice::kReadAheadFrames, 10u * kRate);

    // Playing, seeking and reading on ask nothing more of the drive; the next disc does.
    cd.playFrom(1);
    Listen(engine, cd, kRate);
    EXPECT_EQ(cd.speedRequests(), 1u);
    cd.eject();
    cd.waitIdle();
    cd.insertDisc();
    cd.waitIdle();
    EXPECT_EQ(cd.speedRequests(), 2u);
}

} // namespace
} // namespace tobira
