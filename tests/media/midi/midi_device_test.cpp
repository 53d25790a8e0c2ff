// SPDX-License-Identifier: GPL-3.0-or-later
#include "media/midi/midi_device.h"

#include "media/audio_engine.h"
#include "media/midi/peak_limiter.h"
#include "media/midi/midi_synthesizer.h"
#include "support/fake_ports.h"
#include "support/sf2_writer.h"
#include "support/smf_writer.h"
#include "support/temp_dir.h"
#include "text/cp932_convert.h"

#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <functional>

namespace tobira {
namespace {

using testing::SmfDamage;
using testing::SmfWriter;

constexpr int kRate = AudioEngine::kSampleRate;
constexpr std::size_t kBlock = kRate / 100; // 10 ms
// 480 ticks per quarter at the default 120 BPM: 960 ticks a second.
constexpr std::uint32_t kTicksPerSecond = 960;

std::uint32_t Ticks(double seconds) {
    return static_cast<std::uint32_t>(std::lround(seconds * kTicksPerSecond));
}

// Piano eighth notes from the start to `seconds`, where the song ends.
SmfWriter Melody(double seconds) {
    SmfWriter w(0, 480);
    for (std::uint32_t tick = 0; tick + 240 <= Ticks(seconds); tick += 240)
        w.note(0, tick, 0, 60 + static_cast<int>(tick / 240 % 8), 100, 240);
    w.endOfTrack(0, Ticks(seconds));
    return w;
}

// 2 s at 120 BPM, 4 s at 60 BPM, 1 s at 240 BPM.
SmfWriter TempoChangingSong() {
    SmfWriter w(1, 480);
    w.tempoBpm(0, 0, 120);
    w.tempoBpm(0, 1920, 60);
    w.tempoBpm(0, 3840, 240);
    const int t = w.addTrack();
    for (std::uint32_t tick = 0; tick < 5760; tick += 240)
        w.note(t, tick, 0, 60 + static_cast<int>(tick / 240 % 12), 100, 240);
    return w;
}

struct Arrival {
    NotifyValue value;
    double at; // seconds of sound rendered when it arrived
};

class MidiDeviceTest : public ::testing::Test {
  public: // the tables below reach the fixture through lambdas
    MidiDeviceTest() {
        device.setSoundFont(TOBIRA_TEST_SOUNDFONT);
        device.setNotifyHandler([this](NotifyValue v) { arrivals.push_back({v, now()}); });
    }

    void open(const SmfWriter& song, const std::string& name = "song.mid") {
        song.write(dir / name);
        device.setFileName((dir / name).string());
        device.open();
        device.settle();
    }

    // Renders in 10 ms blocks, delivering notifications after each. Returns the RMS.
    double render(double seconds) {
        double sum = 0.0;
        std::size_t samples = 0;
        for (long i = 0; i < std::lround(seconds * 100); ++i) {
            const double rms = renderBlock();
            sum += rms * rms * kBlock * 2;
            samples += kBlock * 2;
        }
        return samples ? std::sqrt(sum / samples) : 0.0;
    }

    double renderBlock() {
        engine.render(block.data(), kBlock);
        frames += kBlock;
        post.runPending();
        double sum = 0.0;
        for (float s : block)
            sum += double{s} * s;
        return std::sqrt(sum / block.size());
    }

    // Seconds until the first audible block, at most `limit`.
    double secondsUntilSound(double limit) {
        for (double t = 0.0; t < limit; t += 0.01)
            if (renderBlock() > 1e-3)
                return t;
        return limit;
    }

    double now() const { return static_cast<double>(frames) / kRate; }

    std::vector<NotifyValue> values() const {
        std::vector<NotifyValue> v;
        for (const Arrival& a : arrivals)
            v.push_back(a.value);
        return v;
    }

