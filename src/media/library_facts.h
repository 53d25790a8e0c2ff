// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What the media libraries say of themselves at run time: their versions and the CD drives
// libcdio finds.

#include <string>
#include <vector>

namespace tobira {

struct LibraryVersions {
    std::string fluidSynth, libcdio, sdl2;
};
// SDL2's entry says why when the library does not open.
LibraryVersions MediaLibraryVersions();

// The drives' device names in code page 932; a name without that form is left out.
std::vector<std::string> CdDriveNames();

} // namespace tobira
