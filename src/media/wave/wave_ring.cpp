// SPDX-License-Identifier: GPL-3.0-or-later
#include "media/wave/wave_ring.h"

#include "media/audio_engine.h"

#include <algorithm>

namespace tobira {

namespace {
constexpr std::size_t kChannels = AudioEngine::kChannels;
} // namespace

WaveRing::WaveRing(std::size_t frames) : capacity_(frames), samples_(frames * kChannels) {}

std::size_t WaveRing::room() const {
    return capacity_ - static_cast<std::size_t>(written_.load(std::memory_order_relaxed) -
                                                read_.load(std::memory_order_acquire));
}

std::size_t WaveRing::held() const {
    return static_cast<std::size_t>(written_.load(std::memory_order_acquire) -
                                    read_.load(std::memory_order_relaxed));
}

std::size_t WaveRing::write(const float* frames, std::size_t count) {
    count = std::min(count, room());
    const std::uint64_t at = written_.load(std::memory_order_relaxed);
    const std::size_t start = static_cast<std::size_t>(at % capacity_);
    const std::size_t first = std::min(count, capacity_ - start);
    std::copy(frames, frames + first * kChannels, samples_.begin() + start * kChannels);
    std::copy(frames + first * kChannels, frames + count * kChannels, samples_.begin());
    // Published only once the samples are in.
    written_.store(at + count, std::memory_order_release);
    return count;
}

std::size_t WaveRing::read(float* out, std::size_t count) {
    count = std::min(count, held());
    const std::uint64_t at = read_.load(std::memory_order_relaxed);
    const std::size_t start = static_cast<std::size_t>(at % capacity_);
    const std::size_t first = std::min(count, capacity_ - start);
    const float* from = samples_.data() + start * kChannels;
    std::copy(from, from + first * kChannels, out);
    std::copy(samples_.data(), samples_.data() + (count - first) * kChannels,
              out + first * kChannels);
    // The writer may reuse the room only once the samples are out.
    read_.store(at + count, std::memory_order_release);
    return count;
}

} // namespace tobira
