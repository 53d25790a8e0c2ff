// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/volume_fixture.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

namespace tobira {
namespace {

using testing::MainWindowFixture;

struct LiveFixture : MainWindowFixture {
    LiveFixture(int files, int entries, int ratio = 1) {
        for (int i = 0; i < files; ++i)
            touch("clap" + std::to_string(i) + ".wav");
        main.FindApplauseFiles();
        main.ImageLIVE = true;
        for (int i = 1; i <= TFormList::kEntries; ++i)
            forms.FormList.SpeedButton[static_cast<std::size_t>(i)].Caption =
                i <= entries ? std::to_string(i) : "";
        for (int i = 1; i <= TFormSetUp::kLiveButtons; ++i)
            setup.SpeedButtonLive[static_cast<std::size_t>(i)].Down = i == ratio;
    }
    std::vector<std::string> played; // the files handed to the wave player
    void applause(int position) {
        main.OrderPosition = position;
        const std::size_t before = wave.calls.size();
        main.PlayApplause();
        if (wave.calls.size() > before)
            played.push_back(wave.fileName().substr(main.Paths.Folder.size()));
    }
};

TEST(Live, ApplauseRotatesFromTheLastFileFoundAndWraps) {
    LiveFixture f(0, 1);
    for (const char* name : {"A.WAV", "b.wav", "C.Wav", "notes.txt"})
        f.touch(name);
    std::filesystem::create_directory(f.dir / "folder.wav");
    f.main.FindApplauseFiles();
    ASSERT_EQ(f.main.ApplauseIndex, 2) << "three files; the folder and the text are no sounds";
    const auto& slot = f.main.ApplauseFiles;
    for (int i = 0; i < 5; ++i)
        f.applause(1);
    // Found in the order A, B, C, this is C, A, B, C, A.
    EXPECT_EQ(f.played, (std::vector<std::string>{slot[2], slot[0], slot[1], slot[2], slot[0]}));
    EXPECT_EQ(f.wave.calls[0], "open");
    EXPECT_EQ(f.wave.calls[1], "play");

    LiveFixture ten(12, 1);
    ASSERT_EQ(ten.main.ApplauseIndex, 9) << "at most ten are used";
    for (int i = 0; i < 12; ++i)
        ten.applause(1);
    std::vector<std::string> expected{ten.main.ApplauseFiles[9]};
    expected.insert(expected.end(), ten.main.ApplauseFiles.begin(), ten.main.ApplauseFiles.end());
    expected.push_back(ten.main.ApplauseFiles[0]);
    EXPECT_EQ(ten.played, expected);
}

// Ten middle entries drawing r = 0 .. 9 in turn.
TEST(Live, ProbabilityDecidesForTheMiddleEntries) {
    struct Case {
        int ratio, applauses;
        std::size_t draws;
    };
    for (const Case& c : {Case{1, 10, 0}, Case{2, 7, 10}, Case{3, 5, 10}}) {
        LiveFixture f(1, 12, c.ratio);
        for (int r = 0; r < 10; ++r) {
            f.fakes.random.script.push_back(r);
            f.applause(2 + r);
        }
        EXPECT_EQ(static_cast<int>(f.played.size()), c.applauses) << "ratio " << c.ratio;
        EXPECT_EQ(f.fakes.random.requests, std::vector<int>(c.draws, 10));
    }
}

TEST(Live, FirstAndLastEntryAlwaysGetApplauseWithoutADraw) {
    struct Case {
        int entries, position;
    };
    // One entry, both ends of five, entry 60 of a full order, and a MIDI play list index equal
    // to an empty order's count.
    for (const Case& c : {Case{1, 1}, Case{5, 1}, Case{5, 5}, Case{60, 60}, Case{0, 0}}) {
        LiveFixture f(1, c.entries, 3);
        f.fakes.random.script = {0, 0}; // draws that would say no
        f.applause(c.position);
        f.applause(c.position);
        EXPECT_EQ(f.played.size(), 2u) << c.entries << "/" << c.position;
        EXPECT_TRUE(f.fakes.random.requests.empty());
    }
}

TEST(Live, WithoutFilesLiveOnShowsTheMessageEachTimeAndPlaysNothing) {
    LiveFixture f(0, 1);
    f.main.ImageLIVE = false;
    const std::string message = testing::Sjis("ライブデータがないためライブ機能は無効です");
    f.main.ToggleLive();
    EXPECT_TRUE(f.main.ImageLIVE) << "the mark is shown all the same";
    f.applause(1);
    f.main.ToggleLive();
    EXPECT_FALSE(f.main.ImageLIVE);
    f.main.ToggleLive();
    EXPECT_EQ(f.fakes.messages.shown, (std::vector<std::string>{message, message}));
    EXPECT_TRUE(f.wave.calls.empty());
}

// A file that cannot be played costs its applause and is told once, whether opening or decoding
// finds the fault, not again at every song start.
TEST(Live, NoApplauseWhileOffAndAFileThatFailsIsSkippedAndToldOnce) {
    LiveFixture f(2, 1);
    f.forms.CreateAll(); // wires the wave player's notices
    f.main.ImageLIVE = false;
    f.applause(1);
    EXPECT_TRUE(f.wave.calls.empty());

    f.main.ImageLIVE = true;
    f.wave.failing = {"open"};
    EXPECT_NO_THROW(f.applause(1));
    f.wave.failing.clear();
    f.applause(1);
    EXPECT_EQ(f.played.back(), f.main.ApplauseFiles[0]) << "the failed one's turn is over";

    f.wave.failing = {"open"};
    for (int i = 0; i < 4; ++i)
        f.applause(1);
    for (int i = 0; i < 3; ++i) {
        f.wave.problem = "decoding failed";
        f.wave.sendNotify(NotifyValue::Failure);
    }
    EXPECT_EQ(f.fakes.messages.shown, (std::vector<std::string>{"open failed", "decoding failed"}));
}

} // namespace
} // namespace tobira
