#pragma once
// The program's one sound output: SDL2 pulls float stereo at the engine's rate and the callback
// renders the audio engine straight into SDL's buffer.

#include <cstdint>
#include <string>

namespace tobira {

class AudioEngine;

class SdlAudioOutput final {
  public:
    // Starts SDL's audio subsystem and opens the default output device, paused. When the default
    // driver cannot start or open (no sound card), falls back to the "dummy" driver, which
    // consumes sound at real time. Throws DeviceError when even that fails. UI thread.
    explicit SdlAudioOutput(AudioEngine& engine);
    ~SdlAudioOutput();
    SdlAudioOutput(const SdlAudioOutput&) = delete;
    SdlAudioOutput& operator=(const SdlAudioOutput&) = delete;

    // Begin and end pulling sound from the engine. stop() returns once the callback is no longer
    // running, so the engine's sources may then be changed freely.
    void start();
    void stop();
    bool isRunning() const { return running_; }
    // While idle the device is closed: even a paused SDL device wakes its thread for every
    // buffer. Leaving idle opens it again and the engine is pulled from the first buffer on;
    // when it cannot be opened, the output stays idle till the next call. UI thread.
    void setIdle(bool idle);
    bool isIdle() const { return idle_; }

    // The SDL driver in use ("pulseaudio", "alsa", "dummy", "disk", ...).
    const std::string& driverName() const { return driver_; }
    // True when the default driver failed and the dummy driver stands in.
    bool isFallback() const { return fallback_; }
    // Frames per callback that SDL settled on.
    int bufferFrames() const { return bufferFrames_; }

  private:
    bool openDevice(std::string& reason);
    void closeAll();
    static void callback(void* userdata, std::uint8_t* stream, int len);

    AudioEngine& engine_;
    bool subsystem_ = false;
    std::uint32_t device_ = 0; // SDL_AudioDeviceID; 0 = none
    bool running_ = false;
    bool idle_ = false;
    bool fallback_ = false;
    std::string driver_;
    int bufferFrames_ = 0;
};

} // namespace tobira
