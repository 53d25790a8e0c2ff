// SPDX-License-Identifier: GPL-3.0-or-later
#include "media/midi/smf_playable.h"

#include "media/midi/var_len.h"

#include <algorithm>

namespace tobira {

namespace {

void PutBe32(std::vector<std::uint8_t>& out, std::uint32_t value) {
    for (int shift = 24; shift >= 0; shift -= 8)
        out.push_back(static_cast<std::uint8_t>(value >> shift));
}

// `each(put)` calls put(tick, status, data, length, closeSysex) for every message in playing
// order; closeSysex adds the F7 a system exclusive message lacks.
template <typename Each>
std::vector<std::uint8_t> Write(const SmfSong& song, std::size_t count, Each each) {
    std::vector<std::uint8_t> track;
    track.reserve(count * 4 + 64);
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
    each([&](std::uint64_t tick, std::uint8_t status, const std::uint8_t* data, std::size_t length,
             bool closeSysex) {
        tempoUpTo(tick);
        advance(tick);
        track.push_back(status);
        if (status == 0xF0)
            PutVarLen(track, length + (closeSysex ? 1 : 0));
        track.insert(track.end(), data, data + length);
        if (closeSysex)
            track.push_back(0xF7);
    });
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

} // namespace

std::vector<std::uint8_t> PlayableSmf(const SmfSong& song, const std::vector<SmfEvent>& events) {
    return Write(song, events.size(), [&](auto put) {
        for (const SmfEvent& e : events)
            if (!e.bytes.empty())
                put(e.tick, e.bytes[0], e.bytes.data() + 1, e.bytes.size() - 1, false);
    });
}

std::vector<std::uint8_t> PlayableSmf(const SmfSong& song, std::span<const std::uint8_t> bytes,
                                      const std::vector<SmfMessage>& messages) {
    return Write(song, messages.size(), [&](auto put) {
        for (const SmfMessage& m : messages) {
            const std::uint8_t* data = bytes.data() + m.offset;
            if (m.status < 0xF0) {
                std::uint8_t played[2] = {};
                for (std::size_t i = 0; i < m.length && i < 2; ++i)
                    played[i] = SmfDataByte(data[i]);
                put(m.tick, m.status, played, m.length, false);
                continue;
            }
            const bool close = m.status == 0xF0 && (m.length == 0 || data[m.length - 1] != 0xF7);
            put(m.tick, m.status, data, m.length, close);
        }
    });
}

} // namespace tobira
