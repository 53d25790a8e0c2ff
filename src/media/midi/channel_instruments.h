// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What each channel of a song plays, change by change, as the built-in synthesizer will play
// it: a listing to check the sound module's choices against without listening.

#include "media/midi/smf_reader.h"
#include "media/midi/sound_module.h"

#include <cstdint>
#include <vector>

namespace tobira {

struct InstrumentChange {
    std::uint64_t tick = 0;
    int channel = 0; // 0..15
    ModuleMode mode = ModuleMode::Unset;
    ChannelVoice voice;
};

// Feeds `events` (in playing order, as ParseSmf gives them) through `module` and lists each
// channel's voice after every program change and drum-part message, and every channel's after
// a reset. `module` keeps what the song leaves, as the synthesizer does from song to song: feed
// a reset song through it first to list a song as it plays after that reset song.
std::vector<InstrumentChange> ListChannelInstruments(SoundModule& module,
                                                     const std::vector<SmfEvent>& events);

} // namespace tobira
