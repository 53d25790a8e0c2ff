// SPDX-License-Identifier: GPL-3.0-or-later
#include "media/midi/synth_module.h"

#include "media/media_device.h"
#include "support/temp_dir.h"
#include "text/cp932_convert.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

namespace tobira {
namespace {

// Without the module the MIDI side fails with a message naming it, and nothing else breaks;
// once it is there, the next use loads it.
TEST(SynthModuleTest, AMissingModuleIsNamedAndLoadedWhenItAppears) {
    const std::string built = std::getenv("TOBIRA_MODULE_DIR");
    testing::TempDir empty;
    setenv("TOBIRA_MODULE_DIR", empty.path().c_str(), 1);
    for (int attempt = 0; attempt < 2; ++attempt) {
        try {
            SynthModule();
            ADD_FAILURE() << "loaded";
        } catch (const DeviceError& e) {
            const std::string text = Cp932ToUtf8(e.what());
            EXPECT_NE(text.find("tobira-fluidsynth.so"), std::string::npos) << text;
            EXPECT_NE(text.find("読み込めません"), std::string::npos) << text;
        }
    }
    EXPECT_NE(SynthLibraryVersion().find("tobira-fluidsynth.so"), std::string::npos);
    EXPECT_THROW(MakeMidiSynthesizer(TOBIRA_TEST_SOUNDFONT, 0.1, 44100), DeviceError);

    setenv("TOBIRA_MODULE_DIR", built.c_str(), 1);
    const std::string version = SynthLibraryVersion();
    ASSERT_FALSE(version.empty());
    EXPECT_TRUE(version[0] >= '2' && version[0] <= '9') << version;
    EXPECT_GT(MakeMidiSynthesizer(TOBIRA_TEST_SOUNDFONT, 0.1, 44100)->gain(), 0.0);
}

} // namespace
} // namespace tobira
