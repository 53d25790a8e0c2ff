// The SDL2 output on the drivers available without a sound card.

#include "media/audio_engine.h"
#include "media/media_device.h"
#include "media/output/sdl_audio_output.h"
#include "media/output/sdl_api.h"
#include "media/output/shared_library.h"

#include <gtest/gtest.h>

#include <condition_variable>
#include <chrono>
#include <cstdlib>
#include <mutex>
#include <string>
#include <thread>

namespace tobira {
namespace {

// Counts what the output pulls, and lets the test wait for the first pulls.
class CountingSource final : public AudioSource {
  public:
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

    const auto begin = std::chrono::steady_clock::now();
    output.start();
    ASSERT_TRUE(source.waitForCalls(10));
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - begin).count();
    // Ten buffers at real time, not as fast as the engine can render.
    EXPECT_GE(seconds, 9.0 * output.bufferFrames() / AudioEngine::kSampleRate);

    // Idle and stopped alike: nothing is pulled, and the source may be detached at once.
    for (const bool idle : {true, false}) {
        SCOPED_TRACE(idle ? "idle" : "stopped");
        if (idle)
            output.setIdle(true);
        else
            output.stop();
        const std::size_t after = source.pulled();
        std::this_thread::sleep_for(std::chrono::milliseconds(60));
        EXPECT_EQ(source.pulled(), after);
        if (idle) {
            output.setIdle(false);
            const std::size_t before = source.pulled();
            ASSERT_TRUE(source.waitForCalls(static_cast<int>(before / output.bufferFrames()) + 2));
        }
    }
    EXPECT_FALSE(output.isRunning());
}

} // namespace
} // namespace tobira
