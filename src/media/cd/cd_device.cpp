// SPDX-License-Identifier: GPL-3.0-or-later
#include "media/cd/cd_device.h"

#include "media/audio_engine.h"
#include "media/cd/cd_drive_lock.h"
#include "media/cd/cd_medium.h"
#include "media/cd/cd_worker.h"
#include "text/cp932_convert.h"

#include <algorithm>
#include <filesystem>
#include <system_error>
#include <utility>

namespace tobira {

namespace {

constexpr std::int64_t kOneSecondFrames = std::int64_t{kCdSectorsPerSecond} * kCdFramesPerSector;
// How near the next track's start playing must be for a request of that track to run on into
// it rather than jump: the player asks for the next track when less than two seconds are left,
// and a jump from further away lands on the track's start at once.
constexpr std::int64_t kRunOnFrames = 2 * kOneSecondFrames;

// The sector holding `frame`, also before LSN 0.
std::int32_t sectorOf(std::int64_t frame) {
    return static_cast<std::int32_t>(
        frame >= 0 ? frame / kCdFramesPerSector
                   : -((-frame + kCdFramesPerSector - 1) / kCdFramesPerSector));
}

// The sheet and the files it names are read by the worker: one that is missing or unusable is
// no disc, and the worker says why.
CdSource imageSource(const std::filesystem::path& cue) {
    CdSource source;
    source.kind = CdSource::Kind::Image;
    source.path = cue;
    return source;
}

// A drive that is held by another program raises DeviceBusyError; any other trouble leaves the
// device without a disc and says why in `problem`.
CdSource driveSource(const std::filesystem::path& device, const std::string& name,
                     std::string& problem) {
    CdSource source;
    source.kind = CdSource::Kind::Drive;
    source.path = device;
    std::error_code error;
    if (std::filesystem::is_regular_file(device, error)) {
        problem = Utf8ToCp932("【") + name +
                  Utf8ToCp932("】はＣＤドライブでもＣＵＥファイルでもありません");
        return source;
    }
    try {
        source.lock = std::make_unique<CdDriveLock>(device.string(), name);
    } catch (const DeviceBusyError&) {
        throw;
    } catch (const DeviceError& trouble) {
        problem = trouble.what();
    }
    return source;
}

} // namespace

CdDevice::CdDevice(AudioEngine& engine, CdDeviceOptions options)
    : engine_(engine), options_(options) {
    CdMedium::silenceLibraryLog();
    engine_.attach(MixerLine::CompactDisc, this);
}

CdDevice::~CdDevice() {
    engine_.attach(MixerLine::CompactDisc, nullptr);
    close();
}

void CdDevice::open() {
    close();
    const std::string& name = fileName();
    CdSource source;
    std::string problem;
    if (name.empty()) {
        // The first drive, held like a named one. None at all is no error: the player starts
        // with "no disc", and the worker keeps looking.
        const std::vector<std::string> drives = CdMedium::findDrives();
        if (!drives.empty())
            source.lock = std::make_unique<CdDriveLock>(drives.front(), drives.front());
    } else {
        // An image or a drive that cannot be used is no disc, not a failure: the player runs on
        // (MIDI mode stays reachable) and a later change of the image's files is a new disc.
        const std::filesystem::path path = PathFromCp932(name);
        source = CdMedium::isCueSheet(path) ? imageSource(path) : driveSource(path, name, problem);
    }
    {
        std::lock_guard lock(state_.mutex);
        state_.clear(CdDiscState::NotReady);
        if (!problem.empty()) {
            state_.problem = std::move(problem);
            ++state_.problems;
        }
    }
    worker_ = std::make_unique<CdWorker>(std::move(source), state_, options_.pollInterval,
                                         options_.textLocale);
}

void CdDevice::close() {
    worker_.reset();
    std::lock_guard lock(state_.mutex);
    state_.clear(CdDiscState::NotReady);
    state_.quit = state_.ejectRequested = state_.insertRequested = state_.checkRequested = false;
    state_.topUpRequested = state_.workerIdle = false;
}

void CdDevice::requireOpen() const {
    if (!worker_)
        throw DeviceError(Utf8ToCp932("ＣＤデバイスが開かれていません"));
}

void CdDevice::request(bool CdPlayState::*flag) {
    {
        std::lock_guard lock(state_.mutex);
        state_.*flag = true;
    }
    state_.wake.notify_one();
}

void CdDevice::startAt(int number) {
    const CdTrack* track = state_.toc->firstAudioFrom(number);
    if (!track)
        return;
    state_.seek(std::int64_t{track->start} * kCdFramesPerSector,
                std::int64_t{state_.toc->audioEnd(track->number)} * kCdFramesPerSector);
    state_.playing = true;
    state_.wake.notify_one();
}

bool CdDevice::runsInto(const CdTrack& target) const {
    const std::int64_t at = std::int64_t{target.start} * kCdFramesPerSector;
    if (!state_.playing || at < state_.playFrame || at - state_.playFrame >= kRunOnFrames ||
        at >= state_.endFrame)
        return false;
    // No other track starts on the way.
    const CdTrack& here = state_.toc->trackAt(sectorOf(state_.playFrame));
    return &here == &target || state_.toc->trackBefore(target.number) == &here;
}

const CdTrack& CdDevice::shownTrack() const {
    if (state_.enteringTrack != 0)
        if (const CdTrack* entering = state_.toc->track(state_.enteringTrack);
            entering && state_.playFrame < std::int64_t{entering->start} * kCdFramesPerSector)
            return *entering;
    return state_.toc->trackAt(sectorOf(state_.playFrame));
}

void CdDevice::play() {
    requireOpen();
    heldByPause_ = false; // a resume plays what the pause held
    engine_.wake();
    std::lock_guard lock(state_.mutex);
    if (state_.disc != CdDiscState::Ready || state_.playing)
        return;
    if (state_.playFrame >= state_.endFrame) {
        startAt(1); // the end of the disc was reached: start over
        return;
    }
    state_.playing = true;
    state_.wake.notify_one();
}

void CdDevice::playFrom(std::uint32_t track) {
    requireOpen();
    // What a pause held is dropped before the output goes on, so none of it is heard.
    if (std::exchange(heldByPause_, false))
        engine_.flush();
    engine_.wake();
    bool jumped;
    {
        std::lock_guard lock(state_.mutex);
        const int number = static_cast<int>(TmsfTrack(track));
        // A number the disc leaves out plays as a data track does: from the next audio track.
        if (state_.disc != CdDiscState::Ready || number < 1 || number > state_.toc->count())
            return;
        // Played in disc order, the next track comes with the gap the disc has before it: nothing
        // is cut and nothing added, and what the output holds plays on.
        if (const CdTrack* target = state_.toc->firstAudioFrom(number);
            target && runsInto(*target)) {
            state_.enteringTrack = target->number;
            return;
        }
        jumped = state_.playing;
        startAt(number);
    }
    // What the output played ahead is from the place left: it must not be heard after the jump.
    // After a track ends of itself the output holds that track's end, which plays out.
    if (jumped)
        engine_.flush();
}

void CdDevice::seek(std::uint32_t position) {
    requireOpen();
    bool jumped;
    {
        std::lock_guard lock(state_.mutex);
        if (state_.disc != CdDiscState::Ready)
            return;
        const CdTrack* track = state_.toc->track(static_cast<int>(TmsfTrack(position)));
        if (!track || !track->audio)
            return;
        const std::int64_t into =
            (std::int64_t{TmsfMinute(position)} * 60 + TmsfSecond(position)) * kCdSectorsPerSecond +
            TmsfFrame(position);
        const std::int64_t sector = track->start + std::min<std::int64_t>(into, track->sectors - 1);
        state_.seek(sector * kCdFramesPerSector,
                    std::int64_t{state_.toc->audioEnd(track->number)} * kCdFramesPerSector);
        jumped = state_.playing;
        if (jumped)
            state_.wake.notify_one();
    }
    // What the output holds, of playing or of a pause, is of the old place.
    if (jumped || std::exchange(heldByPause_, false))
        engine_.flush();
}

void CdDevice::stop() {
    requireOpen();
    bool wasPlaying;
    {
        std::lock_guard lock(state_.mutex);
        wasPlaying = std::exchange(state_.playing, false);
    }
    if (wasPlaying || std::exchange(heldByPause_, false))
        engine_.flush();
}

void CdDevice::pause() {
    requireOpen();
    bool wasPlaying;
    {
        std::lock_guard lock(state_.mutex);
        wasPlaying = std::exchange(state_.playing, false);
    }
    if (wasPlaying) {
        heldByPause_ = true;
        engine_.pause();
    }
}

void CdDevice::previous() {
    requireOpen();
    {
        std::lock_guard lock(state_.mutex);
        if (state_.disc != CdDiscState::Ready || !state_.playing)
            return;
        const CdTrack& current = shownTrack();
        const std::int64_t into = std::max<std::int64_t>(
            0, state_.playFrame - std::int64_t{current.start} * kCdFramesPerSector);
        const CdTrack* before = state_.toc->trackBefore(current.number);
        if (into < kOneSecondFrames && before && before->audio) {
            startAt(before->number);
        } else if (into < kOneSecondFrames && !before && current.audio && current.start > 0) {
            // Audio before the first track's start, longer than the lead-in every disc has: the
            // hidden track, as the track before the first. It runs on into the first.
            state_.seek(std::int64_t{state_.firstLsn} * kCdFramesPerSector,
                        std::int64_t{state_.toc->audioEnd(current.number)} * kCdFramesPerSector);
            state_.wake.notify_one();
        } else {
            startAt(current.number);
        }
    }
    engine_.flush();
}

void CdDevice::eject() {
    requireOpen();
    bool wasPlaying;
    {
        std::lock_guard lock(state_.mutex);
        wasPlaying = state_.playing;
        if (state_.disc == CdDiscState::None) {
            // Nothing to take out: the tray goes back in (an image is put back), and the disc
            // is read as any newly inserted one.
            state_.clear(CdDiscState::NotReady);
            state_.insertRequested = true;
        } else {
            // Reported at once, so that the player never reads the disc that is on its way out.
            state_.clear(CdDiscState::None);
            state_.ejectRequested = true;
        }
    }
    state_.wake.notify_one();
    // The disc's sound that the output still holds goes with it.
    if (std::exchange(heldByPause_, false) || wasPlaying)
        engine_.flush();
}

void CdDevice::insertDisc() {
    requireOpen();
    {
        std::lock_guard lock(state_.mutex);
        if (state_.disc == CdDiscState::Ready)
            return;
        state_.clear(CdDiscState::NotReady);
        state_.insertRequested = true;
    }
    state_.wake.notify_one();
}

void CdDevice::checkMedia() {
    requireOpen();
    request(&CdPlayState::checkRequested);
}

DeviceMode CdDevice::mode() const {
    if (!worker_)
        return DeviceMode::NotReady;
    std::lock_guard lock(state_.mutex);
    switch (state_.disc) {
    case CdDiscState::NotReady:
        return DeviceMode::NotReady;
    case CdDiscState::None:
        return DeviceMode::Open;
    case CdDiscState::Ready:
        break;
    }
    return state_.playing ? DeviceMode::Playing : DeviceMode::Stopped;
}

int CdDevice::tracks() const {
    requireOpen();
    std::lock_guard lock(state_.mutex);
    return state_.toc ? state_.toc->count() : 0;
}

std::uint32_t CdDevice::trackLength(int track) const {
    requireOpen();
    std::lock_guard lock(state_.mutex);
    return state_.toc ? state_.toc->lengthMsf(track) : 0;
}

std::uint32_t CdDevice::position() const {
    if (!worker_)
        return 0;
    std::lock_guard lock(state_.mutex);
    if (!state_.toc)
        return 0;
    // Before a track's start (its pregap heard on the way, the hidden track) it shows 00:00.
    const CdTrack& track = shownTrack();
    const auto into = static_cast<unsigned>(
        std::max<std::int64_t>(0, sectorOf(state_.playFrame) - std::int64_t{track.start}));
    return PackTmsf(static_cast<unsigned>(track.number), into / (60 * kCdSectorsPerSecond),
                    into / kCdSectorsPerSecond % 60, into % kCdSectorsPerSecond);
}

std::uint32_t CdDevice::length() const {
    requireOpen();
    std::lock_guard lock(state_.mutex);
    return state_.toc ? state_.toc->discLengthMsf() : 0;
}

DiscText CdDevice::discText() const {
    if (!worker_)
        return {};
    std::lock_guard lock(state_.mutex);
    return state_.text;
}

std::string CdDevice::takeProblem() {
    if (!worker_)
        return {};
    std::lock_guard lock(state_.mutex);
    if (state_.problems == problemsTaken_)
        return {};
    problemsTaken_ = state_.problems;
    return state_.problem;
}

void CdDevice::waitIdle() {
    if (!worker_)
        return;
    std::unique_lock lock(state_.mutex);
    state_.topUpRequested = true;
    state_.wake.notify_one();
    state_.idle.wait(lock, [this] {
        return state_.workerIdle && !state_.commandsPending() &&
               !state_.readWanted(kCdFramesPerSector);
    });
}

std::uint64_t CdDevice::speedRequests() const {
    std::lock_guard lock(state_.mutex);
    return state_.speedRequests;
}

bool CdDevice::sounding() const {
    std::lock_guard lock(state_.mutex);
    return state_.disc == CdDiscState::Ready && state_.playing;
}

bool CdDevice::waiting() const {
    std::lock_guard lock(state_.mutex);
    return state_.disc == CdDiscState::Ready && state_.playing && state_.ring.size() == 0 &&
           state_.playFrame < state_.endFrame;
}

void CdDevice::renderAudio(float* out, std::size_t frames) {
    std::size_t done = 0;
    bool refill = false;
    {
        std::lock_guard lock(state_.mutex);
        if (state_.disc == CdDiscState::Ready && state_.playing) {
            const auto left = static_cast<std::size_t>(state_.endFrame - state_.playFrame);
            done = state_.ring.read(out, std::min(frames, left));
            state_.playFrame += static_cast<std::int64_t>(done);
            if (state_.playFrame >= state_.endFrame)
                state_.playing = false; // end of the disc (or a data track): stopped there
            refill = state_.workerIdle && state_.ring.space() >= CdPlayState::kRefillFrames;
        }
    }
    std::fill(out + done * 2, out + frames * 2, 0.0f);
    if (refill)
        state_.wake.notify_one();
}

} // namespace tobira
