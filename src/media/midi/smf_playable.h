// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The song as the SMF reader accepted it, written again as a plain format 0 file for
// FluidSynth's own player, which refuses much of what real files do (format 2, running status
// across meta events, more than 128 tracks, broken chunks, time code). Both then agree on every
// tick: the device's position and length come from the reader.

#include "media/midi/smf_reader.h"
#include "media/midi/smf_song.h"

#include <cstdint>
#include <span>
#include <vector>

namespace tobira {

// `events` in playing order, as ParseSmf gives them. One track: the tempo map, the messages,
// and the end of track at the song's last tick.
std::vector<std::uint8_t> PlayableSmf(const SmfSong& song, const std::vector<SmfEvent>& events);
// The same from the messages where they lie in `bytes` (ParseSmfMessages).
std::vector<std::uint8_t> PlayableSmf(const SmfSong& song, std::span<const std::uint8_t> bytes,
                                      const std::vector<SmfMessage>& messages);

} // namespace tobira
