// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The demo disc: a few short pieces of music as a CUE/BIN image, so that a machine without a CD
// drive can play the CD side. Everything is synthesised here, the same every time.

#include "media/cd/cue_bin_writer.h"

#include <filesystem>
#include <vector>

namespace tobira {

inline constexpr const char* kDemoDiscName = "tobira-demo";

// The six pieces, 20 to 40 seconds each, with CD-Text titles (the disc also has a title and a
// performer).
std::vector<CueTrack> DemoDiscTracks();

// Writes kDemoDiscName.cue and .bin into `folder` (created when missing). Throws
// std::runtime_error when the files cannot be written.
CueImage WriteDemoDisc(const std::filesystem::path& folder);

} // namespace tobira
