// The SDL2 output on the drivers available without a sound card.

#include "media/audio_engine.h"
#include "media/media_device.h"
#include "media/output/sdl_audio_output.h"
#include "media/loaders/sdl_api.h"
#include "media/loaders/shared_library.h"
#include "support/fake_ports.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdlib>
#include <functional>
#include <mutex>
#include <string>
#include <thread>

namespace tobira {
namespace {

// The one wait of these tests that is not on an event: long enough for an output that pulled
// flat out to pull hundreds of buffers, and for one at real time to pull two.
constexpr auto kWatch = std::chrono::milliseconds(400);

// Counts what the output pulls, and lets the test wait for the first pulls.
class CountingSource final : public AudioSource {
  public:
    bool sounding() const override { return sounds; }
    std::atomic<bool> sounds{true};

    void renderAudio(float* out, std::size_t frames) override {
        std::fill(out, out + 2 * frames, 0.0f);
        std::lock_guard lock(mutex_);
        pulled_ += frames;
        ++calls_;
        changed_.notify_all();
    }
    bool waitForCalls(int calls) {
        std::unique_lock lock(mutex_);
        return changed_.wait_for(lock, std::chrono::seconds(5), [&] { return calls_ >= calls; });
    }
    std::size_t pulled() {
        std::lock_guard lock(mutex_);
        return pulled_;
    }
    int calls() {
        std::lock_guard lock(mutex_);
        return calls_;
    }

  private:
    std::mutex mutex_;
    std::condition_variable changed_;
    std::size_t pulled_ = 0;
    int calls_ = 0;
};

class DriverEnvironment {
  public:
    explicit DriverEnvironment(const char* driver) {
        if (const char* old = std::getenv("SDL_AUDIODRIVER"))
            old_ = old;
        setenv("SDL_AUDIODRIVER", driver, 1);
    }
    ~DriverEnvironment() {
        if (old_.empty())
            unsetenv("SDL_AUDIODRIVER");
        else
            setenv("SDL_AUDIODRIVER", old_.c_str(), 1);
    }

  private:
    std::string old_;
};

TEST(SdlAudioOutput, PullsTheEngineWhileStartedOnly) {
    DriverEnvironment env("dummy");
    AudioEngine engine;
    CountingSource source;
    engine.attach(MixerLine::CompactDisc, &source);
    {
        SdlAudioOutput output(engine);
        EXPECT_EQ(output.driverName(), "dummy");
        EXPECT_FALSE(output.isFallback());
        EXPECT_GT(output.bufferFrames(), 0);
        EXPECT_FALSE(output.isRunning());
        output.start();
        EXPECT_TRUE(output.isRunning());
        ASSERT_TRUE(source.waitForCalls(2));
        output.stop();
        EXPECT_FALSE(output.isRunning());
        const std::size_t afterStop = source.pulled();
        EXPECT_GT(afterStop, 0u);
        // stop() has waited out the callback: detaching now is safe and nothing more is pulled.
        engine.attach(MixerLine::CompactDisc, nullptr);
        output.start();
        output.stop();
        EXPECT_EQ(source.pulled(), afterStop);
    }
}

TEST(SdlAudioOutput, FallsBackToDummyWhenTheDriverFails) {
    for (const char* broken : {"no-such-driver", "alsa"}) {
        SCOPED_TRACE(broken);
        DriverEnvironment env(broken);
        AudioEngine engine;
        try {
            SdlAudioOutput output(engine);
            // ALSA works on a machine with a sound card; then there is nothing to fall back from.
            if (output.isFallback()) {
                EXPECT_EQ(output.driverName(), "dummy");
            } else {
                EXPECT_EQ(output.driverName(), broken);
            }
            output.start();
            output.stop();
        } catch (const DeviceError& e) {
            ADD_FAILURE() << e.what();
        }
    }
    // A later output on the normal driver is not stuck on the fallback.
    DriverEnvironment env("disk");
    setenv("SDL_DISKAUDIOFILE", "/dev/null", 1);
    AudioEngine engine;
    SdlAudioOutput output(engine);
    EXPECT_EQ(output.driverName(), "disk");
}

TEST(SdlAudioOutput, WithoutSdlPullsTheEngineAtRealTimeWhileStartedAndAwake) {
    AudioEngine engine;
    CountingSource source;
    engine.attach(MixerLine::CompactDisc, &source);
    SdlAudioOutput output(engine, []() -> const SdlApi& {
        static const SdlApi api = LoadSdlApi("libSDL2-not-here.so.0");
        return api;
    });
    EXPECT_TRUE(output.isFallback());
    EXPECT_EQ(output.driverName(), "none");
    EXPECT_GT(output.bufferFrames(), 0);
    EXPECT_EQ(source.pulled(), 0u);

    output.start();
    ASSERT_TRUE(source.waitForCalls(1));
    const std::size_t first = source.pulled();
    const auto begin = std::chrono::steady_clock::now();
    std::this_thread::sleep_for(kWatch);
    const double watched =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - begin).count();
    // At real time, not as fast as the engine can render: what the watch lasted and the buffer
    // the pump renders ahead at most.
    EXPECT_LE(source.pulled() - first,
              static_cast<std::size_t>(watched * AudioEngine::kSampleRate) +
                  2 * static_cast<std::size_t>(output.bufferFrames()));

