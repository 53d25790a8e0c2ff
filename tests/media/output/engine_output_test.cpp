// SPDX-License-Identifier: GPL-3.0-or-later
// The outputs without a sound server: SDL2 on its dummy driver, the silent pump, the reasons an
// output gives when it cannot open, and how the program's sound output picks, stands in and
// tries again.

#include "media/audio_engine.h"
#include "media/output/pulse_api.h"
#include "media/output/pulse_audio_output.h"
#include "media/output/sdl_audio_output.h"
#include "media/output/silent_pump.h"
#include "media/output/sound_output.h"
#include "media/loaders/sdl_api.h"
#include "media/loaders/shared_library.h"
#include "support/fake_ports.h"
#include "support/wait_until.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <functional>
#include <string>
#include <thread>

namespace tobira {
namespace {

using testing::WaitUntil;
using Clock = std::chrono::steady_clock;

// Long enough for an output that pulled when it should not to pull many steps.
constexpr std::chrono::milliseconds kWatch{300};

// Counts what the output pulls.
class CountingSource final : public AudioSource {
  public:
    bool sounding() const override { return sounds; }
    std::atomic<bool> sounds{true};

    void renderAudio(float* out, std::size_t frames) override {
        std::fill(out, out + 2 * frames, 0.0f);
        pulled_ += frames;
    }
    std::size_t pulled() const { return pulled_; }

  private:
    std::atomic<std::size_t> pulled_{0};
};

class ScopedEnvironment {
  public:
    ScopedEnvironment(const char* name, const char* value) : name_(name) {
        if (const char* old = std::getenv(name))
            old_ = old;
        setenv(name, value, 1);
    }
    ~ScopedEnvironment() {
        if (old_.empty())
            unsetenv(name_);
        else
            setenv(name_, old_.c_str(), 1);
    }

