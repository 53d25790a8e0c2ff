// SPDX-License-Identifier: GPL-3.0-or-later
// The MIDI file reader: a file is either refused with its reason or gives a song whose timing
// makes sense (positive division, tempo map sorted from tick 0, a length that is not negative
// and grows with the ticks, a loop inside it) and that reads back the same when written for
// FluidSynth.
#include "fuzz_support.h"
#include "media/midi/loop_plan.h"
#include "media/midi/smf_playable.h"
#include "media/midi/smf_reader.h"

#include <cmath>

using namespace tobira;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    SmfSong song;
    std::vector<SmfEvent> events;
    try {
        song = ParseSmf({data, size}, events);
    } catch (const SmfError& e) {
        FUZZ_CHECK(e.what()[0] != '\0');
        return 0;
    }
    FUZZ_CHECK(song.format() >= 0 && song.format() <= 0xFFFF);
    FUZZ_CHECK(song.trackCount() >= 1);
    FUZZ_CHECK(song.division() > 0);
    const auto& tempos = song.tempoMap();
    FUZZ_CHECK(!tempos.empty() && tempos.front().tick == 0);
    for (std::size_t i = 0; i < tempos.size(); ++i) {
        FUZZ_CHECK(tempos[i].microsPerQuarter > 0);
        if (i > 0)
            FUZZ_CHECK(tempos[i - 1].tick <= tempos[i].tick);
    }
    const double length = song.lengthSeconds();
    FUZZ_CHECK(std::isfinite(length) && length >= 0);
    FUZZ_CHECK(song.secondsAtTick(song.lastTick() / 2) <= length);
    FUZZ_CHECK(song.tickAtSeconds(length / 2) <= song.tickAtSeconds(length));
    if (length < 1e8)
        FUZZ_CHECK(std::fabs(song.lengthTenths() - length * 10) <= 0.5 + 1e-6 * length);
    FUZZ_CHECK(song.tickAtSeconds(-1.0) == 0);
    if (const auto& loop = song.loop()) {
        FUZZ_CHECK(loop->startTick < loop->endTick && loop->endTick <= song.lastTick());
        // Played round the loop, the song never leaves it once there, and the fade ends silent.
        const LoopPlan plan = LoopPlan::ForSong(song, {LoopSetting::kMaxRepeats, 3});
        FUZZ_CHECK(plan.playedMicros() >= plan.fadeStartMicros());
        if (plan.loops()) {
            FUZZ_CHECK(plan.songMicrosAt(plan.playedMicros()) < plan.loopEndMicros());
            FUZZ_CHECK(plan.songMicrosAt(plan.playedMicros()) >= plan.loopStartMicros());
            FUZZ_CHECK(plan.gainAt(plan.playedMicros()) == 0.0);
        }
    }

    // What FluidSynth is given reads back as the same song, tick for tick.
    std::vector<SmfEvent> again;
    const SmfSong rewritten = ParseSmf(PlayableSmf(song, events), again);
    FUZZ_CHECK(rewritten.lastTick() == song.lastTick());
    FUZZ_CHECK(rewritten.division() == song.division());
    FUZZ_CHECK(rewritten.tempoMap().size() == song.tempoMap().size());
    FUZZ_CHECK(again.size() == events.size());
    for (std::size_t i = 0; i < again.size(); ++i)
        FUZZ_CHECK(again[i].tick == events[i].tick && again[i].bytes == events[i].bytes);
    return 0;
}
