// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The part a karaoke song's lyrics follow: the channel whose notes start with the syllables,
// and with few other notes.

#include <cstdint>
#include <span>

namespace tobira {

// 0..15, or -1 when the song has no lyrics, cannot be read, or no part starts a note with at
// least half of its syllables.
int FindMelodyPart(std::span<const std::uint8_t> smf);

} // namespace tobira
