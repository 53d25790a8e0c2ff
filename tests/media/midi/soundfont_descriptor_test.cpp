// SPDX-License-Identifier: GPL-3.0-or-later
// The synthesizer reads its SoundFont from the file that was checked, through the descriptor it
// keeps, also for the instruments it loads later: what the name means afterwards does not matter.
#include "media/midi/midi_synthesizer.h"
#include "support/sf2_writer.h"
#include "support/smf_writer.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <vector>

namespace tobira {
namespace {

namespace fs = std::filesystem;

// Half a second of a violin (General MIDI program 41), an instrument the synthesizer loads only
// when it is held for a song.
std::vector<float> Violin(MidiSynthesizer& synth) {
    const SynthPreset violin{0, 40};
    synth.holdPresets({&violin, 1});
    const std::uint8_t program[] = {0xC0, 40};
    const std::uint8_t noteOn[] = {0x90, 69, 100};
    synth.send(program);
    synth.send(noteOn);
    std::vector<float> out(2 * 22050);
    for (std::size_t at = 0; at < out.size(); at += 2 * 441)
        synth.render(out.data() + at, 441);
    return out;
}

double Rms(const std::vector<float>& v) {
    double sum = 0;
    for (float s : v)
        sum += double(s) * s;
    return std::sqrt(sum / double(v.size()));
}

TEST(SoundFontDescriptor, ASoundFontChangedOnTheDiskAfterLoadingPlaysAsLoaded) {
    testing::TempDir dir;
    const fs::path name = dir / "gm.sf2";
    const std::vector<float> expected =
        Violin(*MakeMidiSynthesizer(TOBIRA_TEST_SOUNDFONT, 0.1, 44100));
    ASSERT_GT(Rms(expected), 0.01);

    const std::function<void()> changes[] = {
        // Another SoundFont renamed over it, as an editor saves.
        [&] {
            testing::WriteBytes(dir / "new.sf2", testing::LoudSoundFont());
            fs::rename(dir / "new.sf2", name);
        },
        [&] { fs::remove(name); },
    };
    for (std::size_t i = 0; i < std::size(changes); ++i) {
        SCOPED_TRACE(i);
        fs::copy_file(TOBIRA_TEST_SOUNDFONT, name, fs::copy_options::overwrite_existing);
        const auto synth = MakeMidiSynthesizer(name, 0.1, 44100);
        changes[i]();
        const std::vector<float> out = Violin(*synth);
        ASSERT_EQ(out.size(), expected.size());
        double difference = 0;
        for (std::size_t s = 0; s < out.size(); ++s)
            difference = std::max(difference, double(std::abs(out[s] - expected[s])));
        EXPECT_LT(difference, 1e-6);
    }
}

} // namespace
} // namespace tobira
