// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The main window in a fresh program folder with the real CD device playing a generated disc
// image through the audio engine, fake MIDI and WAVE devices, and scripted ports. Time passes
// only when a test says so: `advance(n)` renders n seconds of sound and ticks Timer1 after each.

#include "app/form_set.h"
#include "controls/mixer_ctrl.h"
#include "media/audio_engine.h"
#include "media/cd/cd_device.h"
#include "media/cd/cue_bin_writer.h"
#include "settings/ini_file.h"
#include "settings/settings_keys.h"
#include "support/fake_media_device.h"
#include "support/fake_ports.h"
#include "support/temp_dir.h"
#include "text/cp932_convert.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace tobira::testing {

// Counts repaints and lets a test look at the strip at the moment of each.
class WatchedRepaint final : public RepaintPort {
  public:
    void repaintNow() override {
        ++count;
        if (onRepaint)
            onRepaint();
    }
    int count = 0;
    std::function<void()> onRepaint;
};

// `n` tracks of `seconds` each, every one with its own tone.
inline std::vector<CueTrack> EqualTracks(int n, double seconds) {
    std::vector<CueTrack> tracks;
    for (int i = 0; i < n; ++i)
        tracks.push_back({.seconds = seconds, .frequency = 200.0 + 100 * i, .level = 0.2});
    return tracks;
}

struct CdFixture {
    explicit CdFixture(const std::vector<CueTrack>& tracks = EqualTracks(5, 5))
        : CdFixture(nullptr, &tracks) {}
    // A disc image of the test's own making, written into the fixture's folder.
    explicit CdFixture(CueImage (*write)(const std::filesystem::path& folder))
        : CdFixture(write, nullptr) {}

  private:
    CdFixture(CueImage (*write)(const std::filesystem::path&),
              const std::vector<CueTrack>* tracks) {
        image = write ? write(dir.path()) : WriteCueBin(dir.path(), "disc", *tracks);
        IniFile file(forms.FormMain.Paths.SettingsPath);
        WriteSetting(file, keys::CDDEVICE, image.cue.string());
        mixer.CreateWnd();
        forms.CreateAll();
        cd.waitIdle();
    }

  public:
    Ports ports() {
        Ports fake = fakes.ports();
        return {.messages = fake.messages,
                .choosers = fake.choosers,
                .busy = fake.busy,
                .screen = fake.screen,
                .repaint = repaint,
                .clock = fake.clock,
                .random = fake.random,
                .processes = fake.processes,
                .uiPost = fake.uiPost,
                .windows = fake.windows,
                .textWidth = fake.textWidth};
    }

    // Ticks once without any sound passing (the first tick reads an inserted disc).
    void tick() {
        cd.waitIdle();
        main.Timer1Timer();
    }
    // Renders `seconds` of sound, one second at a time, each followed by a tick.
    void advance(int seconds) {
        for (int i = 0; i < seconds; ++i) {
            passWithoutTicks(1);
            tick();
        }
    }
    // Sound passes while the program is too busy to tick.
    void passWithoutTicks(int seconds) {
        for (int i = 0; i < seconds; ++i) {
            cd.waitIdle();
            engine.render(AudioEngine::kSampleRate);
        }
    }

    // Reads the disc and presses PLAY.
    void startPlaying() {
        tick();
        main.SpeedButtonPLAYClick();
        cd.waitIdle();
    }

    std::uint32_t position() {
        cd.waitIdle();
        return cd.position();
    }
    std::string entries() const {
        std::string text;
        for (int k = 1; k <= TFormList::kEntries && !list.EntryEmpty(k); ++k)
            text += (k > 1 ? " " : "") + list.SpeedButton[static_cast<std::size_t>(k)].Caption;
        return text;
    }

    TempDir dir;
    CueImage image;
    FakePorts fakes;
    WatchedRepaint repaint;
    AudioEngine engine;
    CdDevice cd{engine};
    FakeMediaDevice midi, wave;
    TMixerCtrl mixer{&engine};
    FormSet forms{ports(), DataPaths::InFolder(dir.path()), MediaDevices{cd, midi, wave}, mixer};
    TFormMain& main = forms.FormMain;
    TFormList& list = forms.FormList;
    TFormSetUp& setup = forms.FormSetUp;
};

inline std::string Sjis(const char* utf8) {
    return Utf8ToCp932(utf8);
}

// Track and whole seconds of a position.
inline std::pair<unsigned, unsigned> TrackSecond(std::uint32_t position) {
    return {TmsfTrack(position), 60 * TmsfMinute(position) + TmsfSecond(position)};
}

} // namespace tobira::testing
