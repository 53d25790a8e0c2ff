// SPDX-License-Identifier: GPL-3.0-or-later
// The MIDI player driven over the bus, against the same clicks on a twin player.
#include "desktop/mpris_harness.h"
#include "desktop/private_bus.h"
#include "desktop/strip_text.h"
#include "support/midi_fixture.h"
#include "support/wait_until.h"

#include <QCoreApplication>

#include <gtest/gtest.h>

#include <functional>
#include <vector>

namespace tobira::testing {
namespace {

// Three songs long enough to last the whole test.
void WriteSongs(MidiFixture& f) {
    const std::vector<Song> songs = {
        {"Alpha", "a.mid"}, {"Beta", "b.mid", "-2"}, {"Gamma", "c.mid"}};
    f.writeList(songs, false);
    int key = 60;
    for (const Song& song : songs)
        ShortSong(30, key++).write(PathFromCp932(f.path(song.file)));
}

std::string PlayerText(MidiFixture& f) {
    std::string played;
    for (const std::string& name : f.played)
        played += name + " ";
    return StripText(f.main) + " played " + played + " order " +
           std::to_string(static_cast<int>(f.view.Order())) + " device " +
           std::to_string(static_cast<int>(f.midi.mode()));
}

struct Step {
    const char* name;
    std::function<bool(MprisClient&)> call;
    std::function<void(MidiFixture&)> click; // what a user does for the same
    QStringList announced;
};

bool Calls(MprisClient& client, const char* method) {
    return client.call(QString::fromLatin1(method));
}

TEST(MprisMidiTest, CallsActAsClicksAndAnnounceTheChange) {
    PrivateBus bus;
    if (bus.address().isEmpty())
        GTEST_SKIP() << "dbus-daemon is not installed (Debian package dbus): no private bus";
    MidiFixture clicked, called;
    WriteSongs(clicked);
    WriteSongs(called);
    ServedPlayer served(bus.address(), called.main, called.forms.FormList, called.view,
                        called.fakes.windows);
    MprisClient client(bus.address());

    const auto s = [](const char* text) { return QString::fromUtf8(text); };
    const std::vector<Step> steps = {
        {"PlayPause while idle plays the list",
         [](auto& c) { return Calls(c, "PlayPause"); },
         [](MidiFixture& f) { f.press(&TFormMain::SpeedButtonPLAYClick); },
         {s("PlaybackStatus=Playing"), s("Metadata.xesam:title=Alpha"),
          s("Metadata.mpris:trackid=/jp/tobira/MIDI/Entry0"), s("CanGoNext=true")}},
        {"Next",
         [](auto& c) { return Calls(c, "Next"); },
         [](MidiFixture& f) { f.press(&TFormMain::SpeedButtonNXTClick); },
         {s("Metadata.xesam:title=Beta"), s("Metadata.mpris:trackid=/jp/tobira/MIDI/Entry1")}},
        {"Shuffle is the Rnd order",
         [](auto& c) { return c.set(QStringLiteral("Shuffle"), true); },
         [](MidiFixture& f) { f.view.ChooseOrder(MidiOrder::Rnd); },
         {s("Shuffle=true")}},
        {"LoopStatus Playlist is endless play",
         [](auto& c) { return c.set(QStringLiteral("LoopStatus"), QStringLiteral("Playlist")); },
         [](MidiFixture& f) { f.main.PanelPOWClick(); },
         {s("LoopStatus=Playlist")}},
        {"LoopStatus Track has no song repeat to turn on",
         [](auto& c) { return c.set(QStringLiteral("LoopStatus"), QStringLiteral("Track")); },
         [](MidiFixture&) {},
         {}},
        {"Pause",
         [](auto& c) { return Calls(c, "Pause"); },
         [](MidiFixture& f) { f.press(&TFormMain::SpeedButtonPAUSEClick); },
         {s("PlaybackStatus=Paused"), s("CanGoNext=false")}},
        {"Play resumes",
         [](auto& c) { return Calls(c, "Play"); },
         [](MidiFixture& f) { f.press(&TFormMain::SpeedButtonPLAYClick); },
         {s("PlaybackStatus=Playing")}},
        {"Volume steps the bar",
         [](auto& c) { return c.set(QStringLiteral("Volume"), 1.0); },
         [](MidiFixture& f) {
             for (int i = 0; i < 7; ++i)
                 f.main.SpeedButtonVolUpClick();
         },
         {s("Volume=1")}},
        {"Stop",
         [](auto& c) { return Calls(c, "Stop"); },
         [](MidiFixture& f) { f.press(&TFormMain::SpeedButtonSTOPClick); },
         {s("PlaybackStatus=Stopped"), s("Metadata={}")}},
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(step.name);
        step.click(clicked);
        ASSERT_TRUE(step.call(client));
        called.fakes.uiPost.runPending();
        called.note();
        clicked.advance(0.5);
        called.advance(0.5);
        served.hub.refreshAll();
        EXPECT_EQ(PlayerText(called), PlayerText(clicked));
        ExpectAnnounced(client.takeChanges(), step.announced);
    }
}

// A command that opens a message box (here: the list's song is missing) has been answered by
// the time the box is up, so a media key never waits for the user.
TEST(MprisMidiTest, CommandsAreAnsweredBeforeTheBoxTheyOpen) {
    PrivateBus bus;
    if (bus.address().isEmpty())
        GTEST_SKIP() << "dbus-daemon is not installed (Debian package dbus): no private bus";
    for (const char* method : {"Play", "PlayPause"}) {
        SCOPED_TRACE(method);
        MidiFixture f;
        f.writeList({{"Gone", "gone.mid"}}, false);
        ServedPlayer served(bus.address(), f.main, f.forms.FormList, f.view, f.fakes.windows);
        MprisClient client(bus.address());
        QDBusPendingCall pending = client.callLater(QString::fromLatin1(method), 2000);
        bool answeredFirst = false;
        f.fakes.messages.onShow = [&] {
            pending.waitForFinished();
            answeredFirst = !pending.isError();
        };
        ASSERT_TRUE(WaitUntil([&] {
            QCoreApplication::processEvents();
            return !f.fakes.messages.shown.empty();
        }));
        EXPECT_TRUE(answeredFirst);
        f.fakes.messages.onShow = nullptr;
    }
}

// The desktop's media controls jump inside the song.
TEST(MprisMidiTest, SeekAndSetPositionJumpWithinTheSong) {
    PrivateBus bus;
    if (bus.address().isEmpty())
        GTEST_SKIP() << "dbus-daemon is not installed (Debian package dbus): no private bus";
    MidiFixture f;
    f.writeList({{"Alpha", "a.mid"}}, false);
    ShortSong(30).write(PathFromCp932(f.path("a.mid")));
    ServedPlayer served(bus.address(), f.main, f.forms.FormList, f.view, f.fakes.windows);
    MprisClient client(bus.address());
    f.press(&TFormMain::SpeedButtonPLAYClick);
    f.advance(1);
    served.hub.refreshAll();
    ExpectJumps(
        client, QStringLiteral("/jp/tobira/MIDI/Entry0"),
        [&] {
            f.press(&TFormMain::SpeedButtonPAUSEClick);
            served.hub.refreshAll();
        },
        [&] { f.advance(1); });
}

} // namespace
} // namespace tobira::testing
