// SPDX-License-Identifier: GPL-3.0-or-later
// The lyrics reader: any file gives lines of at least one syllable each, in time order, and the
// line at any time is one of them; the SoundFont preset reader on the same bytes never reads
// past them.
#include "fuzz_support.h"
#include "media/midi/song_lyrics.h"
#include "media/midi/soundfont_presets.h"

using namespace tobira;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    for (bool karaoke : {false, true}) {
        const SongLyrics lyrics = ParseSongLyrics({data, size}, karaoke);
        std::uint64_t last = 0;
        for (const LyricLine& line : lyrics.lines()) {
            FUZZ_CHECK(!line.syllables.empty());
            for (const LyricSyllable& s : line.syllables) {
                FUZZ_CHECK(s.micros >= last);
                last = s.micros;
            }
        }
        const int count = static_cast<int>(lyrics.lines().size());
        for (std::uint64_t micros : {std::uint64_t{0}, last / 2, last, last + 1}) {
            const int line = lyrics.lineAt(micros);
            FUZZ_CHECK(line >= -1 && line < count);
            if (line >= 0)
                FUZZ_CHECK(lyrics.sungBytes(line, micros) <=
                           lyrics.lines()[static_cast<std::size_t>(line)].text().size());
        }
    }
    for (const SoundFontPreset& p : ParseSoundFontPresets({data, size}))
        FUZZ_CHECK(p.name.size() <= 20);
    return 0;
}
