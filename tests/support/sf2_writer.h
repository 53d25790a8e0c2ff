// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Writes SoundFont 2 files for tests: one melodic instrument, a looped square wave at full
// scale, far louder than any real SoundFont, for checks of the output's level.

#include <cstdint>
#include <filesystem>
#include <vector>

namespace tobira::testing {

// Preset 0 of bank 0 (and the standard drum kit, bank 128, with the same sound).
std::vector<std::uint8_t> LoudSoundFont();

} // namespace tobira::testing
