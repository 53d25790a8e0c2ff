// SPDX-License-Identifier: GPL-3.0-or-later
// Every descriptor the program holds is closed on exec, also those its libraries read through:
// a document viewer or other program it starts inherits none of its files.
#include "files/regular_file.h"
#include "files/whole_file.h"
#include "media/audio_engine.h"
#include "media/cd/cue_bin_writer.h"
#include "media/cd/cue_disc_image.h"
#include "media/midi/midi_synthesizer.h"
#include "media/wave/wave_device.h"
#include "support/cue_files.h"
#include "support/fake_ports.h"
#include "support/temp_dir.h"
#include "support/wav_writer.h"
#include "text/cp932_convert.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <filesystem>
#include <set>
#include <string>
#include <unistd.h>

namespace tobira {
namespace {

namespace fs = std::filesystem;

// Without the listing's own descriptor, closed by the time this returns.
std::set<int> OpenDescriptors() {
    std::set<int> listed, open;
    for (const auto& entry : fs::directory_iterator("/proc/self/fd"))
        listed.insert(std::stoi(entry.path().filename().string()));
    for (int fd : listed)
        if (::fcntl(fd, F_GETFD) >= 0)
            open.insert(fd);
    return open;
}

TEST(OpenDescriptors, EveryFileHeldWhilePlayingIsClosedOnExec) {
    const std::set<int> before = OpenDescriptors();
    testing::TempDir dir;

    const CueImage disc = WriteCueBin(dir.path(), "disc", {{.sectors = 75}});
    testing::WriteCueFile(dir / "disc.wav", testing::CueFileKind::Wav,
                          testing::ReadFileBytes(disc.bin), 0, 75);
    testing::WriteFileBytes(dir / "wav.cue",
                            "FILE \"disc.wav\" WAVE\n  TRACK 01 AUDIO\n    INDEX 01 00:00:00\n");
    const CueOpenResult decoded = CueDiscImage::open(dir / "wav.cue");
    ASSERT_TRUE(decoded.image) << decoded.problem;
    const CueOpenResult raw = CueDiscImage::open(disc.cue);
    ASSERT_TRUE(raw.image) << raw.problem;

    const auto synth = MakeMidiSynthesizer(TOBIRA_TEST_SOUNDFONT, 0.1, 44100);
    const SynthPreset violin{0, 40};
    synth->holdPresets({&violin, 1});

    AudioEngine engine;
    testing::FakeUiPost post;
    WaveDevice wave(engine, post);
    testing::WriteToneWav(dir / "clap.wav", {44100, 2, 16}, 44100);
    wave.setFileName(*Cp932FromPath(dir / "clap.wav"));
    wave.open();
    wave.settle();
    wave.play();
    engine.render(1024);

    WriteFileAtomically(dir / "list.dat", "x");
    const RegularFile held = RegularFile::open(dir / "list.dat", read_limit::Data);

    int checked = 0;
    for (int fd : OpenDescriptors()) {
        if (before.contains(fd))
            continue;
        const int flags = ::fcntl(fd, F_GETFD);
        ++checked;
        std::error_code error;
        EXPECT_TRUE(flags & FD_CLOEXEC)
            << fd << " " << fs::read_symlink("/proc/self/fd/" + std::to_string(fd), error);
    }
    // The two images, the SoundFont, the applause and the list at least.
    EXPECT_GE(checked, 5);
}

} // namespace
} // namespace tobira
