// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// How the MIDI selector names an album in its list and finds the album file again: one rule for
// listing and for playing.

#include <optional>
#include <string>
#include <string_view>

namespace tobira {

// "■ALBUM■ " in code page 932: ten bytes.
inline constexpr std::string_view kAlbumMarker = "\x81\xa1"
                                                 "ALBUM\x81\xa1 ";

bool IsAlbumEntry(std::string_view entry);

// The list entry of an album file: the marker and the file's name up to the first occurrence of
// its extension text, so ".ABM" is the album with the empty name. Nullopt for any other file.
std::optional<std::string> AlbumEntryOfFile(std::string_view fileName);

// The album name an entry holds: what follows the marker, at most 255 bytes. May be empty.
std::string AlbumNameOfEntry(std::string_view entry);

} // namespace tobira
