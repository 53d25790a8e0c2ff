// SPDX-License-Identifier: GPL-3.0-or-later
#include "media/midi/melody_part.h"

#include "media/midi/smf_reader.h"

#include <algorithm>
#include <array>
#include <utility>
#include <vector>

namespace tobira {

int FindMelodyPart(std::span<const std::uint8_t> smf) {
    std::vector<SmfText> texts;
    std::vector<SmfEvent> events;
    SmfSong song;
    try {
        ParseSmfTexts(smf, texts);
        song = ParseSmf(smf, events);
    } catch (const SmfError&) {
        return -1;
    }
    // Lyric events, or else the text events of a karaoke file (those not starting with "@").
    std::vector<std::uint64_t> syllables;
    for (const SmfText& t : texts)
        if (t.type == 0x05)
            syllables.push_back(t.tick);
    if (syllables.empty())
        for (const SmfText& t : texts)
            if (t.type == 0x01 && !t.bytes.empty() && t.bytes[0] != '@')
                syllables.push_back(t.tick);
    if (syllables.empty())
        return -1;
    std::vector<std::pair<std::uint64_t, int>> noteOns;
    for (const SmfEvent& e : events)
        if (e.bytes.size() == 3 && (e.bytes[0] & 0xF0) == 0x90 && e.bytes[2] > 0)
            noteOns.emplace_back(e.tick, e.bytes[0] & 0x0F);
    std::sort(noteOns.begin(), noteOns.end());
    // A syllable placed a little before or after its note still belongs to it.
    const auto near = static_cast<std::uint64_t>(std::max(1, song.division() / 16));
    std::array<int, 16> hits{};
    for (std::uint64_t tick : syllables) {
        const std::uint64_t from = tick > near ? tick - near : 0;
        std::array<bool, 16> seen{};
        for (auto it = std::lower_bound(noteOns.begin(), noteOns.end(), std::pair(from, 0));
             it != noteOns.end() && it->first <= tick + near; ++it)
            seen[static_cast<std::size_t>(it->second)] = true;
        for (std::size_t c = 0; c < seen.size(); ++c)
            hits[c] += seen[c] ? 1 : 0;
    }
    // Of the parts that start notes with most syllables, the one with fewest other notes: an
    // accompaniment on the same beats plays chords and notes in between.
    std::array<int, 16> onsets{};
    std::uint64_t last[16];
    std::fill(std::begin(last), std::end(last), ~std::uint64_t{0});
    for (const auto& [tick, channel] : noteOns)
        if (std::exchange(last[channel], tick) != tick)
            ++onsets[static_cast<std::size_t>(channel)];
    int best = -1;
    double bestScore = 0.0;
    for (std::size_t c = 0; c < hits.size(); ++c) {
        if (2 * hits[c] < static_cast<int>(syllables.size()))
            continue;
        const double recall = static_cast<double>(hits[c]) / static_cast<double>(syllables.size());
        const double precision = static_cast<double>(hits[c]) / onsets[c];
        const double score = 2 * precision * recall / (precision + recall);
        if (score > bestScore) {
            bestScore = score;
            best = static_cast<int>(c);
        }
    }
    return best;
}

} // namespace tobira
