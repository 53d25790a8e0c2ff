#pragma once
// The program's one sound output: SDL2 pulls float stereo at the engine's rate and the callback
// renders the audio engine straight into SDL's buffer.

#include <condition_variable>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>

namespace tobira {

class AudioEngine;
class UiPostPort;
class UiWake;
struct SdlApi;

class SdlAudioOutput final {
  public:
    // Frames per buffer. While only steady sound plays, the sound server gets about 370 ms at
    // a time: SDL's PulseAudio client thread then wakes some ten to twenty times a second
    // instead of three hundred. Once a volume or mute changes, something waits on the sound:
    // the device is opened again with about 90 ms (dropping what it held), so that every
    // further change is heard at once, until the next flush or rest.
    static constexpr int kCalmBufferFrames = 16384;
    static constexpr int kQuickBufferFrames = 4096;

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
    // Volume changes are then judged once the UI event that made them has ended: one that came
    // with a play (a song's own volume, the CD volume set as a disc starts) leaves the device
    // calm; only one on its own (the user's) makes it quick. Without it, every change does.
    void judgeVolumesAfterEvents(UiPostPort& uiPost);
    // Drops what the device and the sound server still hold (AudioEngine::flush: a stop or a
    // pause). The device opens again at once, calm, while the engine still sounds (the tail of
    // released notes); otherwise it rests until the next wake. UI thread.
    void flush();

    // The SDL driver in use ("pulseaudio", "alsa", "dummy", "disk", ...), or "none" without SDL2.
    const std::string& driverName() const { return driver_; }
    // True when the default driver failed and the dummy driver (or our own thread) stands in.
    bool isFallback() const { return fallback_; }
    // Frames per callback that SDL settled on.
    int bufferFrames() const { return bufferFrames_; }

  private:
    bool openDevice(std::string& reason);
    // Closes the device, which drops the sound it holds, and opens it again with the buffer
    // `quick_` asks for; rests (idle) when that fails.
    void reopen();
    // A volume or mute changed on its own: reopens the device quick.
    void volumeChanged();
    void judge();
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
    bool quick_ = false;
    int listener_ = 0; // the engine's control listener
    // Since the last judgement: a volume moved, the output was woken.
    bool moved_ = false;
    bool woken_ = false;
    std::unique_ptr<UiWake> judgement_;
    std::string driver_;
    int bufferFrames_ = 0;

    // Without SDL2: pulls the engine at real time and drops the sound.
    std::thread pump_;
    std::mutex pumpMutex_;
    std::condition_variable pumpWake_;
    bool pumpQuit_ = false;
};

} // namespace tobira
