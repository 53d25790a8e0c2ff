#pragma once

#include "app/controls_state.h"
#include "app/form_model.h"
#include "cd/pattern_record.h"

#include <array>
#include <string>

namespace tobira {

class FormSet;

// The CD track control window: the play order's 60 entries and the ten stored programs.
//
// The play order lives in the captions of the entry buttons; the main window builds it, plays
// it entry by entry and marks the entry it plays in red.
class TFormList final : public FormModel {
  public:
    static constexpr int kEntries = 60;
    static constexpr int kNormalHeight = 185;  // entry row only
    static constexpr int kProgramHeight = 317; // entry row, edit list and slot panel

    TFormList();

    // The play order: SpeedButton1 .. SpeedButton60 at [1] .. [60] ([0] is unused), each
    // caption a track number; the order ends at the first empty caption.
    std::array<ButtonState, kEntries + 1> SpeedButton;

    LabelState LabelORG;  // name of the play order row
    LabelState LabelDST;  // name of the edit list row
    LabelState LabelCDID; // the DiscId; aqua with stored patterns, white without
    ButtonState SpeedButtonSET, SpeedButtonMON;
    ButtonState CheckBoxRandom, CheckBoxReverse;
    ButtonState SpeedButtonBAK, SpeedButtonNXT; // "<" and ">"
    // The ten pattern slots SpeedButtonCD0 .. SpeedButtonCD9 (red = registered).
    std::array<ButtonState, kPatternSlots> SpeedButtonCD;
    std::string EditPattern; // title of the pattern to save

    // The entries before the first empty one; 60 when all are filled.
    int PlayOrderLength() const {
        for (int i = 1; i <= kEntries; ++i)
            if (SpeedButton[static_cast<std::size_t>(i)].Caption.empty())
                return i - 1;
        return kEntries;
    }

    // Whether entry k (1..60) is empty; entries outside 1..60 count as empty.
    bool EntryEmpty(int k) const;
    // The track number entry k holds. Throws std::invalid_argument when the entry is empty, out
    // of 1..60 or not a decimal number.
    int EntryTrack(int k) const;
    // The first entry (1..60) whose caption is `track`; 0 when none is.
    int FindEntryOfTrack(int track) const;
    // The first entry button that is down; 0 when none is.
    int FirstDownEntry() const;

    // Empties all 60 entries and makes their captions black.
    void ClearPlayOrder();
    // Every entry caption black and every entry button released.
    void ClearHighlights();
    // Clears the highlights and makes entry k's caption red (nothing is red for k out of range).
    void HighlightEntry(int k);

    // All slot buttons released, the pattern title emptied.
    void ClearPatternSelection();

    // The mode display for play mode `modeIndex` (0..5, the order of "NR" .. "PG"): the mode's
    // name over the order and, in program mode only, SET/MON enabled with SET pressed, the
    // options and "<" ">" shown, the edit row named and the window tall enough for it.
    void ShowModeDisplay(int modeIndex);

    // The main window, which plays the order. Set once by the window set.
    void SetForms(FormSet& forms) { forms_ = &forms; }

    // ---- Handlers of the entry row (form_list_entry_row.cpp) ----------------------------
    // A click on entry k (1..60) of the play order: plays from it (in program mode only with
    // MON chosen; with SET chosen the entry goes to the edit list, which comes later).
    void SpeedButtonEntryClick(int k);
    void SpeedButtonSETClick();
    void SpeedButtonMONClick();
    // The mouse released on a check box: it toggles, and the other one goes off.
    void CheckBoxRandomClick();
    void CheckBoxReverseClick();
    // "<" and ">": the main window's BACK and NEXT.
    void SpeedButtonBAKClick();
    void SpeedButtonNXTClick();
    // The window closes, by any means.
    void FormClose();

  private:
    FormSet* forms_ = nullptr;
};

} // namespace tobira
