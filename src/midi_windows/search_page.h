// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "forms/controls_state.h"
#include "ports/ports.h"
#include "midi_windows/edit_requests.h"
#include "midi_windows/list_snapshot.h"

#include <array>
#include <string>
#include <vector>

namespace tobira {

class MidiPagesHost;

// The " Search " page of the MIDI control window: keyword search over both lists (loose or
// strict), playing or collecting any selection of the results, the missing-file check, the
// jump to a result's list entry, and the two start folders of automatic adding.
class SearchPage final {
  public:
    // How the result list is painted.
    enum class ResultColor { ButtonFace, Window, Yellow };

    SearchPage(std::string list0Path, std::string list1Path, std::string settingsPath,
               MessagePort& messages, ChooserPort& choosers, BusyCursorPort& busy,
               MidiPagesHost& host);

    std::string ComboBoxKeyWord;                   // the keyword, code page 932
    std::vector<std::string> ComboBoxKeyWordItems; // composer keywords
    EditRequests ComboBoxKeyWordRequests;
    // Each result is the list digit, ": " and the raw list line.
    std::vector<std::string> ListBoxSearch;
    std::vector<bool> ListBoxSearchSelected; // index-parallel to ListBoxSearch
    ResultColor ListBoxSearchColor = ResultColor::ButtonFace;
    LabelState PanelMode;
    ButtonState ButtonSearch, ButtonClear, ButtonAll, ButtonMon, ButtonJump, BitBtnCheck,
        BitBtnAddA, ButtonRef;
    LabelState PanelMsg;
    std::string EditList0, EditList1; // start folders of automatic adding (OPENFOLD0/1)
    EditRequests EditList0Requests, EditList1Requests;
    std::string LabelFocus; // "0" or "1": the folder box clicked last

    bool IsStrictMode() const { return PanelMode.Font == colors::Blue; }

    // The page becomes the current one; the keyword box takes the focus.
    void Activate();
    void BuildKeywordList();
    void ButtonSearchClick();
    // Appends the matches of one list's lines; returns their number.
    int SearchList(char digit, ListSnapshot& list);
    void PanelModeClick();
    // A click in the keyword box, or a keyword chosen from its list, selects all of its text.
    void ComboBoxKeyWordClick();
    // The user's selection of results changed.
    void ListBoxSearchClick(const std::vector<bool>& selected);
    void ButtonAllClick();
    void ButtonClearClick();
    // "List" and "Album" are live exactly while a result is selected.
    void FollowSelection();
    // Also the result list's double-click.
    void ButtonMonClick();
    void BitBtnCheckClick();
    int FindMissingFiles(char digit, const std::vector<std::string>& lines);
    void ButtonJumpClick();
    void BitBtnAddAClick();
    void PanelMsgClick();
    void EditList0Click();
    void EditList1Click();
    void ButtonRefClick();
    void SaveOpenFolders();

  private:
    std::vector<std::size_t> SelectedResults() const;
    // Reads each existing list file through its snapshot and calls `each`; an unreadable file
    // shows its message and is passed over.
    template <typename Each> void ForEachList(Each&& each);

    std::array<std::string, 2> listPaths_;
    std::string settingsPath_;
    MessagePort& messages_;
    ChooserPort& choosers_;
    BusyCursorPort& busy_;
    MidiPagesHost& host_;
    std::array<ListSnapshot, 2> snapshots_;
};

} // namespace tobira
