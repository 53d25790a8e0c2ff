// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The documents beside a song: files named like the song with the extension TXT, DOC or HED.

#include <optional>
#include <string>
#include <string_view>

namespace tobira {

struct SongDocuments {
    std::optional<std::string> Txt; // code page 932 paths of the files that exist
    std::optional<std::string> Doc;
    std::optional<std::string> Hed;
};

// Looks beside `songPath` (code page 932) for its name without the extension (the last "." of
// the file name; a name without one is taken whole) plus ".TXT", ".DOC" and ".HED", the
// extension in any letter case. Where several spellings exist, the upper-case one, else the
// first in byte order, is taken. A missing folder gives none.
SongDocuments FindSongDocuments(std::string_view songPath);

} // namespace tobira

namespace tobira {

// The document of kind `extension` ("TXT", "DOC" or "HED") beside the song: the file
// FindSongDocuments finds, or, when there is none, the name it would have in upper case (so
// that opening it reports the missing file).
std::string SongDocumentPath(std::string_view songPath, std::string_view extension);

} // namespace tobira
