// SPDX-License-Identifier: GPL-3.0-or-later
#include "media/midi/smf_presets.h"

#include <array>
#include <set>

namespace tobira {

namespace {

constexpr int kDrumBank = 128;
constexpr int kDrumChannel = 9;

// GS "use for rhythm part" (F0 41 dev 42 12 40 1x 15 ...) makes any part a drum part.
bool IsGsRhythmPart(const std::vector<std::uint8_t>& m) {
    return m.size() >= 8 && m[0] == 0xF0 && m[1] == 0x41 && m[3] == 0x42 && m[4] == 0x12 &&
           m[5] == 0x40 && (m[6] & 0xF0) == 0x10 && m[7] == 0x15;
}

} // namespace

std::vector<SynthPreset> SongPresets(const std::vector<SmfEvent>& events) {
    bool rhythmParts = false;
    for (const SmfEvent& e : events)
        rhythmParts = rhythmParts || IsGsRhythmPart(e.bytes);

    std::set<SynthPreset> presets{{0, 0}, {kDrumBank, 0}};
    std::array<int, 16> msb{}, lsb{};
    std::array<bool, 16> drums{};
    for (int c = 0; c < 16; ++c)
        drums[c] = rhythmParts || c == kDrumChannel;
    // The events come in playing order, so a bank select and the program change it goes with
    // meet here even when they sit in different tracks.
    for (const SmfEvent& e : events) {
        const std::vector<std::uint8_t>& m = e.bytes;
        if (m.size() < 2)
            continue;
        const int kind = m[0] & 0xF0;
        const int channel = m[0] & 0x0F;
        if (kind == 0xB0 && m.size() >= 3 && m[1] == 0) {
            msb[channel] = m[2];
            // XG makes a part a drum part with bank MSB 120 and above.
            drums[channel] = drums[channel] || m[2] >= 120;
        } else if (kind == 0xB0 && m.size() >= 3 && m[1] == 32) {
            lsb[channel] = m[2];
        } else if (kind == 0xC0) {
            const int p = m[1];
            // GM ignores bank selects, GS reads the MSB, XG the LSB, the rest both.
            for (int bank : {0, msb[channel], lsb[channel], msb[channel] * 128 + lsb[channel]})
                presets.insert({bank, p});
            if (drums[channel])
                presets.insert({kDrumBank, p});
        }
    }
    return {presets.begin(), presets.end()};
}

} // namespace tobira
