// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "forms/controls_state.h"
#include "forms/form_model.h"
#include "ports/ports.h"
#include "forms/typed_text.h"

#include <string>
#include <vector>

namespace tobira {

class TFormList;
class TFormMain;
class TFormPattern;

// The management window of the stored CD programs (TOBIRA.DAT): every record as a raw line,
// sorted; search by the disc in the drive or by title; free editing and deleting of a line.
// Each change writes the whole list back to the file and reloads the disc's patterns.
class TFormManage final : public FormModel {
  public:
    // A list box: its lines (code page 932) and the selected one (-1: none).
    struct ListBox {
        std::vector<std::string> Items;
        int ItemIndex = -1;
    };

    explicit TFormManage(Ports ports);

    ListBox ListBoxManage; // the file's lines, sorted case-insensitively
    ListBox ListBoxTitle;  // the non-empty titles of those lines, sorted alike
    std::string EditManage;
    // Aqua: the loaded line is the drive's disc; yellow: another disc; white: nothing loaded.
    Color EditManageColor = colors::White;
    std::string PanelTITLE;
    ButtonState SpeedButtonCDID; // caption = the DiscId of the disc in the drive
    ButtonState SpeedButtonEDIT, SpeedButtonDEL;

    // The main window (file path, pattern table), the track control window (its DiscId) and the
    // selector, whose rows show the patterns. Set once by the window set.
    void SetPeers(TFormMain& main, TFormList& list, TFormPattern& selector) {
        main_ = &main;
        list_ = &list;
        selector_ = &selector;
    }

    // Shows the window. When it was hidden, that is an opening (FormShow).
    void Show();
    // What every opening does: loads the file from scratch into the lists.
    void FormShow();
    // A click on line `index` of ListBoxManage: the line goes into the edit field.
    void ListBoxManageClick(int index);
    // Search by CD number: selects the first line of the drive's disc, or beeps.
    void SpeedButtonCDIDClick();
    // Search by title: selects the first line whose title is that of ListBoxTitle's line `index`.
    void ListBoxTitleClick(int index);
    // The user typed in the edit field.
    void EditManageChange(const TypedText& text);
    void SpeedButtonEDITClick();
    void SpeedButtonDELClick();
    void ButtonCLOSEClick() { Hide(); }

    // The title of a line: the text after its first full stop, cut to 999 bytes; empty when it
    // has no full stop.
    static std::string LineTitle(const std::string& line);

  private:
    const std::string& discId() const;
    void fillTitleList();
    void clearEditField();
    // Writes the list to the file and reloads the disc's patterns; false when the write failed.
    bool saveList();
    // After a delete or a modify: clears the selection and the edit field, saves, and tells.
    void saveChange(const char* savedUtf8, const char* failedUtf8);

    Ports ports_;
    TFormMain* main_ = nullptr;
    TFormList* list_ = nullptr;
    TFormPattern* selector_ = nullptr;
};

} // namespace tobira
