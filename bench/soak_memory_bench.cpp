// SPDX-License-Identifier: GPL-3.0-or-later
// Memory over long play, against its budget: the growth of the resident set from a point where
// the run is warm (the disc's first round, the first fifty songs) to its end, for a disc in endless
// play (two hundred track starts) and for a thousand MIDI songs each after its reset song. The play
// itself (order, gaps, silence after the end) is checked by the soak tests; this only measures.
//
//   soak_memory_bench [cd|midi]    (both when not named)
//
// Exits with 1 when a figure is over its budget. Under AddressSanitizer the figures say
// nothing: its quarantine holds freed memory back.
#include "support/built_synth_module.h"
#include "support/cd_fixture.h"
#include "soak_memory.h"
#include "support/resident_memory.h"

#include <cstdio>
#include <cstring>

namespace tobira::testing {
namespace {

constexpr long kBudgetKb = 5 * 1024;

} // namespace

bool Report(const char* run, long warmKb, long endKb) {
    const long growth = endKb - warmKb;
    const bool within = growth <= kBudgetKb;
    std::printf("%s: RSS %ld kB once warm, %ld kB at the end: %+ld kB (budget %ld kB) %s\n", run,
                warmKb, endKb, growth, kBudgetKb, within ? "within" : "OVER");
    return within;
}

namespace {

bool CdEndlessPlay() {
    constexpr int kTracks = 20;
    constexpr std::size_t kStarts = 200;
    CdFixture f(EqualTracks(kTracks, 4));
    f.main.PanelPOWClick();
    f.startPlaying();
    std::size_t starts = 1;
    int track = f.main.CurrentTrack;
    long firstRound = 0;
    for (int second = 0; second < static_cast<int>(kStarts) * 4 && starts < kStarts; ++second) {
        f.cd.waitIdle();
        f.engine.render(AudioEngine::kSampleRate);
        f.tick();
        if (f.main.CurrentTrack != track) {
            track = f.main.CurrentTrack;
            ++starts;
        }
        if (firstRound == 0 && starts > kTracks)
            firstRound = ResidentKilobytes();
    }
    return Report("CD, 200 track starts in endless play", firstRound, ResidentKilobytes());
}

} // namespace
} // namespace tobira::testing

int main(int argc, char** argv) {
    tobira::testing::UseBuiltSynthModule();
    const char* only = argc > 1 ? argv[1] : "";
    bool within = true;
    if (!std::strcmp(only, "") || !std::strcmp(only, "cd"))
        within = tobira::testing::CdEndlessPlay() && within;
    if (!std::strcmp(only, "") || !std::strcmp(only, "midi"))
        within = tobira::testing::MidiThousandSongs() && within;
    return within ? 0 : 1;
}
