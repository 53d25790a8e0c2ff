// SPDX-License-Identifier: GPL-3.0-or-later
#include "media/audio_engine.h"
#include "media/cd/cd_device.h"
#include "support/cd_device_support.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace tobira {
namespace {

using testing::Analyse;
using testing::kRate;
using testing::Listen;
using testing::ToneSample;

constexpr std::size_t kSector = kCdFramesPerSector;

class CdPlayTest : public ::testing::Test {
  protected:
    void SetUp() override {
        image_ = WriteCueBin(dir_.path(), "disc", testing::ThreeTracks());
        cd_.setFileName(image_.cue.string());
        cd_.open();
        cd_.waitIdle();
        ASSERT_EQ(cd_.mode(), DeviceMode::Stopped);
    }
    std::vector<float> listen(std::size_t frames) { return Listen(engine_, cd_, frames); }

    testing::TempDir dir_;
    CueImage image_;
    AudioEngine engine_;
    CdDevice cd_{engine_};
};

TEST_F(CdPlayTest, ReadsTheTableOfContents) {
    EXPECT_EQ(cd_.tracks(), 3);
    EXPECT_EQ(cd_.trackLength(1), PackMsf(0, 3, 0));
    EXPECT_EQ(cd_.trackLength(2), PackMsf(0, 2, 10));
    EXPECT_EQ(cd_.trackLength(3), PackMsf(0, 3, 0));
    EXPECT_EQ(cd_.trackLength(4), 0u);
    EXPECT_EQ(cd_.length(), PackMsf(0, 8, 10));
    EXPECT_EQ(cd_.position(), PackTmsf(1, 0, 0, 0));
}

TEST_F(CdPlayTest, PlayFromATrackPlaysToTheEndOfTheDiscAndStops) {
    cd_.playFrom(PackTmsf(2, 0, 0, 0));
    EXPECT_EQ(cd_.mode(), DeviceMode::Playing);
    EXPECT_EQ(cd_.position(), PackTmsf(2, 0, 0, 0));

    // Positions follow what was heard: whole seconds, then frames within a second.
    auto first = listen(kRate);
    EXPECT_EQ(cd_.position(), PackTmsf(2, 0, 1, 0));
    EXPECT_NEAR(Analyse(first).frequency, 882, 2);
    EXPECT_NEAR(Analyse(first).peak, 0.5, 0.01);
    auto second = listen(kRate + 5 * kSector);
    EXPECT_EQ(cd_.position(), PackTmsf(2, 0, 2, 5));
    EXPECT_NEAR(Analyse(second).frequency, 882, 2);

    // Across the track boundary without a gap: the last 5 sectors of track 2, then track 3.
    auto across = listen(5 * kSector + 2 * kSector);
    EXPECT_NEAR(Analyse(across, 0, 5 * kSector).frequency, 882, 20);
    EXPECT_EQ(cd_.position(), PackTmsf(3, 0, 0, 2));
    EXPECT_FLOAT_EQ(across[2 * 5 * kSector + 2], ToneSample(1764, 0.7, 1));

    auto rest = listen(3 * kRate); // 2 sectors more than track 3 has left
    EXPECT_NEAR(Analyse(rest, 0, kRate).frequency, 1764, 2);
    EXPECT_NEAR(Analyse(rest, 0, kRate).peak, 0.7, 0.01);
    EXPECT_EQ(cd_.mode(), DeviceMode::Stopped);
    const std::size_t end = 3 * kRate - 2 * kSector;
    EXPECT_NE(rest[2 * (end - 1)], 0.0f);
    EXPECT_EQ(Analyse(rest, end).peak, 0.0);
    EXPECT_EQ(cd_.position(), PackTmsf(3, 0, 3, 0));

    // After the end, play starts the disc again.
    cd_.play();
    EXPECT_EQ(cd_.position(), PackTmsf(1, 0, 0, 0));
    EXPECT_NEAR(Analyse(listen(kRate / 2)).frequency, 441, 2);
}

TEST_F(CdPlayTest, PauseAndStopKeepThePositionAndPlayResumesThere) {
    for (bool usePause : {true, false}) {
        SCOPED_TRACE(usePause ? "pause" : "stop");
        cd_.playFrom(1);
        listen(kRate + kRate / 2); // 1.5 s: more was read ahead than heard
        usePause ? cd_.pause() : cd_.stop();
        EXPECT_EQ(cd_.mode(), DeviceMode::Stopped);
        EXPECT_EQ(cd_.position(), PackTmsf(1, 0, 1, 37));

        EXPECT_EQ(Analyse(listen(kRate)).peak, 0.0); // silent, and time stands still
        EXPECT_EQ(cd_.position(), PackTmsf(1, 0, 1, 37));

        cd_.play();
        EXPECT_EQ(cd_.mode(), DeviceMode::Playing);
        auto resumed = listen(10);
        for (std::int64_t i = 0; i < 10; ++i)
            EXPECT_FLOAT_EQ(resumed[2 * i], ToneSample(441, 0.3, kRate + kRate / 2 + i)) << i;
        cd_.stop();
    }
}

TEST_F(CdPlayTest, PreviousGoesBackOneTrackOnlyWithinTheFirstSecond) {
    struct Case {
        int track;
        std::size_t heard; // frames into the track before previous
        int expected;
    };
    const std::vector<Case> cases = {
        {3, kRate / 2, 2},    {3, kRate - kSector, 2}, {3, kRate, 3},     {3, kRate + kRate / 2, 3},
        {2, 10 * kSector, 1}, {1, kRate / 2, 1},       {1, 2 * kRate, 1},
    };
    const double tones[] = {0, 441, 882, 1764};
    const double levels[] = {0, 0.3, 0.5, 0.7};
    for (const Case& c : cases) {
        SCOPED_TRACE("track " + std::to_string(c.track) + ", frames " + std::to_string(c.heard));
        cd_.playFrom(static_cast<std::uint32_t>(c.track));
        listen(c.heard);
        cd_.previous();
        EXPECT_EQ(cd_.mode(), DeviceMode::Playing);
        EXPECT_EQ(cd_.position(), PackTmsf(static_cast<unsigned>(c.expected), 0, 0, 0));
        auto heard = listen(2);
        EXPECT_FLOAT_EQ(heard[2], ToneSample(tones[c.expected], levels[c.expected], 1));
    }
    // Not playing: nothing moves.
    cd_.playFrom(3);
    listen(kRate / 2);
    cd_.pause();
    cd_.previous();
    EXPECT_EQ(cd_.mode(), DeviceMode::Stopped);
    EXPECT_EQ(cd_.position(), PackTmsf(3, 0, 0, 37));
}

TEST_F(CdPlayTest, EjectTakesTheImageOutUntilItIsInsertedOrChanged) {
    cd_.playFrom(1);
    listen(kRate / 4);
    cd_.eject();
    EXPECT_EQ(cd_.mode(), DeviceMode::Open);
    EXPECT_EQ(Analyse(listen(kRate / 4)).peak, 0.0);
    cd_.checkMedia();
    cd_.waitIdle();
    EXPECT_EQ(cd_.mode(), DeviceMode::Open); // unchanged files are no new disc
    EXPECT_EQ(cd_.tracks(), 0);
    EXPECT_EQ(cd_.position(), 0u);
    cd_.playFrom(1);
    EXPECT_EQ(cd_.mode(), DeviceMode::Open);

    cd_.insertDisc();
    cd_.waitIdle();
    EXPECT_EQ(cd_.mode(), DeviceMode::Stopped);
    EXPECT_EQ(cd_.tracks(), 3);
    EXPECT_EQ(cd_.position(), PackTmsf(1, 0, 0, 0));

    // A new image written in its place counts as a newly inserted disc.
    cd_.eject();
    cd_.waitIdle();
    auto tracks = testing::ThreeTracks();
    tracks.pop_back();
    WriteCueBin(dir_.path(), "disc", tracks);
    std::filesystem::last_write_time(image_.bin, std::filesystem::last_write_time(image_.bin) +
                                                     std::chrono::seconds(2));
    cd_.checkMedia();
    cd_.waitIdle();
    EXPECT_EQ(cd_.mode(), DeviceMode::Stopped);
    EXPECT_EQ(cd_.tracks(), 2);
}

TEST_F(CdPlayTest, ReopenAndCloseWhilePlaying) {
    cd_.playFrom(2);
    listen(kRate / 3);
    cd_.open();
    EXPECT_NE(cd_.mode(), DeviceMode::Playing);
    cd_.waitIdle();
    EXPECT_EQ(cd_.mode(), DeviceMode::Stopped);
    EXPECT_EQ(cd_.position(), PackTmsf(1, 0, 0, 0));
    cd_.playFrom(3);
    listen(kRate / 3);
    cd_.close();
    EXPECT_FALSE(cd_.isOpen());
    EXPECT_EQ(cd_.mode(), DeviceMode::NotReady);
    EXPECT_EQ(Analyse(listen(kRate / 3)).peak, 0.0);
}

} // namespace
} // namespace tobira
