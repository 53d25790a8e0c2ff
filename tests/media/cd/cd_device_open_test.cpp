// SPDX-License-Identifier: GPL-3.0-or-later
#include "media/audio_engine.h"
#include "media/cd/cd_device.h"
#include "support/cd_device_support.h"
#include "media/cd/cd_medium.h"
#include "text/cp932_convert.h"

#include <gtest/gtest.h>

#include <fstream>
#include <functional>
#include <string>
#include <vector>

namespace tobira {
namespace {

using testing::Analyse;
using testing::kRate;
using testing::Listen;

void writeText(const std::filesystem::path& file, const std::string& text) {
    std::ofstream(file, std::ios::binary) << text;
}

TEST(CdDeviceOpenTest, NoDriveAtAllStillOpensWithNoDisc) {
    if (!CdMedium::findDrives().empty())
        GTEST_SKIP() << "this machine has a CD drive";
    AudioEngine engine;
    CdDevice cd(engine);
    cd.open();
    cd.waitIdle();
    EXPECT_TRUE(cd.isOpen());
    EXPECT_EQ(cd.mode(), DeviceMode::Open);
    EXPECT_EQ(cd.tracks(), 0);
    cd.playFrom(1);
    cd.eject();
    cd.waitIdle();
    EXPECT_EQ(cd.mode(), DeviceMode::Open);
    EXPECT_TRUE(cd.takeProblem().empty()) << "no drive at all is no disc, not a problem";
}

TEST(CdDeviceOpenTest, ANamedDeviceThatCannotBeUsedIsNoDiscWithAProblemNamingIt) {
    testing::TempDir dir;
    writeText(dir / "notes.txt", "hello");
    struct Case {
        std::string name;
        std::string mentioned; // part of the message
    };
    const std::vector<Case> cases = {
        {(dir / "missing.cue").string(), "missing.cue"},
        {(dir / "notes.txt").string(), "notes.txt"},
        {dir.path().string(), dir.path().filename().string()},
        {"/dev/null", "/dev/null"},
        {"/dev/no-such-cd-drive", "/dev/no-such-cd-drive"},
    };
    AudioEngine engine;
    CdDevice cd(engine);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        cd.setFileName(c.name);
        cd.open();
        cd.waitIdle();
        EXPECT_TRUE(cd.isOpen());
        EXPECT_EQ(cd.mode(), DeviceMode::Open);
        const std::string problem = cd.takeProblem();
        EXPECT_NE(problem.find(c.mentioned), std::string::npos) << problem;
    }
}

TEST(CdDeviceOpenTest, AnImageThatIsNoAudioCdGivesNoDisc) {
    testing::TempDir dir;
    const std::string bin8(8 * 2352, '\0');
    struct Case {
        std::string name;
        std::string cue;
        std::string bin;
    };
    std::string hundred = "FILE \"x.bin\" BINARY\n";
    for (int i = 1; i <= 100; ++i)
        hundred += "TRACK " + std::to_string(i) + " AUDIO\nINDEX 01 00:00:0" +
                   std::to_string(i % 8) + "\n";
    const std::vector<Case> cases = {
        {"garbage", "garbage\x01\x02 TRACK 99 xx\nINDEX 01 99:99:99\n", bin8},
        {"empty", "", bin8},
        {"no track", "FILE \"x.bin\" BINARY\n", bin8},
        {"track 150", "FILE \"x.bin\" BINARY\nTRACK 150 AUDIO\nINDEX 01 00:00:00\n", bin8},
        {"hundred", hundred, bin8},
        {"backwards",
         "FILE \"x.bin\" BINARY\nTRACK 01 AUDIO\nINDEX 01 00:00:05\nTRACK 02 AUDIO\n"
         "INDEX 01 00:00:00\n",
         bin8},
        {"past the data",
         "FILE \"x.bin\" BINARY\nTRACK 01 AUDIO\nINDEX 01 00:00:00\nTRACK 02 AUDIO\n"
         "INDEX 01 50:00:00\n",
         bin8},
        {"empty data", "FILE \"x.bin\" BINARY\nTRACK 01 AUDIO\nINDEX 01 00:00:00\n", ""},
        {"track numbers that go back",
         "FILE \"x.bin\" BINARY\nTRACK 05 AUDIO\nINDEX 01 00:00:00\nTRACK 04 AUDIO\n", bin8},
        {"data only", "FILE \"x.bin\" BINARY\nTRACK 01 MODE1/2352\nINDEX 01 00:00:00\n", bin8},
    };
    AudioEngine engine;
    CdDevice cd(engine);
    int n = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string base = "bad" + std::to_string(n++);
        writeText(dir / (base + ".cue"), c.cue);
        writeText(dir / (base + ".bin"), c.bin);
        cd.setFileName((dir / (base + ".cue")).string());
        cd.open();
        cd.waitIdle();
        EXPECT_EQ(cd.mode(), DeviceMode::Open);
        const std::string problem = cd.takeProblem();
        EXPECT_NE(problem.find(base + ".cue"), std::string::npos) << problem;
        EXPECT_EQ(cd.tracks(), 0);
        cd.playFrom(1);
        cd.play();
        EXPECT_EQ(cd.mode(), DeviceMode::Open);
        EXPECT_EQ(Analyse(Listen(engine, cd, 1000)).peak, 0.0);
    }
}

