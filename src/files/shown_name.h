// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// File names as a message can show them.

#include <filesystem>
#include <string>
#include <string_view>

namespace tobira {

// The path in code page 932 for a message. Characters that code page 932 cannot hold (or holds
// only as another character), bytes
// that are not UTF-8 and control characters (a line break in a name) appear escaped as \xNN,
// so every name can be told to the user, whatever it holds.
std::string ShownName(const std::filesystem::path& path);

// Whether a code page 932 path holds CR, LF or TAB, which a list, album or play-list record
// cannot store (they separate records and fields).
bool HasRecordBreak(std::string_view cp932Path);

// "This name holds a line break or a tab and cannot be used", the start of the message that
// refuses such names; the names follow, one a line (code page 932).
std::string RecordBreakMessage();

} // namespace tobira