    AudioEngine engine;
    testing::FakeUiPost post;
    MidiDevice device{engine, post};
    testing::TempDir dir;
    std::vector<Arrival> arrivals;
    std::uint64_t frames = 0;
    std::vector<float> block = std::vector<float>(kBlock * 2);
};

TEST_F(MidiDeviceTest, ANaturalEndIsReportedOnceAtTheSongLength) {
    open(Melody(2.0));
    EXPECT_EQ(device.length(), 20u);
    device.play();
    EXPECT_GT(render(1.0), 0.01); // it sounds
    EXPECT_EQ(device.mode(), DeviceMode::Playing);
    render(4.0); // FluidSynth's own end would come seconds later

    ASSERT_EQ(values(), std::vector{NotifyValue::Successful});
    EXPECT_GE(arrivals[0].at, 2.0);
    EXPECT_LT(arrivals[0].at, 2.1);
    EXPECT_EQ(device.mode(), DeviceMode::Stopped);
    EXPECT_EQ(device.position(), 20u);

    // Playing again after the end starts from the top.
    arrivals.clear();
    const double start = now();
    device.play();
    render(0.5);
    EXPECT_EQ(device.position(), 5u);
    render(2.0);
    ASSERT_EQ(values(), std::vector{NotifyValue::Successful});
    EXPECT_NEAR(arrivals[0].at - start, 2.0, 0.1);
}

TEST_F(MidiDeviceTest, EveryPlayRequestEndsWithExactlyOneNotification) {
    using Action = std::function<void(MidiDeviceTest&)>;
    struct Case {
        const char* name;
        Action action;
        std::vector<NotifyValue> expected;
        DeviceMode mode;
        std::uint32_t position;
    };
    const Case cases[] = {
        {"stop",
         [](MidiDeviceTest& t) { t.device.stop(), t.device.stop(); },
         {NotifyValue::Aborted},
         DeviceMode::Stopped,
         10},
        {"pause",
         [](MidiDeviceTest& t) { t.device.pause(), t.device.pause(); },
         {NotifyValue::Aborted},
         DeviceMode::Paused,
         10},
        {"previous",
         [](MidiDeviceTest& t) { t.device.previous(), t.device.previous(); },
         {NotifyValue::Aborted},
         DeviceMode::Stopped,
         0},
        {"close",
         [](MidiDeviceTest& t) { t.device.close(), t.device.close(); },
         {NotifyValue::Aborted},
         DeviceMode::NotReady,
         0},
        {"pause then stop",
         [](MidiDeviceTest& t) { t.device.pause(), t.device.stop(); },
         {NotifyValue::Aborted},
         DeviceMode::Stopped,
         10},
        {"play again",
         [](MidiDeviceTest& t) { t.device.play(); },
         {NotifyValue::Superseded, NotifyValue::Successful},
         DeviceMode::Stopped,
         30},
        {"open and play another",
         [](MidiDeviceTest& t) { t.open(Melody(1.0), "b.mid"), t.device.play(); },
         {NotifyValue::Superseded, NotifyValue::Successful},
         DeviceMode::Stopped,
         10},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        open(Melody(3.0));
        arrivals.clear();
        device.play();
        render(1.0);
        EXPECT_TRUE(arrivals.empty());
        c.action(*this);
        render(4.0);
        EXPECT_EQ(values(), c.expected);
        EXPECT_EQ(device.mode(), c.mode);
        EXPECT_EQ(device.position(), c.position);
    }
}

TEST_F(MidiDeviceTest, SoundsLouderThanFluidSynthsDefaultWithoutClipping) {
    open(TempoChangingSong());
    EXPECT_GT(device.synthGain(), 0.2);
    device.play();
    float peak = 0.0f;
    for (int i = 0; i < 300; ++i) {
        device.renderAudio(block.data(), kBlock); // before the engine's clamp
        for (float s : block)
            peak = std::max(peak, std::fabs(s));
    }
    EXPECT_GT(peak, 0.03f); // one piano line: well below a full band
    EXPECT_LT(peak, 1.0f);
}

TEST_F(MidiDeviceTest, PositionAndLengthFollowTempoChanges) {
    open(TempoChangingSong());
    EXPECT_EQ(device.length(), 70u);
    device.play();
    const std::pair<double, std::uint32_t> checkpoints[] = {{1.0, 10}, {2.0, 30}, {3.5, 65}};
    for (auto [seconds, tenths] : checkpoints) {
        render(seconds);
        EXPECT_EQ(device.position(), tenths);
    }
    render(1.0);
    ASSERT_EQ(values(), std::vector{NotifyValue::Successful});
    EXPECT_GE(arrivals[0].at, 7.0);
    EXPECT_LT(arrivals[0].at, 7.1);
}

TEST_F(MidiDeviceTest, PlayFromAPositionStartsThere) {
    open(TempoChangingSong());
    device.playFrom(35); // inside the 60 BPM part
    render(0.5);
    EXPECT_EQ(device.position(), 40u);
    render(3.5);
    ASSERT_EQ(values(), std::vector{NotifyValue::Successful});
    EXPECT_NEAR(arrivals[0].at, 3.5, 0.1);
}

TEST_F(MidiDeviceTest, ResumeAfterPauseContinuesFromTheSamePlace) {
    // Silence, then one note from 1.5 s to 2 s; the song ends at 2.5 s.
    SmfWriter w(0, 480);
    w.note(0, Ticks(1.5), 0, 72, 110, Ticks(0.5));
    w.endOfTrack(0, Ticks(2.5));
    open(w);
    device.play();
    render(1.0);
    device.pause();
    EXPECT_LT(render(1.0), 1e-4);
    EXPECT_EQ(device.position(), 10u);
    EXPECT_EQ(device.mode(), DeviceMode::Paused);

    device.play();
    const double untilNote = secondsUntilSound(2.0);
    EXPECT_NEAR(untilNote, 0.5, 0.05); // not 1.5 s: it did not start over
    render(1.5);
    ASSERT_EQ(values(), (std::vector{NotifyValue::Aborted, NotifyValue::Successful}));
    EXPECT_EQ(device.position(), 25u);
}

TEST_F(MidiDeviceTest, NothingHangsButTheReleaseRingsOn) {
    // Church organ held without end: only the device can release it.
    auto heldOrgan = [](std::uint32_t endTick, bool pedal) {
        SmfWriter w(0, 480);
        w.programChange(0, 0, 0, 19);
        if (pedal)
            w.controlChange(0, 0, 0, 64, 127);
        w.noteOn(0, 0, 0, 60, 110);
        w.endOfTrack(0, endTick);
        return w;
    };
    struct Case {
        const char* name;
        SmfWriter song;
        std::function<void(MidiDeviceTest&)> after;
    };
    const Case cases[] = {
        {"natural end", heldOrgan(Ticks(1.0), false),
         [](MidiDeviceTest& t) {
             t.render(0.1);
             EXPECT_EQ(t.values(), std::vector{NotifyValue::Successful});
         }},
        {"stop with the sustain pedal down", heldOrgan(Ticks(5.0), true),
         [](MidiDeviceTest& t) { t.device.stop(); }},
        {"a new song opened", heldOrgan(Ticks(5.0), true),
         [](MidiDeviceTest& t) {
             SmfWriter silent(0, 480);
             silent.endOfTrack(0, Ticks(3.0));
             t.open(silent, "silent.mid");
             t.device.play();
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        arrivals.clear();
        open(c.song);
        device.play();
        EXPECT_GT(render(0.9), 0.01);
        c.after(*this);
        EXPECT_GT(renderBlock(), 1e-4); // released, not cut dead
        render(2.0);
        EXPECT_LT(render(0.5), 1e-4);
        device.close();
    }
}

// FluidSynth's own loader refuses all of these; the device plays what the reader accepted.
TEST_F(MidiDeviceTest, DamagedAndUnusualSongsPlayWhatTheyHold) {
    SmfWriter sequences(2, 480); // one second, then another
    sequences.note(0, 0, 0, 60, 100, 480);
    sequences.endOfTrack(0, Ticks(1.0));
    sequences.note(sequences.addTrack(), 0, 0, 67, 100, Ticks(1.0));
    const struct {
        const char* name;
        SmfWriter song;
        SmfDamage damage;
        std::uint32_t tenths;
    } cases[] = {
        {"format 2", sequences, SmfDamage::None, 20},
        {"cut in the last event", TempoChangingSong(), SmfDamage::TruncateInLastEvent, 70},
        {"track length too long", TempoChangingSong(), SmfDamage::TrackLengthTooLong, 70},
        {"event past the track end", TempoChangingSong(), SmfDamage::EventPastTrackEnd, 70},
        {"a track missing", TempoChangingSong(), SmfDamage::MissingTrack, 70},
        {"no running status (tempos lost)", TempoChangingSong(), SmfDamage::LostRunningStatus, 60},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        c.song.write(dir / "odd.mid", c.damage);
        device.setFileName((dir / "odd.mid").string());
        device.open();
        device.settle();
        EXPECT_EQ(device.length(), c.tenths);
        device.play();
        render(c.tenths / 10.0 - 0.5);
        EXPECT_GT(render(0.3), 0.005) << "still sounding near the end";
        device.close();
    }
}

TEST_F(MidiDeviceTest, ASongThatCannotBePlayedIsAnErrorAtOpen) {
    const SmfWriter song = TempoChangingSong();
    for (SmfDamage damage : {SmfDamage::BadHeaderLength, SmfDamage::HeaderOnly}) {
        song.write(dir / "bad.mid", damage);
        device.setFileName((dir / "bad.mid").string());
        EXPECT_THROW(device.open(), DeviceError);
        EXPECT_FALSE(device.isOpen());
    }
    device.setFileName((dir / "missing.mid").string());
    EXPECT_THROW(device.open(), DeviceError);
    std::ofstream(dir / "text.mid") << "not a song";
    device.setFileName((dir / "text.mid").string());
    EXPECT_THROW(device.open(), DeviceError);

    // A failed open leaves a playing song alone.
    open(Melody(1.0), "good.mid");
    device.play();
    device.setFileName((dir / "bad.mid").string());
    EXPECT_THROW(device.open(), DeviceError);
    EXPECT_EQ(device.mode(), DeviceMode::Playing);
    render(1.5);
    EXPECT_EQ(values(), std::vector{NotifyValue::Successful});
}

// A SoundFont the synthesizer cannot load is named in a message of its own, with the reason.
TEST_F(MidiDeviceTest, AMissingOrBadSoundFontIsAnErrorAtOpen) {
    Melody(1.0).write(dir / "song.mid");
    std::ofstream(dir / "fake.sf2") << "RIFF but not really";
    std::ofstream(dir / "empty.sf2").flush();
    testing::WriteBytes(dir / "gm.dls", {'R', 'I', 'F', 'F', 4, 0, 0, 0, 'D', 'L', 'S', ' '});
    std::vector<std::uint8_t> cut = testing::LoudSoundFont();
    cut.resize(cut.size() / 2);
    testing::WriteBytes(dir / "cut.sf2", cut);
    device.setFileName((dir / "song.mid").string());
    const std::pair<const char*, const char*> cases[] = {
        {"missing.sf2", "ファイルがありません"},
        {"fake.sf2", "SF2 形式のサウンドフォントではありません"},
        {"empty.sf2", "空です"},
        {"gm.dls", "DLS 形式です"},
        {"cut.sf2", "途中で切れています"},
    };
    for (auto [name, reason] : cases) {
        SCOPED_TRACE(name);
        device.setSoundFont((dir / name).string());
        try {
            device.open();
            ADD_FAILURE() << "opened";
        } catch (const SoundFontError& e) {
            const std::string text = Cp932ToUtf8(e.what());
            EXPECT_NE(text.find(std::string("サウンドフォント【") + (dir / name).string() +
                                "】を読めません："),
                      std::string::npos)
                << text;
            EXPECT_NE(text.find(reason), std::string::npos) << text;
        }
        EXPECT_FALSE(device.isOpen());
    }
    device.setSoundFont(TOBIRA_TEST_SOUNDFONT);
    EXPECT_NO_THROW(device.open());
}

// A SoundFont far louder than the level probe expects: the limiter keeps the synthesizer's
// output below full scale, where the mix would otherwise clip it.
TEST_F(MidiDeviceTest, ALoudSoundFontNeverClips) {
    testing::WriteBytes(dir / "loud.sf2", testing::LoudSoundFont());
    device.setSoundFont((dir / "loud.sf2").string());
    SmfWriter chords(0, 480);
    for (int key = 48; key < 72; key += 2)
        chords.note(0, 0, 0, key, 127, Ticks(1.0));
    open(chords);
    device.play();
    float peak = 0.0f;
    for (int i = 0; i < 100; ++i) {
        device.renderAudio(block.data(), kBlock); // before the engine's clamp
        for (float s : block)
            peak = std::max(peak, std::fabs(s));
    }
    EXPECT_LE(peak, PeakLimiter::kCeiling + 1e-4f);
    EXPECT_GT(peak, 0.8f * PeakLimiter::kCeiling); // loud enough to have needed the limiter
}

TEST_F(MidiDeviceTest, AClosedDeviceRefusesCommands) {
    const std::function<void()> commands[] = {
        [&] { device.play(); },         [&] { device.playFrom(0); },    [&] { device.stop(); },
        [&] { device.pause(); },        [&] { device.previous(); },     [&] { device.eject(); },
        [&] { (void)device.length(); }, [&] { (void)device.tracks(); },
    };
    for (const auto& command : commands)
        EXPECT_THROW(command(), DeviceError);
    EXPECT_EQ(device.mode(), DeviceMode::NotReady);
    EXPECT_EQ(device.position(), 0u);
    EXPECT_NO_THROW(device.close());
    EXPECT_TRUE(arrivals.empty());
}

// A GS reset (SysEx with device id 0x10) restores program 0, so a song that selects strings and
// then resets must sound like one that never selected them.
TEST_F(MidiDeviceTest, AGsResetIsObeyed) {
    auto renderSong = [this](bool strings, bool reset) {
        SmfWriter w(0, 480);
        if (strings)
            w.programChange(0, 0, 0, 48);
        if (reset)
            w.gsReset(0, 0);
        w.note(0, Ticks(0.25), 0, 60, 100, Ticks(0.5));
        w.endOfTrack(0, Ticks(1.0));
        const auto name = std::string("gs") + (strings ? "s" : "") + (reset ? "r" : "") + ".mid";
        w.write(dir / name);
        AudioEngine ownEngine;
        testing::FakeUiPost ownPost;
        MidiDevice own(ownEngine, ownPost);
        own.setSoundFont(TOBIRA_TEST_SOUNDFONT);
        own.setFileName((dir / name).string());
        own.open();
        own.play();
        own.settle();
        std::vector<float> out = ownEngine.render(kRate * 3 / 2);
        ownPost.runPending();
        EXPECT_EQ(own.mode(), DeviceMode::Stopped);
        return out;
    };
    auto rmsOfDifference = [](const std::vector<float>& a, const std::vector<float>& b) {
        double sum = 0.0;
        for (std::size_t i = 0; i < a.size(); ++i)
            sum += (double{a[i]} - b[i]) * (double{a[i]} - b[i]);
        return std::sqrt(sum / a.size());
    };
    const auto piano = renderSong(false, true);
    const auto stringsThenReset = renderSong(true, true);
    const auto strings = renderSong(true, false);
    const double differentInstruments = rmsOfDifference(strings, piano);
    EXPECT_GT(differentInstruments, 0.01);
    EXPECT_LT(rmsOfDifference(stringsThenReset, piano), differentInstruments / 10);
}

TEST_F(MidiDeviceTest, NotificationsNeverReachADestroyedDevice) {
    Melody(1.0).write(dir / "song.mid");
    AudioEngine ownEngine;
    testing::FakeUiPost ownPost;
    int delivered = 0;
    {
        MidiDevice own(ownEngine, ownPost);
        own.setNotifyHandler([&](NotifyValue) { ++delivered; });
        own.setSoundFont(TOBIRA_TEST_SOUNDFONT);
        own.setFileName((dir / "song.mid").string());
        own.open();
        own.play();
        own.stop();
    }
    EXPECT_EQ(ownPost.runPending(), 1);
    EXPECT_EQ(delivered, 0);
    ownEngine.render(kBlock); // the engine no longer calls it
}

} // namespace
} // namespace tobira

namespace tobira {
namespace {

// prepare() loads the SoundFont in the background, open() takes it over (or its error), and
// release() frees it; a song then needs a fresh load.
TEST_F(MidiDeviceTest, PreparedSoundFontIsTakenOverByOpenAndFreedByRelease) {
    device.prepare();
    device.prepare(); // a second call while the first loads changes nothing
    open(Melody(1.0));
    EXPECT_GT(device.synthGain(), 0.0);
    device.play();
    EXPECT_LT(secondsUntilSound(0.5), 0.05);

    device.release();
    EXPECT_FALSE(device.isOpen());
    EXPECT_EQ(device.synthGain(), 0.0);
    EXPECT_EQ(renderBlock(), 0.0) << "silent without a synthesizer";

    // A SoundFont that cannot be loaded fails at open, not at prepare.
    device.setSoundFont((dir / "missing.sf2").string());
    device.prepare();
    EXPECT_THROW(open(Melody(1.0)), DeviceError);
    EXPECT_FALSE(device.isOpen());

    device.setSoundFont(TOBIRA_TEST_SOUNDFONT);
    device.prepare();
    open(Melody(1.0));
    device.play();
    EXPECT_GT(render(0.5), 0.01);
}

} // namespace
} // namespace tobira

namespace tobira {
namespace {

// PLAY while the loader still works returns at once: the song starts, from its beginning, when
// its instruments are in. Whatever the user does meanwhile, every request ends once.
TEST_F(MidiDeviceTest, APlayBeforeTheSongIsReadyStartsWhenItIs) {
    struct Case {
        const char* what;
        std::function<void()> meanwhile;
        DeviceMode mode;
        std::vector<NotifyValue> notices;
    };
    const Case cases[] = {
        {"nothing", [] {}, DeviceMode::Stopped, {NotifyValue::Successful}},
        {"stop", [&] { device.stop(); }, DeviceMode::Stopped, {NotifyValue::Aborted}},
        {"pause and play again",
         [&] {
             device.pause();
             device.play();
         },
         DeviceMode::Stopped,
         {NotifyValue::Aborted, NotifyValue::Successful}},
    };
    Melody(1.0).write(dir / "song.mid");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        device.release();
        device.settle();
        arrivals.clear();
        device.prepare();
        device.setFileName((dir / "song.mid").string());
        device.open();
        device.play();
        EXPECT_EQ(device.mode(), DeviceMode::Playing);
        EXPECT_EQ(device.position(), 0u);
        c.meanwhile();
        device.settle();
        const bool sounds = c.notices.back() == NotifyValue::Successful;
        const double start = now();
        EXPECT_EQ(secondsUntilSound(0.5) < 0.05, sounds);
        render(1.5);
        EXPECT_EQ(device.mode(), c.mode);
        EXPECT_EQ(values(), c.notices);
        if (sounds) {
            EXPECT_NEAR(arrivals.back().at - start, 1.0, 0.03) << "the whole song, from the top";
        }
    }
}

// A SoundFont that looks right but cannot be loaded: a play waiting for it ends with Failure,
// and the reason comes with the next play or open instead of a silent song.
TEST_F(MidiDeviceTest, ASoundFontThatFailsToLoadEndsThePlayWithAReason) {
    Melody(1.0).write(dir / "song.mid");
    std::ofstream(dir / "broken.sf2") << std::string("RIFF\x10\x00\x00\x00sfbkLIST garbage", 24);
    device.setSoundFont((dir / "broken.sf2").string());
    device.setFileName((dir / "song.mid").string());
    device.open();
    // The loader may have failed already, or fail while the play waits.
    bool refused = false;
    try {
        device.play();
    } catch (const DeviceError&) {
        refused = true;
    }
    device.settle();
    post.runPending();
    EXPECT_EQ(values(), refused ? std::vector<NotifyValue>{} : std::vector{NotifyValue::Failure});
    EXPECT_EQ(device.mode(), DeviceMode::Stopped);
    EXPECT_THROW(device.play(), DeviceError);
    try {
        device.open();
        ADD_FAILURE() << "opened";
    } catch (const DeviceError& e) {
        EXPECT_NE(std::string(e.what()).find("broken.sf2"), std::string::npos);
    }
    device.setSoundFont(TOBIRA_TEST_SOUNDFONT);
    device.open();
    device.play();
    device.settle();
    EXPECT_GT(render(0.5), 0.01);
}

} // namespace
} // namespace tobira
