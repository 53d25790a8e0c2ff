// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What tells one state of a file from another without reading it: the same file (device and
// inode), size and times. A file replaced or written since has another identity.

#include <cstdint>
#include <optional>
#include <string>

namespace tobira {

struct FileIdentity {
    std::uint64_t device = 0, inode = 0, size = 0;
    std::int64_t modifiedNs = 0, changedNs = 0;
    bool operator==(const FileIdentity&) const = default;
};

// Empty when the file does not exist or cannot be examined.
std::optional<FileIdentity> IdentityOf(const std::string& cp932Path);

} // namespace tobira
