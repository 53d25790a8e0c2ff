// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "app/form_set.h"
#include "app/qt/qt_ports.h"
#include "app/seeded_random.h"
#include "forms/views/view_hub.h"
#include "forms/views/worker_wait.h"
#include "controls/mixer_ctrl.h"
#include "media/audio_engine.h"
#include "settings/ini_file.h"

#include <QTimer>

#include <filesystem>
#include <functional>
#include <memory>
#include <optional>

namespace tobira {

class CdDevice;
class MidiDevice;
class AlsaSequencerDevice;
class MidiOutputSelector;
class WaveDevice;
class SoundOutput;
class FormWidget;
class MediaSetupDevices;
class MprisService;
class PlayerRemote;
struct OpenArguments;

// Runs `then` once, just after the first paint of the widget it watches.
class FirstPaintWatch final : public QObject {
  public:
    explicit FirstPaintWatch(std::function<void()> then) : then_(std::move(then)) {}
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    std::function<void()> then_;
    bool seen_ = false;
};

// Everything the running program is made of, built and wired in one place: the ports, the
// audio engine and its output, the three devices, the eleven windows and their views.
class Program final {
  public:
    explicit Program(const std::filesystem::path& folder);
    ~Program();
    Program(const Program&) = delete;
    Program& operator=(const Program&) = delete;

    // Creates the windows in their order and shows the main window. Throws when a window cannot
    // be created (the CD device that cannot be opened). The other windows' views and the
    // desktop's remote control follow once the main window is on the screen: a user sees the
    // player sooner, and nothing can reach those windows before then.
    void start();

    // Plays the files named on the command line, as dropped files play.
    void openFiles(const OpenArguments& files);

    // Closes the main window as its close button does, which ends the program.
    void closeMainWindow();

  private:
    // The second half of start(); runs once, also when a modal window is wanted before then.
    void completeStart();

    // The one read of the settings file at the start: the devices' settings in the construction,
    // every window's in start(); let go of once the windows are made.
    std::optional<IniSnapshot> startSettings_;
    // The UI thread's wait for a long read on a worker, and what holds back during it.
    WorkerWait workerWait_;
    QtPorts qtPorts_{workerWait_};
    SeededRandom random_;
    Ports ports_;
    AudioEngine engine_;
    TMixerCtrl mixer_{&engine_};
    std::unique_ptr<SoundOutput> output_;
    std::unique_ptr<CdDevice> cd_;
    std::unique_ptr<MidiDevice> midi_;
#if TOBIRA_HAS_ALSA_SEQUENCER
    std::unique_ptr<AlsaSequencerDevice> sequencer_;
#endif
    // What the player drives as its MIDI device: one of the two above, by MIDIOUT; none in a
    // build without the sequencer.
    std::unique_ptr<MidiOutputSelector> midiOut_;
    std::unique_ptr<WaveDevice> wave_;
    std::unique_ptr<FormSet> forms_;
    std::unique_ptr<MediaSetupDevices> setupDevices_;
    ViewHub hub_{workerWait_};
    std::vector<std::unique_ptr<FormWidget>> views_;
    // The desktop's remote control, on the session bus when there is one.
    std::unique_ptr<PlayerRemote> remote_;
#if TOBIRA_HAS_MPRIS
    std::unique_ptr<MprisService> mpris_;
#endif
    FirstPaintWatch firstPaint_{[this] { completeStart(); }};
    bool complete_ = false;
};

} // namespace tobira
