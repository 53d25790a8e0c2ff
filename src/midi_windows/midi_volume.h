// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string_view>

namespace tobira {

// The level (0..10) a song plays at: the main volume level (0..10) plus the song's Vol offset
// (0 when Vol is not a number), at most 10. A negative offset never takes a song below level 1,
// so a quiet song stays audible, except that at main level 0 the song stays silent: the offset
// must not turn up what the user turned all the way down.
int MidiVolumeLevel(int mainLevel, std::string_view vol);

} // namespace tobira
