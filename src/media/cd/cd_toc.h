// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The table of contents of an audio CD, checked for sense once when it is read, so that the
// rest of the CD device can trust it.

#include "media/cd/cd_sector.h"

#include <cstdint>
#include <optional>
#include <vector>

namespace tobira {

struct CdTocEntry {
    int number = 0;
    std::int32_t start = 0; // LSN of INDEX 01
    bool audio = true;
    bool preEmphasis = false; // mastered with 50/15 us pre-emphasis: played de-emphasised
};

struct CdTrack {
    int number = 0;
    std::int32_t start = 0;
    // Up to the next track's start (or the lead-out), so it includes the next track's pregap:
    // that is how a drive's TOC and every CD player count a track's length.
    std::int32_t sectors = 0;
    bool audio = true;
    bool preEmphasis = false;
};

class CdToc final {
  public:
    static constexpr int kMaxTracks = 99;
    // 99:59:74, the largest address a disc can carry.
    static constexpr std::int32_t kMaxSectors = 100 * 60 * kCdSectorsPerSecond;

    // Nullopt for what is no audio CD at all: no tracks, numbers outside 1..99 or not rising,
    // starts that do not rise, a lead-out at or before the last start, a disc longer than a CD
    // can be, or no audio track. Numbers may start above 1 (one disc of a set numbered on
    // from the one before) or leave some out (an image without them): they stay the disc's.
    static std::optional<CdToc> make(const std::vector<CdTocEntry>& entries, std::int32_t leadout);

    // The last track's number: the player counts tracks 1..count(), and a number the disc does
    // not have is a track of no length that never plays.
    int count() const { return tracks_.empty() ? 0 : tracks_.back().number; }
    // Nullptr when there is no such track.
    const CdTrack* track(int number) const;
    // The track before track `number` that the disc has; nullptr when there is none.
    const CdTrack* trackBefore(int number) const;
    std::int32_t leadout() const { return leadout_; }
    // The tracks the disc has, in disc order.
    const std::vector<CdTrack>& tracks() const { return tracks_; }

    // The track holding `lsn`; the last track for an address at or past the lead-out, the first
    // for one before the first track.
    const CdTrack& trackAt(std::int32_t lsn) const;
    // The first audio track numbered `number` or later; nullptr when there is none.
    const CdTrack* firstAudioFrom(int number) const;
    // Where playing from audio track `number` must end: the next data track's start, or the
    // lead-out. Data is never played as sound.
    std::int32_t audioEnd(int number) const;

    // Minute/second/frame packed (PackMsf); 0 for a track that does not exist.
    std::uint32_t lengthMsf(int number) const;
    // The whole disc, from the first track's start to the lead-out, MSF packed.
    std::uint32_t discLengthMsf() const;

  private:
    std::vector<CdTrack> tracks_;
    std::int32_t leadout_ = 0;
};

// Sectors as minute/second/frame packed.
std::uint32_t SectorsToMsf(std::int32_t sectors);

} // namespace tobira
