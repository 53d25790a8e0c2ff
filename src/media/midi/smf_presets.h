// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Which instruments a song may select, read from its program changes and bank selects before
// it plays, so that the synthesizer can load them ahead instead of on the audio thread.

#include "media/midi/midi_synthesizer.h"
#include "media/midi/smf_reader.h"

#include <vector>

namespace tobira {

// Every preset the song's program changes can reach under any of the bank-select conventions
// (General MIDI, GS, XG, 14-bit), the drum kits where a channel can be a drum part, and the
// fallbacks a synthesizer takes for a missing preset: piano and the standard kit. Sorted,
// without repeats. `events` are the song's messages in playing order, as ParseSmf gives them.
std::vector<SynthPreset> SongPresets(const std::vector<SmfEvent>& events);

} // namespace tobira
