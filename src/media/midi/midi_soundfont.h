// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Where the synthesizer's instruments come from when the settings name no SoundFont.

#include <filesystem>
#include <string>
#include <vector>

namespace tobira {

// The standard places, in order: /usr/share/sounds/sf2/default-GM.sf2, then the folders
// ~/.local/share/sounds/sf2 ($XDG_DATA_HOME when set), /usr/share/sounds/sf2 and
// /usr/share/soundfonts.
std::vector<std::filesystem::path> StandardSoundFontPlaces();

// The first place that is a readable file, or, for a folder, the first *.sf2 in it (any case of
// the extension, by name). Empty when there is none.
std::filesystem::path FindSoundFont(const std::vector<std::filesystem::path>& places);

// FindSoundFont over StandardSoundFontPlaces().
std::filesystem::path FindDefaultSoundFont();

// Why the file cannot be a SoundFont the synthesizer loads, from its size and first bytes:
// missing, empty, neither SF2 nor DLS, or shorter than its RIFF header says (code page 932).
// Empty when it may well be one.
std::string SoundFontFault(const std::filesystem::path& soundFont);

// "サウンドフォント【name】を読めません：" and `reason` (code page 932).
std::string SoundFontMessage(const std::filesystem::path& soundFont, const std::string& reason);

} // namespace tobira
