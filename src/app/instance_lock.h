// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <filesystem>

namespace tobira {

// The per-user single-instance lock: an flock() on a lock file. The kernel releases it when the
// holder exits, also after a crash or a kill, so a stale lock never blocks a later start.
class InstanceLock final {
  public:
    explicit InstanceLock(std::filesystem::path lockFile);
    ~InstanceLock();
    InstanceLock(const InstanceLock&) = delete;
    InstanceLock& operator=(const InstanceLock&) = delete;

    // True when this object now holds the lock; false when another holder has it.
    // Throws std::runtime_error when the lock file cannot be opened at all.
    bool tryAcquire();
    void release();
    bool held() const { return fd_ >= 0; }

    // $XDG_RUNTIME_DIR/tobira.lock, else <temp folder>/tobira-<uid>.lock.
    static std::filesystem::path DefaultPath();

  private:
    std::filesystem::path path_;
    int fd_ = -1;
};

} // namespace tobira
