#include "media/midi/smf_playable.h"

#include <algorithm>

namespace tobira {

namespace {

void PutVarLen(std::vector<std::uint8_t>& out, std::uint64_t value) {
    std::uint8_t groups[10];
    int n = 0;
    do {
        groups[n++] = static_cast<std::uint8_t>(value & 0x7F);
        value >>= 7;
    } while (value > 0 && n < 10);
    while (n > 1)
        out.push_back(groups[--n] | 0x80);
    out.push_back(groups[0]);
}

void PutBe32(std::vector<std::uint8_t>& out, std::uint32_t value) {
    for (int shift = 24; shift >= 0; shift -= 8)
        out.push_back(static_cast<std::uint8_t>(value >> shift));
}

} // namespace

std::vector<std::uint8_t> PlayableSmf(const SmfSong& song, const std::vector<SmfEvent>& events) {
    std::vector<std::uint8_t> track;
    track.reserve(events.size() * 4 + 64);
    std::uint64_t at = 0;
    const auto advance = [&](std::uint64_t tick) {
        // A delta time holds 28 bits; longer pauses are bridged by empty text events.
        constexpr std::uint64_t kLongest = 0x0FFFFFFF;
        for (; tick - at > kLongest; at += kLongest) {
            PutVarLen(track, kLongest);
            track.insert(track.end(), {0xFF, 0x01, 0x00});
        }
        PutVarLen(track, tick - at);
        at = tick;
    };
    const auto& tempos = song.tempoMap();
    std::size_t t = 0;
    const auto tempoUpTo = [&](std::uint64_t tick) {
        for (; t < tempos.size() && tempos[t].tick <= tick; ++t) {
            advance(tempos[t].tick);
            const std::uint32_t micros = tempos[t].microsPerQuarter;
            track.insert(track.end(), {0xFF, 0x51, 0x03, static_cast<std::uint8_t>(micros >> 16),
                                       static_cast<std::uint8_t>(micros >> 8),
                                       static_cast<std::uint8_t>(micros)});
        }
    };
    for (const SmfEvent& e : events) {
        if (e.bytes.empty())
            continue;
        tempoUpTo(e.tick);
        advance(e.tick);
        if (e.bytes[0] == 0xF0) {
            track.push_back(0xF0);
            PutVarLen(track, e.bytes.size() - 1);
            track.insert(track.end(), e.bytes.begin() + 1, e.bytes.end());
        } else {
            track.insert(track.end(), e.bytes.begin(), e.bytes.end());
        }
    }
    const std::uint64_t end = std::max(at, song.lastTick());
    tempoUpTo(end);
    advance(end);
    track.insert(track.end(), {0xFF, 0x2F, 0x00});

    std::vector<std::uint8_t> out{'M', 'T', 'h', 'd', 0, 0, 0, 6, 0, 0, 0, 1};
    out.push_back(static_cast<std::uint8_t>(song.division() >> 8));
    out.push_back(static_cast<std::uint8_t>(song.division()));
    out.insert(out.end(), {'M', 'T', 'r', 'k'});
    PutBe32(out, static_cast<std::uint32_t>(track.size()));
    out.insert(out.end(), track.begin(), track.end());
    return out;
}

} // namespace tobira
