// SPDX-License-Identifier: GPL-3.0-or-later
#include "media/cd/cd_audio_ring.h"

#include <algorithm>

namespace tobira {

namespace {
constexpr std::size_t kChannels = 2;
}

CdAudioRing::CdAudioRing(std::size_t capacityFrames)
    : samples_(new float[capacityFrames * kChannels]), capacityFrames_(capacityFrames) {}

std::size_t CdAudioRing::write(const float* frames, std::size_t count) {
    count = std::min(count, space());
    std::size_t tail = (head_ + size_) % capacityFrames_;
    std::size_t done = 0;
    while (done < count) {
        const std::size_t run = std::min(count - done, capacityFrames_ - tail);
        std::copy_n(frames + done * kChannels, run * kChannels, samples_.get() + tail * kChannels);
        done += run;
        tail = (tail + run) % capacityFrames_;
    }
    size_ += count;
    return count;
}

std::size_t CdAudioRing::read(float* out, std::size_t count) {
    count = std::min(count, size_);
    std::size_t done = 0;
    while (done < count) {
        const std::size_t run = std::min(count - done, capacityFrames_ - head_);
        std::copy_n(samples_.get() + head_ * kChannels, run * kChannels, out + done * kChannels);
        done += run;
        head_ = (head_ + run) % capacityFrames_;
    }
    size_ -= count;
    return count;
}

void CdAudioRing::clear() {
    head_ = 0;
    size_ = 0;
}

} // namespace tobira
