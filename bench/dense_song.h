// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A song as dense as the busy General MIDI songs people play: about 57 note starts a second on
// fourteen channels, a drum kit of a dozen notes, sustain pedal, expression swells, modulation
// and pan moves (about 15 controller messages a second). `variant` picks other programs and drum
// notes, so that a set of variants loads as many different instruments as a set of real songs.

#include "support/smf_writer.h"

#include <algorithm>
#include <array>
#include <cstdint>

namespace tobira::bench {

inline tobira::testing::SmfWriter DenseSong(int seconds, int variant = 0) {
    tobira::testing::SmfWriter w(1, 480);
    w.tempoBpm(0, 0, 120); // 960 ticks a second, a sixteenth is 120 ticks
    const std::uint32_t end = static_cast<std::uint32_t>(seconds) * 960;
    constexpr int kMelodic = 13;
    // Piano, bass, strings, brass, lead, guitar, organ, choir, harp, marimba, sax, pad, bells:
    // variant 0 is a plain band, the others move every channel to other families.
    constexpr std::array<int, kMelodic> kBand{0, 33, 48, 61, 73, 25, 16, 52, 46, 12, 65, 89, 14};
    const std::array<int, kMelodic> channels{0, 1, 2, 3, 4, 5, 6, 7, 8, 10, 11, 12, 13};
    std::array<int, kMelodic> tracks{};
    for (int k = 0; k < kMelodic; ++k) {
        tracks[k] = w.addTrack();
        const int ch = channels[k];
        w.programChange(tracks[k], 0, ch, (kBand[k] + variant * (7 + 2 * k)) % 128);
        w.controlChange(tracks[k], 0, ch, 7, 100);
        w.controlChange(tracks[k], 0, ch, 91, 40);
        w.controlChange(tracks[k], 0, ch, 10, 16 + 8 * k);
    }
    const int drums = w.addTrack();
    const std::array<int, 12> kit{36, 38, 42, 46, 49, 51, 45, 47, 50, 39, 54, 56};
    const int drumShift = (variant * 5) % 26; // other variants reach up to note 81
    const int chords[4][4] = {
        {48, 52, 55, 59}, {45, 48, 52, 55}, {41, 45, 48, 52}, {43, 47, 50, 53}};
    // No two moments alike, as in a played song: chords, the lead's line and every velocity
    // follow a pseudo-random sequence.
    std::uint32_t seed = 2024u + static_cast<std::uint32_t>(variant);
    auto pick = [&seed](int n) {
        seed = seed * 1664525u + 1013904223u;
        return static_cast<int>((seed >> 16) % static_cast<std::uint32_t>(n));
    };
    auto note = [&](int track, std::uint32_t t, int channel, int key, int velocity,
                    std::uint32_t length) {
        w.note(track, t, channel, key, std::clamp(velocity - 12 + pick(25), 1, 127), length);
    };

    for (std::uint32_t bar = 0; bar * 1920 < end; ++bar) {
        const std::uint32_t t0 = bar * 1920;
        const int* c = chords[pick(4)];
        // Pedal on the piano, swells on the strings and choir, a pan move on the harp.
        w.controlChange(tracks[0], t0, 0, 64, 127);
        w.controlChange(tracks[0], t0 + 1900, 0, 64, 0);
        w.controlChange(tracks[8], t0, 8, 10, static_cast<int>(32 + bar * 17 % 64));
        for (int s = 0; s < 8; ++s) {
            const int swell = 70 + (s < 4 ? s : 8 - s) * 12;
            w.controlChange(tracks[2], t0 + s * 240, 2, 11, swell);
            w.controlChange(tracks[7], t0 + s * 240 + 120, 7, 11, swell);
            w.controlChange(tracks[4], t0 + s * 240, 4, 1, (s * 16) % 128);
        }
        for (int k = 0; k < 4; ++k)
            note(tracks[2], t0, 2, c[k] - 12, 70, 1900); // strings
        for (int k = 0; k < 3; ++k)
            note(tracks[7], t0, 7, c[k], 60, 1900);    // choir
        note(tracks[6], t0, 6, c[0], 60, 1900);        // organ
        note(tracks[11], t0, 12, c[1] + 12, 55, 1900); // pad
        for (int eighth = 0; eighth < 8; ++eighth) {
            const std::uint32_t t = t0 + eighth * 240;
            for (int k = 0; k < 3; ++k)
                note(tracks[0], t, 0, c[(eighth + k) % 4] + 12, 75 + eighth * 3, 220); // piano
            note(tracks[1], t, 1, c[eighth % 2 ? 2 : 0] - 24, 100, 220);               // bass
            note(tracks[5], t, 5, c[eighth % 4] + 12, 80, 200);                        // guitar
            if (eighth % 2)
                for (int k = 0; k < 3; ++k)
                    note(tracks[3], t, 3, c[k] + 12, 90, 120); // brass stabs
            if (eighth % 2 == 0)
                note(tracks[10], t + 120, 11, c[(eighth + 2) % 4] + 12, 85, 110); // sax
        }
        for (int sixteenth = 0; sixteenth < 16; ++sixteenth) {
            const std::uint32_t t = t0 + sixteenth * 120;
            const int step = static_cast<int>(bar) * 16 + sixteenth;
            note(tracks[4], t, 4, c[pick(4)] + 24 + pick(2) * 12, 95, 110); // lead
            if (sixteenth % 2 == 0)
                note(tracks[8], t, 8, c[(sixteenth / 2) % 4] + 24, 70, 230); // harp
            if (sixteenth % 4 == 1)
                note(tracks[9], t, 10, c[sixteenth % 3] + 36, 80, 100); // marimba
            if (sixteenth == 15 && bar % 2)
                note(tracks[12], t, 13, c[3] + 36, 70, 480); // bells
            // Hi-hats on every sixteenth, kick and snare on the beats, the rest of the kit
            // in turn.
            note(drums, t, 9, kit[sixteenth % 4 == 2 ? 3 : 2] + drumShift % 3,
                 60 + sixteenth % 4 * 10, 60);
            if (sixteenth % 4 == 0)
                note(drums, t, 9, kit[sixteenth % 8 ? 1 : 0], 110, 120);
            if (sixteenth % 4 == 3)
                note(drums, t, 9, kit[4 + (step / 4) % 8] + drumShift, 90, 120);
        }
    }
    for (int track : tracks)
        w.endOfTrack(track, end);
    w.endOfTrack(drums, end);
    return w;
}

} // namespace tobira::bench
