#pragma once

namespace tobira {

// Shown by the setup window's version label and the author message window.
inline constexpr const char* kProgramVersion = "0.1";
inline constexpr const char* kProgramDate = "2026-12-08";

} // namespace tobira
