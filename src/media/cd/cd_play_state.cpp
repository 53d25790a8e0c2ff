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
}

void CdPlayState::setDisc(std::optional<CdToc> newToc) {
    if (!newToc) {
        clear(CdDiscState::None);
        return;
    }
    toc = std::move(newToc);
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
    playing = false;
    seek(0, 0);
}

} // namespace tobira
