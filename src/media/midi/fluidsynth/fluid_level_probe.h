// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// SoundFonts differ in loudness by 6 dB and more: the same song that peaks at -2 dBFS with
// FluidR3 clips with TimGM6mb. The device therefore sets the synthesizer's gain from how loud
// a short, fixed passage sounds with the SoundFont actually loaded.

#include <fluidsynth.h>

namespace tobira {

// Plays a second and a half of a plain General MIDI band (drums, bass, piano, strings, flute)
// straight into `synth` and returns the RMS of what came out, at the synth's current gain.
// Leaves the synth reset and silent.
double MeasureProbeRms(fluid_synth_t* synth, int sampleRate);

} // namespace tobira