TEST(CdDeviceOpenTest, DataTracksAreNeverPlayed) {
    testing::TempDir dir;
    auto image = WriteCueBin(dir.path(), "mixed",
                             {{.seconds = 1, .frequency = 441},
                              {.seconds = 1, .pregapSectors = 150, .data = true},
                              {.seconds = 1, .frequency = 882, .pregapSectors = 150}});
    AudioEngine engine;
    CdDevice cd(engine);
    cd.setFileName(image.cue.string());
    cd.open();
    cd.waitIdle();
    ASSERT_EQ(cd.tracks(), 3);
    // Track 1 runs to the data track's start, which includes the data track's pregap.
    EXPECT_EQ(cd.trackLength(1), PackMsf(0, 3, 0));

    cd.playFrom(1);
    auto heard = Listen(engine, cd, 4 * kRate);
    EXPECT_EQ(cd.mode(), DeviceMode::Stopped);
    EXPECT_NEAR(Analyse(heard, 0, kRate).frequency, 441, 2);
    EXPECT_EQ(Analyse(heard, 3 * kRate).peak, 0.0);
    EXPECT_EQ(cd.position(), PackTmsf(2, 0, 0, 0));

    cd.playFrom(2);
    EXPECT_EQ(cd.position(), PackTmsf(3, 0, 0, 0));
    EXPECT_NEAR(Analyse(Listen(engine, cd, kRate / 2)).frequency, 882, 2);
}

TEST(CdDeviceOpenTest, OpenReturnsBeforeTheDiscIsRead) {
    // Reading the sheet is the worker's: open reports NotReady (or, once the worker is through,
    // the disc), never "no disc", and commands meanwhile are ignored rather than failing.
    testing::TempDir dir;
    auto image = WriteCueBin(dir.path(), "disc", testing::ThreeTracks());
    AudioEngine engine;
    CdDevice cd(engine);
    cd.setFileName(image.cue.string());
    for (int round = 0; round < 20; ++round) {
        cd.open();
        const DeviceMode before = cd.mode();
        EXPECT_TRUE(before == DeviceMode::NotReady || before == DeviceMode::Stopped);
        if (before == DeviceMode::NotReady) {
            EXPECT_EQ(cd.tracks(), 0);
            EXPECT_EQ(cd.position(), 0u);
        }
        cd.waitIdle();
        EXPECT_EQ(cd.mode(), DeviceMode::Stopped);
        EXPECT_EQ(cd.tracks(), 3);
    }
}

TEST(CdDeviceOpenTest, EveryCommandNeedsAnOpenDevice) {
    AudioEngine engine;
    CdDevice cd(engine);
    const std::vector<std::function<void()>> commands = {
        [&] { cd.play(); },       [&] { cd.playFrom(1); }, [&] { cd.stop(); },
        [&] { cd.pause(); },      [&] { cd.previous(); },  [&] { cd.eject(); },
        [&] { cd.insertDisc(); }, [&] { cd.tracks(); },    [&] { cd.trackLength(1); },
        [&] { cd.length(); },
    };
    for (std::size_t i = 0; i < commands.size(); ++i)
        EXPECT_THROW(commands[i](), DeviceError) << "command " << i;
    EXPECT_EQ(cd.mode(), DeviceMode::NotReady);
    EXPECT_EQ(cd.position(), 0u);
}

TEST(CdDeviceOpenTest, CueNamesMatchWithoutRegardToCase) {
    testing::TempDir dir;
    WriteCueBin(dir.path(), "upper", {{.seconds = 1}});
    std::filesystem::rename(dir / "upper.cue", dir / "UPPER.CUE");
    std::filesystem::rename(dir / "upper.bin", dir / "UPPER.BIN");
    AudioEngine engine;
    CdDevice cd(engine);
    cd.setFileName((dir / "UPPER.CUE").string());
    cd.open();
    cd.waitIdle();
    EXPECT_EQ(cd.tracks(), 1);
}

} // namespace
} // namespace tobira
