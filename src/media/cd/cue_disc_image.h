// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A disc image as its CUE sheet describes it: one file for the disc or one per track, raw BIN
// sectors (either byte order) or audio files that libsndfile decodes (WAV, FLAC, AIFF). Used
// by the CD worker thread only.

#include "media/cd/cd_text.h"
#include "media/cd/cd_toc.h"
#include "media/cd/cue_layout.h"

#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

namespace tobira {

class CueDiscImage;

struct CueOpenResult {
    std::unique_ptr<CueDiscImage> image; // null when the sheet cannot be used
    // Why not, in code page 932, naming the sheet and its line.
    std::string problem;
    // The sheet and every file it names (found or not), to notice a change on disk.
    std::vector<std::filesystem::path> files;
};

class CueDiscImage final {
  public:
    static CueOpenResult open(const std::filesystem::path& cue);

    ~CueDiscImage();
    CueDiscImage(const CueDiscImage&) = delete;
    CueDiscImage& operator=(const CueDiscImage&) = delete;

    const CdToc& toc() const { return toc_; }
    // The sheet's own TITLE and PERFORMER lines (when it has any) first, then the blocks of
    // the CD-Text file it names.
    const std::vector<CdTextBlock>& textBlocks() const { return text_; }
    // The image's first sector: below 0 when its files hold track 1's lead-in pregap.
    std::int32_t firstLsn() const;
    // `sectors` sectors from `lsn` as 16-bit little-endian stereo; silence past the lead-out.
    // False when a file cannot be read any more.
    bool read(std::int32_t lsn, std::int32_t sectors, unsigned char* out);

  private:
    struct Source;
    CueDiscImage(std::vector<std::unique_ptr<Source>> sources, CueLayout layout, CdToc toc,
                 std::vector<CdTextBlock> text);
    bool readSegment(const CueSegment& segment, std::int64_t from, std::int64_t sectors,
                     unsigned char* out);

    std::vector<std::unique_ptr<Source>> sources_;
    CueLayout layout_;
    CdToc toc_;
    std::vector<CdTextBlock> text_;
};

// The file a sheet names, beside the sheet: the exact name, else one that differs only in
// letter case, else the same name without the folders a Windows sheet may carry. The exact
// path (which does not exist) when none is found.
std::filesystem::path FindCueFile(const std::filesystem::path& folder, const std::string& name);

} // namespace tobira
