// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Exclusive use of a CD drive for as long as the CD device is open, so that a burner or ripper
// cannot take the drive from under a playing disc (and we do not take it from them). Also the
// cheap tray and disc checks of the media polling, which never spin the disc up.

#include <string>

namespace tobira {

enum class CdDriveStatus {
    DiscPresent,
    NoDisc,   // also: tray open
    NotReady, // spinning up or busy
    Unknown,  // the drive cannot say; treat a readable TOC as the answer
};

class CdDriveLock final {
  public:
    // `device` is a file-system path; `displayName` is how messages name it (code page 932).
    // DeviceError when the path does not exist, is no CD drive, or is held by another program.
    CdDriveLock(const std::string& device, const std::string& displayName);
    ~CdDriveLock();
    CdDriveLock(const CdDriveLock&) = delete;
    CdDriveLock& operator=(const CdDriveLock&) = delete;

    const std::string& device() const { return device_; }
    CdDriveStatus status() const;
    // True once after the disc was changed since the last call.
    bool mediaChanged() const;

  private:
    std::string device_;
    int fd_ = -1;
};

} // namespace tobira
