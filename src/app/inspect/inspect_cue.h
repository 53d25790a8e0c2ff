// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <filesystem>

namespace tobira::inspect {

// The disc a CUE sheet makes, read the way the CD device reads it: its tracks with their
// lengths, the disc identity, CD-Text and the files it reads; or the player's message. 0 when
// the player would play the disc, else 1.
int InspectCue(const std::filesystem::path& cue);

} // namespace tobira::inspect
