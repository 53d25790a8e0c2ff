// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/leftover_temp_files.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <system_error>

namespace tobira {

namespace {

// The names written by the whole-file writer in the program folder.
constexpr std::array<std::string_view, 8> kOwnFiles = {
    "TOBIRA.INI",    "TOBIRA.DAT",    "GAKUFU.DT0",    "GAKUFU.DT1",
    "GAKUFU_GM.MID", "GAKUFU_GS.MID", "GAKUFU_88.MID", "APPLAUSE.WAV",
};

// mkstemp's six characters.
constexpr std::size_t kSuffix = 6;

bool IsAlbumName(std::string_view file) {
    if (file.size() <= 4)
        return false;
    const std::string_view ext = file.substr(file.size() - 4);
    return std::equal(ext.begin(), ext.end(), std::string_view(".ABM").begin(), [](char a, char b) {
        return std::toupper(static_cast<unsigned char>(a)) == b;
    });
}

} // namespace

bool IsLeftoverTempName(std::string_view name) {
    if (name.size() < 1 + 1 + 1 + kSuffix || name.front() != '.')
        return false;
    const std::string_view suffix = name.substr(name.size() - kSuffix);
    if (!std::all_of(suffix.begin(), suffix.end(),
                     [](char c) { return std::isalnum(static_cast<unsigned char>(c)); }))
        return false;
    if (name[name.size() - kSuffix - 1] != '.')
        return false;
    const std::string_view file = name.substr(1, name.size() - kSuffix - 2);
    return IsAlbumName(file) ||
           std::find(kOwnFiles.begin(), kOwnFiles.end(), file) != kOwnFiles.end();
}

std::vector<std::filesystem::path> RemoveLeftoverTempFiles(const std::filesystem::path& folder,
                                                           const InstanceLock& lock) {
    std::vector<std::filesystem::path> removed;
    if (!lock.held())
        return removed;
    std::error_code ec;
    std::filesystem::directory_iterator it(folder, ec);
    for (; !ec && it != std::filesystem::directory_iterator(); it.increment(ec)) {
        const auto& path = it->path();
        if (!IsLeftoverTempName(path.filename().string()))
            continue;
        std::error_code statError;
        if (std::filesystem::symlink_status(path, statError).type() !=
            std::filesystem::file_type::regular)
            continue;
        std::error_code removeError;
        if (std::filesystem::remove(path, removeError))
            removed.push_back(path);
    }
    return removed;
}

} // namespace tobira
