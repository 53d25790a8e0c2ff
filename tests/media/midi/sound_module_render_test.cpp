// SPDX-License-Identifier: GPL-3.0-or-later
// The sound module's choices as the built-in synthesizer really plays them: generated GS, XG,
// GM and GM2 songs through the MIDI device and FluidSynth with the test SoundFont.
#include "media/audio_engine.h"
#include "media/midi/channel_instruments.h"
#include "media/midi/midi_device.h"
#include "media/midi/smf_reader.h"
#include "media/midi/soundfont_presets.h"
#include "support/fake_ports.h"
#include "support/smf_writer.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

namespace tobira {
namespace {

using testing::SmfWriter;
using Bytes = std::vector<std::uint8_t>;

const Bytes kGmOn{0x7E, 0x7F, 0x09, 0x01, 0xF7};
const Bytes kGm2On{0x7E, 0x7F, 0x09, 0x03, 0xF7};
const Bytes kXgOn{0x43, 0x10, 0x4C, 0x00, 0x00, 0x7E, 0x00, 0xF7};
// Use for Rhythm Part := 1 on part 11 (block A).
const Bytes kPart11Rhythm{0x41, 0x10, 0x42, 0x12, 0x40, 0x1A, 0x15, 0x01, 0x10, 0xF7};

constexpr int kHiHat = 42; // closed hi-hat in a kit; F#2 on a melodic channel

// Two seconds of closed hi-hats on channel 11 (index 10) after the song's own set-up.
SmfWriter Song(const std::function<void(SmfWriter&)>& setUp) {
    SmfWriter w(0, 480);
    setUp(w);
    for (std::uint32_t tick = 480; tick < 2400; tick += 480)
        w.note(0, tick, 10, kHiHat, 110, 400);
    w.endOfTrack(0, 2400);
    return w;
}

struct Player {
    explicit Player(const std::filesystem::path& folder) : dir(folder) {
        device.setSoundFont(TOBIRA_TEST_SOUNDFONT);
    }
    // Plays the song to its end; returns channel 11's sound from 0.5 s to 1 s.
    std::vector<float> play(const SmfWriter& song) {
        const auto path = dir / ("song" + std::to_string(++songs) + ".mid");
        song.write(path);
        device.setFileName(path.string());
        device.open();
        device.settle();
        device.play();
        std::vector<float> all(AudioEngine::kSampleRate * 5 / 2 * 2);
        for (std::size_t at = 0; at < all.size(); at += 2 * 441)
            device.renderAudio(all.data() + at, 441);
        post.runPending();
        return {all.begin() + AudioEngine::kSampleRate, all.begin() + AudioEngine::kSampleRate * 2};
    }
    // What the listing says the channel plays at the end, fed the same songs in turn.
    ChannelVoice listed(const SmfWriter& song, int channel) {
        std::vector<SmfEvent> events;
        ParseSmf(song.bytes(), events);
        ChannelVoice voice = listing.voice(channel);
        for (const InstrumentChange& c : ListChannelInstruments(listing, events))
            if (c.channel == channel)
                voice = c.voice;
        return voice;
    }

    std::filesystem::path dir;
    AudioEngine engine;
    testing::FakeUiPost post;
    MidiDevice device{engine, post};
    SoundModule listing{[] {
        std::vector<SynthPreset> presets;
        for (const SoundFontPreset& p : ReadSoundFontPresets(TOBIRA_TEST_SOUNDFONT))
            presets.push_back(p.preset);
        return PresetCatalog(presets);
    }()};
    int songs = 0;
};

// How strongly the sound repeats itself at some period of a pitch between 50 Hz and 2 kHz
// (1 for a steady tone, near 0 for noise): left channel, normalised autocorrelation.
double Periodicity(const std::vector<float>& stereo) {
    std::vector<double> x;
    for (std::size_t i = 0; i < stereo.size(); i += 2)
        x.push_back(stereo[i]);
    const std::size_t n = 4096;
    double best = 0.0;
    for (std::size_t lag = AudioEngine::kSampleRate / 2000; lag <= AudioEngine::kSampleRate / 50;
         ++lag) {
        double xy = 0, xx = 0, yy = 0;
        for (std::size_t i = 0; i < n; ++i) {
            xy += x[i] * x[i + lag];
            xx += x[i] * x[i];
            yy += x[i + lag] * x[i + lag];
        }
        if (xx > 0 && yy > 0)
            best = std::max(best, xy / std::sqrt(xx * yy));
    }
    return best;
}

TEST(SoundModuleRenderTest, EachChannelPlaysWhatARealModuleWouldPick) {
    testing::TempDir dir;
    Player player(dir.path());
    struct Step {
        const char* name;
        SmfWriter song;
        std::vector<std::pair<int, SynthPreset>> expected; // channel, preset
    };
    const Step steps[] = {
        {"GS: a rhythm part on channel 11 without a program change; a variation's capital",
         Song([](SmfWriter& w) {
             w.gsReset(0, 0);
             w.controlChange(0, 0, 10, 0, 8);
             w.programChange(0, 0, 10, 4);
             w.sysex(0, 10, kPart11Rhythm);
             w.controlChange(0, 20, 0, 0, 8);
             w.programChange(0, 20, 0, 4);
         }),
         {{10, {128, 0}}, {0, {0, 4}}, {9, {128, 0}}}},
        {"GM after GS: channel 11 melodic again, bank selects ignored",
         Song([](SmfWriter& w) {
             w.sysex(0, 0, kGmOn);
             w.controlChange(0, 10, 10, 0, 127);
             w.programChange(0, 10, 10, 4);
         }),
         {{10, {0, 4}}, {9, {128, 0}}}},
        {"XG after GM: a kit on channel 16 by MSB 127; a voice variation by LSB",
         Song([](SmfWriter& w) {
             w.sysex(0, 0, kXgOn);
             w.controlChange(0, 10, 15, 0, 127);
             w.programChange(0, 10, 15, 25);
             w.controlChange(0, 10, 2, 32, 1);
             w.programChange(0, 10, 2, 25);
         }),
         {{15, {128, 25}}, {2, {0, 25}}, {9, {128, 0}}}},
        {"GM2: drums by MSB 120 on channel 5, variation by LSB",
         Song([](SmfWriter& w) {
             w.sysex(0, 0, kGm2On);
             w.controlChange(0, 10, 4, 0, 120);
             w.programChange(0, 10, 4, 48);
             w.controlChange(0, 10, 5, 0, 121);
             w.controlChange(0, 10, 5, 32, 1);
             w.programChange(0, 10, 5, 25);
             w.programChange(0, 10, 9, 25);
         }),
         {{4, {128, 48}}, {5, {0, 25}}, {9, {128, 25}}, {15, {0, 0}}}},
    };
    std::vector<double> periodicity;
    for (const Step& step : steps) {
        SCOPED_TRACE(step.name);
        periodicity.push_back(Periodicity(player.play(step.song)));
        for (auto [channel, preset] : step.expected) {
            SCOPED_TRACE(channel);
            EXPECT_EQ(player.device.channelPreset(channel), preset);
            EXPECT_EQ(player.listed(step.song, channel).preset, preset);
        }
    }
    // The hi-hats on channel 11: drum hits without pitch in the GS song, a steady tone once GM
    // has made the channel a piano again.
    EXPECT_LT(periodicity[0], 0.5);
    EXPECT_GT(periodicity[1], 0.8);
}

} // namespace
} // namespace tobira
