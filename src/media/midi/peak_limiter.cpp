// SPDX-License-Identifier: GPL-3.0-or-later
#include "media/midi/peak_limiter.h"

#include <algorithm>
#include <cmath>

namespace tobira {

PeakLimiter::PeakLimiter(int sampleRate)
    : recovery_(1.0f - static_cast<float>(std::exp(-1.0 / (0.2 * std::max(sampleRate, 1))))) {}

void PeakLimiter::process(float* frames, std::size_t count) {
    for (std::size_t i = 0; i < count; ++i) {
        float* frame = frames + 2 * i;
        const float peak = std::max(std::fabs(frame[0]), std::fabs(frame[1]));
        if (gain_ >= 1.0f && peak <= kCeiling)
            continue; // the usual case: nothing to do
        if (peak * gain_ > kCeiling)
            gain_ = kCeiling / peak;
        frame[0] *= gain_;
        frame[1] *= gain_;
        gain_ = std::min(1.0f, gain_ + (1.0f - gain_) * recovery_);
        if (gain_ > 0.99999f)
            gain_ = 1.0f;
    }
}

} // namespace tobira
