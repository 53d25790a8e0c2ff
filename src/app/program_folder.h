// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <filesystem>
#include <functional>
#include <optional>
#include <string>

namespace tobira {

// Where the program keeps its files: $TOBIRA_HOME when set; else the executable's folder when it
// is writable and not an installed copy (a portable copy such as the build tree); else
// $XDG_DATA_HOME/tobira (~/.local/share/tobira), created when missing.
//
// An installed copy is one whose executable sits in <prefix>/bin beside
// <prefix>/share/applications/tobira.desktop. Its folder is writable for root, but the user's
// files must never land among the system's programs.
struct ProgramFolderInputs {
    std::function<std::optional<std::string>(const char*)> environment; // getenv
    std::filesystem::path executableFolder;
    std::function<bool(const std::filesystem::path&)> isWritable;
    std::function<bool(const std::filesystem::path&)> exists;
};

bool IsInstalledCopy(const ProgramFolderInputs& inputs);

// Throws std::runtime_error when no usable folder can be found or made.
std::filesystem::path ResolveProgramFolder(const ProgramFolderInputs& inputs);

// The real environment, the running executable's folder and access(W_OK).
ProgramFolderInputs SystemProgramFolderInputs();

} // namespace tobira
