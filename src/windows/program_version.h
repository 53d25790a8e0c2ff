// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace tobira {

// Shown by the setup window's version label and the author message window.
// The version is the build's own (the project version in CMake).
inline constexpr const char* kProgramVersion = TOBIRA_VERSION;
inline constexpr const char* kProgramDate = "2026-12-08";
// UTF-8. GPL-3.0-or-later, as libcdio's licence asks of a program linking it; the libraries'
// are those of the Debian packages it is built with.
inline constexpr const char* kProgramLicence =
    "TOBIRA は GPL-3.0-or-later（GNU 一般公衆利用許諾書 第3版以降）の下で配布されます。\n"
    "使用ライブラリ: Qt 6 (LGPL-3.0)、FluidSynth (LGPL-2.1+)、libcdio (GPL-3.0+)、SDL2 (zlib)";

} // namespace tobira
