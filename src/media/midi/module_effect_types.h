// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The reverb and chorus types of GS, XG and GM2 modules, each as the nearest setting of a
// plain room reverb and a plain chorus (the built-in synthesizer's), in one table.

#include "media/midi/sound_module.h"

#include <span>

namespace tobira {

struct ReverbType {
    const char* name;
    double seconds; // decay time
    double damping; // 0..1: how fast the highs die
    double width;   // 0..1: mono to full stereo
    double level;   // 0..1 at the module's default reverb level
};

struct ChorusType {
    const char* name;
    int voices;
    double rateHz;
    double depthMs;
    double level; // 0..10 at the module's default chorus level
};

// Entry 0 of each is the synthesizer's own, which plays until a song resets the module.
std::span<const ReverbType> ReverbTypes();
std::span<const ChorusType> ChorusTypes();

// The entry a module's type number selects; the nearest for numbers the table lacks.
int GsReverbType(int macro);
int GsChorusType(int macro);
int XgReverbType(int msb, int lsb);
int XgChorusType(int msb, int lsb);
int Gm2ReverbType(int type);
int Gm2ChorusType(int type);
// A reset's default for each kind of module.
int DefaultReverbType(ModuleMode mode);
int DefaultChorusType(ModuleMode mode);

} // namespace tobira
