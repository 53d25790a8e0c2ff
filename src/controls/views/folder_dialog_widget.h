// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "controls/shbrowse_for_folder_ex.h"

namespace tobira {

// The folder chooser's dialog on Qt: the caption above a tree of the file system's folders, a
// status line and OK / Cancel, modal over the program's windows.
class QtFolderDialog final : public FolderDialogPort {
  public:
    bool runFolderDialog(TSHBrowseForFolderEx& chooser) override;
};

} // namespace tobira
