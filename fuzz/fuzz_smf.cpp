// The MIDI file reader: a file is either refused with its reason or gives a song whose timing
// makes sense (positive division, tempo map sorted from tick 0, a length that is not negative
// and grows with the ticks).
#include "fuzz_support.h"
#include "media/midi/smf_reader.h"

#include <cmath>

using namespace tobira;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    SmfSong song;
    try {
        song = ParseSmf({data, size});
    } catch (const SmfError& e) {
        FUZZ_CHECK(e.what()[0] != '\0');
        return 0;
    }
    FUZZ_CHECK(song.format() == 0 || song.format() == 1);
    FUZZ_CHECK(song.trackCount() >= 1 && song.trackCount() <= 128);
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
    return 0;
}
