// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Error-corrected audio reading through cdio-paranoia on an open libcdio handle (not owned).
// Overlap checking is on, so that a drive with jitter neither repeats nor drops samples; full
// repair is off and each sector is retried a few times only, so that a scratched disc costs a
// click, never a stalled read-ahead. CD worker thread only.

#include <cstdint>
#include <memory>

struct _CdIo;

namespace tobira {

class CdParanoiaReader final {
  public:
    // Nullptr when paranoia cannot work with the handle (the drive gives no audio TOC).
    static std::unique_ptr<CdParanoiaReader> open(_CdIo* handle);
    ~CdParanoiaReader();
    CdParanoiaReader(const CdParanoiaReader&) = delete;
    CdParanoiaReader& operator=(const CdParanoiaReader&) = delete;

    // Reads `sectors` raw audio sectors from `lsn` into `out` (16-bit stereo, host byte order).
    // False when a sector could not be read at all.
    bool read(std::int32_t lsn, std::int32_t sectors, unsigned char* out);

    // Retries of a sector that does not verify before paranoia takes its best guess.
    static constexpr int kRetries = 5;

  private:
    struct State;
    explicit CdParanoiaReader(std::unique_ptr<State> state);
    std::unique_ptr<State> state_;
};

} // namespace tobira
