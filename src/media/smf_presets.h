#pragma once
// Which instruments a song may select, read from its program changes and bank selects before
// it plays, so that the synthesizer can load them ahead instead of on the audio thread.

#include "media/midi_synthesizer.h"

#include <cstdint>
#include <span>
#include <vector>

namespace tobira {

// Every preset the song's program changes can reach under any of the bank-select conventions
// (General MIDI, GS, XG, 14-bit), the drum kits where a channel can be a drum part, and the
// fallbacks a synthesizer takes for a missing preset: piano and the standard kit. Sorted,
// without repeats. `smf` must have passed ParseSmf.
std::vector<SynthPreset> SongPresets(std::span<const std::uint8_t> smf);

} // namespace tobira
