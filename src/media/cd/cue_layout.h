// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Where a CUE sheet's tracks lie on the disc once the lengths of its files are known: the table
// of contents a drive would report for the same disc, and which file (or silence) holds each
// stretch of sectors.

#include "media/cd/cd_toc.h"
#include "media/cd/cue_sheet.h"

#include <cstdint>
#include <vector>

namespace tobira {

struct CueSegment {
    std::int64_t lsn = 0; // first sector of the stretch on the disc
    std::int64_t sectors = 0;
    int file = -1;               // index into CueSheet::files; -1 for silence (PREGAP, POSTGAP)
    std::int64_t fileSector = 0; // where the stretch starts in the file
};

struct CueLayout {
    std::vector<CdTocEntry> entries;
    std::int32_t leadout = 0;
    // In disc order, without gaps, up to the lead-out; from the image's first sector, which
    // lies before LSN 0 when the files hold track 1's lead-in pregap.
    std::vector<CueSegment> segments;
};

struct CueLayoutResult {
    std::optional<CueLayout> layout;
    CueProblem problem;
};

// `fileBytes[f]`: the length of file f in bytes of 2352-byte sectors (a decoded audio file:
// frames x 4). A file that ends inside a sector is filled up to the sector's end with silence;
// one that ends before an index placed in it is cut off and refused.
//
// Addresses count as a drive reports them: track 1 starts at LSN 0 unless its pregap (INDEX 00
// or PREGAP) is longer than the 2 s every disc has before LSN 0, and a data track after audio
// tracks (an Enhanced CD) starts 152 s after the audio session's end, with the lead-out and
// lead-in between the sessions. So track lengths, the disc's length and so its identity equal
// those of the disc the image was made from. The sectors before LSN 0 stay readable: a hidden
// track before track 1 is heard whole.
CueLayoutResult LayOutCueSheet(const CueSheet& sheet, const std::vector<std::int64_t>& fileBytes);

} // namespace tobira
