// SPDX-License-Identifier: GPL-3.0-or-later
// A DLS collection as the synthesizer's sound set: it plays when FluidSynth reads DLS (Debian's
// does, through libinstpatch), and is refused with the reason when it does not.
#include "media/audio_engine.h"
#include "media/midi/midi_device.h"
#include "media/midi/synth_module.h"
#include "support/dls_writer.h"
#include "support/fake_ports.h"
#include "support/smf_writer.h"
#include "support/temp_dir.h"
#include "text/cp932_convert.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace tobira {
namespace {

TEST(DlsSoundFontTest, ADlsCollectionPlaysOrIsRefusedWithTheReason) {
    testing::TempDir dir;
    testing::WriteBytes(dir / "sine.dls", testing::SineDls());
    testing::SmfWriter song(0, 480);
    song.note(0, 0, 0, 69, 110, 1920); // A4 for two seconds: the wave at its own pitch
    song.write(dir / "a.mid");
    AudioEngine engine;
    testing::FakeUiPost post;
    MidiDevice device(engine, post);
    device.setSoundFont((dir / "sine.dls").string());
    device.setFileName((dir / "a.mid").string());

    if (const std::string problem = SynthDlsProblem(); !problem.empty()) {
        try {
            device.open();
            ADD_FAILURE() << "opened";
        } catch (const SoundFontError& e) {
            EXPECT_NE(std::string(e.what()).find(Utf8ToCp932("DLS 形式です（") + problem),
                      std::string::npos)
                << Cp932ToUtf8(e.what());
        }
        return;
    }
    device.open();
    device.settle();
    device.play();
    std::vector<float> out(2 * AudioEngine::kSampleRate);
    for (std::size_t at = 0; at < out.size(); at += 2 * 441)
        device.renderAudio(out.data() + at, 441);
    post.runPending();
    EXPECT_EQ(device.channelPreset(0), (SynthPreset{0, 0}));
    // Half a second of the held note: loud enough, and the wave's 441 Hz.
    double sum = 0;
    int crossings = 0;
    for (std::size_t i = AudioEngine::kSampleRate; i < out.size(); i += 2) {
        sum += double{out[i]} * out[i];
        crossings += (out[i] < 0) != (out[i - 2] < 0) ? 1 : 0;
    }
    EXPECT_GT(std::sqrt(sum / (AudioEngine::kSampleRate / 2)), 0.01);
    EXPECT_NEAR(crossings, 441, 10);
}

} // namespace
} // namespace tobira
