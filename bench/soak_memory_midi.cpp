// The MIDI half of soak_memory_bench: in its own file, as the CD and MIDI fixtures each bring
// the same helpers.
#include "soak_memory.h"
#include "midi_windows/list_file.h"
#include "support/midi_fixture.h"
#include "support/resident_memory.h"

#include <cstdio>

namespace tobira::testing {

bool MidiThousandSongs() {
    constexpr int kSongs = 500; // per order
    MidiFixture f;
    f.setup.RadioGroupReset = 1;
    std::vector<std::string> lines;
    for (int i = 0; i < kSongs; ++i) {
        char name[32];
        std::snprintf(name, sizeof name, "s%03d.mid", i);
        ShortSong(0.3, 48 + i % 36).write(PathFromCp932(f.path(name)));
        lines.push_back(std::string("Song ") + name + "\t" + f.path(name) + "\t+0\t1");
    }
    WriteListFile(f.main.Paths.List0Path, lines);
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
