#pragma once
// One libcdio handle on a drive or a CUE/BIN image, owned. Used by the CD worker thread only:
// every call here may block on the drive.

#include "media/cd_paranoia_reader.h"
#include "media/cd_toc.h"

#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

struct _CdIo;

namespace tobira {

class CdMedium final {
  public:
    // Routes libcdio's log away from stderr. Needed before any libcdio call: the library's own
    // handler ends the process on an error-level message (a missing image does that).
    static void silenceLibraryLog();

    // Drives libcdio finds, in its order; empty when the machine has none.
    static std::vector<std::string> findDrives();
    // The BIN file libcdio reads for `cue` (it ignores the FILE line); nullopt when the name does
    // not end in ".cue" (any case). Touches no file.
    static std::optional<std::filesystem::path> binPathFor(const std::filesystem::path& cue);

    // Nullptr when libcdio cannot open it (unreadable or malformed sheet, missing BIN, no drive).
    static std::unique_ptr<CdMedium> openImage(const std::filesystem::path& cue);
    static std::unique_ptr<CdMedium> openDrive(const std::string& device);
    // Pulls the tray of a drive in; false when the drive cannot.
    static bool closeTray(const std::string& device);

    ~CdMedium();
    CdMedium(const CdMedium&) = delete;
    CdMedium& operator=(const CdMedium&) = delete;

    // Nullopt when there is no disc or the TOC makes no sense as an audio CD.
    std::optional<CdToc> readToc() const;
    // Reads `sectors` raw audio sectors (kCdSectorBytes each: 16-bit little-endian stereo). A
    // drive is read through cdio-paranoia (plain reads when paranoia cannot work with it), an
    // image with plain reads: its data has no jitter or scratches to correct.
    bool readAudio(std::int32_t lsn, std::int32_t sectors, unsigned char* out);

    // Opens the drive's tray. The handle is spent afterwards, whatever happened: open a new one
    // to see the next disc. Never for an image, where libcdio would free the handle twice.
    bool ejectDrive();

  private:
    struct Closer {
        void operator()(_CdIo* p) const;
    };
    CdMedium(_CdIo* handle, bool image);

    std::unique_ptr<_CdIo, Closer> handle_;
    bool image_;
    // Drives only, made at the first read; goes before the handle it reads through.
    std::unique_ptr<CdParanoiaReader> paranoia_;
    bool paranoiaTried_ = false;
};

} // namespace tobira
