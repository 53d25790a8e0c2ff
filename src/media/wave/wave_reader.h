// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The sound of a WAV file at the engine's rate, in interleaved float stereo, a piece at a time.

#include "files/regular_file.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

namespace tobira {

class WaveReader {
  public:
    // Sounds in a compressed coding are decoded whole, so they are held to this length.
    static constexpr int kCompressedSeconds = 180;

    virtual ~WaveReader() = default;
    // The sound's length at the engine's rate.
    virtual std::uint64_t frames() const = 0;
    // Up to `count` frames; 0 only at the end. Throws DeviceError naming the file.
    virtual std::size_t read(float* out, std::size_t count) = 0;
};

// Reads the file's chunk headers and chooses how to decode it. PCM and float samples are read
// and converted piece by piece as they are asked for, so memory stays small whatever the
// file's length. Any other coding SDL reads (ADPCM, a-law, mu-law, ...) is decoded whole here,
// up to kCompressedSeconds. Throws DeviceError naming `cp932Path` (the file's name for
// messages). Reads the disk: never on the UI or the audio thread.
std::unique_ptr<WaveReader> OpenWaveReader(std::shared_ptr<RegularFile> file,
                                           const std::string& cp932Path);

} // namespace tobira
