// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Reading and writing the song list files GAKUFU.DT0 and GAKUFU.DT1 (albums use the same
// format): one record per line, every line a record, CR LF after each line.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tobira {

// The lines of a list file's bytes. A line ends at CR, at LF or at CR LF; a NUL byte ends the
// text. A last line without a line end counts; a final line end adds no empty line.
std::vector<std::string> SplitListText(std::string_view bytes);

// The bytes of a list file: every line followed by CR LF, in the given order.
std::string JoinListText(const std::vector<std::string>& lines);

// Reads a list file (code page 932 path) and sorts its lines (SortListLines). Empty optional
// when the file does not exist; throws std::system_error when it exists but cannot be read.
std::optional<std::vector<std::string>> ReadListFile(const std::string& path);

// Writes the lines in the order held, replacing the file atomically: on any failure the old
// file is left whole and std::system_error is thrown (the caller lets the general error box
// report it).
void WriteListFile(const std::string& path, const std::vector<std::string>& lines);

} // namespace tobira
