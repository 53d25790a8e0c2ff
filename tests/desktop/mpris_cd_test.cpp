// SPDX-License-Identifier: GPL-3.0-or-later
// The CD player driven over the bus: each call must leave the player as the click it stands for,
// and announce what changed.
#include "desktop/mpris_harness.h"
#include "desktop/private_bus.h"
#include "desktop/strip_text.h"
#include "support/cd_fixture.h"

#include <gtest/gtest.h>

#include <functional>
#include <vector>

namespace tobira::testing {
namespace {

std::string PlayerText(CdFixture& f) {
    const auto [track, second] = TrackSecond(f.position());
    return StripText(f.main) + " entries " + f.entries() + " at " + std::to_string(track) + ":" +
           std::to_string(second) + " device " + std::to_string(static_cast<int>(f.cd.mode()));
}

struct Step {
    const char* name;
    std::function<bool(MprisClient&)> call;
    std::function<void(TFormMain&)> click; // what a user does for the same
    QStringList announced;
};

bool Calls(MprisClient& client, const char* method) {
    return client.call(QString::fromLatin1(method));
}

TEST(MprisCdTest, CallsActAsClicksAndAnnounceTheChange) {
    PrivateBus bus;
    if (bus.address().isEmpty())
        GTEST_SKIP() << "dbus-daemon is not installed (Debian package dbus): no private bus";
    // Track 2 has a CD-Text title, and the user has stored a program with a title for the disc.
    std::vector<CueTrack> tracks = EqualTracks(4, 12);
    tracks[1].title = "さくら";
    CdFixture clicked(tracks), called(tracks);
    for (CdFixture* f : {&clicked, &called}) {
        f->tick();
        f->main.Patterns[2] = Utf8ToCp932("02 01 .二人の歌");
    }
    ServedPlayer served(bus.address(), called.main, called.list, called.forms.FormView,
                        called.fakes.windows);
    MprisClient client(bus.address());

    const auto s = [](const char* text) { return QString::fromUtf8(text); };
    const std::vector<Step> steps = {
        {"PlayPause while stopped starts",
         [](auto& c) { return Calls(c, "PlayPause"); },
         [](TFormMain& m) { m.SpeedButtonPLAYClick(); },
         {s("PlaybackStatus=Playing"), s("Metadata.xesam:title=Track 1"),
          s("Metadata.xesam:album=二人の歌"), s("Metadata.mpris:length=12000000"),
          s("Metadata.mpris:trackid=/jp/tobira/CD/Track1"), s("CanPause=true"), s("CanGoNext=true"),
          s("CanGoPrevious=true")}},
        {"Next",
         [](auto& c) { return Calls(c, "Next"); },
         [](TFormMain& m) { m.SpeedButtonNXTClick(); },
         {s("Metadata.xesam:title=さくら")}},
        {"LoopStatus Track is repeat",
         [](auto& c) { return c.set(QStringLiteral("LoopStatus"), QStringLiteral("Track")); },
         [](TFormMain& m) { m.SpeedButtonPLAYMouseDown(MouseButton::Right); },
         {s("LoopStatus=Track"), s("CanGoNext=false"), s("CanGoPrevious=false")}},
        {"LoopStatus Playlist is endless play without repeat",
         [](auto& c) { return c.set(QStringLiteral("LoopStatus"), QStringLiteral("Playlist")); },
         [](TFormMain& m) {
             m.SpeedButtonPLAYMouseDown(MouseButton::Right);
             m.PanelPOWClick();
         },
         {s("LoopStatus=Playlist"), s("CanGoNext=true")}},
        {"PlayPause while playing pauses",
         [](auto& c) { return Calls(c, "PlayPause"); },
         [](TFormMain& m) { m.SpeedButtonPAUSEClick(); },
         {s("PlaybackStatus=Paused")}},
        {"PlayPause while paused resumes",
         [](auto& c) { return Calls(c, "PlayPause"); },
         [](TFormMain& m) { m.SpeedButtonPAUSEClick(); },
         {s("PlaybackStatus=Playing")}},
        {"Volume steps the bar",
         [](auto& c) { return c.set(QStringLiteral("Volume"), 0.7); },
         [](TFormMain& m) {
             for (int i = 0; i < 4; ++i)
                 m.SpeedButtonVolUpClick();
         },
         {s("Volume=0.7")}},
        {"Stop",
         [](auto& c) { return Calls(c, "Stop"); },
         [](TFormMain& m) { m.SpeedButtonSTOPClick(); },
         {s("PlaybackStatus=Stopped"), s("Metadata={}"), s("CanPause=false")}},
        {"Stop while stopped leaves the disc in",
         [](auto& c) { return Calls(c, "Stop"); },
         [](TFormMain&) {},
         {}},
        {"Shuffle is the random order",
         [](auto& c) { return c.set(QStringLiteral("Shuffle"), true); },
         [](TFormMain& m) {
             m.LabelMarkMouseDown(1, MouseButton::Left);
             m.LabelMarkMouseUp(1, MouseButton::Left);
         },
         {s("Shuffle=true")}},
        {"Play starts in that order",
         [](auto& c) { return Calls(c, "Play"); },
         [](TFormMain& m) { m.SpeedButtonPLAYClick(); },
         {s("PlaybackStatus=Playing")}},
        {"Play while playing changes nothing",
         [](auto& c) { return Calls(c, "Play"); },
         [](TFormMain&) {},
         {}},
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(step.name);
        step.click(clicked.main);
        ASSERT_TRUE(step.call(client));
        clicked.advance(1);
        called.advance(1);
        // After a tick the program lets every view, and the bus, hear of the change.
        served.hub.refreshAll();
        EXPECT_EQ(PlayerText(called), PlayerText(clicked));
        ExpectAnnounced(client.takeChanges(), step.announced);
    }
    EXPECT_EQ(called.main.LabelSTOP.Caption, "STOP");
    EXPECT_TRUE(called.fakes.windows.modals.empty());
}

// The desktop's media controls jump inside the track.
TEST(MprisCdTest, SeekAndSetPositionJumpWithinTheTrack) {
    PrivateBus bus;
    if (bus.address().isEmpty())
        GTEST_SKIP() << "dbus-daemon is not installed (Debian package dbus): no private bus";
    CdFixture f(EqualTracks(2, 30));
    f.tick();
    ServedPlayer served(bus.address(), f.main, f.list, f.forms.FormView, f.fakes.windows);
    MprisClient client(bus.address());
    f.main.SpeedButtonPLAYClick();
    f.advance(1);
    served.hub.refreshAll();
    ExpectJumps(
        client, QStringLiteral("/jp/tobira/CD/Track1"),
        [&] {
            f.main.SpeedButtonPAUSEClick();
            served.hub.refreshAll();
        },
        [&] { f.advance(1); });
}

} // namespace
} // namespace tobira::testing
