#include "media/wave/wave_device.h"

#include "media/wave/wave_file.h"
#include "text/cp932_convert.h"

#include <algorithm>
#include <utility>

namespace tobira {

namespace {

constexpr std::size_t kChannels = AudioEngine::kChannels;

std::uint32_t FramesToMs(std::size_t frames) {
    return static_cast<std::uint32_t>(static_cast<unsigned long long>(frames) * 1000 /
                                      AudioEngine::kSampleRate);
}

} // namespace

WaveDevice::WaveDevice(AudioEngine& engine) : engine_(engine) {
    engine_.attach(MixerLine::WaveOut, this);
}

WaveDevice::~WaveDevice() {
    engine_.attach(MixerLine::WaveOut, nullptr);
}

void WaveDevice::open() {
    close();
    // Read and convert outside the lock: the audio thread plays silence meanwhile.
    auto sound = std::make_shared<const Buffer>(LoadWaveFile(fileName()));
    std::lock_guard lock(mutex_);
    sound_ = std::move(sound);
    cursor_ = 0;
    state_ = DeviceMode::Stopped;
}

void WaveDevice::close() {
    std::shared_ptr<const Buffer> old;
    {
        std::lock_guard lock(mutex_);
        old = std::exchange(sound_, nullptr);
        cursor_ = 0;
        state_ = DeviceMode::NotReady;
    }
    // `old` is freed here, on this thread, never on the audio thread.
}

bool WaveDevice::isOpen() const {
    std::lock_guard lock(mutex_);
    return sound_ != nullptr;
}

void WaveDevice::requireOpen() const {
    if (!sound_)
        throw DeviceError(Utf8ToCp932("WAVE デバイスが開かれていません"));
}

std::size_t WaveDevice::frameCount() const {
    return sound_ ? sound_->size() / kChannels : 0;
}

void WaveDevice::play() {
    engine_.wake();
    std::lock_guard lock(mutex_);
    requireOpen();
    if (cursor_ >= frameCount())
        cursor_ = 0;
    state_ = DeviceMode::Playing;
}

void WaveDevice::stop() {
    std::lock_guard lock(mutex_);
    if (sound_)
        state_ = DeviceMode::Stopped;
}

void WaveDevice::pause() {
    std::lock_guard lock(mutex_);
    requireOpen();
    // Like a stopped wave player, one that has finished stays Stopped.
    if (state_ == DeviceMode::Playing)
        state_ = DeviceMode::Paused;
}

void WaveDevice::playFrom(std::uint32_t) {
    {
        std::lock_guard lock(mutex_);
        requireOpen();
    }
    throw DeviceError(Utf8ToCp932("WAVE デバイスは位置を指定した再生に対応していません"));
}

void WaveDevice::previous() {
    {
        std::lock_guard lock(mutex_);
        requireOpen();
    }
    throw DeviceError(Utf8ToCp932("WAVE デバイスは前の曲に対応していません"));
}

void WaveDevice::eject() {
    {
        std::lock_guard lock(mutex_);
        requireOpen();
    }
    throw DeviceError(Utf8ToCp932("WAVE デバイスはイジェクトに対応していません"));
}

DeviceMode WaveDevice::mode() const {
    std::lock_guard lock(mutex_);
    return state_;
}

int WaveDevice::tracks() const {
    std::lock_guard lock(mutex_);
    requireOpen();
    return 1;
}

std::uint32_t WaveDevice::trackLength(int) const {
    return length();
}

std::uint32_t WaveDevice::position() const {
    std::lock_guard lock(mutex_);
    requireOpen();
    return FramesToMs(cursor_);
}

std::uint32_t WaveDevice::length() const {
    std::lock_guard lock(mutex_);
    requireOpen();
    return FramesToMs(frameCount());
}

bool WaveDevice::sounding() const {
    std::lock_guard lock(mutex_);
    return state_ == DeviceMode::Playing;
}

void WaveDevice::renderAudio(float* out, std::size_t frames) {
    std::size_t done = 0;
    {
        std::lock_guard lock(mutex_);
        if (state_ == DeviceMode::Playing) {
            const std::size_t total = frameCount();
            done = std::min(frames, total - cursor_);
            const float* from = sound_->data() + cursor_ * kChannels;
            std::copy(from, from + done * kChannels, out);
            cursor_ += done;
            if (cursor_ >= total)
                state_ = DeviceMode::Stopped;
        }
    }
    std::fill(out + done * kChannels, out + frames * kChannels, 0.0f);
}

} // namespace tobira
