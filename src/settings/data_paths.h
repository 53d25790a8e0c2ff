// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <filesystem>
#include <string>

namespace tobira {

// The data files of the program folder, as code page 932 paths, built once at start-up.
struct DataPaths {
    std::string Folder; // ends with "/"
    std::string SettingsPath;
    std::string PatternPath;
    std::string List0Path;
    std::string List1Path;
    std::string ResetGmPath;
    std::string ResetGsPath;
    std::string Reset88Path;

    // Throws std::runtime_error when the folder's name cannot be written in code page 932.
    static DataPaths InFolder(const std::filesystem::path& folder);
};

} // namespace tobira
