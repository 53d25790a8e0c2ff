// SPDX-License-Identifier: GPL-3.0-or-later
#include "media/output/sdl_audio_output.h"

#include "media/audio_engine.h"
#include "media/loaders/sdl_api.h"
#include "media/loaders/shared_library.h"

#include <alsa/asoundlib.h>

#include <algorithm>

namespace tobira {

namespace {

// libasound reports every failed probe of a machine without a sound card on stderr; the output
// that stands in says what matters instead.
void quietAlsa(const char*, int, const char*, int, const char*, ...) {}

// Silence for this long and the output rests (renders nothing) until the next play.
constexpr std::size_t kRestFrames = AudioEngine::kSampleRate / 2;

} // namespace

SdlAudioOutput::SdlAudioOutput(AudioEngine& engine) : SdlAudioOutput(engine, &Sdl) {}

SdlAudioOutput::SdlAudioOutput(AudioEngine& engine, std::function<const SdlApi&()> library)
    : engine_(engine), library_(std::move(library)) {}

SdlAudioOutput::~SdlAudioOutput() {
    close();
}

std::string SdlAudioOutput::name() const {
    return driver_.empty() ? "SDL2" : "SDL2 (" + driver_ + ")";
}

std::string SdlAudioOutput::open() {
    try {
        sdl_ = &library_();
    } catch (const LibraryError& e) {
        return e.what();
    }
    // SDL would turn SIGINT and SIGTERM into quit events that nobody reads here, leaving the
    // program deaf to them; Qt's default handling (end the process) is what a user expects.
    sdl_->SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    snd_lib_error_set_handler(&quietAlsa);
    if (sdl_->InitSubSystem(SDL_INIT_AUDIO) != 0)
        return sdl_->GetError();
    subsystem_ = true;
    SDL_AudioSpec want{};
    want.freq = AudioEngine::kSampleRate;
    want.format = AUDIO_F32SYS;
    want.channels = AudioEngine::kChannels;
    want.samples = static_cast<Uint16>(kBufferFrames);
    want.callback = &SdlAudioOutput::callback;
    want.userdata = this;
    SDL_AudioSpec have{};
    // No allowed changes: SDL converts to whatever the hardware wants, so the engine always
    // renders float stereo at its own rate and every device keeps exact time.
    const SDL_AudioDeviceID id = sdl_->OpenAudioDevice(nullptr, 0, &want, &have, 0);
    if (id == 0) {
        std::string reason = sdl_->GetError();
        close();
        return reason;
    }
    device_ = id;
    bufferFrames_ = have.samples;
    const char* name = sdl_->GetCurrentAudioDriver();
    driver_ = name ? name : "";
    // From here on SDL's thread pulls; the requests decide whether it renders or gives silence.
    sdl_->PauseAudioDevice(device_, 0);
    return {};
}

void SdlAudioOutput::play() {
    requests_.play();
}

void SdlAudioOutput::pause() {
    requests_.pause();
}

std::chrono::microseconds SdlAudioOutput::delay() const {
    return std::chrono::microseconds(std::int64_t{bufferFrames_} * 1'000'000 /
                                     AudioEngine::kSampleRate);
}

void SdlAudioOutput::close() {
    requests_.quit();
    if (device_ != 0) {
        sdl_->CloseAudioDevice(device_); // waits for a running callback to return
        device_ = 0;
    }
    if (subsystem_) {
        sdl_->QuitSubSystem(SDL_INIT_AUDIO);
        subsystem_ = false;
    }
}

void SdlAudioOutput::callback(void* self, std::uint8_t* stream, int bytes) {
    const auto frames = static_cast<std::size_t>(bytes) / (sizeof(float) * AudioEngine::kChannels);
    static_cast<SdlAudioOutput*>(self)->pull(reinterpret_cast<float*>(stream), frames);
}

void SdlAudioOutput::pull(float* out, std::size_t frames) {
    std::size_t done = 0;
    while (done < frames) {
        if (requests_.pending(seen_)) {
            const OutputRequests::Snapshot now = requests_.take();
            if (now.wakes != seen_.wakes) {
                idle_ = false;
                silentFrames_ = 0;
            }
            seen_ = now;
        }
        if (!seen_.playing || seen_.quit || idle_)
            break;
        const std::size_t step = std::min(kStepFrames, frames - done);
        engine_.render(out + done * AudioEngine::kChannels, step);
        done += step;
        silentFrames_ = engine_.sounding() ? 0 : silentFrames_ + step;
        idle_ = silentFrames_ >= kRestFrames;
    }
    std::fill(out + done * AudioEngine::kChannels, out + frames * AudioEngine::kChannels, 0.0f);
}

} // namespace tobira
