// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Writes a CD image as <name>.cue + <name>.bin (one BINARY file, 2352-byte sectors).
// An audio track holds given samples, or a sine tone (the same on both channels) so that a test
// can tell from the rendered sound which track is playing.

#include "media/cd/cd_sector.h"

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace tobira {

struct CueTrack {
    // Length after INDEX 01: `sectors` when positive, else `seconds` rounded to whole sectors;
    // with `samples` given, as many sectors as they fill.
    double seconds = 0;
    std::int64_t sectors = 0;
    double frequency = 440; // Hz; 0 gives silence
    double level = 0.5;     // peak amplitude, 0..1 of full scale
    // Silence written before INDEX 01 (an INDEX 00 pregap stored in the file).
    std::int64_t pregapSectors = 0;
    std::string title = {};   // CD-Text TITLE line; none when empty
    bool data = false;        // a MODE1/2352 data track instead of audio
    bool preEmphasis = false; // FLAGS PRE
    // The track's own sound instead of the tone: interleaved stereo at 44.1 kHz, the last
    // sector filled up with silence.
    std::vector<std::int16_t> samples = {};

    std::int64_t lengthSectors() const;
};

struct CueImage {
    std::filesystem::path cue;
    std::filesystem::path bin;
    // Where each track's INDEX 01 lies, in sectors from the start of the image (tracks 1..N at
    // index 0..N-1), and the sector after the last one.
    std::vector<std::int64_t> trackStarts;
    std::int64_t totalSectors = 0;
};

// Writes the image into `folder`. `discTitle` and `discPerformer` add disc-level CD-Text TITLE
// and PERFORMER lines when not empty. Each file is written whole or not at all (see
// WriteFileAtomically). Throws std::system_error when the files cannot be written.
CueImage WriteCueBin(const std::filesystem::path& folder, const std::string& name,
                     const std::vector<CueTrack>& tracks, const std::string& discTitle = {},
                     const std::string& discPerformer = {});

// "MM:SS:FF" for a sector count, as a CUE sheet writes times.
std::string CueTime(std::int64_t sectors);

} // namespace tobira
