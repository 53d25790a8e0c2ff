// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings/data_paths.h"

#include "text/cp932_convert.h"

#include <stdexcept>

namespace tobira {

DataPaths DataPaths::InFolder(const std::filesystem::path& folder) {
    auto name = Cp932FromPath(folder);
    if (!name)
        throw std::runtime_error("the program folder's name cannot be written in code page 932: " +
                                 folder.string());
    DataPaths paths;
    paths.Folder = *name;
    if (paths.Folder.empty() || paths.Folder.back() != '/')
        paths.Folder += '/';
    paths.SettingsPath = paths.Folder + "TOBIRA.INI";
    paths.PatternPath = paths.Folder + "TOBIRA.DAT";
    paths.List0Path = paths.Folder + "GAKUFU.DT0";
    paths.List1Path = paths.Folder + "GAKUFU.DT1";
    paths.ResetGmPath = paths.Folder + "GAKUFU_GM.MID";
    paths.ResetGsPath = paths.Folder + "GAKUFU_GS.MID";
    paths.Reset88Path = paths.Folder + "GAKUFU_88.MID";
    return paths;
}

} // namespace tobira
