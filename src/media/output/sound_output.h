// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The program's sound output: picks the output (TOBIRA_AUDIO_OUTPUT = pulse, sdl or none;
// otherwise PulseAudio when a server answers, else SDL2, else the silent pump), hooks it to the
// engine's wake, pause, flush and volume changes, and keeps the music going when it fails: the
// silent pump stands in at once, the user is told once (naming the output and the reason), and
// the failed output is tried again at the next play after a stop. UI thread throughout; nothing
// here waits for a render, except opening and closing an output.

#include "media/output/audio_output.h"

#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

namespace tobira {

class AudioEngine;
class UiPostPort;
class UiWake;

enum class OutputKind { Pulse, Sdl, Silent };

class SoundOutput final {
  public:
    // Which outputs to try, in order, from TOBIRA_AUDIO_OUTPUT's value (empty or unknown: all).
    static std::vector<OutputKind> Choice(const char* environment);
    using Factory = std::function<std::unique_ptr<AudioOutput>(OutputKind)>;
    // The real outputs on `engine`.
    static Factory RealOutputs(AudioEngine& engine);

    // `tell` shows the user a message (code page 932). Sets the engine's wake, pause and flush
    // handlers; the destructor clears them.
    SoundOutput(AudioEngine& engine, UiPostPort& uiPost,
                std::function<void(const std::string&)> tell, std::vector<OutputKind> choice,
                Factory factory);
    ~SoundOutput();
    SoundOutput(const SoundOutput&) = delete;
    SoundOutput& operator=(const SoundOutput&) = delete;

    // Opens the first output of the choice that opens, awake. May wait for a sound server's
    // answer (bounded).
    void open();

    // The output in use.
    const AudioOutput& current() const { return *current_; }
    OutputKind currentKind() const { return currentKind_; }

  private:
    void wake();
    void failed();
    // Opens `kind`; on success it is current, playing as the engine does.
    bool tryOpen(OutputKind kind, std::string& reason);
    void standIn();

    AudioEngine& engine_;
    std::function<void(const std::string&)> tell_;
    std::vector<OutputKind> choice_;
    Factory factory_;
    std::unique_ptr<AudioOutput> current_;
    OutputKind currentKind_ = OutputKind::Silent;
    int listener_ = 0;
    bool playing_ = true; // the engine's last word: wake (true) or pause (false)
    bool stopped_ = true; // flushed since the last wake
    // The output that failed, to be tried again at the next play after a stop.
    bool broken_ = false;
    OutputKind brokenKind_ = OutputKind::Silent;
    int generation_ = 0;        // of the last output made
    int currentGeneration_ = 0; // of current_
    std::mutex failureMutex_;
    std::string failure_; // the reason, from the failing output's thread
    int failedGeneration_ = 0;
    std::unique_ptr<UiWake> failureWake_;
};

} // namespace tobira
