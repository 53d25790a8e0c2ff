// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "forms/controls_state.h"
#include "ports/ports.h"
#include "midi_windows/edit_requests.h"

#include <string>
#include <unordered_set>
#include <vector>

namespace tobira {

class MidiPagesHost;

// One of the list pages " List 0" and " List 1" of the MIDI control window: the songs of one
// list file, the selected song's details, adding by file or by folder, editing, deleting,
// lowering the new-song marks, listening and the documents. Both pages are this one model with
// a different list number and file. Every change is written to the list file at once.
class ListPage final {
  public:
    ListPage(int list, std::string listPath, MessagePort& messages, ChooserPort& choosers,
             BusyCursorPort& busy, MidiPagesHost& host);

    int List() const { return list_; }
    const std::string& ListPath() const { return listPath_; }

    // The file's lines, sorted; the list that is written back.
    std::vector<std::string> ListBoxTmp;
    // The split fields, index-parallel to ListBoxTmp after every load.
    std::vector<std::string> ListBoxTitle, ListBoxPath, ListBoxVol, ListBoxFeel;
    int ItemIndex = -1; // the selected title, -1 for none

    std::string EditTitle; // code page 932
    EditRequests EditTitleRequests;
    std::string EditPath;
    int RadioGroupFeel = -1; // 0 "大好き" .. 3 "お休み", -1 for none
    int ScrollBarVol = 0;    // -5 .. +5
    std::string PanelVol;    // the bar position as a Vol text
    std::string PanelAll;    // number of songs at the last load

    ButtonState SpeedButtonAuto, SpeedButtonManual, SpeedButtonDel, SpeedButtonEdit,
        SpeedButtonCtrl, SpeedButtonMon, SpeedButtonTxt, SpeedButtonDoc, SpeedButtonHed,
        SpeedButtonAddA;

    // Reads the file into the page. A missing file leaves the page as it is; an unreadable one
    // shows the list's message and leaves the page empty.
    void LoadListPage();
    // The page becomes the current one: delete, edit and monitor off, then a fresh load.
    void Activate();

    void ListBoxTitleClick(int index);
    // Shows song `index` in the detail area. A Vol or Feel that is not a number is reported
    // with the line, and nothing is shown.
    void ShowListEntry(int index);
    void ScrollBarVolChange(int position);
    // A click in the title box selects all of it.
    void EditTitleClick();
    void SpeedButtonEditClick();
    void SpeedButtonDelClick();
    void SpeedButtonCtrlClick();
    void SpeedButtonManualClick();
    void SpeedButtonAutoClick();
    // Also the title list's double-click.
    void SpeedButtonMonClick();
    void SpeedButtonTxtClick();
    void SpeedButtonDocClick();
    void SpeedButtonHedClick();
    void SpeedButtonAddAClick();

    void AddSongManually();
    // Number of songs added, or -1 when the user cancelled the folder choice.
    int AddFolderSongs();
    // No loaded song has this path, byte for byte: on Linux names differing in case are two
    // files.
    bool IsPathNew(const std::string& path) const;
    void MonitorSong();

  private:
    bool HasSelection() const;
    void ClearPage();
    void SetDocumentButtons(const std::string& path);
    void OpenSongDocument(const char* extension);
    // Writes ListBoxTmp to the file; a failure is reported naming the file, the old file stays.
    bool Save();
    void InsertSorted(std::string line);

    int list_;
    std::string listPath_;
    MessagePort& messages_;
    ChooserPort& choosers_;
    BusyCursorPort& busy_;
    MidiPagesHost& host_;
    std::unordered_set<std::string> paths_; // ListBoxPath as a set, for IsPathNew
};

// "<path> に書き込めません": a list or album file could not be written.
std::string WriteFailedMessage(const std::string& path);

// A Vol text for a bar position: "+0" .. "+5", "-1" .. "-5".
std::string VolText(int position);

} // namespace tobira
