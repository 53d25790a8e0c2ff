// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/midi_fixture.h"
#include "windows/media_setup_devices.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace tobira {
namespace {

using testing::MidiFixture;

// The setup window over the real sequencer: a SoundFont that FluidSynth cannot load is refused
// while a song plays on with the old one; a good one takes over at the next song.
TEST(SetupSoundFont, ABadFileIsRefusedAndTheOldOneKeepsPlayingAGoodOneTakesTheNextSong) {
    MidiFixture f;
    MediaSetupDevices devices(f.midi);
    f.setup.SetDevices(devices);
    f.writeList({{"One", "one.mid"}, {"Two", "two.mid"}});
    f.press(&TFormMain::SpeedButtonPLAYClick);
    ASSERT_EQ(f.played, std::vector<std::string>{"one.mid"});
    const double gain = f.midi.synthGain();

    std::ofstream(f.dir / "bad.sf2") << "RIFF not really a SoundFont";
    const std::string good = f.main.Paths.Folder + "copy.sf2";
    std::filesystem::copy_file(TOBIRA_TEST_SOUNDFONT, f.dir / "copy.sf2");
    f.fakes.choosers.files = {f.main.Paths.Folder + "bad.sf2", good};

    f.setup.ButtonSoundFontClick();
    ASSERT_EQ(f.fakes.messages.shown.size(), 1u);
    EXPECT_NE(f.fakes.messages.shown[0].find("bad.sf2"), std::string::npos);
    EXPECT_TRUE(f.setup.PanelSoundFont.empty());
    EXPECT_EQ(f.midi.soundFont(), TOBIRA_TEST_SOUNDFONT);
    f.advance(0.5);
    EXPECT_EQ(f.midi.mode(), DeviceMode::Playing);
    EXPECT_EQ(f.midi.synthGain(), gain);

    f.setup.ButtonSoundFontClick();
    EXPECT_EQ(f.setup.PanelSoundFont, good);
    EXPECT_EQ(f.midi.mode(), DeviceMode::Playing) << "the song playing keeps its SoundFont";
    f.playOut();
    EXPECT_EQ(f.played, (std::vector<std::string>{"one.mid", "two.mid"}));
    EXPECT_EQ(f.midi.soundFont(), good);
    EXPECT_EQ(f.fakes.busy.depth, 0);
}

} // namespace
} // namespace tobira
