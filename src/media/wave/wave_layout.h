// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Where the sound lies in a WAV file and how it is coded, read from the chunk headers of the open
// file without reading the sound itself.

#include <cstddef>
#include <cstdint>
#include <string>

namespace tobira {

struct WaveLayout {
    enum class Coding {
        Integer, // PCM, 8 bits unsigned or 16, 24, 32 bits signed
        Float,   // IEEE 32-bit float
        Other,   // compressed (ADPCM, a-law, mu-law) or unusual: SDL decodes it whole
    };
    Coding coding = Coding::Other;
    int formatTag = 0; // the sub-format's tag for WAVE_FORMAT_EXTENSIBLE
    int channels = 0;
    int rate = 0;
    int bits = 0;
    int blockAlign = 0;
    std::uint64_t dataOffset = 0;
    std::uint64_t dataBytes = 0;

    std::size_t frameBytes() const { return static_cast<std::size_t>(blockAlign); }
    // Whole frames in the data (Integer and Float).
    std::uint64_t frames() const { return blockAlign > 0 ? dataBytes / frameBytes() : 0; }
};

// The layout of the WAV file open as `fd`, `size` bytes long. Throws DeviceError naming
// `cp932Path` when it is no WAV file, or when a chunk up to and including the data declares more
// bytes than the file holds (a cut-off or forged file). A file that starts with "WAVE" without
// the RIFF header is read as SDL reads it: its chunks follow at once.
WaveLayout ReadWaveLayout(int fd, std::uint64_t size, const std::string& cp932Path);

// Reads `count` bytes at `offset`, fewer only at the end of the file. Throws DeviceError naming
// `cp932Path` on a read error.
std::size_t ReadWaveBytes(int fd, std::uint64_t offset, void* to, std::size_t count,
                          const std::string& cp932Path);

} // namespace tobira
