// SPDX-License-Identifier: GPL-3.0-or-later
// What a song sets on its module besides the instruments (effects, master settings) and what
// the listener sets on the parts, as the built-in synthesizer really plays them: generated songs
// through the MIDI device and FluidSynth with the test SoundFont.
#include "media/audio_engine.h"
#include "media/midi/midi_device.h"
#include "support/fake_ports.h"
#include "support/smf_writer.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <vector>

namespace tobira {
namespace {

using testing::SmfWriter;
using Bytes = std::vector<std::uint8_t>;
constexpr std::size_t kRate = AudioEngine::kSampleRate;

// A GS data set (without F0) with its checksum.
Bytes GsSet(std::uint8_t a1, std::uint8_t a2, std::uint8_t a3, std::uint8_t value) {
    const int sum = a1 + a2 + a3 + value;
    return {0x41, 0x10,  0x42,
            0x12, a1,    a2,
            a3,   value, static_cast<std::uint8_t>((128 - sum % 128) % 128),
            0xF7};
}
const Bytes kGmOn{0x7E, 0x7F, 0x09, 0x01, 0xF7};
const Bytes kXgOn{0x43, 0x10, 0x4C, 0x00, 0x00, 0x7E, 0x00, 0xF7};
Bytes GmMasterVolume(int value) {
    return {0x7F,
            0x7F,
            0x04,
            0x01,
            static_cast<std::uint8_t>(value & 0x7F),
            static_cast<std::uint8_t>(value >> 7),
            0xF7};
}
Bytes XgChorusType(std::uint8_t msb, std::uint8_t lsb) {
    return {0x43, 0x10, 0x4C, 0x02, 0x01, 0x20, msb, lsb, 0xF7};
}

// The whole song and two seconds after it, stereo.
std::vector<float> Render(const std::filesystem::path& dir, const SmfWriter& song,
                          const std::function<void(MidiDevice&)>& before = {},
                          const std::function<void(MidiDevice&)>& after = {}) {
    AudioEngine engine;
    testing::FakeUiPost post;
    MidiDevice device(engine, post);
    device.setSoundFont(TOBIRA_TEST_SOUNDFONT);
    const auto path = dir / "song.mid";
    song.write(path);
    device.setFileName(path.string());
    device.open();
    device.settle();
    if (before)
        before(device);
    device.play();
    const std::size_t frames = (device.length() / 10 + 2) * kRate;
    std::vector<float> out(frames * 2);
    for (std::size_t at = 0; at < frames; at += 441)
        device.renderAudio(out.data() + 2 * at, 441);
    post.runPending();
    if (after)
        after(device);
    return out;
}

double Rms(const std::vector<float>& s, std::size_t from, std::size_t to) {
    double sum = 0;
    for (std::size_t i = from; i < to; ++i)
        sum += double{s[i]} * s[i];
    return std::sqrt(sum / static_cast<double>(to - from));
}

// Seconds from `from` (a sample index) until the sound stays 40 dB below its level there.
double TailSeconds(const std::vector<float>& s, std::size_t from) {
    const std::size_t window = 2 * kRate / 100;
    const double start = Rms(s, from, from + window);
    std::size_t last = from;
    for (std::size_t at = from; at + window <= s.size(); at += window)
        if (Rms(s, at, at + window) > start * 1e-2)
            last = at;
    return static_cast<double>(last - from) / 2.0 / kRate;
}

// One short, loud note with full reverb and chorus sends on a song's set-up; the note ends at
// 1 s, the song at 1.5 s.
SmfWriter Note(const std::function<void(SmfWriter&)>& setUp, int program = 0) {
    SmfWriter w(0, 480);
    setUp(w);
    w.programChange(0, 60, 0, program);
    w.controlChange(0, 60, 0, 91, 127);
    w.controlChange(0, 60, 0, 93, 127);
    w.note(0, 840, 0, 60, 100, 120);
    w.endOfTrack(0, 1440);
    return w;
}

TEST(ModuleSettingsRenderTest, ASongsEffectAndMasterSettingsChangeTheSound) {
    testing::TempDir dir;
    const std::size_t noteEnd = 2 * kRate; // 1 s, stereo samples
    struct Case {
        const char* name;
        SmfWriter a, b;
        std::function<void(const std::vector<float>&, const std::vector<float>&)> check;
    };
    const Case cases[] = {
        {"GS reverb macro Room 1, then Hall 2: a longer tail", Note([](SmfWriter& w) {
             w.gsReset(0, 0);
             w.sysex(0, 10, GsSet(0x40, 0x01, 0x30, 0x00));
         }),
         Note([](SmfWriter& w) {
             w.gsReset(0, 0);
             w.sysex(0, 10, GsSet(0x40, 0x01, 0x30, 0x04));
         }),
         [&](const std::vector<float>& room, const std::vector<float>& hall) {
             EXPECT_GT(TailSeconds(hall, noteEnd), TailSeconds(room, noteEnd) + 0.3);
         }},
        {"GM master volume at half: 6 dB down", Note([](SmfWriter& w) {
             w.sysex(0, 0, kGmOn);
             w.sysex(0, 10, GmMasterVolume(0x3FFF));
         }),
         Note([](SmfWriter& w) {
             w.sysex(0, 0, kGmOn);
             w.sysex(0, 10, GmMasterVolume(0x2000));
         }),
         [&](const std::vector<float>& full, const std::vector<float>& half) {
             const double db =
                 20 * std::log10(Rms(half, kRate, noteEnd) / Rms(full, kRate, noteEnd));
             EXPECT_NEAR(db, -6.0, 0.5);
         }},
        {"XG chorus 1, then flanger 1: another modulation",
         Note(
             [](SmfWriter& w) {
                 w.sysex(0, 0, kXgOn);
                 w.sysex(0, 10, XgChorusType(0x41, 0x00));
             },
             19),
         Note(
             [](SmfWriter& w) {
                 w.sysex(0, 0, kXgOn);
                 w.sysex(0, 10, XgChorusType(0x43, 0x00));
             },
             19),
         [&](const std::vector<float>& chorus, const std::vector<float>& flanger) {
             std::vector<float> difference(noteEnd);
             for (std::size_t i = kRate; i < noteEnd; ++i)
                 difference[i] = chorus[i] - flanger[i];
             EXPECT_GT(Rms(difference, kRate, noteEnd), 0.2 * Rms(chorus, kRate, noteEnd));
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::vector<float> a = Render(dir.path(), c.a);
        const std::vector<float> b = Render(dir.path(), c.b);
        ASSERT_GT(Rms(a, kRate, noteEnd), 1e-3);
        c.check(a, b);
    }
}

// Three parts, each its own instrument, notes overlapping; `heard` says which parts' notes the
// song holds (their programs and controllers are always there).
SmfWriter Parts(std::uint16_t heard) {
    SmfWriter w(0, 480);
    const int programs[] = {0, 40, 73};
    for (int part = 0; part < 3; ++part) {
        w.programChange(0, 0, part, programs[part]);
        w.controlChange(0, 0, part, 91, 80);
        if (heard >> part & 1)
            for (std::uint32_t tick = 0; tick < 1920; tick += 240)
                w.note(0, tick + static_cast<std::uint32_t>(part) * 60, part, 60 + part * 4, 100,
                       300);
    }
    w.endOfTrack(0, 1920);
    return w;
}

TEST(ModuleSettingsRenderTest, SilencedPartsAreNotHeardAndTheOthersPlayOnUnchanged) {
    testing::TempDir dir;
    struct Case {
        const char* name;
        std::uint16_t silenced;
        std::uint16_t reference; // the parts of the song that sounds the same
    };
    const Case cases[] = {
        {"part 2 muted", 0b010, 0b101},
        {"part 3 solo", 0xFFFF & ~0b100, 0b100},
        {"nothing silenced", 0, 0b111},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::array<float, 16> levels{};
        const std::vector<float> silenced = Render(
            dir.path(), Parts(0b111),
            [&](MidiDevice& d) {
                d.parts().silence(c.silenced);
                d.parts().meter(true);
            },
            [&](MidiDevice& d) {
                for (int part = 0; part < 16; ++part)
                    levels[static_cast<std::size_t>(part)] = d.parts().takeLevel(part);
            });
        const std::vector<float> reference = Render(dir.path(), Parts(c.reference));
        ASSERT_EQ(silenced.size(), reference.size());
        EXPECT_TRUE(silenced == reference);
        EXPECT_GT(Rms(silenced, 0, silenced.size()), 1e-3);
        // The meters show the parts heard, and only those.
        for (int part = 0; part < 16; ++part)
            EXPECT_EQ(levels[static_cast<std::size_t>(part)] > 0.01f,
                      (c.reference >> part & 1) != 0)
                << "part " << part + 1;
    }
}

} // namespace
} // namespace tobira
