#pragma once
// The program's one sound output: SDL2 pulls float stereo at the engine's rate and the callback
// renders the audio engine straight into SDL's buffer.

#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <string>
#include <thread>

namespace tobira {

class AudioEngine;
struct SdlApi;

class SdlAudioOutput final {
  public:
    // Starts SDL's audio subsystem and opens the default output device, paused. When the default
    // driver cannot start or open (no sound card), falls back to the "dummy" driver, which
    // consumes sound at real time. When SDL2 itself cannot be loaded, a thread of our own
    // consumes the sound at real time instead. Throws DeviceError when SDL2 is there but even
    // its dummy driver fails. `library` gives SDL2's functions (tests pass a failing one). UI
    // thread.
    explicit SdlAudioOutput(AudioEngine& engine);
    SdlAudioOutput(AudioEngine& engine, const std::function<const SdlApi&()>& library);
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

    // The SDL driver in use ("pulseaudio", "alsa", "dummy", "disk", ...), or "none" without SDL2.
    const std::string& driverName() const { return driver_; }
    // True when the default driver failed and the dummy driver (or our own thread) stands in.
    bool isFallback() const { return fallback_; }
    // Frames per callback that SDL settled on.
    int bufferFrames() const { return bufferFrames_; }

  private:
    bool openDevice(std::string& reason);
    void closeAll();
    static void callback(void* userdata, std::uint8_t* stream, int len);
    void startSilentPump();
    void stopSilentPump();
    void silentPump();

    AudioEngine& engine_;
    const SdlApi* sdl_ = nullptr; // null: SDL2 could not be loaded
    bool subsystem_ = false;
    std::uint32_t device_ = 0; // SDL_AudioDeviceID; 0 = none
    bool running_ = false;
    bool idle_ = false;
    bool fallback_ = false;
    std::string driver_;
    int bufferFrames_ = 0;

    // Without SDL2: pulls the engine at real time and drops the sound.
    std::thread pump_;
    std::mutex pumpMutex_;
    std::condition_variable pumpWake_;
    bool pumpQuit_ = false;
};

} // namespace tobira
