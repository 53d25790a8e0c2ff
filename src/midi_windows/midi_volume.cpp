// SPDX-License-Identifier: GPL-3.0-or-later
#include "midi_windows/midi_volume.h"

#include "midi_windows/song_record.h"

#include <algorithm>

namespace tobira {

int MidiVolumeLevel(int mainLevel, std::string_view vol) {
    mainLevel = std::clamp(mainLevel, 0, 10);
    // Clamped first so that a hand-edited "+2147483647" cannot overflow the sum.
    int offset = std::clamp(ParseListNumber(vol).value_or(0), -10, 10);
    int level = mainLevel + offset;
    if (level < 1 && offset < 0)
        level = std::min(1, mainLevel);
    return std::min(level, 10);
}

} // namespace tobira
