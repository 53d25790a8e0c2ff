// SPDX-License-Identifier: GPL-3.0-or-later
#include "media/cd/cd_toc.h"

#include "media/media_device.h"

#include <algorithm>

namespace tobira {

std::optional<CdToc> CdToc::make(const std::vector<CdTocEntry>& entries, std::int32_t leadout) {
    if (entries.empty() || entries.size() > kMaxTracks)
        return std::nullopt;
    if (leadout > kMaxSectors)
        return std::nullopt;
    CdToc toc;
    bool anyAudio = false;
    for (std::size_t i = 0; i < entries.size(); ++i) {
        const CdTocEntry& e = entries[i];
        const std::int32_t next = i + 1 < entries.size() ? entries[i + 1].start : leadout;
        const int previous = i == 0 ? 0 : entries[i - 1].number;
        if (e.number <= previous || e.number > kMaxTracks || e.start < 0 || next <= e.start)
            return std::nullopt;
        toc.tracks_.push_back(CdTrack{e.number, e.start, next - e.start, e.audio, e.preEmphasis});
        anyAudio = anyAudio || e.audio;
    }
    if (!anyAudio)
        return std::nullopt;
    toc.leadout_ = leadout;
    return toc;
}

const CdTrack* CdToc::track(int number) const {
    auto at = std::lower_bound(tracks_.begin(), tracks_.end(), number,
                               [](const CdTrack& t, int n) { return t.number < n; });
    return at != tracks_.end() && at->number == number ? &*at : nullptr;
}

const CdTrack* CdToc::trackBefore(int number) const {
    auto at = std::lower_bound(tracks_.begin(), tracks_.end(), number,
                               [](const CdTrack& t, int n) { return t.number < n; });
    return at == tracks_.begin() ? nullptr : &*(at - 1);
}

const CdTrack& CdToc::trackAt(std::int32_t lsn) const {
    auto after = std::upper_bound(tracks_.begin(), tracks_.end(), lsn,
                                  [](std::int32_t v, const CdTrack& t) { return v < t.start; });
    return after == tracks_.begin() ? tracks_.front() : *(after - 1);
}

const CdTrack* CdToc::firstAudioFrom(int number) const {
    for (const CdTrack& t : tracks_)
        if (t.number >= number && t.audio)
            return &t;
    return nullptr;
}

std::int32_t CdToc::audioEnd(int number) const {
    for (const CdTrack& t : tracks_)
        if (t.number > number && !t.audio)
            return t.start;
    return leadout_;
}

std::uint32_t CdToc::lengthMsf(int number) const {
    const CdTrack* t = track(number);
    return t ? SectorsToMsf(t->sectors) : 0;
}

std::uint32_t CdToc::discLengthMsf() const {
    return tracks_.empty() ? 0 : SectorsToMsf(leadout_ - tracks_.front().start);
}

std::uint32_t SectorsToMsf(std::int32_t sectors) {
    if (sectors < 0)
        sectors = 0;
    const auto s = static_cast<unsigned>(sectors);
    return PackMsf(s / (60 * kCdSectorsPerSecond), s / kCdSectorsPerSecond % 60,
                   s % kCdSectorsPerSecond);
}

} // namespace tobira
