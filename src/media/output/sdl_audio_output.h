// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The sound output through SDL2, for systems without a PulseAudio server: SDL's own thread pulls
// one fixed buffer at a time and renders the engine into it in steps. SDL has no cork and no
// flush: a pause stops rendering and gives SDL silence, so the buffer SDL and its server still
// hold (one buffer, about 46 ms, plus the server's own) plays out or is lost; a flush can drop
// nothing at all. The device is opened once and never again.

#include "media/output/audio_output.h"
#include "media/output/output_requests.h"

#include <atomic>
#include <cstdint>
#include <functional>
#include <string>

namespace tobira {

class AudioEngine;
struct SdlApi;

class SdlAudioOutput final : public AudioOutput {
  public:
    static constexpr int kBufferFrames = 2048;

    explicit SdlAudioOutput(AudioEngine& engine);
    // `library` gives SDL2's functions (tests pass a failing one).
    SdlAudioOutput(AudioEngine& engine, std::function<const SdlApi&()> library);
    ~SdlAudioOutput() override;
    SdlAudioOutput(const SdlAudioOutput&) = delete;
    SdlAudioOutput& operator=(const SdlAudioOutput&) = delete;

    // "SDL2 (driver)".
    std::string name() const override;
    // Starts SDL's audio subsystem on its driver (SDL_AUDIODRIVER chooses another) and opens the
    // default device.
    std::string open() override;
    void play() override;
    void pause() override;
    void flush() override {}
    void volumeChanged() override {}
    std::chrono::microseconds delay() const override;
    // Waits for SDL's thread to end, which SDL lets drain two more buffers first: about three
    // buffers (140 ms), longer than the other outputs take.
    void close() override;

    // The SDL driver in use ("alsa", "pulseaudio", "dummy", "disk", ...).
    const std::string& driverName() const { return driver_; }
    // Frames per callback that SDL settled on.
    int bufferFrames() const { return bufferFrames_; }

  private:
    static void callback(void* self, std::uint8_t* stream, int bytes);
    void pull(float* out, std::size_t frames);

    AudioEngine& engine_;
    std::function<const SdlApi&()> library_;
    const SdlApi* sdl_ = nullptr;
    bool subsystem_ = false;
    std::uint32_t device_ = 0; // SDL_AudioDeviceID; 0 = none
    std::string driver_;
    int bufferFrames_ = 0;
    OutputRequests requests_;

    // SDL's audio thread only.
    OutputRequests::Snapshot seen_;
    bool idle_ = false;
    std::size_t silentFrames_ = 0;
};

} // namespace tobira
