// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The main window in MIDI mode in a fresh program folder, with the real sequencer playing
// generated songs through the audio engine and the small test SoundFont. Time passes only when
// a test says so: `advance(s)` renders s seconds of sound in 100 ms steps, delivering device
// notices after each step and ticking Timer1 once a second. Loading takes no time here: the
// sequencer's loader finishes before each step.

#include "app/form_set.h"
#include "controls/mixer_ctrl.h"
#include "media/audio_engine.h"
#include "media/midi/midi_device.h"
#include "midi_windows/list_file.h"
#include "support/fake_media_device.h"
#include "support/fake_ports.h"
#include "support/smf_writer.h"
#include "support/temp_dir.h"
#include "text/cp932_convert.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

namespace tobira::testing {

// Piano notes for `seconds` at 120 BPM (960 ticks a second), then the end.
inline SmfWriter ShortSong(double seconds, int key = 60) {
    SmfWriter w(0, 480);
    const auto end = static_cast<std::uint32_t>(seconds * 960);
    for (std::uint32_t tick = 0; tick + 240 <= end; tick += 240)
        w.note(0, tick, 0, key, 100, 240);
    w.endOfTrack(0, end);
    return w;
}

// One list line: title, path, volume offset, liking.
struct Song {
    std::string title;
    std::string file; // in the program folder
    std::string vol = "+0";
    std::string feel = "1";
};

struct MidiFixture {
    MidiFixture() {
        midi.setSoundFont(TOBIRA_TEST_SOUNDFONT);
        mixer.CreateWnd();
        forms.CreateAll();
        main.PlayerMode = PlayerModeKind::MIDI;
        setup.RadioGroupReset = 0;
    }

    std::string path(const std::string& file) const { return main.Paths.Folder + file; }

    // Writes each song's file (unless `withFiles` is false) and List 0 with their lines.
    void writeList(const std::vector<Song>& songs, bool withFiles = true) {
        std::vector<std::string> lines;
        int key = 60;
        for (const Song& song : songs) {
            if (withFiles)
                ShortSong(1.0, key++).write(PathFromCp932(path(song.file)));
            lines.push_back(song.title + "\t" + path(song.file) + "\t" + song.vol + "\t" +
                            song.feel);
        }
        std::string text;
        for (const std::string& line : lines)
            text += line + "\r\n";
        WriteBytes(PathFromCp932(main.Paths.List0Path),
                   std::vector<std::uint8_t>(text.begin(), text.end()));
    }

    // `count` songs of 0.3 s, s000.mid upwards, on keys that cycle over three octaves, and
    // List 0 naming them: the long runs' list.
    void writeShortSongs(int count) {
        std::vector<std::string> lines;
        for (int i = 0; i < count; ++i) {
            char name[32];
            std::snprintf(name, sizeof name, "s%03d.mid", i);
            ShortSong(0.3, 48 + i % 36).write(PathFromCp932(path(name)));
            lines.push_back(std::string("Song ") + name + "\t" + path(name) + "\t+0\t1");
        }
        WriteListFile(main.Paths.List0Path, lines);
    }

    // The file name the sequencer holds, without its folder.
    std::string playing() const {
        const std::string& name = midi.fileName();
        return name.substr(name.rfind('/') + 1);
    }

    // Renders `seconds` of sound; each change of the sequencer's file (and the title shown
    // then) is recorded.
    void advance(double seconds) {
        const int steps = static_cast<int>(seconds * 10 + 0.5);
        for (int i = 0; i < steps; ++i) {
            midi.settle();
            engine.render(AudioEngine::kSampleRate / 10);
            fakes.uiPost.runPending();
            note();
            if (++tenths % 10 == 0)
                main.Timer1Timer();
        }
    }
    // Plays until the engine is idle (or `limit` seconds have passed).
    void playOut(double limit = 60) {
        for (double t = 0; t < limit && main.LabelPLAY.Font != colors::Teal; t += 0.5)
            advance(0.5);
    }
    void press(void (TFormMain::*click)()) {
        (main.*click)();
        midi.settle();
        fakes.uiPost.runPending();
        note();
    }
    // Records the sequencer's file when a new play request has started.
    void note() {
        if (midi.mode() == DeviceMode::Playing &&
            (played.empty() || midi.fileName() != lastName || midi.position() < lastPosition)) {
            played.push_back(playing());
            titles.push_back(Cp932ToUtf8(main.LabelMidiTitle.Caption));
            lastName = midi.fileName();
        }
        lastPosition = midi.mode() == DeviceMode::Playing ? midi.position() : 0;
    }

    TempDir dir;
    FakePorts fakes;
    AudioEngine engine;
    MidiDevice midi{engine, fakes.uiPost};
    FakeMediaDevice cd, wave;
    TMixerCtrl mixer{&engine};
    FormSet forms{fakes.ports(), DataPaths::InFolder(dir.path()), MediaDevices{cd, midi, wave},
                  mixer, &midi};
    TFormMain& main = forms.FormMain;
    TFormView& view = forms.FormView;
    TFormSetUp& setup = forms.FormSetUp;

    std::vector<std::string> played;
    std::vector<std::string> titles;
    std::string lastName;
    std::uint32_t lastPosition = 0;
    int tenths = 0;
};

inline std::string Sjis(const char* utf8) {
    return Utf8ToCp932(utf8);
}

} // namespace tobira::testing
