#include "media/output/sdl_audio_output.h"

#include "media/audio_engine.h"
#include "media/media_device.h"
#include "media/loaders/sdl_api.h"
#include "media/loaders/shared_library.h"
#include "ports/ports.h"
#include "text/cp932_convert.h"

#include <alsa/asoundlib.h>

#include <chrono>
#include <cstdio>
#include <vector>

namespace tobira {

namespace {

// libasound reports every failed probe of a machine without a sound card on stderr; the one
// line below says what matters instead.
void quietAlsa(const char*, int, const char*, int, const char*, ...) {}

} // namespace

SdlAudioOutput::SdlAudioOutput(AudioEngine& engine) : SdlAudioOutput(engine, &Sdl) {}

SdlAudioOutput::SdlAudioOutput(AudioEngine& engine, const std::function<const SdlApi&()>& library)
    : engine_(engine) {
    listener_ = engine_.addControlListener([this](MixerLine, MixerChange what) {
        if (what == MixerChange::Source)
            return;
        if (!judgement_) {
            volumeChanged();
            return;
        }
        moved_ = true;
        judgement_->raise();
    });
    try {
        sdl_ = &library();
    } catch (const LibraryError& e) {
        fallback_ = true;
        driver_ = "none";
        bufferFrames_ = kCalmBufferFrames;
        std::fprintf(stderr, "TOBIRA: no sound output found (%s); playing silently\n", e.what());
        return;
    }
    // SDL would turn SIGINT and SIGTERM into quit events that nobody reads here, leaving the
    // program deaf to them; Qt's default handling (end the process) is what a user expects.
    sdl_->SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    snd_lib_error_set_handler(&quietAlsa);
    std::string reason;
    if (sdl_->InitSubSystem(SDL_INIT_AUDIO) == 0) {
        subsystem_ = true;
        if (openDevice(reason))
            return;
        sdl_->QuitSubSystem(SDL_INIT_AUDIO);
        subsystem_ = false;
    } else {
        reason = sdl_->GetError();
    }

    // No usable sound device (a headless machine, ALSA without a card): keep the program
    // running on the dummy driver, which consumes the sound at real time so that every device
    // still keeps its clock. The override beats SDL_AUDIODRIVER from the environment; it is
    // dropped again at once so that it does not linger as global state.
    sdl_->SetHintWithPriority(SDL_HINT_AUDIODRIVER, "dummy", SDL_HINT_OVERRIDE);
    const bool up = sdl_->InitSubSystem(SDL_INIT_AUDIO) == 0;
    sdl_->ResetHint(SDL_HINT_AUDIODRIVER);
    std::string fallbackReason;
    if (up) {
        subsystem_ = true;
        fallback_ = true;
        if (openDevice(fallbackReason)) {
            std::fprintf(stderr, "TOBIRA: no sound output found (%s); playing silently\n",
                         reason.c_str());
            return;
        }
    } else {
        fallbackReason = sdl_->GetError();
    }
    closeAll();
    engine_.removeControlListener(listener_);
    throw DeviceError(Utf8ToCp932("音声出力を開けません: " + reason + " / " + fallbackReason));
}

SdlAudioOutput::~SdlAudioOutput() {
    engine_.removeControlListener(listener_);
    closeAll();
}

bool SdlAudioOutput::openDevice(std::string& reason) {
    SDL_AudioSpec want{};
    want.freq = AudioEngine::kSampleRate;
    want.format = AUDIO_F32SYS;
    want.channels = AudioEngine::kChannels;
    want.samples = static_cast<Uint16>(quick_ ? kQuickBufferFrames : kCalmBufferFrames);
    want.callback = &SdlAudioOutput::callback;
    want.userdata = this;
    SDL_AudioSpec have{};
    // No allowed changes: SDL converts to whatever the hardware wants, so the engine always
    // renders float stereo at its own rate and every device keeps exact time.
    const SDL_AudioDeviceID id = sdl_->OpenAudioDevice(nullptr, 0, &want, &have, 0);
    if (id == 0) {
        reason = sdl_->GetError();
        return false;
    }
    device_ = id;
    bufferFrames_ = have.samples;
    const char* name = sdl_->GetCurrentAudioDriver();
    driver_ = name ? name : "";
    return true;
}

void SdlAudioOutput::closeAll() {
    stopSilentPump();
    if (device_ != 0) {
        sdl_->CloseAudioDevice(device_); // waits for a running callback to return
        device_ = 0;
    }
    running_ = false;
    if (subsystem_) {
        sdl_->QuitSubSystem(SDL_INIT_AUDIO);
        subsystem_ = false;
    }
}

void SdlAudioOutput::start() {
    if (!sdl_ && !running_) {
        running_ = true;
        if (!idle_)
            startSilentPump();
        return;
    }
    if (!subsystem_ || running_)
        return;
    running_ = true;
    if (device_ != 0)
        sdl_->PauseAudioDevice(device_, 0);
}

void SdlAudioOutput::setIdle(bool idle) {
    if (!idle && judgement_) {
        woken_ = true;
        judgement_->raise();
    }
    if (!sdl_ && idle_ != idle) {
        idle_ = idle;
        if (idle)
            stopSilentPump();
        else if (running_)
            startSilentPump();
        return;
    }
    if (idle_ == idle || !subsystem_)
        return;
    if (idle) {
        if (device_ != 0) {
            sdl_->CloseAudioDevice(device_);
            device_ = 0;
        }
        idle_ = true;
        quick_ = false;
        return;
    }
    std::string reason;
    if (!openDevice(reason)) {
        std::fprintf(stderr, "TOBIRA: sound output cannot be opened again (%s)\n", reason.c_str());
        return;
    }
    idle_ = false;
    if (running_)
        sdl_->PauseAudioDevice(device_, 0);
}

void SdlAudioOutput::flush() {
    if (!sdl_ || device_ == 0)
        return;
    quick_ = false;
    if (engine_.sounding()) {
        reopen();
        return;
    }
    sdl_->CloseAudioDevice(device_);
    device_ = 0;
    idle_ = true;
}

void SdlAudioOutput::judgeVolumesAfterEvents(UiPostPort& uiPost) {
    judgement_ = uiPost.makeWake([this] { judge(); });
}

void SdlAudioOutput::judge() {
    if (moved_ && !woken_)
        volumeChanged();
    moved_ = woken_ = false;
}

void SdlAudioOutput::volumeChanged() {
    if (!sdl_ || device_ == 0 || quick_ || !running_)
        return;
    quick_ = true;
    reopen();
}

void SdlAudioOutput::reopen() {
    // SDL offers no flush: closing the stream is what drops the sound the server still holds.
    sdl_->CloseAudioDevice(device_);
    device_ = 0;
    std::string reason;
    if (!openDevice(reason)) {
        std::fprintf(stderr, "TOBIRA: sound output cannot be opened again (%s)\n", reason.c_str());
        idle_ = true;
        return;
    }
    if (running_)
        sdl_->PauseAudioDevice(device_, 0);
}

void SdlAudioOutput::stop() {
    stopSilentPump();
    if (device_ == 0 || !running_) {
        running_ = false;
        return;
    }
    sdl_->PauseAudioDevice(device_, 1);
    // Pausing takes the device lock, which SDL holds around each callback: once it returns, no
    // callback is running any more.
    sdl_->LockAudioDevice(device_);
    sdl_->UnlockAudioDevice(device_);
    running_ = false;
}

void SdlAudioOutput::callback(void* userdata, std::uint8_t* stream, int len) {
    auto* self = static_cast<SdlAudioOutput*>(userdata);
    const auto frames = static_cast<std::size_t>(len) / (sizeof(float) * AudioEngine::kChannels);
    self->engine_.render(reinterpret_cast<float*>(stream), frames);
}

void SdlAudioOutput::startSilentPump() {
    if (pump_.joinable())
        return;
    pumpQuit_ = false;
    pump_ = std::thread([this] { silentPump(); });
}

void SdlAudioOutput::stopSilentPump() {
    if (!pump_.joinable())
        return;
    {
        std::lock_guard lock(pumpMutex_);
        pumpQuit_ = true;
    }
    pumpWake_.notify_all();
    pump_.join(); // no render call is running once it returns
}

void SdlAudioOutput::silentPump() {
    constexpr int kBufferFrames = kCalmBufferFrames;
    std::vector<float> scratch(static_cast<std::size_t>(kBufferFrames) * AudioEngine::kChannels);
    // A whole number of microseconds per buffer would drift; the deadline is counted in frames.
    const auto begin = std::chrono::steady_clock::now();
    std::uint64_t frames = 0;
    std::unique_lock lock(pumpMutex_);
    while (!pumpQuit_) {
        lock.unlock();
        engine_.render(scratch.data(), kBufferFrames);
        frames += kBufferFrames;
        lock.lock();
        const auto due =
            begin + std::chrono::microseconds(frames * 1000000 / AudioEngine::kSampleRate);
        pumpWake_.wait_until(lock, due, [this] { return pumpQuit_; });
    }
}

} // namespace tobira
