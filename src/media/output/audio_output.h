// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What every sound output offers the program. An output has a thread of its own that renders
// the audio engine (in steps of kStepFrames, so that a request acts between two steps) and
// hands the sound to the sound server; the UI thread only asks, and never waits for a render.
//
// The contract, call by call (UI thread unless said otherwise):
//   open()          once, first. Connects to the server and makes the stream, paused; may wait
//                   for the server's answer (bounded: a server that does not answer within a
//                   second or two counts as failed). Gives the reason when it fails; the output
//                   is then closed and only the destructor may follow.
//   play()          starts or resumes pulling; also leaves a rest the output took by itself
//                   while the engine had nothing to sound (AudioEngine::sounding). Never blocks.
//   pause()         stops pulling and holds what was handed on, to be heard from the same
//                   frame at the next play(). Never blocks.
//   flush()         drops what was handed on and not yet heard; pulling goes on if playing.
//                   Never blocks.
//   volumeChanged() a line volume or mute changed: what is held should be heard with it as
//                   soon as the output can. Never blocks.
//   delay()         how long until sound handed on now is heard; a value the output thread
//                   publishes. Any thread, never blocks.
//   close()         (also the destructor) ends the output thread and disconnects; returns
//                   within a render step and a server round trip, even mid-song. The engine is
//                   no longer rendered once it returns.
// Any of play, pause, flush and volumeChanged may come at any moment, also while the output
// thread renders; a pause or flush that follows a play acts on everything handed on before it.
// When the device fails after open (the server gone, the device unplugged), the output stops
// pulling and calls the failure handler once, on its own thread, with the reason: the handler
// must only post it to the UI thread.

#include <chrono>
#include <cstddef>
#include <functional>
#include <string>

namespace tobira {

class AudioOutput {
  public:
    static constexpr std::size_t kStepFrames = 512;

    virtual ~AudioOutput() = default;

    // The output's name as the user knows it ("PulseAudio", "SDL2 (alsa)", ...).
    virtual std::string name() const = 0;
    // Empty when open, else why not (plain ASCII or UTF-8).
    virtual std::string open() = 0;
    virtual void play() = 0;
    virtual void pause() = 0;
    virtual void flush() = 0;
    virtual void volumeChanged() = 0;
    virtual std::chrono::microseconds delay() const = 0;
    virtual void close() = 0;

    // Set before open().
    void setFailureHandler(std::function<void(const std::string&)> handler) {
        failed_ = std::move(handler);
    }

  protected:
    void fail(const std::string& reason) const {
        if (failed_)
            failed_(reason);
    }

  private:
    std::function<void(const std::string&)> failed_;
};

} // namespace tobira
