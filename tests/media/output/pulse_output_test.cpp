// SPDX-License-Identifier: GPL-3.0-or-later
// The PulseAudio output judged by what reaches a null sink of a private daemon: a pause is
// silent at once and resumes from the very frame it held, a volume change is heard at once and
// neither loses nor repeats sound, and a server that dies leaves the music going silently until
// a later play finds a server again.
#include "private_pulse.h"

#include "media/audio_engine.h"
#include "media/output/sound_output.h"
#include "support/fake_ports.h"
#include "support/wait_until.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>

namespace tobira {
namespace {

using Clock = std::chrono::steady_clock;
using testing::MonitorRecording;
using testing::PrivatePulse;
using testing::WaitUntil;

// Instrumented builds run many times slower: their bounds of time are as much wider.
#if defined(__SANITIZE_THREAD__) || defined(__SANITIZE_ADDRESS__)
constexpr double kSlower = 4.0;
#else
constexpr double kSlower = 1.0;
#endif

constexpr int kPeriod = 32768;
constexpr float kLevel = 0.5f;

// Each frame tells its own number: the right channel is a constant level and the left the
// frame's place in a ramp of kPeriod frames at that level, so the number survives any gain.
// While held it plays as a CD drive does before its first read arrives: silence that takes no
// time from it.
class CounterSource final : public AudioSource {
  public:
    void renderAudio(float* out, std::size_t frames) override {
        if (held_.load(std::memory_order_relaxed)) {
            std::fill(out, out + 2 * frames, 0.0f);
            return;
        }
        for (std::size_t i = 0; i < frames; ++i, ++next_) {
            out[2 * i] = kLevel * static_cast<float>(next_ % kPeriod) / kPeriod;
            out[2 * i + 1] = kLevel;
        }
        rendered_.store(next_, std::memory_order_relaxed);
    }
    std::uint64_t rendered() const { return rendered_.load(std::memory_order_relaxed); }
    bool waiting() const override { return held_.load(std::memory_order_relaxed); }
    void hold(bool on) { held_.store(on, std::memory_order_relaxed); }

