// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A drive through libcdio, or a CUE sheet image through our own reader, owned. Used by the CD
// worker thread only: every call here may block on the drive.

#include "media/cd/cd_text.h"
#include "media/cd/cd_paranoia_reader.h"
#include "media/cd/cd_toc.h"

#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

struct _CdIo;

namespace tobira {

class CueDiscImage;

class CdMedium final {
  public:
    // Routes libcdio's log away from stderr. Needed before any libcdio call: the library's own
    // handler ends the process on an error-level message (a missing image does that).
    static void silenceLibraryLog();

    // Drives libcdio finds, in its order; empty when the machine has none.
    static std::vector<std::string> findDrives();
    // Whether the name ends in ".cue" (any case). Touches no file.
    static bool isCueSheet(const std::filesystem::path& path);

    struct ImageOpen {
        std::unique_ptr<CdMedium> medium;         // null when the sheet cannot be used
        std::string problem;                      // why not (code page 932), naming the line
        std::vector<std::filesystem::path> files; // the sheet and the files it names
    };
    static ImageOpen openImage(const std::filesystem::path& cue);
    // Nullptr when libcdio cannot open it (no drive).
    static std::unique_ptr<CdMedium> openDrive(const std::string& device);
    // Pulls the tray of a drive in; false when the drive cannot.
    static bool closeTray(const std::string& device);

    ~CdMedium();
    CdMedium(const CdMedium&) = delete;
    CdMedium& operator=(const CdMedium&) = delete;

    // Nullopt when there is no disc or the TOC makes no sense as an audio CD.
    std::optional<CdToc> readToc() const;
    // Asks a drive to read at a low, steady speed, quiet enough to play by (a few times the
    // playing speed leaves room for paranoia's re-reads). False when there is nothing to set
    // (an image) or the drive refuses, which changes nothing else.
    bool slowDown();
    // The first sector that can be read: 0 for a drive, below 0 for an image whose files hold
    // track 1's lead-in pregap.
    std::int32_t firstLsn() const;
    // Reads `sectors` raw audio sectors (kCdSectorBytes each: 16-bit little-endian stereo). A
    // drive is read through cdio-paranoia (plain reads when paranoia cannot work with it), an
    // image with plain reads: its data has no jitter or scratches to correct.
    bool readAudio(std::int32_t lsn, std::int32_t sectors, unsigned char* out);
    // The disc's CD-Text, every language it has; empty when it has none.
    std::vector<CdTextBlock> readTextBlocks() const;
    // The block for the language of `locale`, else the first; empty text when there is none.
    DiscText readText(std::string_view locale) const;

    // Opens the drive's tray. The handle is spent afterwards, whatever happened: open a new one
    // to see the next disc. False for an image, which has no tray.
    bool ejectDrive();

  private:
    struct Closer {
        void operator()(_CdIo* p) const;
    };
    explicit CdMedium(_CdIo* handle);
    explicit CdMedium(std::unique_ptr<CueDiscImage> image);

    std::unique_ptr<_CdIo, Closer> handle_;
    std::unique_ptr<CueDiscImage> image_;
    // Drives only, made at the first read; goes before the handle it reads through.
    std::unique_ptr<CdParanoiaReader> paranoia_;
    bool paranoiaTried_ = false;
};

} // namespace tobira
