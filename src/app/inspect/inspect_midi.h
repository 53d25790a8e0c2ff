// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

namespace tobira::inspect {

// Format, tracks, length, title, the reset the song starts with, the System On messages in it,
// the instruments it selects and what the reader passed over; or the player's message. 0 when
// the player would play the song, else 1. `cp932Path` as the player would hold it.
int InspectMidi(const std::string& cp932Path);

} // namespace tobira::inspect
