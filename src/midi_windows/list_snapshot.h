// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A list file as the search page last read it: its sorted lines and, made once on the first
// loose search, their loose-search forms. It is read again only when the file's identity
// (device, inode, size, times) has changed, so repeated searches cost the match
// alone.

#include "files/file_identity.h"
#include "text/search.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace tobira {

class ListSnapshot final {
  public:
    // Brings the snapshot up to date with the file. False when the file does not exist (the
    // snapshot is then empty). Throws std::system_error when it exists but cannot be read.
    bool Refresh(const std::string& cp932Path);
    const std::vector<std::string>& Lines() const { return lines_; }
    // NormaliseForLooseSearch of every line, index-parallel to Lines().
    const LineBlock& Normalised();

  private:
    std::optional<FileIdentity> identity_;
    std::vector<std::string> lines_;
    LineBlock normalised_;
    bool normalisedReady_ = false;
};

} // namespace tobira
