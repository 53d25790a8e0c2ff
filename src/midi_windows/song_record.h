// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// One line of a song list (GAKUFU.DT0/DT1), an album or a search result:
// Title TAB Path TAB Vol TAB Feel, code page 932.

#include <optional>
#include <string>
#include <string_view>

namespace tobira {

struct SongRecord {
    std::string Title = "-- No Title --"; // may begin with a new-song mark "!1 ", "!2 ", "!3 "
    std::string Path = "No Path";         // code page 932
    std::string Vol = "+0";               // "-5" .. "+5" as written by the program
    std::string Feel = "1";               // "0" love it, "1" normal, "2" so-so, "3" resting

    bool operator==(const SongRecord&) const = default;
};

// Splits one line. A field is taken only when a TAB follows it, except Feel, which is the rest
// of the line up to a fourth TAB when that rest is not empty; everything else keeps its default.
// So "T<TAB>P" reads with Path "No Path". Fields are never cut, whatever their length.
SongRecord SplitListLine(std::string_view line);

// The line the list pages write for a record (all four fields).
std::string JoinListLine(const SongRecord& record);

// A Vol or Feel field as a number: an optional sign and decimal digits, nothing else, within
// int. Empty for anything else (a hand-edited "x", "", "1.5").
std::optional<int> ParseListNumber(std::string_view text);

// Whether the title carries a new-song mark as the play-list builder sees it: a first "!".
constexpr bool HasNewSongMark(std::string_view title) {
    return !title.empty() && title.front() == '!';
}

} // namespace tobira
