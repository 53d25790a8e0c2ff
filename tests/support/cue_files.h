// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Re-packs the sectors of a single-BIN disc image into the other files a CUE sheet may name:
// a BIN of part of it, the same big-endian, or a WAV or FLAC file written by libsndfile.

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace tobira::testing {

enum class CueFileKind { Bin, Motorola, Wav, Flac };

// Writes sectors [from, to) of `bin` (the bytes of a 2352-byte-sector image) to `file`.
// `rate` other than 44100 writes the same samples marked with that rate. Throws
// std::runtime_error when the file cannot be written.
void WriteCueFile(const std::filesystem::path& file, CueFileKind kind, const std::vector<char>& bin,
                  std::int64_t from, std::int64_t to, int rate = 44100);

// One language block of a CD-Text file: titles and performers, the disc's at [0], then one per
// track; Shift-JIS text is written as double-byte characters, as Japanese discs carry it.
struct CdTextLanguage {
    int language = 0x09; // EBU code
    bool shiftJis = false;
    std::vector<std::string> titles, performers;
};

// The packs of a CD-Text file (CDTEXTFILE) with these blocks, checksums included.
std::string CdTextFile(const std::vector<CdTextLanguage>& blocks);

std::vector<char> ReadFileBytes(const std::filesystem::path& file);
void WriteFileBytes(const std::filesystem::path& file, const std::string& bytes);

} // namespace tobira::testing
