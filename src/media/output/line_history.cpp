// SPDX-License-Identifier: GPL-3.0-or-later
#include "media/output/line_history.h"

#include <algorithm>

namespace tobira {

namespace {

constexpr std::size_t kSourceLines = kMixerLineCount - 1;

} // namespace

void LineHistory::reset(std::size_t frames, std::size_t stepFrames) {
    step_ = stepFrames;
    slots_ = (frames + step_ - 1) / step_ + 1;
    ring_.assign(slots_ * step_ * AudioEngine::kChannels * kSourceLines, 0.0f);
    head_ = kept_ = 0;
}

const float* LineHistory::at(int line, std::size_t slot) const {
    const std::size_t stepSamples = step_ * AudioEngine::kChannels;
    return ring_.data() + (slot * kSourceLines + static_cast<std::size_t>(line - 1)) * stepSamples;
}

LineBuffers LineHistory::next() {
    LineBuffers lines{};
    float* slot = ring_.data() + head_ * kSourceLines * step_ * AudioEngine::kChannels;
    for (int line = 1; line < kMixerLineCount; ++line)
        lines[line] = slot + static_cast<std::size_t>(line - 1) * step_ * AudioEngine::kChannels;
    return lines;
}

void LineHistory::commit() {
    head_ = (head_ + 1) % slots_;
    kept_ = std::min(kept_ + 1, slots_ - 1);
}

std::size_t LineHistory::mixLast(const AudioEngine& engine, std::size_t frames, float* out) const {
    const std::size_t steps = std::min((frames + step_ - 1) / step_, kept_);
    for (std::size_t i = 0; i < steps; ++i) {
        const std::size_t slot = (head_ + slots_ - steps + i) % slots_;
        ConstLineBuffers lines{};
        for (int line = 1; line < kMixerLineCount; ++line)
            lines[line] = at(line, slot);
        engine.mixLines(lines, out + i * step_ * AudioEngine::kChannels, step_);
    }
    return steps * step_;
}

} // namespace tobira
