// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "forms/auto_close_indicator.h"
#include "forms/controls_state.h"
#include "forms/form_model.h"
#include "ports/ports.h"
#include "forms/typed_text.h"
#include "cd_windows/pattern_record.h"
#include "settings/setup_options.h"

#include <array>
#include <optional>
#include <string>

namespace tobira {

class IniSnapshot;

class TFormMain;
class TFormManage;
enum class MouseButton;

// The windows the track control window works with.
struct TrackControlPeers {
    TFormMain& Main;     // plays the order
    FormModel& Msg;      // the author message, opened from the logo
    TFormManage& Manage; // opened by MANAG
    const SetupOptionsSource& Options;
};

// The CD track control window: the play order's 60 entries and the ten stored programs.
//
// The play order lives in the captions of the entry buttons; the main window builds it, plays
// it entry by entry and marks the entry it plays in red. In program mode the user composes a
// program in the edit list, stores it in one of the disc's ten slots (TOBIRA.DAT) and plays a
// stored one back, optionally shuffled or reversed. The window closes itself after the pointer
// has stayed away for the auto-close time of the settings.
class TFormList final : public FormModel, public AutoCloseIndicator {
  public:
    static constexpr int kEntries = 60;
    static constexpr int kNormalHeight = 185;       // entry row only
    static constexpr int kProgramHeight = 317;      // entry row, edit list and slot panel
    static constexpr int kCloseIndicatorWidth = 66; // PanelClose; the bar is 6 pixels narrower
    static constexpr std::size_t kTitleLimit = 255; // title taken from an applied pattern

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
    std::string EditPatternHint;
    // The edit list: SpeedButton61 .. SpeedButton120 at [1] .. [60] ([0] is unused); it ends at
    // the first empty caption.
    std::array<ButtonState, kEntries + 1> SpeedButtonEdit;
    ButtonState SpeedButtonSAVE, SpeedButtonMANAG; // "SAVE" and "CTRL"
    std::string Image1Hint;

    std::string PanelBarCloseHint; // the hint of the auto-close indicator and its bar

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
    // Whether entry k's caption is red.
    bool IsEntryHighlighted(int k) const;

    // All slot buttons released, the pattern title emptied.
    void ClearPatternSelection();
    // Every entry of the play order and of the edit list emptied and released; the play
    // order's captions black.
    void ClearTrackLists();

    // The first empty entry (1..60) of the edit list; 0 when all 60 are filled.
    int FirstFreeEditPlace() const;
    // The edit list as a stored track order ("%2.2d " per track); empty when no entry holds a
    // track number.
    std::string BuildTrackOrder() const;

    // Fills the play order from the pattern in `slot` (0..9): each number of its track order
    // goes to the next entry, a track of this disc as its caption, anything else as a gap. The
    // title goes to EditPattern. "+ Random" and then "+ Reverse" are applied and switched off,
    // whatever happened. False when the order held a pair that is not a number (the entries
    // read before it stay) or the slot is out of range.
    bool ApplyPattern(int slot);
    // Plays the play order from entry 1 and shows program play on the main window.
    void StartProgramPlay();
    // Reorder the entries before the first empty one, in place. The shuffle swaps entry k with
    // one drawn from 0 .. k-2 (0 for k = 1), for k from the last down to the second.
    void ShufflePlayOrder();
    void ReversePlayOrder();

    // Shows the window. When it was hidden, that is the window being shown (FormShow).
    void Show();
    // Reads the window's position from the settings; centred when the stored one is unusable.
    void FormCreate();
    // The same from the one read of the settings at the start.
    void FormCreate(const IniSnapshot& settings);
    // With auto-close on in the settings, the countdown starts from the full time.
    void FormShow();

    // The mode display for play mode `modeIndex` (0..5, the order of "NR" .. "PG"): the mode's
    // name over the order and, in program mode only, SET/MON enabled with SET pressed, the
    // options and "<" ">" shown, the edit row named and the window tall enough for it.
    void ShowModeDisplay(int modeIndex);
    // Moves the window up where its height would reach below the screen's work area.
    void KeepOnScreen();

    // The other windows and the ports. Set once by the window set.
    void SetPeers(const TrackControlPeers& peers, Ports ports) {
        peers_.emplace(peers);
        ports_.emplace(ports);
    }

    // ---- Handlers of the entry row (form_list_entry_row.cpp) ----------------------------
    // A click on entry k (1..60) of the play order: plays from it (in program mode only with
    // MON chosen; with SET chosen its track goes to the first free place of the edit list).
    void SpeedButtonEntryClick(int k);
    // A click on entry k (1..60) of the edit list removes it; the entries after it move up.
    void SpeedButtonEditClick(int k);
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
    void Image1Click();

    // ---- Slots (form_list_slots.cpp) -----------------------------------------------------
    // A click toggles the slot; a registered slot pressed down is applied and played.
    void SpeedButtonCDClick(int slot);
    // The right button releases a registered slot: its record leaves TOBIRA.DAT.
    void SpeedButtonCDMouseDown(int slot, MouseButton button);
    // The user typed in the title field.
    void EditPatternChange(const TypedText& text);
    // Stores the edit list with EditPattern's title in the slot that is down.
    void SpeedButtonSAVEClick();
    // Opens the pattern management window.
    void SpeedButtonMANAGClick();

    // ---- Auto-close (form_list_auto_close.cpp) -------------------------------------------
    void TimerCloseTimer();

  private:
    Ports& ports() { return *ports_; }

    const TrackControlPeers& peers() const { return *peers_; }

    std::optional<TrackControlPeers> peers_;
    std::optional<Ports> ports_;
};

} // namespace tobira
