// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The sound output on a PulseAudio server, or PipeWire answering its protocol: one playback
// stream of float stereo at the engine's rate, served from libpulse's threaded main loop, whose
// thread renders the engine. A large server buffer keeps that thread's wake-ups few; a pause
// corks the stream, so the server keeps what it holds and goes on from the same frame; a flush
// drops it. A volume change mixes the sound the server holds again, from the lines the output
// kept, and writes it over the old: heard at once, nothing lost or played twice.

#include "media/output/audio_output.h"
#include "media/output/line_history.h"
#include "media/output/output_requests.h"

#include <atomic>
#include <functional>
#include <mutex>
#include <string>
#include <vector>

struct pa_threaded_mainloop;
struct pa_context;
struct pa_stream;
struct pa_io_event;
struct pa_time_event;

namespace tobira {

class AudioEngine;
struct PulseApi;

class PulseAudioOutput final : public AudioOutput {
  public:
    // The server buffer, and how much of it is asked for at a time.
    // Measured on PulseAudio 16 with a null sink: about 8 wake-ups a second, the server granting
    // about 325 ms of the 400.
    static constexpr int kBufferMs = 400;
    static constexpr int kRequestMs = 125;

    explicit PulseAudioOutput(AudioEngine& engine);
    // `library` gives libpulse's functions (tests pass a failing one).
    PulseAudioOutput(AudioEngine& engine, std::function<const PulseApi&()> library);
    ~PulseAudioOutput() override;
    PulseAudioOutput(const PulseAudioOutput&) = delete;
    PulseAudioOutput& operator=(const PulseAudioOutput&) = delete;

    std::string name() const override { return "PulseAudio"; }
    std::string open() override;
    void play() override;
    void pause() override;
    void flush() override;
    void volumeChanged() override;
    std::chrono::microseconds delay() const override;
    void close() override;

  private:
    // Waits (lock held) until `done` or the open's deadline; false on the deadline or failure.
    template <typename Done> bool awaitServer(Done done);
    std::string serverReason() const;
    void poke();

    // libpulse's callbacks, on the main loop's thread with its lock held, as is all below.
    struct Callbacks;
    friend struct Callbacks;
    void serve();
    void fill();
    void rewrite();
    void cork(bool on);
    void retryLater();
    void stateChanged();

    AudioEngine& engine_;
    std::function<const PulseApi&()> library_;
    const PulseApi* pa_ = nullptr;
    pa_threaded_mainloop* loop_ = nullptr;
    pa_context* context_ = nullptr;
    pa_stream* stream_ = nullptr;
    pa_io_event* requestsEvent_ = nullptr;
    pa_time_event* deadline_ = nullptr;
    pa_time_event* retry_ = nullptr; // a fill again while a source waits for its first sound
    int requestsFd_ = -1;            // an eventfd: the UI thread's requests wake the main loop
    OutputRequests requests_;
    std::size_t bufferFrames_ = 0; // what the server keeps, set by open()
    std::atomic<bool> closing_{false};

    // The main loop's thread only (and open() before the stream plays).
    bool timedOut_ = false;
    bool dead_ = false;
    bool corked_ = true;
    bool idle_ = false;
    bool starting_ = true; // the server holds nothing of ours: it waits for the first sound
    OutputRequests::Snapshot seen_;
    std::size_t silentFrames_ = 0;
    std::size_t idleFrames_ = 0;
    LineHistory history_;
    std::vector<float> mixed_;
    // Rendered (and kept in the history) beyond the last request, handed on with the next.
    std::vector<float> carry_;
    std::size_t carried_ = 0;
};

} // namespace tobira
