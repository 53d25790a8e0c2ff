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
