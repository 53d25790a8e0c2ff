// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// CD-Text of a disc: the title and performer of the disc and of each track, in code page 932.
// From a CUE sheet's TITLE and PERFORMER lines, the CD-Text file it names, or a drive.

#include <string>
#include <vector>

namespace tobira {

struct CdText {
    std::string title;
    std::string performer;
    bool operator==(const CdText&) const = default;
};

struct DiscText {
    CdText disc;
    std::vector<CdText> tracks; // track 1 at [0]

    // Empty text for a track without any.
    const CdText& track(int number) const {
        static const CdText none;
        return number >= 1 && number <= static_cast<int>(tracks.size())
                   ? tracks[static_cast<std::size_t>(number - 1)]
                   : none;
    }
    bool operator==(const DiscText&) const = default;
};

// One language of a disc's CD-Text: a disc carries up to eight.
struct CdTextBlock {
    int language = 0; // the EBU code CD-Text uses (0x09 English, 0x69 Japanese); 0 unknown
    DiscText text;
};

} // namespace tobira
