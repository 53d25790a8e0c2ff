// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Writes PCM WAV files for tests and demos: any rate, 1 or 2 channels, 8 or 16 bits.

#include <filesystem>
#include <vector>

namespace tobira::testing {

struct WavFormat {
    int rate = 44100;
    int channels = 1; // 1 or 2
    int bits = 16;    // 8 or 16
};

// `samples` are interleaved, nominally -1..1 (clamped). Throws std::runtime_error when the file
// cannot be written or the format is not one of the above.
void WriteWav(const std::filesystem::path& file, const WavFormat& format,
              const std::vector<float>& samples);

// A sine tone of `frames` frames, the same on every channel, interleaved.
std::vector<float> MakeTone(const WavFormat& format, long frames, double frequency,
                            double amplitude);

// Both at once.
void WriteToneWav(const std::filesystem::path& file, const WavFormat& format, long frames,
                  double frequency = 440.0, double amplitude = 0.5);

} // namespace tobira::testing
