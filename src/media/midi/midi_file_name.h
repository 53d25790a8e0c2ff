// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Which files the player takes as MIDI songs, by name alone: the one test behind manual and
// folder adds, folder play, drops, the command line and the hand-over to a running player.

#include <string_view>

namespace tobira {

// Whether the extension is ".MID", ".MIDI", ".KAR" (karaoke) or ".RMI" (RIFF-wrapped MIDI),
// in any letter case (code page 932 path or name).
bool IsMidiFileName(std::string_view path);

} // namespace tobira
