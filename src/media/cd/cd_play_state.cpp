// SPDX-License-Identifier: GPL-3.0-or-later
#include "media/cd/cd_play_state.h"

#include <utility>

namespace tobira {

bool CdPlayState::readWanted(std::size_t room) const {
    return disc == CdDiscState::Ready && playing && ring.space() >= room &&
           ring.space() >= static_cast<std::size_t>(kCdFramesPerSector) && fillFrame() < endFrame;
}

void CdPlayState::seek(std::int64_t frame, std::int64_t end) {
    ring.clear();
    ++generation;
    playFrame = frame;
    endFrame = end;
    enteringTrack = 0;
}

void CdPlayState::setDisc(std::optional<CdToc> newToc, std::int32_t firstReadable) {
    if (!newToc) {
        clear(CdDiscState::None);
        return;
    }
    toc = std::move(newToc);
    firstLsn = firstReadable;
    text = {};
    disc = CdDiscState::Ready;
    playing = false;
    const CdTrack* first = toc->firstAudioFrom(1); // a valid TOC always has one
    seek(std::int64_t{first->start} * kCdFramesPerSector,
         std::int64_t{toc->audioEnd(first->number)} * kCdFramesPerSector);
}

void CdPlayState::clear(CdDiscState state) {
    disc = state;
    toc.reset();
    text = {};
    firstLsn = 0;
    playing = false;
    seek(0, 0);
}

} // namespace tobira