  private:
    const char* name_;
    std::string old_;
};

// Pulls while playing only, stops within a step of a pause, and closes within `closeWithin`.
void ExpectPullsWhilePlayingOnly(AudioOutput& output, CountingSource& source,
                                 std::chrono::milliseconds closeWithin) {
    ASSERT_EQ(output.open(), "");
    const std::size_t start = source.pulled();
    EXPECT_FALSE(WaitUntil([&] { return source.pulled() > start; }, kWatch)) << "not before play";
    output.play();
    ASSERT_TRUE(WaitUntil([&] { return source.pulled() > start + 4 * AudioOutput::kStepFrames; }));
    output.pause();
    ASSERT_TRUE(WaitUntil([&] {
        const std::size_t before = source.pulled();
        return !WaitUntil([&] { return source.pulled() > before; }, std::chrono::milliseconds(100));
    }));
    const std::size_t paused = source.pulled();
    EXPECT_FALSE(WaitUntil([&] { return source.pulled() > paused; }, kWatch));
    output.play();
    ASSERT_TRUE(WaitUntil([&] { return source.pulled() > paused; })) << "a resume pulls again";
    const auto closing = Clock::now();
    output.close();
    EXPECT_LT(Clock::now() - closing, closeWithin);
    const std::size_t closed = source.pulled();
    EXPECT_FALSE(WaitUntil([&] { return source.pulled() > closed; }, kWatch));
}

TEST(AudioOutputs, PullWhilePlayingOnlyAndCloseAtOnce) {
    ScopedEnvironment driver("SDL_AUDIODRIVER", "dummy");
    AudioEngine engine;
    CountingSource source;
    engine.attach(MixerLine::CompactDisc, &source);
    {
        SCOPED_TRACE("SDL2");
        SdlAudioOutput sdl(engine);
        // SDL drains two buffers before its thread ends.
        ExpectPullsWhilePlayingOnly(sdl, source, std::chrono::milliseconds(250));
        EXPECT_EQ(sdl.name(), "SDL2 (dummy)");
        EXPECT_EQ(sdl.bufferFrames(), SdlAudioOutput::kBufferFrames);
    }
    {
        SCOPED_TRACE("silent pump");
        SilentPump pump(engine);
        const std::size_t before = source.pulled();
        const auto begin = Clock::now();
        ExpectPullsWhilePlayingOnly(pump, source, std::chrono::milliseconds(50));
        // At real time, not as fast as the engine can render.
        const double seconds = std::chrono::duration<double>(Clock::now() - begin).count();
        EXPECT_LE(static_cast<double>(source.pulled() - before),
                  seconds * AudioEngine::kSampleRate + 2 * AudioOutput::kStepFrames);
    }
    engine.attach(MixerLine::CompactDisc, nullptr);
}

// Half a second of silence from the engine and an output rests; a play wakes it.
TEST(AudioOutputs, RestWhileTheEngineIsSilentAndWakeOnPlay) {
    ScopedEnvironment driver("SDL_AUDIODRIVER", "dummy");
    AudioEngine engine;
    CountingSource source;
    engine.attach(MixerLine::CompactDisc, &source);
    SilentPump pump(engine);
    SdlAudioOutput sdl(engine);
    for (AudioOutput* output :
         {static_cast<AudioOutput*>(&pump), static_cast<AudioOutput*>(&sdl)}) {
        SCOPED_TRACE(output->name());
        source.sounds = false;
        ASSERT_EQ(output->open(), "");
        output->play();
        ASSERT_TRUE(WaitUntil([&] {
            const std::size_t before = source.pulled();
            return !WaitUntil([&] { return source.pulled() > before; },
                              std::chrono::milliseconds(100));
        })) << "it rests";
        EXPECT_GE(source.pulled(), std::size_t{AudioEngine::kSampleRate} / 2);
        const std::size_t rested = source.pulled();
        source.sounds = true;
        engine.wake();
        output->play();
        ASSERT_TRUE(WaitUntil([&] { return source.pulled() > rested; }));
        output->close();
    }
    engine.attach(MixerLine::CompactDisc, nullptr);
}

TEST(AudioOutputs, AnOutputThatCannotOpenSaysWhy) {
    ScopedEnvironment nowhere("PULSE_SERVER", "unix:/nonexistent/tobira/native");
    AudioEngine engine;
    const struct {
        const char* what;
        std::function<std::unique_ptr<AudioOutput>()> make;
        const char* reason;
    } cases[] = {
        {"SDL2 missing",
         [&] {
             return std::make_unique<SdlAudioOutput>(engine, []() -> const SdlApi& {
                 static const SdlApi api = LoadSdlApi("libSDL2-not-here.so.0");
                 return api;
             });
         },
         "libSDL2-not-here.so.0"},
        {"SDL2 on a driver it lacks",
         [&] {
             setenv("SDL_AUDIODRIVER", "no-such-driver", 1);
             return std::make_unique<SdlAudioOutput>(engine);
         },
         ""},
        {"libpulse missing",
         [&] {
             return std::make_unique<PulseAudioOutput>(engine, []() -> const PulseApi& {
                 static const PulseApi api = LoadPulseApi("libpulse-not-here.so.0");
                 return api;
             });
         },
         "libpulse-not-here.so.0"},
        {"no PulseAudio server", [&] { return std::make_unique<PulseAudioOutput>(engine); },
         "Connection refused"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        ScopedEnvironment driver("SDL_AUDIODRIVER", "dummy");
        auto output = c.make();
        const std::string reason = output->open();
        EXPECT_FALSE(reason.empty());
        EXPECT_NE(reason.find(c.reason), std::string::npos) << reason;
    }
}

// An output made by the test: opens or not as told, and counts what it is asked.
class ScriptedOutput final : public AudioOutput {
  public:
    struct Log {
        std::string openResult;
        int opened = 0, plays = 0, pauses = 0, flushes = 0, volumes = 0, closes = 0;
    };
    ScriptedOutput(std::string name, Log& log) : name_(std::move(name)), log_(log) {}
    std::string name() const override { return name_; }
    std::string open() override {
        ++log_.opened;
        return log_.openResult;
    }
    void play() override { ++log_.plays; }
    void pause() override { ++log_.pauses; }
    void flush() override { ++log_.flushes; }
    void volumeChanged() override { ++log_.volumes; }
    std::chrono::microseconds delay() const override { return {}; }
    void close() override { ++log_.closes; }
    using AudioOutput::fail;

  private:
    std::string name_;
    Log& log_;
};

TEST(SoundOutput, ChoosesFromTheEnvironment) {
    using K = OutputKind;
    const struct {
        const char* value;
        std::vector<OutputKind> kinds;
    } cases[] = {
        {nullptr, {K::Pulse, K::Sdl}}, {"", {K::Pulse, K::Sdl}},
        {"pulse", {K::Pulse}},         {"sdl", {K::Sdl}},
        {"none", {K::Silent}},         {"jack", {K::Pulse, K::Sdl}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(SoundOutput::Choice(c.value), c.kinds) << (c.value ? c.value : "(unset)");
}

TEST(SoundOutput, StandsInSilentlyTellsOnceAndTriesAgainAtThePlayAfterAStop) {
    AudioEngine engine;
    testing::FakeUiPost post;
    std::vector<std::string> told;
    ScriptedOutput::Log pulse, sdl, silent;
    ScriptedOutput* live = nullptr;
    SoundOutput::Factory factory = [&](OutputKind kind) -> std::unique_ptr<AudioOutput> {
        auto& log = kind == OutputKind::Pulse ? pulse : kind == OutputKind::Sdl ? sdl : silent;
        auto made = std::make_unique<ScriptedOutput>(kind == OutputKind::Pulse ? "PulseAudio"
                                                     : kind == OutputKind::Sdl ? "SDL2"
                                                                               : "silent",
                                                     log);
        if (kind == OutputKind::Pulse)
            live = made.get();
        return made;
    };
    auto tell = [&](const std::string& text) { told.push_back(text); };

    // The default choice falls from PulseAudio to SDL2 without a word.
    pulse.openResult = "Connection refused";
    {
        SoundOutput output(engine, post, tell, SoundOutput::Choice(nullptr), factory);
        output.open();
        EXPECT_EQ(output.currentKind(), OutputKind::Sdl);
        EXPECT_EQ(sdl.plays, 1) << "opens awake";
        EXPECT_TRUE(told.empty());
    }
    // A chosen output that cannot open is told of, and the pump stands in.
    {
        SoundOutput output(engine, post, tell, {OutputKind::Pulse}, factory);
        output.open();
        EXPECT_EQ(output.currentKind(), OutputKind::Silent);
        ASSERT_EQ(told.size(), 1u);
        EXPECT_NE(told[0].find("PulseAudio"), std::string::npos);
        EXPECT_NE(told[0].find("Connection refused"), std::string::npos);
    }
    told.clear();
    pulse = {};
    SoundOutput output(engine, post, tell, {OutputKind::Pulse}, factory);
    output.open();
    ASSERT_EQ(output.currentKind(), OutputKind::Pulse);
    engine.setLineVolume(MixerLine::Speakers, 1000);
    engine.pause();
    engine.flush();
    engine.wake();
    EXPECT_EQ(pulse.volumes, 1);
    EXPECT_EQ(pulse.pauses, 1);
    EXPECT_EQ(pulse.flushes, 1);
    EXPECT_EQ(pulse.plays, 2);

    // It fails on its own thread; the UI thread hears of it through the post.
    std::thread([&] { live->fail("Connection terminated"); }).join();
    EXPECT_EQ(output.currentKind(), OutputKind::Pulse);
    post.runPending();
    EXPECT_EQ(output.currentKind(), OutputKind::Silent);
    EXPECT_EQ(pulse.closes, 1);
    ASSERT_EQ(told.size(), 1u);
    EXPECT_NE(told[0].find("PulseAudio"), std::string::npos);
    EXPECT_NE(told[0].find("Connection terminated"), std::string::npos);

    struct Step {
        const char* what;
        std::function<void()> act;
        OutputKind then;
        int pulseOpens;
    };
    const Step steps[] = {
        {"a resume after a pause stays silent",
         [&] {
             engine.pause();
             engine.wake();
         },
         OutputKind::Silent, 1},
        {"a play after a stop whose server is still gone",
         [&] {
             pulse.openResult = "Connection refused";
             engine.flush();
             engine.wake();
         },
         OutputKind::Silent, 2},
        {"a play after a stop finds it again",
         [&] {
             pulse.openResult.clear();
             engine.flush();
             engine.wake();
         },
         OutputKind::Pulse, 3},
        {"and stays with it", [&] { engine.wake(); }, OutputKind::Pulse, 3},
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(step.what);
        step.act();
        post.runPending();
        EXPECT_EQ(output.currentKind(), step.then);
        EXPECT_EQ(pulse.opened, step.pulseOpens);
    }
    EXPECT_EQ(told.size(), 1u) << "told once";
}

} // namespace
} // namespace tobira
