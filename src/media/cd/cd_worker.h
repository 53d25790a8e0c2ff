// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The CD device's own thread: everything that may block on a drive or a disk runs here (opening
// the medium, reading the TOC, media polling, eject, and reading audio ahead into the ring).
// It talks to the rest of the device only through CdPlayState.

#include "media/cd/cd_drive_lock.h"
#include "media/cd/cd_deemphasis.h"
#include "media/cd/cd_medium.h"
#include "media/cd/cd_play_state.h"

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace tobira {

struct CdSource {
    enum class Kind {
        Image,     // `path` is the CUE sheet
        Drive,     // `path` is the drive named by the user; `lock` holds it
        FirstDrive // the first drive found; `lock` is empty until one turns up
    };
    Kind kind = Kind::FirstDrive;
    std::filesystem::path path;
    std::unique_ptr<CdDriveLock> lock;
};

class CdWorker final {
  public:
    // Starts the thread, which first reads the medium (the state stays NotReady till then).
    // `textLocale` chooses the CD-Text language.
    CdWorker(CdSource source, CdPlayState& state, std::chrono::milliseconds pollInterval,
             std::string textLocale);
    // Stops the thread; waits for a drive command under way to end.
    ~CdWorker();
    CdWorker(const CdWorker&) = delete;
    CdWorker& operator=(const CdWorker&) = delete;

  private:
    // Size and modification time of a file, to notice an image being replaced or re-inserted.
    struct FileStamp {
        std::uintmax_t size = 0;
        std::filesystem::file_time_type written{};
        bool operator==(const FileStamp&) const = default;
    };
    struct ReadJob {
        std::int64_t frame = 0;
        std::int32_t sectors = 0;
        std::uint64_t generation = 0;
    };

    void run();
    void handleCommands(bool eject, bool insert, bool check);
    void load();
    void loadDrive();
    void check();
    void ejectDisc();
    void insertDisc();
    void readAhead(const ReadJob& job);
    bool emphasised(std::int32_t lsn) const;
    // Once for every disc read, before its audio is.
    void slowDown();
    bool findDrive();
    std::optional<FileStamp> stampOf(const std::filesystem::path& file) const;
    std::vector<std::optional<FileStamp>> imageStamps() const;
    void publish(std::optional<CdToc> toc, DiscText text = {}, std::string problem = {});
    void publishNotReady();

    CdSource source_;
    CdPlayState& state_;
    const std::chrono::milliseconds pollInterval_;
    const std::string textLocale_;
    std::unique_ptr<CdMedium> medium_;
    bool ejected_ = false;                          // image: taken out until inserted again
    std::vector<std::filesystem::path> imageFiles_; // the sheet and the files it names
    std::vector<std::optional<FileStamp>> stamps_;
    CdDriveStatus lastStatus_ = CdDriveStatus::Unknown;
    bool filling_ = false;
    // Sectors [from, to) of the tracks mastered with pre-emphasis, and the filter's state as of
    // the frame the last read that reached the ring ended at.
    std::vector<std::pair<std::int32_t, std::int32_t>> emphasised_;
    CdDeemphasis deemphasis_;
    std::int64_t deemphasisFrame_ = -1;
    std::vector<unsigned char> raw_;
    std::vector<float> samples_;
    std::thread thread_; // last: starts after everything above exists
};

} // namespace tobira
