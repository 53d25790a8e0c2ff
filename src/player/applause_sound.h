// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The program's own applause for live mode, made in code, and the applause files of the
// program folder. A user who puts WAV files of their own into the folder hears those instead.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace tobira {

inline constexpr std::string_view kDefaultApplauseName = "APPLAUSE.WAV";

// 16-bit PCM, interleaved.
struct PcmSound {
    int rate = 44100;
    int channels = 2;
    std::vector<std::int16_t> samples;
};

// A little over four seconds of a small hall clapping: many clappers, each with their own
// pace, pitch and place in the stereo image, starting together and dying away one by one, with
// some room sound. The same every time.
PcmSound MakeApplause();

// The bytes of a canonical RIFF/WAVE file holding `sound`.
std::string WaveFileBytes(const PcmSound& sound);

// Whether a file name ends in ".WAV", without regard to case.
bool IsWaveFileName(std::string_view name);

// The WAV files (names only, code page 932) of a folder, in the order the listing returns
// them. Folders, and names that code page 932 cannot hold, are left out. An unreadable or
// missing folder gives none.
std::vector<std::string> ListWaveFiles(const std::string& cp932Folder);

// Writes the default applause into the folder as kDefaultApplauseName when the folder holds no
// WAV file at all. Returns whether it wrote it; a folder that cannot be written to is left as
// it is (live mode then reports that it has no sound).
bool PlaceDefaultApplause(const std::string& cp932Folder);

} // namespace tobira
