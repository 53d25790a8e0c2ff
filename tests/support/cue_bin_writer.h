#pragma once
// The disc image writer lives in the program (it makes the demo disc); tests keep their names.

#include "media/cue_bin_writer.h"

namespace tobira::testing {

using tobira::CueImage;
using tobira::CueTime;
using tobira::CueTrack;
using tobira::kCdFramesPerSector;
using tobira::kCdSectorBytes;
using tobira::kCdSectorsPerSecond;
using tobira::WriteCueBin;

} // namespace tobira::testing
