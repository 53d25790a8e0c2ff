// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The order in which song lists are held and written: case-insensitive and aware of Japanese
// text, on code page 932 bytes. Classes in ascending order: control bytes (so a title that is a
// prefix of another comes first, its TAB being lowest), "!", other symbols (ASCII first, then
// the double-byte ones), digits, Latin, Greek and Cyrillic letters, kana, then kanji and all
// else in code order. Letter case and half/full width of letters and digits are ignored, as is
// hiragana against katakana (half-width katakana included); texts equal under these rules are
// ordered by their bytes, so the order is total and a sorted list sorts to itself.
//
// What the rest of the player relies on: a line with a new-song mark sorts before every line
// that starts with any other printable character, "!1 " lines before "!2 " before "!3 ", and
// within each group by title.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace tobira {

// < 0, 0 or > 0 as `a` sorts before, with or after `b` (0 only for equal bytes).
int CompareListLines(std::string_view a, std::string_view b);

// A byte string whose plain byte order (memcmp) agrees with CompareListLines up to the final
// tie-break by bytes: compare keys first, the lines themselves when keys are equal.
std::string ListCollationKey(std::string_view line);

// The positions of `lines` taken in ascending CompareListLines order (a list has fewer than
// 2^32 lines: the file would be bigger than 8 GB).
std::vector<std::uint32_t> ListSortOrder(const std::vector<std::string_view>& lines);

// Sorts in place, ascending by CompareListLines.
void SortListLines(std::vector<std::string>& lines);

} // namespace tobira