    // Started but idle: nothing is pulled; awake again, it pulls at once.
    output.stop();
    output.setIdle(true);
    output.start();
    const std::size_t after = source.pulled();
    std::this_thread::sleep_for(kWatch);
    EXPECT_EQ(source.pulled(), after);
    output.setIdle(false);
    ASSERT_TRUE(source.waitForCalls(static_cast<int>(after / output.bufferFrames()) + 1));
    output.stop();
    EXPECT_FALSE(output.isRunning());
}

// The device is opened calm; a volume or mute change of its own while it plays reopens it
// quick (one that comes with a play does not), and a flush reopens it calm while something
// sounds, else lets it rest.
TEST(SdlAudioOutput, BufferFollowsWhatWaitsOnTheSound) {
    DriverEnvironment env("dummy");
    AudioEngine engine;
    CountingSource source;
    engine.attach(MixerLine::CompactDisc, &source);
    testing::FakeUiPost post;
    SdlAudioOutput output(engine);
    output.judgeVolumesAfterEvents(post);
    EXPECT_EQ(output.bufferFrames(), SdlAudioOutput::kCalmBufferFrames);
    engine.setLineVolume(MixerLine::Speakers, 30000); // not playing yet: nothing to hurry
    EXPECT_EQ(output.bufferFrames(), SdlAudioOutput::kCalmBufferFrames);

    output.start();
    struct Step {
        const char* what;
        std::function<void()> act;
        int frames; // 0: resting
    };
    const Step steps[] = {
        {"a song's own volume as it starts",
         [&] {
             engine.setLineVolume(MixerLine::Speakers, 25000);
             output.setIdle(false); // the play's wake
         },
         SdlAudioOutput::kCalmBufferFrames},
        {"volume", [&] { engine.setLineVolume(MixerLine::Speakers, 20000); },
         SdlAudioOutput::kQuickBufferFrames},
        {"mute after a flush",
         [&] {
             output.flush();
             engine.setMute(MixerLine::CompactDisc, true);
         },
         SdlAudioOutput::kQuickBufferFrames},
        {"flush while sounding", [&] { output.flush(); }, SdlAudioOutput::kCalmBufferFrames},
        {"flush in silence",
         [&] {
             source.sounds = false;
             output.flush();
         },
         0},
        {"wake", [&] { output.setIdle(false); }, SdlAudioOutput::kCalmBufferFrames},
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(step.what);
        const int before = source.calls();
        step.act();
        post.runPending(); // the end of the event
        EXPECT_EQ(output.isIdle(), step.frames == 0);
        if (step.frames == 0)
            continue;
        EXPECT_EQ(output.bufferFrames(), step.frames);
        ASSERT_TRUE(source.waitForCalls(before + 1)) << "it pulls";
    }
    output.stop();
}

} // namespace
} // namespace tobira
