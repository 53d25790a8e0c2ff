// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Stereo sound from one sample rate to another, a piece at a time, so that a long file is never
// held whole: a windowed sinc, so that an 8 or 22 kHz sound brings no mirror images of itself
// into the treble, normalised so that a steady level stays exactly that level.

#include <cstddef>
#include <cstdint>
#include <vector>

namespace tobira {

class WaveResampler final {
  public:
    WaveResampler(int fromRate, int toRate);

    // The length at the new rate of `frames` at the old: every output frame whose time falls
    // inside the input.
    static std::uint64_t OutputFrames(std::uint64_t frames, int fromRate, int toRate);

    // Interleaved stereo frames in.
    void push(const float* frames, std::size_t count);
    // The input ends after the frames pushed.
    void finish();
    // Up to `count` frames out; fewer when more input is needed first, or at the end.
    std::size_t pull(float* out, std::size_t count);
    // finish() was called and every frame has come out.
    bool done() const;

  private:
    std::size_t pullSame(float* out, std::size_t count);
    void dropUsed(std::uint64_t firstNeeded);

    int from_, to_;
    std::vector<float> table_; // the kernel, kPhases points per input frame
    std::vector<float> input_; // stereo frames from input frame `inputStart_` on
    std::uint64_t inputStart_ = 0;
    std::uint64_t pushed_ = 0;
    std::uint64_t produced_ = 0;
    bool finished_ = false;
};

} // namespace tobira
