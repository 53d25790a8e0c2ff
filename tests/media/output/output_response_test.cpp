// SPDX-License-Identifier: GPL-3.0-or-later
// Volume, mute, pause and stop reach the first block the output pulls after them: the engine
// applies volumes as it renders, and a stop flushes and a pause holds the output (which the
// engine's handlers tell it). Through SDL2, which can neither flush nor re-mix, that block is
// the one fixed buffer, well within 150 ms; the PulseAudio output does better (its own test).
#include "media/audio_engine.h"
#include "media/cd/cd_device.h"
#include "media/midi/midi_device.h"
#include "media/output/sdl_audio_output.h"
#include "support/cd_device_support.h"
#include "support/fake_ports.h"
#include "support/smf_writer.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <memory>

namespace tobira {
namespace {

constexpr std::size_t kRate = AudioEngine::kSampleRate;
constexpr std::size_t kHeardFrames = kRate * 150 / 1000;
static_assert(SdlAudioOutput::kBufferFrames <= kHeardFrames);

// Level of the stereo frames [from, to) of a block.
double Rms(const std::vector<float>& block, std::size_t from, std::size_t to) {
    double sum = 0;
    for (std::size_t i = 2 * from; i < 2 * to; ++i)
        sum += double{block[i]} * block[i];
    return std::sqrt(sum / static_cast<double>(2 * (to - from)));
}

// A chord held for four seconds.
testing::SmfWriter HeldChord() {
    testing::SmfWriter w(0, 480);
    for (int key : {48, 55, 60, 64})
        w.note(0, 0, 0, key, 110, 4 * 960);
    w.endOfTrack(0, 4 * 960);
    return w;
}

enum class Source { Cd, Midi };

struct Player {
    testing::TempDir dir;
    AudioEngine engine;
    testing::FakeUiPost post;
    std::unique_ptr<CdDevice> cd;
    std::unique_ptr<MidiDevice> midi;
    MediaDevice* device = nullptr;
    int flushes = 0;
    int pauses = 0;

    explicit Player(Source source) {
        engine.setFlushHandler([this] { ++flushes; });
        engine.setPauseHandler([this] { ++pauses; });
        if (source == Source::Cd) {
            const CueImage image =
                WriteCueBin(dir.path(), "disc", {{.seconds = 5, .frequency = 441, .level = 0.5}});
            cd = std::make_unique<CdDevice>(engine);
            cd->setFileName(image.cue.string());
            device = cd.get();
        } else {
            HeldChord().write(dir / "chord.mid");
            midi = std::make_unique<MidiDevice>(engine, post);
            midi->setSoundFont(TOBIRA_TEST_SOUNDFONT);
            midi->setFileName((dir / "chord.mid").string());
            device = midi.get();
        }
        device->open();
        settle();
        device->play();
        settle();
    }
    ~Player() {
        engine.setFlushHandler(nullptr);
        engine.setPauseHandler(nullptr);
        midi.reset();
        cd.reset();
    }
    void settle() {
        if (cd)
            cd->waitIdle();
        else
            midi->settle();
    }
    std::vector<float> pull(int frames) {
        settle();
        auto block = engine.render(static_cast<std::size_t>(frames));
        post.runPending();
        return block;
    }
};

TEST(OutputResponse, ControlsAreHeardInTheFirstBlockTheOutputPullsAfterThem) {
    using Act = std::function<void(Player&)>;
    struct Case {
        const char* name;
        Source source;
        Act act;
        bool flushes;      // the output is told to drop or hold what it has
        double levelBelow; // the first block's level against the block before, at most
        double levelAbove; // and at least
    };
    const Act silenceSpeakers = [](Player& p) { p.engine.setLineVolume(MixerLine::Speakers, 0); };
    const Case cases[] = {
        {"CD speakers to zero", Source::Cd, silenceSpeakers, false, 0.0, 0.0},
        {"CD line halved", Source::Cd,
         [](Player& p) { p.engine.setLineVolume(MixerLine::CompactDisc, 32768); }, false, 0.51,
         0.49},
        {"CD line muted", Source::Cd,
         [](Player& p) { p.engine.setMute(MixerLine::CompactDisc, true); }, false, 0.0, 0.0},
        {"CD paused", Source::Cd, [](Player& p) { p.device->pause(); }, true, 0.0, 0.0},
        {"CD stopped", Source::Cd, [](Player& p) { p.device->stop(); }, true, 0.0, 0.0},
        {"MIDI speakers to zero", Source::Midi, silenceSpeakers, false, 0.0, 0.0},
        // Released notes fade out rather than stop dead: 20 dB down within 10 ms.
        {"MIDI paused", Source::Midi, [](Player& p) { p.device->pause(); }, true, 0.1, 0.0},
        {"MIDI stopped", Source::Midi, [](Player& p) { p.device->stop(); }, true, 0.1, 0.0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Player p(c.source);
        p.pull(SdlAudioOutput::kBufferFrames);
        const auto last = p.pull(SdlAudioOutput::kBufferFrames);
        const double before = Rms(last, 0, last.size() / 2);
        ASSERT_GT(before, 0.01) << "it plays";

        c.act(p);
        EXPECT_EQ(p.flushes + p.pauses, c.flushes ? 1 : 0);
        const int frames = SdlAudioOutput::kBufferFrames;
        // What is heard up to 150 ms after the control: the last 50 ms of that, or the second
        // half of a shorter block.
        const auto next = p.pull(frames);
        const std::size_t to = std::min<std::size_t>(kHeardFrames, frames);
        const double after = Rms(next, std::min(kRate / 10, to / 2), to);
        EXPECT_LE(after, c.levelBelow * before + 1e-6);
        EXPECT_GE(after, c.levelAbove * before);
    }
}

// The output keeps what a pause held and what was played ahead of a track's natural end; a stop,
// a jump or an eject drops it, so that nothing of the place left is heard at the next play.
TEST(OutputResponse, ACdDropsWhatTheOutputHoldsOnlyWhenLeavingItsPlace) {
    using Act = std::function<void(Player&)>;
    const Act pause = [](Player& p) { p.cd->pause(); };
    const Act fromStart = [](Player& p) { p.cd->playFrom(PackTmsf(1, 0, 0, 0)); };
    const struct {
        const char* name;
        std::vector<Act> acts;
        int pauses, flushes;
    } cases[] = {
        {"pause, resume", {pause, [](Player& p) { p.cd->play(); }}, 1, 0},
        {"pause, stop", {pause, [](Player& p) { p.cd->stop(); }}, 1, 1},
        {"pause, play from a track", {pause, fromStart}, 1, 1},
        {"pause, eject", {pause, [](Player& p) { p.cd->eject(); }}, 1, 1},
        {"jump while playing", {fromStart}, 0, 1},
        {"back to the track's start", {[](Player& p) { p.cd->previous(); }}, 0, 1},
        {"the disc ends, then plays again",
         {[](Player& p) {
              while (p.cd->mode() == DeviceMode::Playing)
                  p.pull(44100);
          },
          fromStart},
         0,
         0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Player p(Source::Cd);
        p.pull(4096);
        for (const Act& act : c.acts) {
            act(p);
            p.settle();
        }
        EXPECT_EQ(p.pauses, c.pauses);
        EXPECT_EQ(p.flushes, c.flushes);
    }
}

} // namespace
} // namespace tobira
