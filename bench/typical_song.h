// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A song for the benchmarks that play MIDI as a user hears it.

#include "support/smf_writer.h"

#include <cstdint>
#include <utility>

namespace tobira::bench {

// A plain pop arrangement as General MIDI songs have it: drums, bass, piano, strings, lead,
// guitar; channel volume 100, velocities 80..110.
inline tobira::testing::SmfWriter TypicalSong(int seconds) {
    tobira::testing::SmfWriter w(1, 480);
    w.tempoBpm(0, 0, 120);
    const std::uint32_t end = static_cast<std::uint32_t>(seconds) * 960;
    const int chords[4][3] = {{60, 64, 67}, {57, 60, 64}, {53, 57, 60}, {55, 59, 62}};
    const int drums = w.addTrack(), bass = w.addTrack(), piano = w.addTrack(),
              strings = w.addTrack(), lead = w.addTrack(), guitar = w.addTrack();
    const std::pair<int, int> programs[] = {{1, 33}, {2, 0}, {3, 48}, {4, 73}, {5, 25}};
    for (auto [channel, program] : programs)
        w.programChange(channel, 0, channel, program);
    for (int channel = 1; channel <= 5; ++channel)
        w.controlChange(channel, 0, channel, 7, 100);
    for (std::uint32_t bar = 0; bar * 1920 < end; ++bar) {
        const std::uint32_t t0 = bar * 1920;
        const int* chord = chords[bar % 4];
        for (int beat = 0; beat < 4; ++beat) {
            const std::uint32_t t = t0 + beat * 480;
            w.note(drums, t, 9, beat % 2 ? 38 : 36, beat % 2 ? 100 : 110, 120);
            w.note(drums, t, 9, 42, 80, 120);
            w.note(drums, t + 240, 9, 42, 70, 120);
            w.note(bass, t, 1, chord[0] - 24, 100, 400);
            for (int k = 0; k < 3; ++k)
                w.note(piano, t, 2, chord[k], 85, 440);
            w.note(guitar, t, 5, chord[beat % 3] + 12, 80, 220);
            w.note(guitar, t + 240, 5, chord[(beat + 1) % 3] + 12, 75, 220);
            w.note(lead, t, 4, chord[(beat + bar) % 3] + 12, 95, 440);
        }
        for (int k = 0; k < 3; ++k)
            w.note(strings, t0, 3, chord[k] - 12, 80, 1900);
    }
    for (int track = 1; track <= 6; ++track)
        w.endOfTrack(track, end);
    return w;
}

} // namespace tobira::bench
