// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Finds where in the reference (the sound a player was given) each stretch of a recording of
// the sound server's monitor comes from: normalized cross-correlation of short windows, which
// does not care about the player's volume. Mono (left + right) throughout.

#include <cstddef>
#include <vector>

namespace tobira::bench {

// A stretch of the recording [begin, end) that is the reference shifted by `offset`:
// recording sample n is reference sample n + offset.
struct AlignedPiece {
    long begin = 0;
    long end = 0;
    long offset = 0;
};

// A stretch of the recording [begin, end) that is not silent.
struct SoundInterval {
    long begin = 0;
    long end = 0;
};

struct Alignment {
    std::vector<SoundInterval> sound;
    std::vector<AlignedPiece> pieces; // in recording order, not overlapping
};

// `accept`: the normalized correlation a window must reach to count as the reference there
// (the recorded sound may differ a little from the reference, as a live synthesizer does).
Alignment Align(const std::vector<float>& recording, const std::vector<float>& reference,
                double accept);

// The piece holding recording sample `n`, or nullptr.
const AlignedPiece* PieceAt(const Alignment& alignment, long n);

// Least-squares gain of the recording against the reference over [begin, end) of the recording
// at `offset`; negative when the reference is too quiet there to tell.
double GainAt(const std::vector<float>& recording, const std::vector<float>& reference, long begin,
              long end, long offset);

} // namespace tobira::bench
