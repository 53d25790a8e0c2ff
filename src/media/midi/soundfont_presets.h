// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The instruments a SoundFont (SF2) holds, read from its preset headers alone, without a
// synthesizer: listings of what a song plays name them, and the sound module's choices can be
// worked out from them.

#include "media/midi/midi_synthesizer.h"

#include <cstdint>
#include <filesystem>
#include <span>
#include <string>
#include <vector>

namespace tobira {

struct SoundFontPreset {
    SynthPreset preset;
    std::string name; // as stored: ASCII, up to 20 characters
};

// The presets of a whole SF2 file held in memory, in file order; empty for anything that is
// not a SoundFont or has no preset headers.
std::vector<SoundFontPreset> ParseSoundFontPresets(std::span<const std::uint8_t> bytes);

// The same from a file, reading only its preset data (a SoundFont's samples run to hundreds of
// megabytes). Empty when the file cannot be read.
std::vector<SoundFontPreset> ReadSoundFontPresets(const std::filesystem::path& path);

} // namespace tobira
