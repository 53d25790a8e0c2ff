// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The sound-module reset songs played before every song: GAKUFU_GM.MID (GM System On),
// GAKUFU_GS.MID (GS Reset) and GAKUFU_88.MID (Mode 1 of the Roland SC-88). Each is a minimal
// Standard MIDI File holding the one SysEx message, followed by a short rest in which the module
// finishes its reset before the song starts.

#include <cstdint>
#include <filesystem>
#include <string_view>
#include <vector>

namespace tobira {

// The reset type; the values are those of the setting MIDIRESET. Non plays no reset song.
enum class MidiResetType { Non = 0, Gm = 1, Gs = 2, Sc88Mode1 = 3 };

// "GAKUFU_GM.MID", "GAKUFU_GS.MID", "GAKUFU_88.MID"; empty for Non.
std::string_view ResetSongFileName(MidiResetType type);

// The SysEx message as sent, F0 … F7. Empty for Non.
std::vector<std::uint8_t> ResetSysEx(MidiResetType type);

// The whole file. Empty for Non.
std::vector<std::uint8_t> ResetSongBytes(MidiResetType type);

// Writes each reset song that is missing from `folder`; an existing file, whatever it holds, is
// the user's and is never replaced, even when it appears while this runs. Returns the files
// written. Throws std::system_error when one cannot be written (the others are still tried
// first); no partial file is ever left behind.
std::vector<std::filesystem::path> PlaceMissingResetSongs(const std::filesystem::path& folder);

} // namespace tobira
