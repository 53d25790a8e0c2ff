// SPDX-License-Identifier: GPL-3.0-or-later
#include "media/wave/wave_resampler.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace tobira {

namespace {

constexpr int kHalfTaps = 16; // input frames on each side of an output frame
constexpr int kPhases = 128;  // kernel points per input frame, interpolated between

} // namespace

WaveResampler::WaveResampler(int fromRate, int toRate) : from_(fromRate), to_(toRate) {
    if (from_ == to_)
        return;
    // Cut off at the lower of the two Nyquist frequencies.
    const double cutoff = std::min(1.0, static_cast<double>(to_) / from_);
    table_.resize(2 * kHalfTaps * kPhases + 2);
    for (std::size_t i = 0; i < table_.size(); ++i) {
        const double x = static_cast<double>(i) / kPhases - kHalfTaps;
        const double t = std::min(1.0, std::abs(x) / kHalfTaps);
        const double blackman =
            0.42 + 0.5 * std::cos(std::numbers::pi * t) + 0.08 * std::cos(2 * std::numbers::pi * t);
        const double arg = std::numbers::pi * cutoff * x;
        const double sinc = x == 0.0 ? 1.0 : std::sin(arg) / arg;
        table_[i] = static_cast<float>(cutoff * sinc * blackman);
    }
}

std::uint64_t WaveResampler::OutputFrames(std::uint64_t frames, int fromRate, int toRate) {
    const auto from = static_cast<std::uint64_t>(fromRate);
    return (frames * static_cast<std::uint64_t>(toRate) + from - 1) / from;
}

void WaveResampler::push(const float* frames, std::size_t count) {
    input_.insert(input_.end(), frames, frames + 2 * count);
    pushed_ += count;
}

void WaveResampler::finish() {
    finished_ = true;
}

bool WaveResampler::done() const {
    return finished_ && produced_ >= OutputFrames(pushed_, from_, to_);
}

void WaveResampler::dropUsed(std::uint64_t firstNeeded) {
    // Moved down only now and then, so that pushing stays cheap.
    firstNeeded = std::min(firstNeeded, pushed_);
    if (firstNeeded <= inputStart_)
        return;
    const std::uint64_t used = firstNeeded - inputStart_;
    if (used * 2 < input_.size() / 2)
        return;
    input_.erase(input_.begin(), input_.begin() + static_cast<std::ptrdiff_t>(2 * used));
    inputStart_ += used;
}

std::size_t WaveResampler::pullSame(float* out, std::size_t count) {
    const std::size_t n = std::min<std::uint64_t>(count, pushed_ - produced_);
    const auto at = static_cast<std::ptrdiff_t>(2 * (produced_ - inputStart_));
    std::copy(input_.begin() + at, input_.begin() + at + static_cast<std::ptrdiff_t>(2 * n), out);
    produced_ += n;
    dropUsed(produced_);
    return n;
}

std::size_t WaveResampler::pull(float* out, std::size_t count) {
    if (from_ == to_)
        return pullSame(out, count);
    const std::uint64_t total = OutputFrames(pushed_, from_, to_);
    const auto from = static_cast<std::uint64_t>(from_);
    const auto to = static_cast<std::uint64_t>(to_);
    std::size_t made = 0;
    while (made < count && (!finished_ || produced_ < total)) {
        const std::uint64_t position = produced_ * from;
        const std::uint64_t centre = position / to;
        // Needs the frames up to centre + kHalfTaps, unless the input has ended (then silence).
        if (!finished_ && centre + kHalfTaps >= pushed_)
            break;
        const double fraction = static_cast<double>(position % to) / static_cast<double>(to);
        double left = 0, right = 0, weights = 0;
        for (int k = 1 - kHalfTaps; k <= kHalfTaps; ++k) {
            const double at = (fraction - k + kHalfTaps) * kPhases;
            const auto i = static_cast<std::size_t>(at);
            const double w =
                table_[i] + (at - static_cast<double>(i)) * (table_[i + 1] - table_[i]);
            weights += w;
            const std::int64_t frame = static_cast<std::int64_t>(centre) + k;
            if (frame < static_cast<std::int64_t>(inputStart_) ||
                frame >= static_cast<std::int64_t>(pushed_))
                continue; // before the start or after the end: silence
            const std::size_t s =
                2 * static_cast<std::size_t>(frame - static_cast<std::int64_t>(inputStart_));
            left += w * input_[s];
            right += w * input_[s + 1];
        }
        out[2 * made] = static_cast<float>(left / weights);
        out[2 * made + 1] = static_cast<float>(right / weights);
        ++made;
        ++produced_;
    }
    const std::uint64_t next = produced_ * from / to;
    dropUsed(next > kHalfTaps ? next - kHalfTaps : 0);
    return made;
}

} // namespace tobira
