// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Temporary files that a crash in the middle of a save left in the program folder.

#include "app/instance_lock.h"

#include <filesystem>
#include <string_view>
#include <vector>

namespace tobira {

// Whether `name` is the temporary file of a whole-file save (".<file>.XXXXXX", six letters or
// digits) of a file this program writes in its folder: TOBIRA.INI, TOBIRA.DAT, GAKUFU.DT0,
// GAKUFU.DT1, the three reset songs, APPLAUSE.WAV, or an album (*.ABM, any case).
bool IsLeftoverTempName(std::string_view name);

// Removes those files from `folder` (not from folders below it), only while `lock` is held: then
// no other instance can be writing one of them this moment. Only regular files go; links and
// folders with such a name stay. Returns what was removed; a file that cannot be removed is
// left alone.
std::vector<std::filesystem::path> RemoveLeftoverTempFiles(const std::filesystem::path& folder,
                                                           const InstanceLock& lock);

} // namespace tobira
