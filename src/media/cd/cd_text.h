#pragma once
// CD-Text of a disc: the title and performer of the disc and of each track, in code page 932.
// From a CUE sheet's TITLE and PERFORMER lines or from a drive.

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

} // namespace tobira
