// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Whole-file reads and crash-safe whole-file writes for the program's data files.

#include "files/regular_file.h"

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace tobira {

// The file's bytes; an empty optional when it does not exist. Throws FileError (a
// std::system_error whose what() is the program's message) when it exists but cannot be read:
// no permission, not a regular file (never blocks on a FIFO), larger than `limit` bytes, an I/O
// error.
std::optional<std::string> ReadWholeFile(const std::filesystem::path& path,
                                         std::uint64_t limit = read_limit::Data);

// Replaces the file's content with `bytes`, or creates the file. The bytes go to a new
// temporary file in the same folder, are flushed to the disk and the temporary file is renamed
// over the old one, so the old content stays whole until the new one is complete. An existing
// file keeps its permissions (and, where allowed, its owner); a symbolic link keeps pointing at
// the file it names. A file without any write permission is refused even for the super-user,
// since rename would otherwise replace it. Throws std::system_error on any failure, after
// removing the temporary file.
void WriteFileAtomically(const std::filesystem::path& path, std::string_view bytes);

} // namespace tobira
