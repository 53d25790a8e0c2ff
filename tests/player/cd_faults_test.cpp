// SPDX-License-Identifier: GPL-3.0-or-later
// Discs and drives that do not behave: too many tracks, no audio, garbage, a missed end.
#include "support/cd_fixture.h"
#include "app/seeded_random.h"

#include <gtest/gtest.h>

#include <string>

namespace tobira::testing {
namespace {

void ExpectStopped(CdFixture& f) {
    EXPECT_EQ(f.cd.mode(), DeviceMode::Stopped);
    EXPECT_EQ(f.main.LabelPLAY.Font, colors::Teal);
    EXPECT_EQ(f.main.LabelPLAY.Caption, "00:00 PLAY");
    EXPECT_EQ(f.main.LabelSTOP.Caption, "STOP");
    EXPECT_EQ(f.main.OrderPosition, 1);
}

TEST(CdFaults, ADiscOfMoreThanSixtyTracksPlaysTheFirstSixty) {
    CdFixture f(EqualTracks(65, 2));
    f.tick();
    EXPECT_EQ(f.main.LabelTotalMUSIC.Caption, "65");
    EXPECT_EQ(f.main.LabelTotalMUSIC.Hint, Sjis("全トラック時間 02分10秒"));
    EXPECT_EQ(f.main.DiscId, "6502100002"); // the whole disc, not its first sixty tracks

    f.main.SpeedButtonPLAYClick();
    EXPECT_EQ(f.list.PlayOrderLength(), 60);
    EXPECT_EQ(f.list.EntryTrack(60), 60);
    for (int i = 1; i < 60; ++i)
        f.main.SpeedButtonNXTClick();
    EXPECT_EQ(f.position(), PackTmsf(60, 0, 0, 0));
    f.advance(1);
    ExpectStopped(f);
}

TEST(CdFaults, ADiscWithoutAudioIsNoDisc) {
    CdFixture f({{.seconds = 4, .data = true}});
    f.tick();
    EXPECT_EQ(f.main.LabelPLAY.Caption, "NO DISC");
    EXPECT_FALSE(f.main.DiscInfoRead);
    f.main.SpeedButtonPLAYClick();
    EXPECT_EQ(f.main.LabelPLAY.Caption, "NO DISC");
}

TEST(CdFaults, AnEntryThatIsNoTrackStopsTheCd) {
    CdFixture f;
    f.startPlaying();
    f.list.SpeedButton[1].Caption = "x";
    f.advance(1);
    ExpectStopped(f);
    EXPECT_EQ(f.main.LabelMarks[0].Caption, "NR");
}

// The device ran to the end of the disc while the program was too busy to tick.
TEST(CdFaults, ADeviceThatStoppedByItselfGoesOnWithTheOrder) {
    struct Case {
        const char* name;
        const char* mode;
        int nexts;
        bool endless, repeat;
        std::uint32_t playing; // 0: stopped at track 1
        int entry;
    };
    for (const Case& c : {
             Case{"reverse, first entry", "RV", 0, false, false, PackTmsf(4, 0, 0, 0), 2},
             Case{"last entry, one-way", "NR", 4, false, false, 0, 1},
             Case{"last entry, endless", "NR", 4, true, false, PackTmsf(1, 0, 0, 0), 1},
             Case{"last entry, repeat", "NR", 4, false, true, PackTmsf(5, 0, 0, 0), 5},
         }) {
        CdFixture f;
        f.tick();
        f.main.LabelPlayMode.Caption = c.mode;
        if (c.endless)
            f.main.PanelPOWClick();
        f.main.SpeedButtonPLAYClick();
        for (int i = 0; i < c.nexts; ++i)
            f.main.SpeedButtonNXTClick();
        if (c.repeat)
            f.main.SpeedButtonPLAYMouseDown(MouseButton::Right);
        f.passWithoutTicks(6);
        ASSERT_EQ(f.cd.mode(), DeviceMode::Stopped) << c.name;
        f.tick();
        EXPECT_EQ(f.main.OrderPosition, c.entry) << c.name;
        if (c.playing == 0) {
            ExpectStopped(f);
        } else {
            EXPECT_EQ(f.cd.mode(), DeviceMode::Playing) << c.name;
            EXPECT_EQ(f.position(), c.playing) << c.name;
        }
    }
}

// A drive that answers anything at all.
class GarbageDevice final : public MediaDevice {
  public:
    explicit GarbageDevice(SeededRandom& random) : random_(random) {}
    void open() override {}
    void close() override {}
    bool isOpen() const override { return true; }
    void play() override {}
    void playFrom(std::uint32_t) override {}
    void stop() override {}
    void pause() override {}
    void previous() override {}
    void eject() override {}
    DeviceMode mode() const override { return static_cast<DeviceMode>(random_.random(8)); }
    int tracks() const override { return random_.random(400) - 50; }
    std::uint32_t trackLength(int) const override { return draw(); }
    std::uint32_t position() const override { return draw(); }
    std::uint32_t length() const override { return draw(); }

  private:
    std::uint32_t draw() const {
        return static_cast<std::uint32_t>(random_.random(1 << 16)) << 16 |
               static_cast<std::uint32_t>(random_.random(1 << 16));
    }
    SeededRandom& random_;
};

TEST(CdFaults, GarbageFromTheDriveNeverCrashes) {
    TempDir dir;
    FakePorts fakes;
    SeededRandom random;
    random.seed(42);
    GarbageDevice cd(random);
    FakeMediaDevice midi, wave;
    AudioEngine engine;
    TMixerCtrl mixer{&engine};
    FormSet forms{fakes.ports(), DataPaths::InFolder(dir.path()), MediaDevices{cd, midi, wave},
                  mixer};
    TFormMain& main = forms.FormMain;
    int reported = 0;
    for (int i = 0; i < 5000; ++i) {
        // Handlers may raise errors for the event loop to report; nothing may crash.
        try {
            switch (random.random(8)) {
            case 0:
                main.SpeedButtonPLAYClick();
                break;
            case 1:
                main.SpeedButtonSTOPClick();
                break;
            case 2:
                main.SpeedButtonNXTClick();
                break;
            case 3:
                main.SpeedButtonBAKClick();
                break;
            case 4:
                main.LabelMarkClick(random.random(10));
                break;
            default:
                main.Timer1Timer();
                break;
            }
        } catch (const std::exception&) {
            ++reported;
        }
        ASSERT_GE(main.OrderPosition, 1);
        ASSERT_LE(main.OrderPosition, TFormList::kEntries + 1);
    }
    EXPECT_EQ(reported, 0);
}

} // namespace
} // namespace tobira::testing
