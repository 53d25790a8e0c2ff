// SPDX-License-Identifier: GPL-3.0-or-later
// The MIDI half of soak_memory_bench: in its own file, as the CD and MIDI fixtures each bring
// the same helpers.
#include "soak_memory.h"
#include "support/midi_fixture.h"
#include "support/resident_memory.h"

#include <cstdio>

namespace tobira::testing {

bool MidiThousandSongs() {
    constexpr int kSongs = 500; // per order
    MidiFixture f;
    f.setup.RadioGroupReset = 1;
    f.writeShortSongs(kSongs);
    long firstRound = 0;
    for (MidiOrder order : {MidiOrder::Nor, MidiOrder::Rnd}) {
        f.view.ChooseOrder(order);
        f.played.clear();
        f.press(&TFormMain::SpeedButtonPLAYClick);
        for (int t = 0; t < kSongs * 20 && f.main.LabelPLAY.Font != colors::Teal; ++t) {
            f.advance(0.5);
            if (firstRound == 0 && f.played.size() >= 100)
                firstRound = ResidentKilobytes();
        }
    }
    return Report("MIDI, 1000 songs after their reset songs", firstRound, ResidentKilobytes());
}

} // namespace tobira::testing
