// SPDX-License-Identifier: GPL-3.0-or-later
#include "media/midi/fluidsynth/fluid_level_probe.h"

#include "media/midi/fluidsynth/fluid_part_render.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace tobira {

namespace {

struct ProbeNote {
    int start; // in eighths of a second
    int length;
    int channel;
    int key;
    int velocity;
};

// Velocities and parts as a typical song has them; channel volumes stay at their default.
constexpr ProbeNote kNotes[] = {
    {0, 1, 9, 36, 110}, {4, 1, 9, 36, 110},  {8, 1, 9, 36, 110}, {2, 1, 9, 38, 100},
    {6, 1, 9, 38, 100}, {10, 1, 9, 38, 100}, {0, 1, 9, 42, 80},  {1, 1, 9, 42, 70},
    {2, 1, 9, 42, 80},  {3, 1, 9, 42, 70},   {4, 1, 9, 42, 80},  {5, 1, 9, 42, 70},
    {6, 1, 9, 42, 80},  {7, 1, 9, 42, 70},   {8, 1, 9, 42, 80},  {9, 1, 9, 42, 70},
    {0, 4, 1, 36, 100}, {4, 4, 1, 33, 100},  {8, 4, 1, 29, 100}, {0, 4, 2, 60, 85},
    {0, 4, 2, 64, 85},  {0, 4, 2, 67, 85},   {4, 4, 2, 57, 85},  {4, 4, 2, 60, 85},
    {4, 4, 2, 64, 85},  {8, 4, 2, 53, 85},   {8, 4, 2, 57, 85},  {8, 4, 2, 60, 85},
    {0, 12, 3, 48, 80}, {0, 12, 3, 52, 80},  {0, 12, 3, 55, 80}, {0, 2, 4, 72, 95},
    {2, 2, 4, 76, 95},  {4, 2, 4, 74, 95},   {6, 2, 4, 72, 95},  {8, 4, 4, 69, 95},
};
constexpr int kEighths = 12;

} // namespace

double MeasureProbeRms(fluid_synth_t* synth, int sampleRate) {
    fluid_synth_system_reset(synth);
    fluid_synth_program_change(synth, 1, 33); // finger bass
    fluid_synth_program_change(synth, 2, 0);  // piano
    fluid_synth_program_change(synth, 3, 48); // strings
    fluid_synth_program_change(synth, 4, 73); // flute

    const int step = sampleRate / 8;
    std::vector<float> buffer(static_cast<std::size_t>(step) * 2);
    FluidPartRender render;
    double sum = 0.0;
    for (int eighth = 0; eighth < kEighths; ++eighth) {
        for (const ProbeNote& n : kNotes) {
            if (n.start + n.length == eighth)
                fluid_synth_noteoff(synth, n.channel, n.key);
            if (n.start == eighth)
                fluid_synth_noteon(synth, n.channel, n.key, n.velocity);
        }
        render.render(synth, buffer.data(), static_cast<std::size_t>(step));
        for (float s : buffer)
            sum += double{s} * s;
    }
    const double rms = std::sqrt(sum / (static_cast<double>(step) * 2 * kEighths));

    // Back to a fresh synth: default programs, no voice, and no reverb or chorus tail. The
    // reset leaves that in the effect buffers, so render it away (about 3 s of effects alone).
    fluid_synth_system_reset(synth);
    for (int i = 0; i < 8 * 10; ++i) {
        render.render(synth, buffer.data(), static_cast<std::size_t>(step));
        if (std::all_of(buffer.begin(), buffer.end(), [](float s) { return std::fabs(s) < 1e-6f; }))
            break;
    }
    return rms;
}

} // namespace tobira
