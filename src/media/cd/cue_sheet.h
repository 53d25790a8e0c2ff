// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A CUE sheet read from its bytes: which files hold the disc, where each track and its pregap
// lie in them, and the sheet's CD-Text. Touches no file; the image medium opens what it names.
//
// The text may come in any of the encodings rippers write (see cue_text.h). Titles come out in
// code page 932 (the program's text), file names in UTF-8 (the file system's).

#include "media/cd/cd_text.h"
#include "media/cd/cue_text.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tobira {

struct CueFile {
    enum class Type {
        Binary,   // raw 2352-byte sectors, 16-bit little-endian stereo
        Motorola, // the same, big-endian
        Audio,    // WAVE, AIFF, FLAC, ...: a file to decode
    };
    std::string name; // UTF-8, as written (backslashes kept)
    Type type = Type::Binary;
    int line = 0;
};

// A place in the sheet's files: file `file` (index into CueSheet::files), `sector` sectors in.
struct CuePoint {
    int file = 0;
    std::int64_t sector = 0;
    int line = 0; // of the INDEX line
};

struct CueSheetTrack {
    int number = 0;
    bool audio = true;
    int sectorBytes = 2352; // of the track's sectors in its file
    std::optional<CuePoint> index0;
    CuePoint index1;
    std::int64_t pregap = 0; // PREGAP: silence before INDEX 01 that no file holds
    std::int64_t postgap = 0;
    bool preEmphasis = false; // FLAGS PRE
    CdText text;
    int line = 0; // of the TRACK line
};

struct CueSheet {
    std::vector<CueFile> files;
    std::vector<CueSheetTrack> tracks;
    CdText disc;
    std::string catalog;
    // CDTEXTFILE: the disc's CD-Text as packs, all its languages (UTF-8, as written).
    std::string cdTextFile;
};

struct CueProblem {
    int line = 0;     // 1-based; 0 when the fault is the sheet as a whole
    std::string what; // UTF-8
};

struct CueParseResult {
    std::optional<CueSheet> sheet;
    CueProblem problem; // when there is no sheet
};

// Reads the whole sheet. No sheet for anything that cannot describe an audio CD: an unknown
// command or malformed argument, a track or index out of order, no track, or no audio track.
// Track numbers are the disc's own: they rise, but may start above 1 and leave numbers out.
CueParseResult ParseCueSheet(std::string_view bytes);

} // namespace tobira
