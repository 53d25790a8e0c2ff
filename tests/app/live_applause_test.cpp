#include "app/applause_sound.h"
#include "volume_fixture.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

namespace tobira {
namespace {

using testing::MainWindowFixture;
using testing::Sjis;

struct LiveFixture : MainWindowFixture {
    // A play order of n entries (tracks 1..n) in the track control window.
    void setPlayOrder(int n) {
        for (int i = 1; i <= TFormList::kEntries; ++i)
            forms.FormList.SpeedButton[static_cast<std::size_t>(i)].Caption =
                i <= n ? std::to_string(i) : "";
    }
    void pressRatio(int n) {
        for (auto& b : setup.SpeedButtonLive)
            b.Down = false;
        setup.SpeedButtonLive[static_cast<std::size_t>(n)].Down = true;
    }
    // The files handed to the wave player, one per applause.
    std::vector<std::string> played;
    void applause() {
        const std::size_t before = wave.calls.size();
        main.PlayApplause();
        if (wave.calls.size() > before)
            played.push_back(wave.fileName().substr(main.Paths.Folder.size()));
    }
};

TEST(Live, FindsAtMostTenWavFilesOfAnyCaseSkippingFolders) {
    LiveFixture f;
    for (const char* name : {"a.wav", "B.WAV", "c.Wav", "notes.txt", "wav", "x.wave"})
        f.touch(name);
    std::filesystem::create_directory(f.dir / "folder.wav");
    f.main.FindApplauseFiles();
    std::vector<std::string> found(f.main.ApplauseFiles.begin(), f.main.ApplauseFiles.begin() + 3);
    std::sort(found.begin(), found.end());
    EXPECT_EQ(found, (std::vector<std::string>{"B.WAV", "a.wav", "c.Wav"}));
    EXPECT_EQ(f.main.ApplauseFiles[3], "");
    EXPECT_EQ(f.main.ApplauseIndex, 2);

    LiveFixture many;
    for (int i = 0; i < 13; ++i)
        many.touch("clap" + std::to_string(i) + ".wav");
    many.main.FindApplauseFiles();
    EXPECT_EQ(many.main.ApplauseIndex, 9);
    for (const std::string& name : many.main.ApplauseFiles)
        EXPECT_FALSE(name.empty());

    LiveFixture none;
    none.main.FindApplauseFiles();
    EXPECT_EQ(none.main.ApplauseIndex, -1);
}

TEST(Live, ApplauseRotatesFromTheLastFileFound) {
    LiveFixture f;
    for (const char* name : {"A.WAV", "B.WAV", "C.WAV"})
        f.touch(name);
    f.main.FindApplauseFiles();
    const auto& slot = f.main.ApplauseFiles;
    f.setPlayOrder(1);
    f.main.OrderPosition = 1;
    f.main.ToggleLive();
    for (int i = 0; i < 5; ++i)
        f.applause();
    // In listing order A, B, C this reads C, A, B, C, A.
    EXPECT_EQ(f.played, (std::vector<std::string>{slot[2], slot[0], slot[1], slot[2], slot[0]}));
    EXPECT_EQ(f.wave.calls.size(), 10u);
    EXPECT_EQ(f.wave.calls[0], "open");
    EXPECT_EQ(f.wave.calls[1], "play");
    EXPECT_TRUE(f.fakes.messages.shown.empty());
}

TEST(Live, TenFilesWrapAfterTheTenthSlot) {
    LiveFixture f;
    for (int i = 0; i < 10; ++i)
        f.touch("clap" + std::to_string(i) + ".wav");
    f.main.FindApplauseFiles();
    f.setPlayOrder(1);
    f.main.OrderPosition = 1;
    f.main.ImageLIVE = true;
    for (int i = 0; i < 12; ++i)
        f.applause();
    std::vector<std::string> expected{f.main.ApplauseFiles[9]};
    for (int i = 0; i < 10; ++i)
        expected.push_back(f.main.ApplauseFiles[static_cast<std::size_t>(i)]);
    expected.push_back(f.main.ApplauseFiles[0]);
    EXPECT_EQ(f.played, expected);
}

// Ten middle entries drawing r = 0 .. 9 in turn.
TEST(Live, ProbabilityDecidesOnlyBetweenTheFirstAndTheLastEntry) {
    struct Case {
        int ratio;
        int expected;
        std::size_t draws;
    };
    for (const Case& c : {Case{1, 10, 0}, Case{2, 7, 10}, Case{3, 5, 10}}) {
        LiveFixture f;
        f.touch("a.wav");
        f.main.FindApplauseFiles();
        f.main.ImageLIVE = true;
        f.pressRatio(c.ratio);
        f.setPlayOrder(12);
        for (int r = 0; r < 10; ++r) {
            f.fakes.random.script.push_back(r);
            f.main.OrderPosition = 2 + r;
            f.applause();
        }
        EXPECT_EQ(static_cast<int>(f.played.size()), c.expected) << "ratio " << c.ratio;
        EXPECT_EQ(f.fakes.random.requests.size(), c.draws);
        for (int k : f.fakes.random.requests)
            EXPECT_EQ(k, 10);
    }
}

TEST(Live, FirstAndLastEntryAlwaysGetApplauseWithoutADraw) {
    struct Case {
        int entries;
        int position;
    };
    // One entry (first = last), the ends of a short order, entry 60 of a full order, and a
    // MIDI play list position equal to an empty order's count.
    for (const Case& c : {Case{1, 1}, Case{5, 1}, Case{5, 5}, Case{60, 60}, Case{0, 0}}) {
        LiveFixture f;
        f.touch("a.wav");
        f.main.FindApplauseFiles();
        f.main.ImageLIVE = true;
        f.pressRatio(3);
        f.setPlayOrder(c.entries);
        f.fakes.random.script = {0, 0, 0}; // would say no
        f.main.OrderPosition = c.position;
        f.applause();
        f.applause();
        EXPECT_EQ(f.played.size(), 2u) << c.entries << "/" << c.position;
        EXPECT_TRUE(f.fakes.random.requests.empty());
    }
}

TEST(Live, NoApplauseWhileLiveIsOffOrWithoutFiles) {
    LiveFixture off;
    off.touch("a.wav");
    off.main.FindApplauseFiles();
    off.setPlayOrder(1);
    off.main.OrderPosition = 1;
    off.applause();
    EXPECT_TRUE(off.wave.calls.empty());

    LiveFixture empty;
    empty.main.FindApplauseFiles();
    empty.setPlayOrder(1);
    empty.main.OrderPosition = 1;
    const std::string message = Sjis("ライブデータがないためライブ機能は無効です");
    empty.main.ToggleLive();
    EXPECT_TRUE(empty.main.ImageLIVE) << "the mark is shown all the same";
    empty.applause();
    empty.main.ToggleLive();
    EXPECT_FALSE(empty.main.ImageLIVE);
    empty.main.ToggleLive();
    EXPECT_EQ(empty.fakes.messages.shown, (std::vector<std::string>{message, message}));
    EXPECT_TRUE(empty.wave.calls.empty());
}

TEST(Live, AFileThatDoesNotPlayIsSkippedSilently) {
    LiveFixture f;
    f.touch("a.wav");
    f.touch("b.wav");
    f.main.FindApplauseFiles();
    f.main.ImageLIVE = true;
    f.setPlayOrder(1);
    f.main.OrderPosition = 1;
    f.wave.failing = {"open"};
    EXPECT_NO_THROW(f.main.PlayApplause());
    EXPECT_EQ(f.main.ApplauseIndex, 2) << "moved on past the bad file";
    f.wave.failing.clear();
    f.applause();
    EXPECT_EQ(f.played.back(), f.main.ApplauseFiles[0]);
    EXPECT_TRUE(f.fakes.messages.shown.empty());
}

} // namespace
} // namespace tobira