  private:
    std::atomic<bool> held_{false};
    std::uint64_t next_ = 0;
    std::atomic<std::uint64_t> rendered_{0};
};

struct Heard {
    bool sound;
    double gain;
    int number;
};

Heard Decode(const std::vector<float>& samples, std::size_t frame) {
    const float left = samples[2 * frame];
    const float right = samples[2 * frame + 1];
    if (std::fabs(right) < 1e-4f)
        return {false, 0.0, 0};
    return {true, right / kLevel, static_cast<int>(std::lround(left / right * kPeriod)) % kPeriod};
}

// How far the number at `after` is from following the one at `before`: + skipped, - repeated.
int Jump(int before, int after) {
    int jump = ((after - before - 1) % kPeriod + kPeriod) % kPeriod;
    return jump > kPeriod / 2 ? jump - kPeriod : jump;
}

double Ms(Clock::duration d) {
    return std::chrono::duration<double, std::milli>(d).count();
}

// Times the output's thread went to sleep of its own accord.
long AudioThreadWakes() {
    long wakes = 0;
    for (const auto& task : std::filesystem::directory_iterator("/proc/self/task")) {
        std::ifstream comm(task.path() / "comm");
        std::string name;
        if (!std::getline(comm, name) || name != "tobira-audio")
            continue;
        std::ifstream status(task.path() / "status");
        for (std::string line; std::getline(status, line);)
            if (line.rfind("voluntary_ctxt_switches:", 0) == 0)
                wakes += std::stol(line.substr(line.find(':') + 1));
    }
    return wakes;
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

class PulseOutputTest : public ::testing::Test {
  protected:
    void SetUp() override {
        if (const std::string missing = PrivatePulse::Missing(); !missing.empty())
            GTEST_SKIP() << missing;
        pulse_ = std::make_unique<PrivatePulse>();
        ASSERT_TRUE(pulse_->running()) << "the private daemon did not start";
        recording_ = std::make_unique<MonitorRecording>();
        engine_.attach(MixerLine::CompactDisc, &source_);
    }
    void TearDown() override {
        output_.reset();
        engine_.attach(MixerLine::CompactDisc, nullptr);
    }
    void openOutput() {
        output_ = std::make_unique<SoundOutput>(
            engine_, post_, [this](const std::string& text) { told_.push_back(text); },
            std::vector<OutputKind>{OutputKind::Pulse}, SoundOutput::RealOutputs(engine_));
        output_->open();
    }
    // Waits until the recording has reached `time` and a little more.
    void hearUntil(Clock::time_point time) {
        ASSERT_TRUE(
            WaitUntil([&] { return recording_->frames() > recording_->frameAt(time) + 441; }));
    }
    // The first frame from `from` on for which `match` holds.
    std::size_t find(const std::vector<float>& samples, std::size_t from,
                     const std::function<bool(const Heard&)>& match) const {
        for (std::size_t frame = from; frame < samples.size() / 2; ++frame)
            if (match(Decode(samples, frame)))
                return frame;
        return samples.size() / 2;
    }

    AudioEngine engine_;
    CounterSource source_;
    testing::FakeUiPost post_;
    std::vector<std::string> told_;
    std::unique_ptr<PrivatePulse> pulse_;
    std::unique_ptr<MonitorRecording> recording_;
    std::unique_ptr<SoundOutput> output_;
};

TEST_F(PulseOutputTest, PauseResumeAndVolumeAreHeardAtOnceWithoutLossOrRepeat) {
    openOutput();
    ASSERT_EQ(output_->currentKind(), OutputKind::Pulse) << (told_.empty() ? "" : told_[0]);
    ASSERT_TRUE(WaitUntil([&] {
        const auto samples = recording_->samples();
        return find(samples, 0, [](const Heard& h) { return h.sound; }) + 22050 <
               samples.size() / 2;
    })) << "the output plays";

    struct Cycle {
        Clock::time_point paused, resumed, changed;
        double gain;
    };
    std::vector<Cycle> cycles;
    for (const std::uint16_t volume : {32768, 16384, 49152}) {
        Cycle c{};
        hearUntil(Clock::now() + std::chrono::milliseconds(300));
        c.paused = Clock::now();
        engine_.pause();
        hearUntil(c.paused + std::chrono::milliseconds(250));
        c.resumed = Clock::now();
        engine_.wake();
        hearUntil(c.resumed + std::chrono::milliseconds(300));
        c.changed = Clock::now();
        engine_.setLineVolume(MixerLine::Speakers, volume);
        c.gain = volume / 65535.0;
        cycles.push_back(c);
    }
    // Steady play: the thread wakes a few times a second, not hundreds.
    hearUntil(Clock::now() + std::chrono::seconds(1));
    const long wakesBefore = AudioThreadWakes();
    const auto steadyFrom = Clock::now();
    hearUntil(steadyFrom + std::chrono::seconds(2));
    const double wakesPerSecond = static_cast<double>(AudioThreadWakes() - wakesBefore) /
                                  std::chrono::duration<double>(Clock::now() - steadyFrom).count();
    const std::vector<float> samples = recording_->samples();

    std::vector<double> pauseMs, resumeJumps, volumeMs;
    for (const Cycle& c : cycles) {
        const auto early = std::chrono::milliseconds(50);
        const std::size_t silent = find(samples, recording_->frameAt(c.paused - early),
                                        [](const Heard& h) { return !h.sound; });
        const std::size_t back = find(samples, silent, [](const Heard& h) { return h.sound; });
        ASSERT_LT(back, samples.size() / 2) << "the sound comes back";
        ASSERT_GT(silent, 0u);
        pauseMs.push_back(Ms(recording_->heardAt(silent) - c.paused));
        resumeJumps.push_back(
            Jump(Decode(samples, silent - 1).number, Decode(samples, back).number));
        const std::size_t louder =
            find(samples, recording_->frameAt(c.changed - early),
                 [&](const Heard& h) { return h.sound && std::fabs(h.gain - c.gain) < 0.01; });
        ASSERT_LT(louder, samples.size() / 2) << "the new volume is heard";
        volumeMs.push_back(Ms(recording_->heardAt(louder) - c.changed));
    }
    // Nowhere else does the count break: a volume change writes the same frames again.
    int breaks = 0;
    int largest = 0;
    for (std::size_t frame = 1; frame < samples.size() / 2; ++frame) {
        const Heard before = Decode(samples, frame - 1);
        const Heard now = Decode(samples, frame);
        if (before.sound && now.sound && Jump(before.number, now.number) != 0) {
            ++breaks;
            largest = std::max(largest, std::abs(Jump(before.number, now.number)));
        }
    }
    std::printf(
        "pause silent after %.1f / %.1f / %.1f ms; resume jumps %.0f / %.0f / %.0f "
        "frames; volume heard after %.1f / %.1f / %.1f ms; %d breaks elsewhere (largest %d); "
        "%.1f wakes/s\n",
        pauseMs[0], pauseMs[1], pauseMs[2], resumeJumps[0], resumeJumps[1], resumeJumps[2],
        volumeMs[0], volumeMs[1], volumeMs[2], breaks, largest, wakesPerSecond);
    EXPECT_LE(Median(pauseMs), 30.0 * kSlower);
    for (double jump : resumeJumps)
        EXPECT_LE(std::fabs(jump), 441.0) << "skip or repeat at resume, in frames";
    EXPECT_LE(Median(volumeMs), 60.0 * kSlower);
    EXPECT_LE(largest, 441) << breaks << " breaks in the count while sounding";
    EXPECT_TRUE(told_.empty());
    // The recording's 5 ms latency makes the sink, and so the stream, ask more often than on a
    // desktop (about 8 a second there): a bound that still tells tens from hundreds.
    EXPECT_LE(wakesPerSecond, 20.0);

    const auto closing = Clock::now();
    output_.reset();
    EXPECT_LE(Ms(Clock::now() - closing), 50.0 * kSlower) << "closing mid-song";
}

TEST_F(PulseOutputTest, ADeadServerLeavesTheClockRunningAndAPlayAfterAStopFindsANewOne) {
    openOutput();
    engine_.wake(); // as a device does when it starts to play
    ASSERT_EQ(output_->currentKind(), OutputKind::Pulse);
    ASSERT_TRUE(WaitUntil([&] { return source_.rendered() > 44100; }));

    pulse_->kill();
    ASSERT_TRUE(WaitUntil([&] {
        post_.runPending();
        return output_->currentKind() == OutputKind::Silent;
    }));
    ASSERT_EQ(told_.size(), 1u);
    EXPECT_NE(told_[0].find("PulseAudio"), std::string::npos) << told_[0];
    // The music goes on at real time, unheard.
    const auto since = Clock::now();
    const std::uint64_t from = source_.rendered();
    ASSERT_TRUE(WaitUntil([&] { return source_.rendered() > from + 22050; }));
    EXPECT_GE(Ms(Clock::now() - since), 400.0) << "not faster than real time";

    // A resume after a pause stays silent; a play after a stop finds the server again.
    engine_.pause();
    engine_.wake();
    EXPECT_EQ(output_->currentKind(), OutputKind::Silent);
    pulse_.reset();
    pulse_ = std::make_unique<PrivatePulse>();
    ASSERT_TRUE(pulse_->running());
    recording_ = std::make_unique<MonitorRecording>();
    engine_.flush();
    engine_.wake();
    EXPECT_EQ(output_->currentKind(), OutputKind::Pulse);
    ASSERT_TRUE(WaitUntil([&] {
        const auto samples = recording_->samples();
        return find(samples, 0, [](const Heard& h) { return h.sound; }) < samples.size() / 2;
    })) << "heard again";
    post_.runPending();
    EXPECT_EQ(told_.size(), 1u) << "told once";
}

// A start whose sound comes late (a drive's first read) is heard as soon as the sound is there,
// not after the silence the output would otherwise have queued meanwhile.
TEST_F(PulseOutputTest, AStartIsHeardAsSoonAsItsSoundComes) {
    source_.hold(true);
    openOutput();
    engine_.wake();
    ASSERT_EQ(output_->currentKind(), OutputKind::Pulse);
    hearUntil(Clock::now() + std::chrono::milliseconds(300));
    const auto released = Clock::now();
    source_.hold(false);
    hearUntil(released + std::chrono::milliseconds(500));
    const auto samples = recording_->samples();
    const std::size_t first = find(samples, 0, [](const Heard& h) { return h.sound; });
    ASSERT_LT(first, samples.size() / 2) << "heard";
    const double heardMs = Ms(recording_->heardAt(first) - released);
    std::printf("start heard %.1f ms after the sound came, from frame %d\n", heardMs,
                Decode(samples, first).number);
    EXPECT_LE(Decode(samples, first).number, 441) << "from its beginning, within 10 ms";
    EXPECT_LE(heardMs, 60.0 * kSlower);
}

} // namespace
} // namespace tobira
