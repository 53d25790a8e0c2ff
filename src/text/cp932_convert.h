// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Conversion between code page 932 (the core's text) and UTF-8 (Qt and the file system),
// through glibc iconv: where texts cross into Qt or the file system, and where the core makes
// its code page 932 texts from UTF-8 literals.

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace tobira {

// Never fails: a byte sequence that code page 932 does not define, or a lead byte cut off at the
// end, becomes U+FFFD.
std::string Cp932ToUtf8(std::string_view cp932);

// Never fails: a character that code page 932 cannot hold becomes "?" (0x3F); invalid UTF-8
// bytes likewise. Use TryUtf8ToCp932 where a lossy result must be refused (file paths).
std::string Utf8ToCp932(std::string_view utf8);

// Empty optional when any character cannot be written in code page 932, or the input is not
// valid UTF-8.
std::optional<std::string> TryUtf8ToCp932(std::string_view utf8);

// A core path (code page 932) as a file-system path (UTF-8).
std::filesystem::path PathFromCp932(std::string_view cp932);

// A file-system path as a core path; empty when the name cannot be written in code page 932, or
// would come back from it as another name (U+301C 〜 is written as ～'s code and read as ～).
std::optional<std::string> Cp932FromPath(const std::filesystem::path& path);

} // namespace tobira
