// SPDX-License-Identifier: GPL-3.0-or-later
#include "files/file_identity.h"

#include "text/cp932_convert.h"

#include <sys/stat.h>

namespace tobira {

std::optional<FileIdentity> IdentityOf(const std::string& cp932Path) {
    struct stat info {};
    if (::stat(PathFromCp932(cp932Path).c_str(), &info) != 0)
        return std::nullopt;
    auto ns = [](const timespec& time) {
        return static_cast<std::int64_t>(time.tv_sec) * 1'000'000'000 + time.tv_nsec;
    };
    FileIdentity id;
    id.device = static_cast<std::uint64_t>(info.st_dev);
    id.inode = static_cast<std::uint64_t>(info.st_ino);
    id.size = static_cast<std::uint64_t>(info.st_size);
    id.modifiedNs = ns(info.st_mtim);
    id.changedNs = ns(info.st_ctim);
    return id;
}

} // namespace tobira
