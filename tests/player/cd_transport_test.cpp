// SPDX-License-Identifier: GPL-3.0-or-later
// The CD transport on a generated five-track disc (5 s a track) played by the real device.
#include "support/cd_fixture.h"
#include "support/cue_files.h"

#include <gtest/gtest.h>

#include <cmath>
#include <ctime>
#include <utility>
#include <vector>

namespace tobira::testing {
namespace {

using Seen = std::vector<std::pair<unsigned, unsigned>>;

void ExpectStoppedAtTrackOne(CdFixture& f) {
    EXPECT_EQ(f.cd.mode(), DeviceMode::Stopped);
    EXPECT_TRUE(f.main.DiscInfoRead);
    EXPECT_EQ(f.main.LabelPLAY.Caption, "00:00 PLAY");
    EXPECT_EQ(f.main.LabelPLAY.Font, colors::Teal);
    EXPECT_EQ(f.main.LabelSTOP.Caption, "STOP");
    EXPECT_EQ(f.main.LabelSTOP.Font, colors::Aqua);
    EXPECT_EQ(f.main.CurrentTrack, 1);
    EXPECT_EQ(f.main.OrderPosition, 1);
    EXPECT_EQ(f.main.LabelMarks[0].Caption, "NR");
    EXPECT_TRUE(f.main.LabelTIME.Visible);
}

TEST(CdTransport, NormalOrderRunsOnIntoEachNextTrackWithoutACut) {
    CdFixture f;
    f.startPlaying();
    EXPECT_EQ(f.main.LabelPLAY.Font, colors::Aqua);
    EXPECT_FALSE(f.main.LabelTIME.Visible);
    EXPECT_TRUE(f.list.Visible); // "open the control window when play starts" is on by default

    Seen seen;
    for (int i = 0; i < 24; ++i) {
        f.advance(1);
        seen.push_back(TrackSecond(f.position()));
    }
    // The tick that finds fewer than two whole seconds left (4 of 5) asks for the next track:
    // playing runs on into it, which shows at its start until it is reached. The last track
    // plays to its end.
    const Seen expected{{1, 1}, {1, 2}, {1, 3}, {2, 0}, {2, 0}, {2, 1}, {2, 2}, {2, 3},
                        {3, 0}, {3, 0}, {3, 1}, {3, 2}, {3, 3}, {4, 0}, {4, 0}, {4, 1},
                        {4, 2}, {4, 3}, {5, 0}, {5, 0}, {5, 1}, {5, 2}, {5, 3}, {5, 4}};
    EXPECT_EQ(seen, expected);
    EXPECT_EQ(f.main.OrderPosition, 5);
    EXPECT_EQ(f.list.SpeedButton[5].Font, colors::Red);

    // One-way: the end of the last entry stops and goes back to track 1; PLAY starts again.
    f.advance(1);
    ExpectStoppedAtTrackOne(f);
    f.main.SpeedButtonPLAYClick();
    EXPECT_EQ(f.position(), PackTmsf(1, 0, 0, 0));
    EXPECT_EQ(f.cd.mode(), DeviceMode::Playing);
}

TEST(CdTransport, EndlessPlayWrapsToTheFirstEntry) {
    CdFixture f;
    f.main.PanelPOWClick();
    EXPECT_TRUE(f.main.EndlessPlay());
    EXPECT_EQ(f.main.PanelPOW.Hint, Sjis("エンドレスプレイ"));
    f.startPlaying();
    f.advance(24); // four tracks whole, the last left at the tick that finds 1 s left
    EXPECT_EQ(f.main.OrderPosition, 1);
    EXPECT_EQ(f.position(), PackTmsf(1, 0, 0, 0));
    EXPECT_TRUE(f.main.IsCdPlaying());

    f.main.PanelPOWClick();
    EXPECT_FALSE(f.main.EndlessPlay());
    EXPECT_EQ(f.main.PanelPOW.Hint, Sjis("ワンウェイプレイ"));
}

TEST(CdTransport, RepeatRestartsTheEntryAndLocksBackAndNext) {
    CdFixture f;
    f.startPlaying();
    f.main.SpeedButtonPLAYMouseDown(MouseButton::Right);
    EXPECT_TRUE(f.main.IsRepeatOn());
    f.advance(3);
    f.main.SpeedButtonNXTClick();
    f.main.SpeedButtonBAKClick();
    EXPECT_EQ(TrackSecond(f.position()), std::make_pair(1u, 3u));
    f.advance(1);
    EXPECT_EQ(f.main.OrderPosition, 1);
    EXPECT_EQ(f.position(), PackTmsf(1, 0, 0, 0));

    f.main.SpeedButtonPLAYMouseDown(MouseButton::Right);
    EXPECT_FALSE(f.main.IsRepeatOn());
    EXPECT_EQ(f.main.LabelPLAY.Font, colors::Aqua);
}

TEST(CdTransport, BackAndNext) {
    CdFixture f;
    f.startPlaying();
    f.advance(2);
    f.main.SpeedButtonBAKClick(); // the first entry: restarts its track
    EXPECT_EQ(f.position(), PackTmsf(1, 0, 0, 0));
    EXPECT_EQ(f.main.OrderPosition, 1);

    for (int i = 0; i < 4; ++i)
        f.main.SpeedButtonNXTClick();
    EXPECT_EQ(f.main.OrderPosition, 5);
    f.advance(1);
    f.main.SpeedButtonNXTClick(); // the last entry: nothing
    EXPECT_EQ(f.main.OrderPosition, 5);
    EXPECT_EQ(f.position(), PackTmsf(5, 0, 1, 0));

    f.main.SpeedButtonBAKClick();
    f.main.SpeedButtonBAKClick();
    EXPECT_EQ(f.main.OrderPosition, 3);
    EXPECT_EQ(f.position(), PackTmsf(3, 0, 0, 0));
}

TEST(CdTransport, BackAndNextLampsLightOnlyWhilePlaying) {
    CdFixture f;
    f.tick();
    f.main.SpeedButtonBAKMouseDown(MouseButton::Left);
    EXPECT_EQ(f.main.LabelBAK.Font, colors::Teal);
    f.main.SpeedButtonPLAYClick();
    f.main.SpeedButtonBAKMouseDown(MouseButton::Left);
    f.main.SpeedButtonNXTMouseDown(MouseButton::Left);
    EXPECT_EQ(f.main.LabelBAK.Font, colors::Aqua);
    EXPECT_EQ(f.main.LabelNXT.Font, colors::Aqua);
    f.main.SpeedButtonBAKMouseUp(MouseButton::Left);
    f.main.SpeedButtonNXTMouseUp(MouseButton::Right);
    EXPECT_EQ(f.main.LabelBAK.Font, colors::Teal);
    EXPECT_EQ(f.main.LabelNXT.Font, colors::Teal);

    // NXT's right button is the live switch.
    f.main.SpeedButtonNXTMouseDown(MouseButton::Right);
    EXPECT_TRUE(f.main.ImageLIVE);
    EXPECT_EQ(f.main.LabelNXT.Font, colors::Teal);
}

TEST(CdTransport, PauseThenPlayResumesAtTheSamePlace) {
    CdFixture f;
    f.startPlaying();
    f.advance(2);
    f.wave.currentMode = DeviceMode::Playing;
    const int repaints = f.repaint.count;
    f.main.SpeedButtonPAUSEClick();
    EXPECT_GT(f.repaint.count, repaints);
    EXPECT_TRUE(f.main.IsCdPaused());
    EXPECT_EQ(f.main.LabelPAUSE.Font, colors::Yellow);
    EXPECT_EQ(f.wave.calls.back(), "pause");

    // A paused CD reports stopped; the ticks leave it alone.
    f.advance(3);
    EXPECT_EQ(f.position(), PackTmsf(1, 0, 2, 0));
    EXPECT_TRUE(f.main.IsCdPaused());
    f.main.LabelMarkMouseDown(1, MouseButton::Left); // no mode choice while paused
    EXPECT_EQ(f.main.LabelPlayMode.Caption, "NR");

    f.main.SpeedButtonPLAYClick();
    EXPECT_EQ(f.main.LabelPAUSE.Font, colors::Teal);
    EXPECT_EQ(f.cd.mode(), DeviceMode::Playing);
    f.advance(1);
    EXPECT_EQ(f.position(), PackTmsf(1, 0, 3, 0));

    // PAUSE twice: the second resumes, the applause with it.
    f.main.SpeedButtonPAUSEClick();
    f.wave.currentMode = DeviceMode::Paused;
    f.main.SpeedButtonPAUSEClick();
    EXPECT_TRUE(f.main.IsCdPlaying());
    EXPECT_EQ(f.wave.calls.back(), "play");
}

TEST(CdTransport, StopThenStopEjects) {
    CdFixture f;
    f.startPlaying();
    f.advance(1);
    f.main.SpeedButtonSTOPClick();
    f.cd.waitIdle();
    ExpectStoppedAtTrackOne(f);
    EXPECT_FALSE(f.list.Visible);
    EXPECT_TRUE(f.main.LabelPLAY.Hint.empty());

    f.main.SpeedButtonSTOPClick();
    EXPECT_EQ(f.main.LabelSTOP.Caption, "EJECT");
    EXPECT_FALSE(f.main.DiscInfoRead);
    f.tick();
    EXPECT_EQ(f.cd.mode(), DeviceMode::Open);
    EXPECT_EQ(f.main.LabelPLAY.Caption, "NO DISC");

    // STOP at NO DISC closes the tray: the image goes back in and is read as a new disc.
    f.main.SpeedButtonSTOPClick();
    f.tick();
    f.tick();
    EXPECT_TRUE(f.main.DiscInfoRead);
    EXPECT_EQ(f.cd.mode(), DeviceMode::Stopped);
    EXPECT_EQ(f.main.LabelTotalMUSIC.Caption, "05");
    f.main.SpeedButtonPLAYClick();
    f.cd.waitIdle();
    EXPECT_TRUE(f.main.IsCdPlaying());
}

TEST(CdTransport, EntryClickShowsThePlayingEntryRedAtOnce) {
    CdFixture f;
    f.startPlaying();
    f.advance(1);
    // Entry 1 is the one playing; 9 names no entry; 3 then 3 again.
    for (const int click : {1, 3, 9, 3}) {
        f.list.SpeedButton[static_cast<std::size_t>(click)].Down = true;
        f.list.SpeedButtonEntryClick(click);
        const int playing = f.main.OrderPosition;
        EXPECT_EQ(playing, click == 9 ? 3 : click);
        for (int k = 1; k <= 5; ++k) {
            const ButtonState& entry = f.list.SpeedButton[static_cast<std::size_t>(k)];
            EXPECT_EQ(entry.Font, k == playing ? colors::Red : colors::Black) << click << ":" << k;
            EXPECT_FALSE(entry.Down) << click << ":" << k;
        }
    }
}

TEST(CdTransport, StopWhilePausedResetsAndStopsTheApplause) {
    CdFixture f;
    f.startPlaying();
    f.advance(1);
    f.main.SpeedButtonPAUSEClick();
    f.wave.currentMode = DeviceMode::Playing;
    f.main.SpeedButtonSTOPClick();
    ExpectStoppedAtTrackOne(f);
    EXPECT_EQ(f.main.LabelPAUSE.Font, colors::Teal);
    EXPECT_EQ(f.wave.calls.back(), "stop");
}

TEST(CdTransport, InsertingADiscShowsReadInfoThenTheMarks) {
    CdFixture f;
    f.fakes.clock.time = std::chrono::system_clock::from_time_t(1'700'000'000);
    f.cd.eject();
    f.tick();
    EXPECT_EQ(f.main.LabelPLAY.Caption, "NO DISC");
    EXPECT_EQ(f.main.LabelPLAY.Font, colors::Lime);
    EXPECT_EQ(f.main.LabelSTOP.Font, colors::Lime);
    EXPECT_TRUE(f.main.LabelPlayMode.Caption.empty());
    for (const LabelState& mark : f.main.LabelMarks) {
        EXPECT_EQ(mark.Caption, Sjis("・"));
        EXPECT_EQ(mark.Font, colors::Teal);
    }
    // "NO DISC" blinks, and so does the clock, which shows the time of day.
    std::vector<Color> lamp, clock;
    for (int i = 0; i < 3; ++i) {
        lamp.push_back(f.main.LabelPLAY.Font);
        clock.push_back(f.main.LabelTIME.Font);
        f.tick();
    }
    EXPECT_EQ(lamp, (std::vector<Color>{colors::Lime, colors::Teal, colors::Lime}));
    EXPECT_NE(clock[0], clock[1]);
    EXPECT_EQ(clock[0], clock[2]);
    const std::time_t when = 1'700'000'000;
    std::tm local{};
    localtime_r(&when, &local);
    char hhmm[8];
    std::strftime(hhmm, sizeof hhmm, "%H:%M", &local);
    EXPECT_EQ(f.main.LabelTIME.Caption, hhmm);
    EXPECT_TRUE(f.main.LabelTIME.Visible);

    f.cd.insertDisc();
    std::vector<std::pair<std::string, Color>> atRepaint;
    f.repaint.onRepaint = [&] {
        atRepaint.emplace_back(f.main.LabelPLAY.Caption, f.main.LabelPLAY.Font);
    };
    f.tick();
    ASSERT_FALSE(atRepaint.empty());
    EXPECT_EQ(atRepaint.front(), std::make_pair(std::string("READ INFO"), colors::Yellow));

    const char* codes[] = {"NR", "RD", "OE", "EO", "RV", "PG"};
    for (int i = 0; i < 10; ++i) {
        EXPECT_EQ(f.main.LabelMarks[i].Caption, i < 6 ? codes[i] : Sjis("・"));
        EXPECT_EQ(f.main.LabelMarks[i].Font, i < 6 ? colors::Aqua : colors::Teal);
    }
    EXPECT_EQ(f.main.LabelPlayMode.Caption, "NR");
    EXPECT_EQ(f.main.LabelPlayMode.Hint, Sjis("ノーマル再生"));
    EXPECT_EQ(f.main.LabelTotalMUSIC.Caption, "05");
    EXPECT_EQ(f.main.LabelTotalMUSIC.Hint, Sjis("全トラック時間 00分25秒"));
    EXPECT_EQ(f.main.DiscId, "0500250005");
    EXPECT_EQ(f.list.LabelCDID.Caption, "0500250005");
    EXPECT_EQ(f.list.LabelORG.Caption, "Normal Mode");
    EXPECT_EQ(f.main.LabelPLAY.Caption, "00:00 PLAY");
    EXPECT_EQ(f.main.LabelSTOP.Caption, "STOP");
    EXPECT_EQ(f.main.LabelSTOP.Font, colors::Aqua);
    EXPECT_EQ(f.cd.mode(), DeviceMode::Stopped);
}

TEST(CdTransport, AutoPlayStartsTheInsertedDisc) {
    CdFixture f;
    f.setup.CheckBoxAutoPlay.Down = true;
    f.tick();
    EXPECT_TRUE(f.main.IsCdPlaying());
    EXPECT_EQ(f.position(), PackTmsf(1, 0, 0, 0));
}

TEST(CdTransport, PlayingTimeHintsAndRemainingTime) {
    // A four-minute silent track: 1:05 in, 2:53 remain on the display (two seconds less).
    CdFixture f({{.seconds = 240, .frequency = 0}, {.seconds = 5, .frequency = 0}});
    f.setup.CheckBoxTime.Down = true;
    f.startPlaying();
    f.advance(65);
    EXPECT_EQ(f.main.LabelPLAY.Caption, "02:53 PLAY");
    EXPECT_EQ(f.main.SpeedButtonPLAY.Hint, "Track Time 04:00");
    EXPECT_EQ(f.main.LabelPLAY.Hint, Sjis("トラック再生順 = ") + "1 2 ");
    EXPECT_EQ(f.main.LabelTotalMUSIC.Hint,
              Sjis("選択トラック合計時間 04分05秒／全トラック時間 04分05秒"));
    f.setup.CheckBoxTime.Down = false;
    f.advance(1);
    EXPECT_EQ(f.main.LabelPLAY.Caption, "01:06 PLAY");

    // In a track's last two seconds the remaining time reads zero.
    f.main.SpeedButtonNXTClick();
    f.setup.CheckBoxTime.Down = true;
    f.advance(3);
    EXPECT_EQ(f.main.LabelPLAY.Caption, "00:00 PLAY");
    EXPECT_TRUE(f.main.IsCdPlaying());
}

// A live album's disc: sound in every pregap, and 3 s of hidden audio before track 1 past the
// 2 s lead-in. Sectors of its one file: track 1 INDEX 00 at 0 and INDEX 01 at 375, track 2 at
// 675 and 780, track 3 at 1050 and 1200, the end at 1500.
CueImage GappedDisc(const std::filesystem::path& folder) {
    CueImage image{folder / "live.cue", folder / "live.bin", {375, 780, 1200}, 1500};
    std::string bin(static_cast<std::size_t>(image.totalSectors) * kCdSectorBytes, '\0');
    std::uint32_t seed = 7;
    for (char& b : bin) {
        seed = seed * 1664525u + 1013904223u;
        b = static_cast<char>(seed >> 24);
    }
    WriteFileBytes(image.bin, bin);
    WriteFileBytes(image.cue, "FILE live.bin BINARY\nTRACK 01 AUDIO\nINDEX 00 00:00:00\n"
                              "INDEX 01 00:05:00\nTRACK 02 AUDIO\nINDEX 00 00:09:00\n"
                              "INDEX 01 00:10:30\nTRACK 03 AUDIO\nINDEX 00 00:14:00\n"
                              "INDEX 01 00:16:00\n");
    return image;
}

TEST(CdTransport, DiscOrderPlaysEveryGapAndBackReachesTheHiddenTrack) {
    CdFixture f(GappedDisc);
    const std::vector<char> bin = ReadFileBytes(f.image.bin);
    std::vector<float> heard;
    auto left = [&](std::size_t frame) {
        const std::size_t at = 4 * frame;
        return static_cast<double>(
                   static_cast<std::int16_t>(static_cast<unsigned char>(bin[at]) |
                                             static_cast<unsigned char>(bin[at + 1]) << 8)) /
               32768.0;
    };
    double gain = 1; // the CD line's volume, found from the first frames heard
    auto listen = [&](std::size_t frames, bool tick) {
        f.cd.waitIdle();
        heard.resize(heard.size() + 2 * frames);
        f.engine.render(heard.data() + heard.size() - 2 * frames, frames);
        if (tick)
            f.main.Timer1Timer();
    };
    // How many frames from `frame` of the image on were heard from `from` on, in order.
    auto matching = [&](std::size_t from, std::size_t frame) {
        std::size_t n = 0;
        for (; 2 * (from + n) < heard.size() && 4 * (frame + n) < bin.size(); ++n)
            if (std::abs(heard[2 * (from + n)] - gain * left(frame + n)) > 1e-6)
                break;
        return n;
    };

    // A jump lands on INDEX 01: PLAY on track 1's, NEXT on track 2's.
    f.startPlaying();
    listen(kCdFramesPerSector * 10, false);
    gain = heard[0] / left(375 * kCdFramesPerSector);
    EXPECT_EQ(matching(0, 375 * kCdFramesPerSector), 10u * kCdFramesPerSector);
    f.main.SpeedButtonNXTClick();
    listen(kCdFramesPerSector * 10, false);
    EXPECT_EQ(matching(10 * kCdFramesPerSector, 780 * kCdFramesPerSector),
              10u * kCdFramesPerSector);

    // BACK at the start of track 1 plays the hidden track; the disc then plays on in disc order
    // to its end: every frame of the image once, in order, pregaps and all.
    f.main.SpeedButtonSTOPClick();
    f.main.SpeedButtonPLAYClick();
    f.main.SpeedButtonBAKClick();
    EXPECT_EQ(f.position(), PackTmsf(1, 0, 0, 0));
    heard.clear();
    for (int s = 0; s < 25 && f.main.IsCdPlaying(); ++s)
        listen(AudioEngine::kSampleRate, true);
    const std::size_t frames = 1500u * kCdFramesPerSector;
    EXPECT_EQ(matching(0, 0), frames);
    EXPECT_EQ(heard.size() / 2, 20u * AudioEngine::kSampleRate); // the image's 20 s
    EXPECT_EQ(f.cd.mode(), DeviceMode::Stopped);
    EXPECT_EQ(f.main.OrderPosition, 1);
}

} // namespace
} // namespace tobira::testing

namespace tobira::testing {
namespace {

TEST(CdTransport, MidiModeLeavesTheCdAlone) {
    CdFixture f;
    f.tick();
    f.main.PlayerMode = PlayerModeKind::MIDI;
    f.main.LabelMidiTitle.Visible = true;
    f.main.SpeedButtonPLAYClick();
    f.main.SpeedButtonSTOPClick();
    EXPECT_EQ(f.cd.mode(), DeviceMode::Stopped);
    EXPECT_EQ(f.list.PlayOrderLength(), 0);
    EXPECT_EQ(f.main.LabelSTOP.Caption, "STOP");

    // The idle MIDI title line blinks; the CD's clock does not.
    const Color clock = f.main.LabelTIME.Font;
    std::vector<Color> title;
    std::vector<bool> modeShown;
    for (int i = 0; i < 3; ++i) {
        f.tick();
        title.push_back(f.main.LabelMidiTitle.Font);
        modeShown.push_back(f.main.LabelMidiMode.Visible);
    }
    // PLAY found no song list and stopped, leaving the title aqua.
    EXPECT_EQ(title, (std::vector<Color>{colors::Black, colors::Aqua, colors::Black}));
    EXPECT_EQ(modeShown, (std::vector<bool>{false, true, false}));
    EXPECT_EQ(f.main.LabelTIME.Font, clock);
}

} // namespace
} // namespace tobira::testing
