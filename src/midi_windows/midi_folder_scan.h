// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The MIDI files of one folder, as automatic adding, folder play and the album list see them.

#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace tobira {

// Names (code page 932) of the regular files directly in `folder` whose extension is
// `extension` in any letter case (".MID", ".ABM"; a name that is the extension alone counts),
// sorted by their bytes. Folders, FIFOs, devices, broken links and names that code page 932
// cannot write are left out. Throws std::system_error when the folder cannot be listed.
std::vector<std::string> FilesWithExtension(std::string_view folder, std::string_view extension);

// A folder that cannot be scanned; what() names it and the cause (code page 932): it does not
// exist, it is no folder, or it may not be read.
class FolderScanError final : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// The songs of one folder for folder add (list pages) and folder play (MIDI selector): every
// entry whose name IsMidiFileName takes, sorted by the names' bytes.
struct MidiFolderScan {
    std::vector<std::string> Names; // playable names, code page 932
    // Left out, each named as a message shows it (escaped where needed):
    std::vector<std::string> NotRegular; // a FIFO, device, socket or folder named like a song
    // names holding CR, LF or TAB, which no record can hold; the whole path when the folder's
    // own name holds one
    std::vector<std::string> Unstorable;
    std::vector<std::string> Unshowable; // names that code page 932 cannot write (or not back)
    std::vector<std::string> LinkLoops;  // links that lead round in a circle

    // What was left out and why, one line per name (code page 932); empty when nothing was.
    std::string Report() const;
};

// Throws FolderScanError when the folder cannot be listed. Reads no file: FIFOs and devices
// are told apart by their type alone, so the scan never blocks.
MidiFolderScan ScanMidiFolder(std::string_view folder);

// `folder` and `name` joined by one "/".
std::string JoinFolder(std::string_view folder, std::string_view name);

} // namespace tobira
