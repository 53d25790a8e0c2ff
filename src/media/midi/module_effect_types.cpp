// SPDX-License-Identifier: GPL-3.0-or-later
#include "media/midi/module_effect_types.h"

#include <array>

namespace tobira {
namespace {

// Sources: the reverb and chorus macro charts of Roland's SC-55 and SC-88 owner's manuals (GS),
// the effect type list of Yamaha's XG format documents and the MU-series data lists (XG), and
// the MMA's General MIDI 2 recommended practice, whose reverb and chorus types give times, rates
// and depths outright (rate = 0.122 Hz a step, depth = (value + 1) / 3.2 ms). The built-in
// synthesizer has one room reverb and one chorus: each type becomes its decay time, damping and
// width, and its voices, rate and depth. What neither has (pre-delay, delay feedback, the
// delays' echoes, a flanger's feedback) is left out; a delay becomes a short, bright room and a
// flanger a shallow, slow chorus of few voices.
constexpr std::array<ReverbType, 25> kReverbs{{
    {"Standard", 0.9, 0.0, 0.5, 0.9}, // the synthesizer's own
    // GS macros 0-7
    {"Room 1", 1.0, 0.5, 0.4, 0.6},
    {"Room 2", 0.8, 0.6, 0.4, 0.6},
    {"Room 3", 1.6, 0.4, 0.5, 0.6},
    {"Hall 1", 1.9, 0.3, 0.7, 0.7},
    {"Hall 2", 2.4, 0.2, 0.8, 0.7},
    {"Plate", 1.8, 0.1, 0.6, 0.7},
    {"Delay", 0.9, 0.0, 0.2, 0.5},
    {"Panning Delay", 1.0, 0.0, 1.0, 0.5},
    // XG types
    {"No Effect", 0.7, 0.0, 0.0, 0.0},
    {"Hall 1 (XG)", 2.5, 0.3, 0.8, 0.7},
    {"Hall 2 (XG)", 2.2, 0.4, 0.7, 0.7},
    {"Room 1 (XG)", 1.3, 0.5, 0.5, 0.6},
    {"Room 2 (XG)", 0.7, 0.6, 0.4, 0.6},
    {"Room 3 (XG)", 1.0, 0.5, 0.5, 0.6},
    {"Stage 1", 1.8, 0.3, 0.7, 0.7},
    {"Stage 2", 1.5, 0.3, 0.7, 0.7},
    {"Plate (XG)", 1.8, 0.1, 0.6, 0.7},
    {"White Room", 0.8, 0.2, 0.6, 0.6},
    {"Tunnel", 3.0, 0.2, 1.0, 0.7},
    {"Basement", 1.2, 0.7, 0.4, 0.6},
    // GM2 types 0-4 and 8
    {"Small Room", 1.1, 0.5, 0.4, 0.6},
    {"Medium Room", 1.3, 0.5, 0.5, 0.6},
    {"Large Room", 1.5, 0.4, 0.6, 0.6},
    {"Medium Hall", 1.8, 0.3, 0.7, 0.7},
}};
// Large Hall and Plate of GM2 share the figures of GS Hall 2 and Plate.

// Rate and depth from the GS/GM2 steps of the charts.
constexpr double Rate(int step) {
    return step * 0.122 < 0.1 ? 0.1 : step * 0.122;
}
constexpr double Depth(int step) {
    return (step + 1) / 3.2;
}

constexpr std::array<ChorusType, 21> kChoruses{{
    {"Standard", 3, 0.3, 8.0, 2.0}, // the synthesizer's own
    // GS macros 0-7 (GM2 types 0-5 are the first six)
    {"Chorus 1", 3, Rate(3), Depth(5), 1.5},
    {"Chorus 2", 3, Rate(9), Depth(19), 1.5},
    {"Chorus 3", 3, Rate(3), Depth(19), 1.5},
    {"Chorus 4", 3, Rate(9), Depth(16), 1.5},
    {"Feedback Chorus", 5, Rate(2), Depth(24), 1.8},
    {"Flanger", 2, Rate(1), Depth(5), 2.0},
    {"Short Delay", 1, 0.1, Depth(127), 1.2},
    {"Short Delay (FB)", 2, 0.1, Depth(127), 1.5},
    // XG types
    {"No Effect", 1, 0.1, 0.0, 0.0},
    {"Chorus 1 (XG)", 3, 0.5, 6.0, 1.5},
    {"Chorus 2 (XG)", 3, 0.8, 5.0, 1.5},
    {"Chorus 3 (XG)", 3, 0.3, 8.0, 1.5},
    {"Chorus 4 (XG)", 4, 1.0, 4.0, 1.5},
    {"Celeste 1", 2, 0.7, 3.0, 1.5},
    {"Celeste 2", 2, 1.0, 4.0, 1.5},
    {"Celeste 3", 2, 0.5, 2.0, 1.5},
    {"Celeste 4", 3, 0.8, 3.0, 1.5},
    {"Flanger 1", 2, 0.2, 1.5, 2.0},
    {"Flanger 2", 2, 0.1, 1.0, 2.0},
    {"Flanger 3", 2, 0.4, 2.0, 2.0},
}};

constexpr int kGsReverb = 1, kXgReverbNone = 9, kGm2Reverb = 21;
constexpr int kGsChorus = 1, kXgChorusNone = 9;

} // namespace

std::span<const ReverbType> ReverbTypes() {
    return kReverbs;
}
std::span<const ChorusType> ChorusTypes() {
    return kChoruses;
}

int GsReverbType(int macro) {
    return kGsReverb + (macro & 7);
}
int GsChorusType(int macro) {
    return kGsChorus + (macro & 7);
}

int XgReverbType(int msb, int lsb) {
    switch (msb) {
    case 0x01:
        return lsb == 1 ? 11 : 10;
    case 0x02:
        return lsb == 1 ? 13 : lsb == 2 ? 14 : 12;
    case 0x03:
        return lsb == 1 ? 16 : 15;
    case 0x04:
        return 17;
    case 0x10:
        return 18;
    case 0x11:
    case 0x12: // Canyon: the longest there is
        return 19;
    case 0x13:
        return 20;
    default:
        return kXgReverbNone;
    }
}

int XgChorusType(int msb, int lsb) {
    const int variant = lsb == 8 ? 3 : lsb > 2 ? 0 : lsb;
    switch (msb) {
    case 0x41:
        return 10 + variant;
    case 0x42:
        return 14 + variant;
    case 0x43:
        return 18 + (variant > 2 ? 2 : variant);
    default:
        return kXgChorusNone;
    }
}

int Gm2ReverbType(int type) {
    switch (type) {
    case 0:
    case 1:
    case 2:
    case 3:
        return kGm2Reverb + type;
    case 8:
        return GsReverbType(5); // Plate
    default:
        return GsReverbType(4); // Large Hall
    }
}

int Gm2ChorusType(int type) {
    return GsChorusType(type > 5 ? 2 : type);
}

int DefaultReverbType(ModuleMode mode) {
    switch (mode) {
    case ModuleMode::Unset:
        return 0;
    case ModuleMode::Xg:
        return XgReverbType(1, 0);
    case ModuleMode::Gm2:
        return Gm2ReverbType(4);
    case ModuleMode::Gm:
    case ModuleMode::Gs:
        break;
    }
    return GsReverbType(4);
}

int DefaultChorusType(ModuleMode mode) {
    switch (mode) {
    case ModuleMode::Unset:
        return 0;
    case ModuleMode::Xg:
        return XgChorusType(0x41, 0);
    case ModuleMode::Gm2:
        return Gm2ChorusType(2);
    case ModuleMode::Gm:
    case ModuleMode::Gs:
        break;
    }
    return GsChorusType(2);
}

} // namespace tobira
