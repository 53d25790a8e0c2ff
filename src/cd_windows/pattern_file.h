// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The pattern file TOBIRA.DAT as a whole: its lines, the key search, the pattern table of one
// disc, and the appending and removing of records. The work is done on bytes; the functions
// that take a path (code page 932) read or write the file whole around them.
//
// The key search is a substring search: the first line that holds the key anywhere, not only
// at its start, is the key's record. Lines are kept as they are, blank or foreign ones included.

#include "cd_windows/pattern_record.h"

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tobira {

// The lines of the file's bytes. CR LF, a lone LF and a lone CR each end a line; a last line
// without an end counts, a line end at the very end opens no further line. Zero bytes give no
// lines. The views point into `bytes`.
std::vector<std::string_view> SplitPatternLines(std::string_view bytes);

// Every line followed by CR LF.
std::string JoinPatternLines(const std::vector<std::string>& lines);

// Index of the first line that contains `key`; none when no line does, or when the key is not
// usable (IsUsablePatternKey).
std::optional<std::size_t> FindPatternLine(const std::vector<std::string_view>& lines,
                                           std::string_view key);

// For each slot, the pattern text of the line FindPatternLine gives for DiscId + slot digit.
PatternTable BuildPatternTable(const std::vector<std::string_view>& lines, std::string_view discId);

// `bytes` (the file's content, possibly empty) with one record added at the end. A last line
// that lacks its line end gets one first, so the record never runs into it.
std::string AppendRecordBytes(std::string_view bytes, std::string_view key,
                              std::string_view patternText);

// `bytes` without the first line containing `key`, every remaining line ended by CR LF; none
// when no line contains it.
std::optional<std::string> RemoveRecordBytes(std::string_view bytes, std::string_view key);

// ---- On the file (path in code page 932) -----------------------------------------------------

// All lines of the file; none when it does not exist. Throws std::system_error when it exists
// but cannot be read.
std::optional<std::vector<std::string>> ReadPatternLines(const std::string& path);

// Replaces the whole file with `lines`, each ended by CR LF (an empty list leaves an empty
// file). The new content goes to a temporary file beside it that is renamed over the old one,
// so a failure leaves the old file as it was. Throws std::system_error on failure, and
// std::invalid_argument for a line holding CR or LF, which would turn into two lines.
void WritePatternLines(const std::string& path, const std::vector<std::string>& lines);

// Adds the record key + "=" + patternText + CR LF at the end of the file, creating the file when
// it does not exist. Existing records with the same key are not looked for. The file is
// rewritten whole, as above, so a failure never leaves half a line. Throws std::system_error on
// an I/O failure, and std::invalid_argument when the key is not usable or key or text holds CR
// or LF.
void AppendPatternRecord(const std::string& path, std::string_view key,
                         std::string_view patternText);

// Removes the first line containing `key` and rewrites the file whole, as above. False, with the
// file untouched, when the file does not exist or no line contains the key (an unusable key
// contains nowhere). Throws std::system_error when the file cannot be read or written.
bool DeletePatternRecord(const std::string& path, std::string_view key);

} // namespace tobira
