#pragma once

namespace tobira {

// Shown by the setup window's version label and the author message window.
// The version is the build's own (the project version in CMake).
inline constexpr const char* kProgramVersion = TOBIRA_VERSION;
inline constexpr const char* kProgramDate = "2026-12-08";
// UTF-8. The program's own licence has not been chosen yet; the libraries' are those of the
// Debian packages it is built with.
inline constexpr const char* kProgramLicence =
    "TOBIRA のライセンスは未定です。\n"
    "使用ライブラリ: Qt 6 (LGPL-3.0)、FluidSynth (LGPL-2.1+)、libcdio (GPL-3.0+)、SDL2 (zlib)";

} // namespace tobira
