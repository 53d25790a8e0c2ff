// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "forms/controls_state.h"
#include "ports/ports.h"

#include <string>
#include <vector>

namespace tobira {

// The "Album" page of the MIDI control window: albums (NAME.ABM in the program folder, one
// list line per song, in the user's order) listed, loaded, renamed and deleted on the
// management tab, made and edited on the create-and-edit tab.
class AlbumPage final {
  public:
    static constexpr int kManageTab = 0;
    static constexpr int kEditTab = 1;

    // `programFolder` is code page 932 and ends with "/".
    AlbumPage(std::string programFolder, MessagePort& messages, BusyCursorPort& busy);

    int InnerPage = kManageTab;

    // Management tab.
    std::vector<std::string> ListBoxATitles; // full paths of the album files
    int ATitlesIndex = -1;
    std::string EditATitles;
    ButtonState SpeedButtonATitleAll, SpeedButtonATitleDel, SpeedButtonATitleEdit;

    // Create-and-edit tab.
    std::vector<std::string> ListBoxAContents;
    int AContentsIndex = -1;
    std::string EditAContents;
    std::string EditATitle;
    ButtonState SpeedButtonATitleLoad, SpeedButtonClear, SpeedButtonADel, SpeedButtonAEdit,
        SpeedButtonACUp, SpeedButtonACDown, SpeedButtonASave;

    void SpeedButtonATitleAllClick();
    void ListBoxATitlesClick(int index);
    void ListBoxATitlesDblClick(int index);
    void SpeedButtonATitleLoadClick();
    void SpeedButtonATitleDelClick();
    // Renames the selected album to EditATitles. A name already taken by another album, or one
    // that is not a plain file name, is refused with a message and nothing changes.
    void SpeedButtonATitleEditClick();
    void ListBoxAContentsClick(int index);
    void SpeedButtonACUpClick();
    void SpeedButtonACDownClick();
    void SpeedButtonADelClick();
    void SpeedButtonAEditClick();
    void SpeedButtonClearClick();
    void SpeedButtonASaveClick();
    // The add buttons of the list and search pages: the lines go to the end of the contents,
    // whole, and the edit tab comes up.
    void AddLines(const std::vector<std::string>& lines);

    // The album name of an album file's path: its file name up to the first ".".
    static std::string AlbumNameOf(const std::string& path);

  private:
    bool HasTitle() const;
    bool HasLine() const;
    // A clear message and false for a name that would not make a plain album file here.
    bool CheckName(const std::string& name);
    std::string AlbumPath(const std::string& name) const;

    std::string folder_;
    MessagePort& messages_;
    BusyCursorPort& busy_;
};

} // namespace tobira
