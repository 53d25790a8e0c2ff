// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What the CD device's three threads share: the UI thread (commands and queries), the CD worker
// (disc reading and read-ahead) and the audio thread (renderAudio). Every field is guarded by
// `mutex`, which is only ever held for bookkeeping and plain copies, never across drive work.

#include "media/cd/cd_audio_ring.h"
#include "media/cd/cd_text.h"
#include "media/cd/cd_toc.h"

#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <mutex>
#include <optional>
#include <string>

namespace tobira {

enum class CdDiscState {
    NotReady, // TOC being read, or the drive is spinning up
    None,     // no disc, tray open, image ejected, or no usable audio disc
    Ready,
};

struct CdPlayState {
    // A generous read-ahead: a drive read slowly fills it in a few long, steady runs rather than
    // spinning up and down for many short ones.
    static constexpr std::size_t kRingSectors = 10 * kCdSectorsPerSecond;
    // The worker refills once this much room is free (and then fills to the top).
    static constexpr std::size_t kRefillFrames = 3 * kCdSectorsPerSecond * kCdFramesPerSector;

    std::mutex mutex;
    std::condition_variable wake; // the worker waits on it
    std::condition_variable idle; // waitIdle waits on it

    CdDiscState disc = CdDiscState::NotReady;
    std::optional<CdToc> toc;
    DiscText text; // of the disc in `toc`
    // Why the last image could not be used, and how many such reports there were.
    std::string problem;
    std::uint64_t problems = 0;
    // How many discs the drive was asked to read slowly for: once for every disc read.
    std::uint64_t speedRequests = 0;
    bool playing = false;
    // The first sector the medium can play (below 0 for an image that holds track 1's lead-in).
    std::int32_t firstLsn = 0;
    // Sample frames from LSN 0: the next frame to be heard, and where playing must stop.
    std::int64_t playFrame = 0;
    std::int64_t endFrame = 0;
    // The track asked for while playing ran into it by itself; until its start is heard the
    // position shows that track's start. 0 for none.
    int enteringTrack = 0;
    // Changes whenever the ring is emptied, so that a read that was under way is dropped.
    std::uint64_t generation = 0;
    CdAudioRing ring{kRingSectors * kCdFramesPerSector};

    // Requests to the worker.
    bool quit = false;
    bool ejectRequested = false;
    bool insertRequested = false;
    bool checkRequested = false;
    bool topUpRequested = false;
    bool workerIdle = false;

    // The frame after the last one in the ring: where the next read goes.
    std::int64_t fillFrame() const { return playFrame + static_cast<std::int64_t>(ring.size()); }
    bool commandsPending() const { return ejectRequested || insertRequested || checkRequested; }
    // A read-ahead is due when playing, with at least `room` frames free and data left to read.
    bool readWanted(std::size_t room) const;

    // Empties the ring and moves the play position. Callers hold the mutex.
    void seek(std::int64_t frame, std::int64_t end);
    // Puts in a new disc (stopped at its first audio track) or none. Callers hold the mutex.
    void setDisc(std::optional<CdToc> newToc, std::int32_t firstReadable = 0);
    void clear(CdDiscState state);
};

} // namespace tobira
