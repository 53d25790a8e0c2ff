// SPDX-License-Identifier: GPL-3.0-or-later
// The MIDI device with a real audio thread: a dense song never makes the UI thread's calls wait,
// and a stop acts at the next step.
#include "media/midi/midi_device.h"

#include "media/audio_engine.h"
#include "support/fake_ports.h"
#include "support/smf_writer.h"
#include "support/temp_dir.h"
#include "support/wait_until.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <functional>
#include <thread>

#include <time.h>
#include <vector>

namespace tobira {
namespace {

using Clock = std::chrono::steady_clock;

double MillisSince(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

double ThreadCpuMillis() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) * 1e3 + static_cast<double>(t.tv_nsec) / 1e6;
}

// Renders in steps of a few hundred frames, as the output does, as fast as it can; keeps the
// longest step in CPU time of its own (a loaded machine may take the processor away for longer).
class AudioThread final {
  public:
    explicit AudioThread(AudioEngine& engine)
        : thread_([this, &engine] {
              std::vector<float> out(kFrames * AudioEngine::kChannels);
              while (!quit_) {
                  const double start = ThreadCpuMillis();
                  engine.render(out.data(), kFrames);
                  longest_ = std::max(longest_.load(), ThreadCpuMillis() - start);
                  ++steps_;
              }
          }) {}
    ~AudioThread() {
        quit_ = true;
        thread_.join();
    }
    std::uint64_t steps() const { return steps_; }
    double longestMillis() const { return longest_; }

  private:
    static constexpr std::size_t kFrames = 441;
    std::atomic<bool> quit_{false};
    std::atomic<std::uint64_t> steps_{0};
    std::atomic<double> longest_{0.0};
    std::thread thread_;
};

TEST(MidiDeviceRealTime, ADenseSongNeverMakesTheControlsWait) {
    // 480 ticks a quarter at 120 BPM: 960 a second.
    struct Case {
        const char* name;
        std::vector<std::uint32_t> instants; // each with 60,000 notes
        std::function<void(MidiDevice&)> start;
    };
    const Case cases[] = {
        {"played through two dense instants", {0, 480}, [](MidiDevice& d) { d.play(); }},
        {"a jump past them", {0, 480}, [](MidiDevice& d) { d.playFrom(6); }},
    };
    testing::TempDir dir;
    testing::WriteBytes(dir / "dense.mid",
                        testing::DenseSmf(60'000, cases[0].instants, 960 * 600)); // 10 min
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        AudioEngine engine;
        testing::FakeUiPost post;
        MidiDevice device(engine, post);
        std::vector<NotifyValue> notices;
        device.setNotifyHandler([&](NotifyValue v) { notices.push_back(v); });
        device.setSoundFont(TOBIRA_TEST_SOUNDFONT);
        device.setFileName((dir / "dense.mid").string());
        device.open();
        device.settle();
        AudioThread audio(engine);
        c.start(device);

        double slowest = 0.0;
        const auto timed = [&](const std::function<void()>& call) {
            const auto start = Clock::now();
            call();
            slowest = std::max(slowest, MillisSince(start));
        };
        std::uint32_t position = 0;
        EXPECT_TRUE(testing::WaitUntil([&] {
            timed([&] { EXPECT_EQ(device.mode(), DeviceMode::Playing); });
            timed([&] { position = device.position(); });
            timed([&] { EXPECT_EQ(device.length(), 6000u); });
            return position >= 10;
        }));
        timed([&] { device.stop(); });
        position = device.position();
        const std::uint64_t stoppedAt = audio.steps();
        EXPECT_TRUE(testing::WaitUntil([&] { return audio.steps() >= stoppedAt + 2; }));
        timed([&] { EXPECT_EQ(device.position(), position) << "held where it stopped"; });
        EXPECT_LT(slowest, 20.0) << "a control call waited";
        EXPECT_LT(audio.longestMillis(), 50.0) << "a step of 10 ms took this long";
        post.runPending();
        EXPECT_EQ(notices, std::vector{NotifyValue::Aborted});
    }
}

// A song of many megabytes is read and checked on the loader, not in open(): a fault found
// there ends the play request with Failure and the reason, as a SoundFont that fails does.
TEST(MidiDeviceRealTime, AHugeSongIsCheckedOffTheUiThread) {
    struct Case {
        const char* name;
        std::vector<std::uint8_t> bytes;
        std::uint32_t length; // tenths, once checked
        std::vector<NotifyValue> notices;
    };
    const Case cases[] = {
        {"a dense song", testing::DenseSmf(900'000, {0}, 960 * 2), 20, {NotifyValue::Successful}},
        {"no song at all", std::vector<std::uint8_t>(6 << 20, 'x'), 0, {NotifyValue::Failure}},
    };
    testing::TempDir dir;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_GT(c.bytes.size(), 5u << 20);
        testing::WriteBytes(dir / "huge.mid", c.bytes);
        AudioEngine engine;
        testing::FakeUiPost post;
        MidiDevice device(engine, post);
        std::vector<NotifyValue> notices;
        device.setNotifyHandler([&](NotifyValue v) { notices.push_back(v); });
        device.setSoundFont(TOBIRA_TEST_SOUNDFONT);
        device.setFileName((dir / "huge.mid").string());
        device.open();
        // The loader may have found the fault already: then play says so at once.
        bool refused = false;
        try {
            device.play();
        } catch (const DeviceError&) {
            refused = true;
        }
        device.settle();
        EXPECT_EQ(device.length(), c.length);
        for (int i = 0; i < 40 && notices.empty() && !refused; ++i) {
            engine.render(AudioEngine::kSampleRate / 10);
            post.runPending();
        }
        post.runPending();
        EXPECT_EQ(notices, refused ? std::vector<NotifyValue>{} : c.notices);
        EXPECT_EQ(device.mode(), DeviceMode::Stopped);
        if (c.notices.back() == NotifyValue::Failure) {
            EXPECT_NE(device.takeProblem().find("huge.mid"), std::string::npos);
            EXPECT_THROW(device.play(), DeviceError);
        }
    }
}

} // namespace
} // namespace tobira
