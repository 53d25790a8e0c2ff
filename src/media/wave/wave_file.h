// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Reading a WAV file into the form the audio engine plays: interleaved float stereo at the
// engine's rate.

#include "media/media_device.h"

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace tobira {

// The message for a WAV file that cannot be played: its name (code page 932) and the reason.
DeviceError WaveFileError(const std::string& cp932Path, const std::string& reason);
// The message for a WAV file too large to use: its name, its size and the limit it is over
// (code page 932 words).
DeviceError WaveTooLargeError(const std::string& cp932Path, std::uint64_t bytes,
                              const std::string& limit);

// Reads and converts any WAV file SDL can read (PCM 8/16/24/32-bit, float, IMA/MS ADPCM,
// a-law, mu-law; any rate; one or more channels) whole, keeping its exact length. `path` is a
// code page 932 path. Throws DeviceError naming the file and the reason. Reads the disk and
// holds the whole sound: the wave device streams instead (wave_reader.h).
std::vector<float> LoadWaveFile(const std::string& path);

// The same on the file's bytes already read; `path` only names the file in the message. Chunk
// sizes are checked against `fileBytes` first (WaveSizeFault), so a forged size allocates nothing.
std::vector<float> LoadWaveBytes(std::string_view fileBytes, const std::string& path);

// Makes decoded float samples safe to mix and resample: NaN and infinity become silence, and
// values beyond full scale are clipped there (the output would clip them anyway, and values near
// the float limit overflow any interpolation into infinity).
void MakePlayable(std::span<float> samples);

} // namespace tobira
