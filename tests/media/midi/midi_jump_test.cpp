// SPDX-License-Identifier: GPL-3.0-or-later
// A jump inside a song through the MIDI device and FluidSynth with the test SoundFont: what is
// heard from the jump on is what playing from the start gives there.
#include "media/audio_engine.h"
#include "media/midi/midi_device.h"
#include "support/fake_ports.h"
#include "support/smf_writer.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <complex>
#include <numbers>
#include <vector>

namespace tobira {
namespace {

constexpr int kRate = AudioEngine::kSampleRate;

// A GS song whose state changes all along: programs, bank, volume, pan, expression, a pitch
// bend range set by RPN and a bend, a tempo change at 2 s, and two organ notes held from
// before 2.5 s to after 4 s, over a piano line. With `strikeAgain`, the held notes end at that
// tick and start again there: as a jump there sounds them. (Organs and the piano, since their
// sound follows from the note alone; a string pad's would follow the chorus's sweep as well.)
// The reverb is the GS short room rather than the reset's Hall 2: FluidSynth sweeps its reverb's
// delay lines at 1 Hz on the synthesizer's own clock, which no reset restarts, so a long tail
// differs from play to play. Two plays from the start with the synthesizer run 0.5 s longer
// before one of them differ by 24 % with Hall 2 where a quiet window holds mostly reverb, 5 %
// with this room.
testing::SmfWriter StatefulSong(std::uint32_t strikeAgain = 0) {
    testing::SmfWriter w(0, 480); // 960 ticks a second, 720 after the tempo change
    w.gsReset(0, 0);
    w.sysex(0, 5, {0x41, 0x10, 0x42, 0x12, 0x40, 0x01, 0x30, 0x01, 0x0E, 0xF7}); // Room 2
    w.programChange(0, 10, 0, 19);
    w.controlChange(0, 10, 1, 0, 0);
    w.programChange(0, 10, 1, 16);
    w.programChange(0, 10, 2, 0);
    w.controlChange(0, 10, 1, 101, 0); // RPN 0: pitch bend range 12 semitones
    w.controlChange(0, 10, 1, 100, 0);
    w.controlChange(0, 10, 1, 6, 12);
    w.controlChange(0, 10, 0, 7, 90);
    w.controlChange(0, 10, 0, 11, 100);
    w.controlChange(0, 10, 1, 7, 110);
    w.controlChange(0, 10, 1, 10, 20);
    for (std::uint32_t tick = 480; tick < 5600; tick += 240)
        w.note(0, tick, 2, 72 + static_cast<int>(tick / 240 % 5) * 2, 90, 120);
    const auto held = [&](std::uint32_t tick, int channel, int key, std::uint32_t end) {
        const std::uint32_t split = strikeAgain > tick && strikeAgain < end ? strikeAgain : end;
        w.note(0, tick, channel, key, 100, split - tick);
        if (split < end)
            w.note(0, split, channel, key, 100, end - split);
    };
    held(960, 0, 60, 3960);
    w.pitchBend(0, 1400, 1, 8192 + 2048); // three semitones up
    held(1440, 1, 64, 3840);
    w.tempoBpm(0, 1920, 90);
    w.programChange(0, 1920, 2, 11); // vibraphone
    w.controlChange(0, 1920, 0, 10, 100);
    w.controlChange(0, 2000, 0, 11, 70);
    w.endOfTrack(0, 5760);
    return w;
}

struct Device {
    explicit Device(const std::filesystem::path& file) {
        device.setSoundFont(TOBIRA_TEST_SOUNDFONT);
        device.setFileName(file.string());
        device.open();
        device.settle();
    }
    std::vector<float> render(double seconds) {
        std::vector<float> out(static_cast<std::size_t>(seconds * kRate) * 2);
        // Whole synthesizer blocks: FluidSynth then takes each message at the step it is due.
        for (std::size_t at = 0; at < out.size(); at += 2 * 448)
            device.renderAudio(out.data() + at, std::min<std::size_t>(448, (out.size() - at) / 2));
        return out;
    }
    AudioEngine engine;
    testing::FakeUiPost post;
    MidiDevice device{engine, post};
};

// The magnitude spectrum of the left channel's 93 ms Hann window at `from` seconds, up to
// 6.5 kHz.
std::vector<double> Spectrum(const std::vector<float>& stereo, double from) {
    constexpr std::size_t kWindow = 4096, kBins = 600;
    const auto start = static_cast<std::size_t>(from * kRate);
    std::vector<double> x(kWindow);
    for (std::size_t i = 0; i < kWindow; ++i)
        x[i] = stereo[2 * (start + i)] *
               (0.5 - 0.5 * std::cos(2 * std::numbers::pi * static_cast<double>(i) / kWindow));
    std::vector<double> magnitude(kBins);
    for (std::size_t k = 1; k < kBins; ++k) {
        std::complex<double> sum;
        const double step = -2 * std::numbers::pi * static_cast<double>(k) / kWindow;
        for (std::size_t i = 0; i < kWindow; ++i)
            sum += x[i] * std::polar(1.0, step * static_cast<double>(i));
        magnitude[k] = std::abs(sum);
    }
    return magnitude;
}

// How far the spectrum of `heard` lies from that of `reference` at `from`, relative to the
// reference's: 0 for the same sound, whatever its phase.
double Distance(const std::vector<float>& reference, const std::vector<float>& heard, double from) {
    const std::vector<double> a = Spectrum(reference, from);
    const std::vector<double> b = Spectrum(heard, from);
    double diff = 0, norm = 0;
    for (std::size_t k = 0; k < a.size(); ++k) {
        diff += (a[k] - b[k]) * (a[k] - b[k]);
        norm += a[k] * a[k];
    }
    return std::sqrt(diff / norm);
}

// A jump to t, forward or backward, playing or stopped, sounds as the song played from the
// start with its held notes struck again at t: the magnitude spectrum of each 93 ms window from
// t + 0.3 s to t + 2.5 s lies within 10 % of the start's play (measured: 6 % at most, where a
// piano note meets the release of one struck before t on the same key, which a jump does not
// hear, or where a note starts late in the window: FluidSynth's 64-frame blocks, counted from
// the jump, put it up to 1.5 ms off; 1 to 4 % elsewhere). The first 0.3 s are left out: there
// the start's own play still has the reverb of what came before t and the release of the held
// notes it ended. A jump that left out the programs, the bend and its range, or the held notes
// lies beyond 30 %.
TEST(MidiJumpTest, AJumpSoundsAsPlayingThereFromTheStart) {
    testing::TempDir dir;
    const auto file = dir.path() / "state.mid";
    StatefulSong().write(file);
    const struct {
        const char* name;
        double playFirst; // seconds played before the jump; 0: from stopped
        std::uint32_t to; // tenths
        std::uint32_t tick;
    } cases[] = {
        {"forward while playing", 1.0, 25, 2280},
        {"backward while playing", 4.2, 25, 2280},
        {"from stopped, after the tempo change", 0.0, 37, 3144},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const auto struck = dir.path() / "struck.mid";
        StatefulSong(c.tick).write(struck);
        Device whole(struck);
        whole.device.play();
        const std::vector<float> reference = whole.render(c.to / 10.0 + 2.8);

        Device jumping(file);
        if (c.playFirst > 0) {
            jumping.device.play();
            jumping.render(c.playFirst);
        }
        jumping.device.playFrom(c.to);
        EXPECT_EQ(jumping.device.position(), c.to);
        std::vector<float> heard(static_cast<std::size_t>(c.to) * kRate / 10 * 2, 0.0f);
        const std::vector<float> after = jumping.render(2.8);
        heard.insert(heard.end(), after.begin(), after.end());

        for (double at = c.to / 10.0 + 0.3; at < c.to / 10.0 + 2.5; at += 0.2) {
            SCOPED_TRACE(at);
            EXPECT_LT(Distance(reference, heard, at), 0.1);
        }
    }
}

} // namespace
} // namespace tobira
