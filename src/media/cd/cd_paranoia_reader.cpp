// SPDX-License-Identifier: GPL-3.0-or-later
#include "media/cd/cd_paranoia_reader.h"

#include <cdio/cdio.h>
#include <cdio/paranoia/cdda.h>
#include <cdio/paranoia/paranoia.h>

#include <cstring>

namespace tobira {

struct CdParanoiaReader::State {
    cdrom_drive_t* drive = nullptr;
    cdrom_paranoia_t* paranoia = nullptr;
    std::int32_t next = -1; // the sector paranoia reads next; -1 before the first seek

    ~State() {
        if (paranoia)
            cdio_paranoia_free(paranoia);
        if (drive)
            cdio_cddap_close_no_free_cdio(drive);
    }
};

std::unique_ptr<CdParanoiaReader> CdParanoiaReader::open(_CdIo* handle) {
    if (!handle)
        return nullptr;
    auto state = std::make_unique<State>();
    state->drive = cdio_cddap_identify_cdio(handle, CDDA_MESSAGE_FORGETIT, nullptr);
    if (!state->drive)
        return nullptr;
    cdio_cddap_verbose_set(state->drive, CDDA_MESSAGE_FORGETIT, CDDA_MESSAGE_FORGETIT);
    if (cdio_cddap_open(state->drive) != 0)
        return nullptr;
    state->paranoia = cdio_paranoia_init(state->drive);
    if (!state->paranoia)
        return nullptr;
    // Verify and overlap; no scratch repair, and no endless retries (NEVERSKIP off).
    cdio_paranoia_modeset(state->paranoia, PARANOIA_MODE_VERIFY | PARANOIA_MODE_OVERLAP);
    return std::unique_ptr<CdParanoiaReader>(new CdParanoiaReader(std::move(state)));
}

CdParanoiaReader::CdParanoiaReader(std::unique_ptr<State> state) : state_(std::move(state)) {}

CdParanoiaReader::~CdParanoiaReader() = default;

bool CdParanoiaReader::read(std::int32_t lsn, std::int32_t sectors, unsigned char* out) {
    if (sectors <= 0)
        return false;
    if (lsn != state_->next) {
        if (cdio_paranoia_seek(state_->paranoia, lsn, SEEK_SET) < 0) {
            state_->next = -1;
            return false;
        }
        state_->next = lsn;
    }
    for (std::int32_t i = 0; i < sectors; ++i) {
        const std::int16_t* sector =
            cdio_paranoia_read_limited(state_->paranoia, nullptr, kRetries);
        if (!sector) {
            state_->next = -1; // where paranoia stands now is unknown: seek next time
            return false;
        }
        std::memcpy(out + static_cast<std::size_t>(i) * CDIO_CD_FRAMESIZE_RAW, sector,
                    CDIO_CD_FRAMESIZE_RAW);
        ++state_->next;
    }
    return true;
}

} // namespace tobira
