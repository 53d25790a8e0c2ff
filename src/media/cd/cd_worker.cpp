// SPDX-License-Identifier: GPL-3.0-or-later
#include "media/cd/cd_worker.h"

#include "media/media_device.h"

#include <algorithm>
#include <limits>
#include <system_error>
#include <utility>

namespace tobira {

namespace {

// A third of a second per read: short enough that a stop or an eject waits little behind it.
constexpr std::int32_t kReadSectors = kCdSectorsPerSecond / 3;

float toFloat(unsigned char low, unsigned char high) {
    const auto v = static_cast<std::int16_t>(static_cast<std::uint16_t>(low | (high << 8)));
    return static_cast<float>(v) / 32768.0f;
}

} // namespace

CdWorker::CdWorker(CdSource source, CdPlayState& state, std::chrono::milliseconds pollInterval,
                   std::string textLocale)
    : source_(std::move(source)), state_(state), pollInterval_(pollInterval),
      textLocale_(std::move(textLocale)),
      raw_(static_cast<std::size_t>(kReadSectors) * kCdSectorBytes),
      samples_(static_cast<std::size_t>(kReadSectors) * kCdFramesPerSector * 2),
      thread_([this] { run(); }) {}

CdWorker::~CdWorker() {
    {
        std::lock_guard lock(state_.mutex);
        state_.quit = true;
    }
    state_.wake.notify_all();
    thread_.join();
}

void CdWorker::run() {
    load();
    auto nextCheck = std::chrono::steady_clock::now() + pollInterval_;
    std::unique_lock lock(state_.mutex);
    while (!state_.quit) {
        const bool due = std::chrono::steady_clock::now() >= nextCheck;
        if (state_.commandsPending() || due) {
            const bool eject = std::exchange(state_.ejectRequested, false);
            const bool insert = std::exchange(state_.insertRequested, false);
            const bool check = std::exchange(state_.checkRequested, false) || due;
            lock.unlock();
            handleCommands(eject, insert, check);
            if (check)
                nextCheck = std::chrono::steady_clock::now() + pollInterval_;
            lock.lock();
            continue;
        }
        // Once woken for a refill, fill the ring to the top rather than a little at a time.
        const std::size_t room = filling_ || state_.topUpRequested
                                     ? static_cast<std::size_t>(kCdFramesPerSector)
                                     : CdPlayState::kRefillFrames;
        if (state_.readWanted(room)) {
            filling_ = true;
            const std::int64_t frame = state_.fillFrame();
            const std::int64_t roomSectors =
                static_cast<std::int64_t>(state_.ring.space()) / kCdFramesPerSector;
            const std::int64_t leftSectors =
                (state_.endFrame - frame + kCdFramesPerSector - 1) / kCdFramesPerSector;
            const ReadJob job{frame,
                              static_cast<std::int32_t>(
                                  std::min<std::int64_t>({kReadSectors, roomSectors, leftSectors})),
                              state_.generation};
            lock.unlock();
            readAhead(job);
            lock.lock();
            continue;
        }
        filling_ = false;
        state_.topUpRequested = false;
        state_.workerIdle = true;
        state_.idle.notify_all();
        state_.wake.wait_until(lock, nextCheck);
        state_.workerIdle = false;
    }
}

void CdWorker::handleCommands(bool eject, bool insert, bool check) {
    if (eject)
        ejectDisc();
    if (insert)
        insertDisc();
    if (check && !eject && !insert)
        this->check();
}

void CdWorker::load() {
    medium_.reset();
    if (source_.kind != CdSource::Kind::Image) {
        loadDrive();
        return;
    }
    if (ejected_) {
        publish(std::nullopt);
        return;
    }
    CdMedium::ImageOpen opened = CdMedium::openImage(source_.path);
    medium_ = std::move(opened.medium);
    imageFiles_ = std::move(opened.files);
    std::optional<CdToc> toc = medium_ ? medium_->readToc() : std::nullopt;
    DiscText text = medium_ ? medium_->readText(textLocale_) : DiscText{};
    if (!toc)
        medium_.reset();
    slowDown();
    // Taken after reading, so that the writing of the files we just read is not a change.
    stamps_ = imageStamps();
    publish(std::move(toc), std::move(text), std::move(opened.problem));
}

void CdWorker::loadDrive() {
    if (!source_.lock && !findDrive()) {
        publish(std::nullopt);
        return;
    }
    lastStatus_ = source_.lock->status();
    if (lastStatus_ == CdDriveStatus::NotReady) {
        publishNotReady();
        return;
    }
    if (lastStatus_ == CdDriveStatus::NoDisc) {
        publish(std::nullopt);
        return;
    }
    medium_ = CdMedium::openDrive(source_.lock->device());
    std::optional<CdToc> toc = medium_ ? medium_->readToc() : std::nullopt;
    DiscText text = toc ? medium_->readText(textLocale_) : DiscText{};
    if (toc)
        slowDown();
    source_.lock->mediaChanged(); // this disc is the one we just read
    publish(std::move(toc), std::move(text));
}

bool CdWorker::findDrive() {
    if (source_.kind != CdSource::Kind::FirstDrive)
        return false;
    for (const std::string& drive : CdMedium::findDrives()) {
        try {
            source_.lock = std::make_unique<CdDriveLock>(drive, drive);
            return true;
        } catch (const DeviceError&) {
            // Held by another program: try the next one, and this one again at the next check.
        }
    }
    return false;
}

void CdWorker::check() {
    if (source_.kind == CdSource::Kind::Image) {
        // A changed or re-created image is a newly inserted disc; a vanished one is no disc.
        std::vector<std::optional<FileStamp>> now = imageStamps();
        if (now == stamps_)
            return;
        stamps_ = now;
        ejected_ = false;
        load();
        return;
    }
    if (!source_.lock) {
        if (findDrive())
            load();
        return;
    }
    const CdDriveStatus status = source_.lock->status();
    const bool changed = source_.lock->mediaChanged();
    if (status != lastStatus_ || changed)
        load();
}

void CdWorker::ejectDisc() {
    if (source_.kind == CdSource::Kind::Image) {
        ejected_ = true;
        medium_.reset();
        publish(std::nullopt);
        return;
    }
    if (!source_.lock)
        return;
    if (!medium_)
        medium_ = CdMedium::openDrive(source_.lock->device());
    if (medium_)
        medium_->ejectDrive();
    medium_.reset();
    lastStatus_ = source_.lock->status();
    source_.lock->mediaChanged();
    publish(std::nullopt);
}

void CdWorker::insertDisc() {
    if (source_.kind == CdSource::Kind::Image) {
        ejected_ = false;
        load();
        return;
    }
    medium_.reset();
    if (source_.lock)
        CdMedium::closeTray(source_.lock->device());
    // Without a drive this looks for one again, and says no disc otherwise.
    load();
}

void CdWorker::readAhead(const ReadJob& job) {
    const std::int32_t lsn = static_cast<std::int32_t>(job.frame / kCdFramesPerSector);
    const std::size_t bytes = static_cast<std::size_t>(job.sectors) * kCdSectorBytes;
    // An unreadable stretch (a scratch, a disc pulled out) plays as silence: the position
    // still moves on, and the media check notices a missing disc.
    if (!medium_ || !medium_->readAudio(lsn, job.sectors, raw_.data()))
        std::fill_n(raw_.begin(), bytes, 0);
    for (std::size_t i = 0; i < bytes / 2; ++i)
        samples_[i] = toFloat(raw_[2 * i], raw_[2 * i + 1]);
    // Sector by sector, so that the filter starts and stops on a track's first sample.
    CdDeemphasis filter = deemphasis_;
    if (!emphasised_.empty()) {
        if (job.frame != deemphasisFrame_)
            filter.restart();
        for (std::int32_t s = 0; s < job.sectors; ++s) {
            float* sector =
                samples_.data() + std::size_t{2} * kCdFramesPerSector * static_cast<std::size_t>(s);
            if (emphasised(lsn + s))
                filter.filter(sector, kCdFramesPerSector);
            else
                filter.pass(sector, kCdFramesPerSector);
        }
    }

    std::lock_guard lock(state_.mutex);
    if (job.generation != state_.generation || job.frame != state_.fillFrame())
        return; // a seek, stop at a new disc or eject came in meanwhile
    const std::int64_t frames = std::min<std::int64_t>(
        std::int64_t{job.sectors} * kCdFramesPerSector, state_.endFrame - job.frame);
    state_.ring.write(samples_.data(), static_cast<std::size_t>(frames));
    deemphasis_ = filter;
    deemphasisFrame_ = job.frame + std::int64_t{job.sectors} * kCdFramesPerSector;
}

void CdWorker::slowDown() {
    if (!medium_)
        return;
    medium_->slowDown();
    std::lock_guard lock(state_.mutex);
    ++state_.speedRequests;
}

bool CdWorker::emphasised(std::int32_t lsn) const {
    for (const auto& [from, to] : emphasised_)
        if (lsn >= from && lsn < to)
            return true;
    return false;
}

std::optional<CdWorker::FileStamp> CdWorker::stampOf(const std::filesystem::path& file) const {
    std::error_code error;
    const auto written = std::filesystem::last_write_time(file, error);
    if (error)
        return std::nullopt;
    const auto size = std::filesystem::is_regular_file(file, error)
                          ? std::filesystem::file_size(file, error)
                          : std::uintmax_t{0};
    if (error)
        return std::nullopt;
    return FileStamp{size, written};
}

std::vector<std::optional<CdWorker::FileStamp>> CdWorker::imageStamps() const {
    std::vector<std::optional<FileStamp>> stamps;
    for (const std::filesystem::path& file : imageFiles_)
        stamps.push_back(stampOf(file));
    return stamps;
}

void CdWorker::publish(std::optional<CdToc> toc, DiscText text, std::string problem) {
    emphasised_.clear();
    deemphasisFrame_ = -1;
    for (std::size_t i = 0; toc && i < toc->tracks().size(); ++i) {
        const CdTrack& t = toc->tracks()[i];
        // Track 1's pregap, hidden audio included, is part of track 1.
        if (t.audio && t.preEmphasis)
            emphasised_.emplace_back(i == 0 ? std::numeric_limits<std::int32_t>::min() : t.start,
                                     t.start + t.sectors);
    }
    const std::int32_t firstLsn = medium_ && toc ? medium_->firstLsn() : 0;
    std::lock_guard lock(state_.mutex);
    state_.setDisc(std::move(toc), firstLsn);
    if (state_.toc)
        state_.text = std::move(text);
    if (!problem.empty()) {
        state_.problem = std::move(problem);
        ++state_.problems;
    }
}

void CdWorker::publishNotReady() {
    std::lock_guard lock(state_.mutex);
    state_.clear(CdDiscState::NotReady);
}

} // namespace tobira
