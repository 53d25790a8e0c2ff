// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/instance_lock.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <stdexcept>
#include <string>
#include <sys/file.h>
#include <unistd.h>

namespace tobira {

InstanceLock::InstanceLock(std::filesystem::path lockFile) : path_(std::move(lockFile)) {}

InstanceLock::~InstanceLock() {
    release();
}

bool InstanceLock::tryAcquire() {
    if (fd_ >= 0)
        return true;
    int fd = ::open(path_.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (fd < 0)
        throw std::runtime_error("cannot open " + path_.string() + ": " + std::strerror(errno));
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        ::close(fd);
        return false;
    }
    fd_ = fd;
    return true;
}

void InstanceLock::release() {
    if (fd_ < 0)
        return;
    // Closing drops the lock; the file stays, so a racing start never locks an unlinked file.
    ::close(fd_);
    fd_ = -1;
}

std::filesystem::path InstanceLock::DefaultPath() {
    if (const char* runtime = std::getenv("XDG_RUNTIME_DIR"); runtime && *runtime)
        return std::filesystem::path(runtime) / "tobira.lock";
    return std::filesystem::temp_directory_path() /
           ("tobira-" + std::to_string(::getuid()) + ".lock");
}

} // namespace tobira
