#pragma once
// The MIDI files of one folder, as automatic adding and the album list see them.

#include <string>
#include <string_view>
#include <vector>

namespace tobira {

// Names (code page 932) of the regular files directly in `folder` whose extension is
// `extension` in any letter case (".MID", ".ABM"), sorted by their bytes. Folders, broken links
// and names that code page 932 cannot write are left out. Throws std::system_error when the
// folder cannot be listed.
std::vector<std::string> FilesWithExtension(std::string_view folder, std::string_view extension);

// The same for the MIDI songs: the names IsMidiFileName takes.
std::vector<std::string> MidiFilesIn(std::string_view folder);

// `folder` and `name` joined by one "/".
std::string JoinFolder(std::string_view folder, std::string_view name);

} // namespace tobira
