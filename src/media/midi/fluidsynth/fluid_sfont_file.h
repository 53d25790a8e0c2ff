// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// FluidSynth reading a SoundFont through a descriptor the program opened and checked. FluidSynth
// names SoundFont files by string only, and its own loader opens that name again, blocking and
// inheritable, whenever it reads (with dynamic sample loading: long after the check). Here the
// string it is given stands for an open descriptor, and the loader's file callbacks never open
// anything by name: a SoundFont replaced on the disk after the check is not read.

#include "files/regular_file.h"

#include <fluidsynth.h>

#include <string>

namespace tobira {

// The name to hand fluid_synth_sfload for `file`, once AddDescriptorSoundFontLoader has been
// called on the synthesizer. It names the file's identity too, so that FluidSynth's
// process-wide sample cache, which is keyed by name, never mixes two files. `file` must stay
// open while the synthesizer has the SoundFont: samples are read again later.
std::string DescriptorSoundFontName(const RegularFile& file);

// Puts a SoundFont loader in front of the synthesizer's own (before any SoundFont is loaded)
// whose callbacks read only through names made by DescriptorSoundFontName; any other name fails
// to open, and so does the synthesizer's own loader with such a name. False when FluidSynth
// could not make the loader.
bool AddDescriptorSoundFontLoader(fluid_synth_t* synth, fluid_settings_t* settings);

} // namespace tobira
