// SPDX-License-Identifier: GPL-3.0-or-later
#include "cd_windows/form_list.h"

#include "player/form_main.h"
#include "player/play_modes.h"

#include <stdexcept>

namespace tobira {
namespace {

void Press(TFormList& list, int k) {
    list.ClearHighlights();
    list.SpeedButton[static_cast<std::size_t>(k)].Down = true;
}

} // namespace

void TFormList::SpeedButtonEntryClick(int k) {
    if (k < 1 || k > kEntries)
        return;
    ButtonState& entry = SpeedButton[static_cast<std::size_t>(k)];
    TFormMain& main = peers().Main;
    if (main.PlayModeIndex() == kProgramMode && SpeedButtonSET.Down) {
        // SET copies the track to the edit list; a full list takes nothing more.
        const int place = FirstFreeEditPlace();
        if (place != 0 && !entry.Caption.empty())
            SpeedButtonEdit[static_cast<std::size_t>(place)].Caption = entry.Caption;
        entry.Down = false;
        return;
    }
    if (EntryEmpty(k)) {
        entry.Down = false;
        return;
    }
    int track = 0;
    try {
        track = EntryTrack(k);
    } catch (const std::invalid_argument&) {
    }
    // An entry that names no track of this disc stays pressed, and nothing plays; the entry
    // that does play keeps its red caption.
    Press(*this, k);
    if (track < 1 || track > main.TrackCount) {
        if ((main.IsCdPlaying() || main.IsCdPaused()) && main.OrderPosition >= 1 &&
            main.OrderPosition <= kEntries)
            SpeedButton[static_cast<std::size_t>(main.OrderPosition)].Font = colors::Red;
        return;
    }
    main.StartFromEntry();
    // The playing entry is red at once, also when it is the one that already played (the
    // track marks then see no change of track and leave the captions alone).
    HighlightEntry(main.OrderPosition);
}

void TFormList::SpeedButtonSETClick() {
    SpeedButtonSET.Down = true;
    SpeedButtonMON.Down = false;
    SpeedButtonMON.Font = colors::Black;
}

void TFormList::SpeedButtonMONClick() {
    SpeedButtonMON.Down = true;
    SpeedButtonSET.Down = false;
    SpeedButtonMON.Font = colors::Red;
}

void TFormList::CheckBoxRandomClick() {
    CheckBoxRandom.Down = !CheckBoxRandom.Down;
    CheckBoxReverse.Down = false;
}

void TFormList::CheckBoxReverseClick() {
    CheckBoxReverse.Down = !CheckBoxReverse.Down;
    CheckBoxRandom.Down = false;
}

void TFormList::SpeedButtonBAKClick() {
    peers().Main.SpeedButtonBAKClick();
}

void TFormList::SpeedButtonNXTClick() {
    peers().Main.SpeedButtonNXTClick();
}

void TFormList::FormClose() {
    TFormMain& main = peers().Main;
    if (!main.IsCdPlaying() && !main.IsCdPaused()) {
        ClearPatternSelection();
        ClearTrackLists();
        if (main.LabelPLAY.Caption != "NO DISC")
            main.SetPlayIdle();
    }
    SpeedButtonMON.Font = colors::Black;
    CheckBoxRandom.Down = false;
    CheckBoxReverse.Down = false;
    StopCloseCountdown();
    Hide();
}

} // namespace tobira
