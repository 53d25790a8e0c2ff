// SPDX-License-Identifier: GPL-3.0-or-later
// The mixer access layer over the audio engine.

#include "controls/custom_mixer_ctrl.h"
#include "media/audio_engine.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <tuple>
#include <vector>

namespace tobira {
namespace {

namespace mc = mixer_component;

class MixerUnderTest final : public TCustomMixerCtrl {
  public:
    using TCustomMixerCtrl::TCustomMixerCtrl;
    int updates = 0;

  protected:
    void UpdateLines() override { ++updates; }
};

TEST(MixerCtrl, OpensOnlyOnceItsWindowExists) {
    AudioEngine engine;
    MixerUnderTest mixer(&engine);
    EXPECT_EQ(mixer.MixerID(), -1);
    mixer.SetMixerID(0); // no window yet: stays closed
    EXPECT_EQ(mixer.MixerID(), -1);
    EXPECT_EQ(mixer.DestinationCount(), 0);
    EXPECT_EQ(mixer.FindDestination(mc::Speakers), -1);

    mixer.CreateWnd();
    EXPECT_EQ(mixer.MixerID(), 0);
    EXPECT_EQ(mixer.MixerDeviceCount(), 1);
    EXPECT_EQ(mixer.DestinationCount(), 1);
    EXPECT_EQ(mixer.CurrentDestination(), 0);
    EXPECT_EQ(mixer.SourceCount(), 3);
    EXPECT_EQ(mixer.updates, 1);
    EXPECT_NE(mixer.MixerHandle(), 0);
}

TEST(MixerCtrl, FindsTheLinesByComponentType) {
    AudioEngine engine;
    MixerUnderTest mixer(&engine);
    mixer.CreateWnd();
    EXPECT_EQ(mixer.FindDestination(mc::Speakers), 0);
    EXPECT_EQ(mixer.FindDestination(mc::WaveOut), -1);

    const std::tuple<std::uint32_t, MixerLine> present[] = {
        {mc::WaveOut, MixerLine::WaveOut},
        {mc::Synthesizer, MixerLine::Synthesizer},
        {mc::CompactDisc, MixerLine::CompactDisc},
    };
    std::vector<int> seen;
    for (auto [type, line] : present) {
        const int s = mixer.FindSource(type);
        ASSERT_GE(s, 0) << type;
        EXPECT_EQ(mixer.FindSource(0, type), s);
        EXPECT_EQ(mixer.SourceComponentType(s), type);
        EXPECT_EQ(mixer.SourceLine(s), line);
        EXPECT_FALSE(mixer.SourceShortName(s).empty());
        EXPECT_LE(mixer.SourceShortName(s).size(), 16u);
        EXPECT_TRUE(mixer.HasMute(mixer.SourceLineID(s)));
        seen.push_back(s);
    }
    std::sort(seen.begin(), seen.end());
    EXPECT_EQ(seen, (std::vector<int>{0, 1, 2}));
    for (std::uint32_t absent :
         {mc::Digital, mc::Auxiliary, mc::Line, mc::Microphone, mc::Speakers})
        EXPECT_EQ(mixer.FindSource(absent), -1) << absent;
    EXPECT_EQ(mixer.SourceLine(3), std::nullopt);
    EXPECT_EQ(mixer.SourceLine(-1), std::nullopt);
    EXPECT_EQ(mixer.DestinationComponentType(0), mc::Speakers);
    EXPECT_FALSE(mixer.DestinationShortName(0).empty());
    EXPECT_TRUE(mixer.HasMute(mixer.DestinationLineID(0)));
}

TEST(MixerCtrl, VolumesAndMutesReachTheEngine) {
    AudioEngine engine;
    MixerUnderTest mixer(&engine);
    mixer.CreateWnd();
    const int cd = mixer.FindSource(mc::CompactDisc);

    // The CD volume examples of the volume bar: level × range → units.
    struct Case {
        std::uint32_t value, expected;
    };
    for (Case c : {Case{21626, 21626}, Case{6553, 6553}, Case{65535, 65535}, Case{0, 0},
                   Case{70000, 65535}}) {
        mixer.SetSourceVolume(cd, c.value);
        EXPECT_EQ(engine.volume(MixerLine::CompactDisc, 0), c.expected);
        EXPECT_EQ(engine.volume(MixerLine::CompactDisc, 1), c.expected);
        EXPECT_EQ(mixer.GetSourceVolume(cd), c.expected);
    }
    // Reading reports the louder channel.
    engine.setVolume(MixerLine::Speakers, 0, 100);
    engine.setVolume(MixerLine::Speakers, 1, 300);
    EXPECT_EQ(mixer.GetDestinationVolume(), 300u);
    mixer.SetDestinationVolume(0, 65278);
    EXPECT_EQ(engine.volume(MixerLine::Speakers, 0), 65278);
    EXPECT_EQ(engine.volume(MixerLine::Speakers, 1), 65278);

    mixer.SetSourceMute(cd, true);
    EXPECT_TRUE(engine.mute(MixerLine::CompactDisc));
    EXPECT_TRUE(mixer.GetSourceMute(cd));
    mixer.SetDestinationMute(0, true);
    EXPECT_TRUE(engine.mute(MixerLine::Speakers));
    EXPECT_TRUE(mixer.GetDestinationMute(0));

    // Lines that do not exist are left alone.
    mixer.SetSourceVolume(7, 1);
    mixer.SetSourceVolume(-1, 1);
    mixer.SetDestinationVolume(1, 1);
    mixer.SetDestinationMute(1, false);
    EXPECT_EQ(engine.volume(MixerLine::Speakers, 0), 65278);
    EXPECT_TRUE(engine.mute(MixerLine::Speakers));
    EXPECT_EQ(mixer.GetSourceVolume(7), 0u);
    EXPECT_FALSE(mixer.GetSourceMute(7));
}

// Every operation with no mixer: nothing found, nothing read, nothing written.
void ExpectNoMixer(MixerUnderTest& mixer, AudioEngine* engine) {
    EXPECT_EQ(mixer.MixerID(), -1);
    EXPECT_EQ(mixer.MixerHandle(), 0);
    EXPECT_EQ(mixer.DestinationCount(), 0);
    EXPECT_EQ(mixer.SourceCount(), 0);
    EXPECT_EQ(mixer.FindDestination(mc::Speakers), -1);
    EXPECT_EQ(mixer.FindSource(mc::CompactDisc), -1);
    EXPECT_EQ(mixer.FindSource(0, mc::WaveOut), -1);
    EXPECT_EQ(mixer.GetDestinationVolume(), 0u);
    EXPECT_EQ(mixer.GetSourceVolume(0), 0u);
    EXPECT_FALSE(mixer.GetDestinationMute(0));
    EXPECT_FALSE(mixer.GetSourceMute(0));
    EXPECT_FALSE(mixer.HasMute(0));
    EXPECT_EQ(mixer.SourceLine(0), std::nullopt);
    EXPECT_EQ(mixer.SourceLineID(0), -1);
    EXPECT_EQ(mixer.DestinationLineID(0), -1);
    EXPECT_EQ(mixer.SourceShortName(0), "");
    EXPECT_EQ(mixer.SourceComponentType(0), 0u);
    mixer.SetSourceVolume(0, 123);
    mixer.SetDestinationVolume(0, 123);
    mixer.SetSourceMute(0, true);
    mixer.SetDestinationMute(0, true);
    if (engine) {
        for (int line = 0; line < kMixerLineCount; ++line) {
            EXPECT_EQ(engine->volume(static_cast<MixerLine>(line), 0), 65535);
            EXPECT_FALSE(engine->mute(static_cast<MixerLine>(line)));
        }
    }
}

TEST(MixerCtrl, SafeWithoutAMixer) {
    MixerUnderTest none;
    none.CreateWnd();
    EXPECT_EQ(none.MixerDeviceCount(), 0);
    EXPECT_EQ(none.CurrentDestination(), -1);
    ExpectNoMixer(none, nullptr);
    none.SetMixerID(0);
    ExpectNoMixer(none, nullptr);
}

TEST(MixerCtrl, MixerIdOutOfRangeClosesAndIsNotKept) {
    AudioEngine engine;
    MixerUnderTest mixer(&engine);
    int events = 0;
    mixer.OnControlChange = [&](TCustomMixerCtrl&, std::intptr_t, std::intptr_t) { ++events; };
    mixer.CreateWnd();
    for (int bad : {1, -1, 5}) {
        SCOPED_TRACE(bad);
        mixer.SetMixerID(bad);
        ExpectNoMixer(mixer, &engine);
        engine.setMute(MixerLine::WaveOut, true); // closed: no notification reaches it
        engine.setMute(MixerLine::WaveOut, false);
        EXPECT_EQ(events, 0);
        // The rejected value was not kept: a new window reopens device 0.
        mixer.CreateWnd();
        EXPECT_EQ(mixer.MixerID(), 0);
    }
}

TEST(MixerCtrl, ChangeNotificationsRaiseTheEvents) {
    AudioEngine engine;
    MixerUnderTest mixer(&engine);
    struct Event {
        TCustomMixerCtrl* sender;
        std::intptr_t mixer, id;
        bool operator==(const Event&) const = default;
    };
    std::vector<Event> controls, lines;
    mixer.OnControlChange = [&](TCustomMixerCtrl& s, std::intptr_t m, std::intptr_t id) {
        controls.push_back({&s, m, id});
    };
    mixer.OnLineChange = [&](TCustomMixerCtrl& s, std::intptr_t m, std::intptr_t id) {
        lines.push_back({&s, m, id});
    };
    engine.setMute(MixerLine::CompactDisc, true); // not open yet
    EXPECT_TRUE(controls.empty());

    mixer.CreateWnd();
    const std::intptr_t handle = mixer.MixerHandle();
    const int wave = mixer.FindSource(mc::WaveOut);
    mixer.SetSourceVolume(wave, 1000);           // through the control: both channels, once
    engine.setVolume(MixerLine::Speakers, 1, 5); // by someone else
    engine.setMute(MixerLine::CompactDisc, false);
    mixer.SetSourceVolume(wave, 1000); // unchanged: no event
    const std::vector<Event> expected = {
        {&mixer, handle, TCustomMixerCtrl::ControlID(MixerLine::WaveOut, MixerChange::Volume)},
        {&mixer, handle, TCustomMixerCtrl::ControlID(MixerLine::Speakers, MixerChange::Volume)},
        {&mixer, handle, TCustomMixerCtrl::ControlID(MixerLine::CompactDisc, MixerChange::Mute)},
    };
    EXPECT_EQ(controls, expected);
    EXPECT_NE(expected[0].id, TCustomMixerCtrl::ControlID(MixerLine::WaveOut, MixerChange::Mute));

    // A device joining a line is a line change.
    struct Silence final : AudioSource {
        void renderAudio(float* out, std::size_t frames) override {
            std::fill(out, out + 2 * frames, 0.0f);
        }
    } device;
    engine.attach(MixerLine::Synthesizer, &device);
    engine.attach(MixerLine::Synthesizer, nullptr);
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0].id, mixer.SourceLineID(mixer.FindSource(mc::Synthesizer)));
}

TEST(MixerCtrl, DestructionRemovesTheEngineListener) {
    AudioEngine engine;
    int events = 0;
    {
        MixerUnderTest mixer(&engine);
        mixer.OnControlChange = [&](TCustomMixerCtrl&, std::intptr_t, std::intptr_t) { ++events; };
        mixer.CreateWnd();
    }
    engine.setMute(MixerLine::WaveOut, true); // would call into the destroyed control
    EXPECT_EQ(events, 0);
}

} // namespace
} // namespace tobira
