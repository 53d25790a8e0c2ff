// SPDX-License-Identifier: GPL-3.0-or-later
#include "media/audio_engine.h"

#include <algorithm>
#include <utility>

namespace tobira {

AudioEngine::AudioEngine() {
    for (auto& line : lines_)
        for (auto& channel : line.volume)
            channel.store(kFullVolume);
}

void AudioEngine::attach(MixerLine line, AudioSource* source) {
    if (line == MixerLine::Speakers)
        return;
    AudioSource* before;
    {
        std::lock_guard lock(sourcesMutex_);
        before = std::exchange(sources_[static_cast<int>(line)], source);
    }
    if (before != source)
        changed(line, MixerChange::Source);
}

void AudioEngine::render(float* out, std::size_t frames) {
    const std::size_t samples = frames * kChannels;
    if (scratch_.size() < samples * kMixerLineCount)
        scratch_.resize(samples * kMixerLineCount);
    LineBuffers lines{};
    ConstLineBuffers mixed{};
    for (int index = 1; index < kMixerLineCount; ++index)
        mixed[index] = lines[index] = scratch_.data() + samples * index;
    renderLines(lines, frames);
    mixLines(mixed, out, frames);
}

void AudioEngine::renderLines(const LineBuffers& lines, std::size_t frames) {
    const std::size_t samples = frames * kChannels;
    bool sounding = false;
    bool waiting = false;
    bool giving = false; // a source sounds that is not waiting
    std::lock_guard lock(sourcesMutex_);
    for (int index = 1; index < kMixerLineCount; ++index) {
        AudioSource* source = sources_[index];
        if (!source) {
            std::fill(lines[index], lines[index] + samples, 0.0f);
            continue;
        }
        // A muted line still renders, so that its device keeps time.
        source->renderAudio(lines[index], frames);
        const bool sounds = source->sounding();
        const bool waits = sounds && source->waiting();
        sounding = sounds || sounding;
        waiting = waits || waiting;
        giving = (sounds && !waits) || giving;
    }
    sounding_.store(sounding, std::memory_order_release);
    waiting_ = waiting && !giving;
}

void AudioEngine::mixLines(const ConstLineBuffers& lines, float* out, std::size_t frames) const {
    const std::size_t samples = frames * kChannels;
    std::fill(out, out + samples, 0.0f);
    const Line& master = lines_[static_cast<int>(MixerLine::Speakers)];
    const bool masterMute = master.mute.load(std::memory_order_relaxed);
    for (int index = 1; index < kMixerLineCount; ++index) {
        const Line& line = lines_[index];
        if (line.mute.load(std::memory_order_relaxed) || masterMute)
            continue;
        float gain[kChannels];
        for (int c = 0; c < kChannels; ++c)
            gain[c] = static_cast<float>(line.volume[c].load(std::memory_order_relaxed)) *
                      static_cast<float>(master.volume[c].load(std::memory_order_relaxed)) /
                      (65535.0f * 65535.0f);
        const float* in = lines[index];
        for (std::size_t i = 0; i < samples; i += kChannels)
            for (int c = 0; c < kChannels; ++c)
                out[i + c] += in[i + c] * gain[c];
    }
    for (std::size_t i = 0; i < samples; ++i)
        out[i] = std::clamp(out[i], -1.0f, 1.0f);
}

void AudioEngine::wake() {
    sounding_.store(true, std::memory_order_release);
    if (wakeHandler_)
        wakeHandler_();
}

void AudioEngine::flush() {
    if (flushHandler_)
        flushHandler_();
}

void AudioEngine::pause() {
    if (pauseHandler_)
        pauseHandler_();
}

std::vector<float> AudioEngine::render(std::size_t frames) {
    std::vector<float> out(frames * kChannels);
    render(out.data(), frames);
    return out;
}

std::uint16_t AudioEngine::volume(MixerLine line, int channel) const {
    if (channel < 0 || channel >= kChannels)
        return 0;
    return lines_[static_cast<int>(line)].volume[channel].load();
}

void AudioEngine::setVolume(MixerLine line, int channel, std::uint16_t value) {
    if (channel < 0 || channel >= kChannels)
        return;
    if (lines_[static_cast<int>(line)].volume[channel].exchange(value) != value)
        changed(line, MixerChange::Volume);
}

void AudioEngine::setLineVolume(MixerLine line, std::uint16_t value) {
    bool differs = false;
    for (auto& channel : lines_[static_cast<int>(line)].volume)
        differs = channel.exchange(value) != value || differs;
    if (differs)
        changed(line, MixerChange::Volume);
}

bool AudioEngine::mute(MixerLine line) const {
    return lines_[static_cast<int>(line)].mute.load();
}

void AudioEngine::setMute(MixerLine line, bool on) {
    if (lines_[static_cast<int>(line)].mute.exchange(on) != on)
        changed(line, MixerChange::Mute);
}

int AudioEngine::addControlListener(std::function<void(MixerLine)> listener) {
    return addControlListener([listener = std::move(listener)](MixerLine line, MixerChange what) {
        if (what != MixerChange::Source)
            listener(line);
    });
}

int AudioEngine::addControlListener(std::function<void(MixerLine, MixerChange)> listener) {
    listeners_.emplace_back(nextListenerId_, std::move(listener));
    return nextListenerId_++;
}

void AudioEngine::removeControlListener(int id) {
    std::erase_if(listeners_, [id](const auto& entry) { return entry.first == id; });
}

void AudioEngine::changed(MixerLine line, MixerChange what) {
    // Copy first: a listener may add or remove listeners.
    auto listeners = listeners_;
    for (auto& [id, listener] : listeners)
        listener(line, what);
}

} // namespace tobira
